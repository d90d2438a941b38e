#pragma once
// The play position the overlay shows, worked out from the time stamps of rendered frames:
// follows the stream where its stamps make sense and counts by frame time where they do not
// (no stamp, a jump of more than 5 s, or a step larger than the step limit). Pure logic.
// Thread: the streaming thread of the renderer, under its frame lock.

#include <cstdint>

class PlayPositionTracker_CL {
public:
    static constexpr int64_t kDefaultFrameTime = 333333;       // 1/30 s when the type has none
    static constexpr int64_t kMinimumStepLimit = 2'000'000;    // 0.2 s
    static constexpr int64_t kJumpLimit = 50'000'000;          // 5 s

    // avgTimePerFrame from the video header; hasStart is false when the sample had no time.
    void OnFrame(int64_t avgTimePerFrame, bool hasStart, int64_t start, uint32_t tickMs);

    int64_t Position() const { return m_position; }
    void SetPosition(int64_t position) { m_position = position; }
    int64_t LastAcceptedStart() const { return m_lastAcceptedStart; }

private:
    int64_t m_position = 0;
    int64_t m_lastAcceptedStart = 0;
    uint32_t m_lastAcceptedTickMs = 0;
};
