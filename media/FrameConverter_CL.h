#pragma once
// Converts whole YUY2 frames for the presenter's CPU colour path: to RGB32 for the video
// surface, or YUY2 to YUY2 with colour adjustment. The row operations are the vector kernels
// of Yuy2RowKernels.h; a large frame is cut into horizontal bands that the calling thread and a
// few helper threads take in turn, so a 1080p frame costs a fraction of a frame interval.
//
// The helpers start in the constructor and live until the destructor joins them; between frames
// they sleep on a condition variable. If a helper thread cannot be created the converter keeps
// the ones it has, down to none, and the calling thread does the rest of the work.
//
// Threads: construct and destroy on one thread; the conversion calls may come from any thread
// but one at a time (the presenter makes them under its frame lock). Each call returns when the
// whole frame is written.

#include <atomic>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "media/Yuy2RowKernels.h"

class ColourAdjust_CL;

class FrameConverter_CL {
public:
    // Helper count chosen from the processors: one fewer than there are, at least 1, at most
    // kMaxHelpers.
    static constexpr int kAutomaticHelpers = -1;
    static constexpr int kMaxHelpers = 4;
    // Frames smaller than this many pixels (640 x 360) are converted by the calling thread
    // alone: waking the helpers would cost more than it saves.
    static constexpr int64_t kSplitPixels = 640 * 360;

    // Thread: the owner's. `helpers` threads besides the caller (0: the caller alone, larger
    // counts are capped at kMaxHelpers); `level` the kernels to use, lowered to what the
    // processor runs.
    explicit FrameConverter_CL(int helpers = kAutomaticHelpers, SimdLevel level = DefaultSimdLevel());
    // Thread: the owner's. Wakes the helpers and joins them.
    ~FrameConverter_CL();

    FrameConverter_CL(const FrameConverter_CL&) = delete;
    FrameConverter_CL& operator=(const FrameConverter_CL&) = delete;

    // Thread: any, one call at a time. `yuy2` holds `height` rows of width * 2 bytes, tightly
    // packed; each row goes to dst + row * dstPitch as RGB32 (B, G, R, 0), adjusted by `adjust`
    // unless it is neutral. An odd last pixel of a row is left as it was.
    void ConvertToRgb32(const uint8_t* yuy2, int width, int height, uint8_t* dst, ptrdiff_t dstPitch,
                        const ColourAdjust_CL& adjust);
    // Thread: any, one call at a time. The same rows adjusted into dst as YUY2; a neutral
    // adjustment copies them.
    void AdjustYuy2(const uint8_t* yuy2, int width, int height, uint8_t* dst, ptrdiff_t dstPitch,
                    const ColourAdjust_CL& adjust);

    // Thread: any. Helper threads actually running (fewer than asked if creating one failed).
    int HelperCount() const { return static_cast<int>(m_helpers.size()); }
    SimdLevel Level() const { return m_level; }

private:
    enum class Output { kRgb32, kYuy2 };

    // One frame's work, copied by each helper that takes part.
    struct Job {
        Output output = Output::kRgb32;
        const uint8_t* src = nullptr;
        int width = 0;
        int height = 0;
        uint8_t* dst = nullptr;
        ptrdiff_t dstPitch = 0;
        const ColourAdjust_CL* adjust = nullptr;
        Yuy2AdjustCoefficients coefficients;
        int bandRows = 0;
        int bandCount = 0;
    };

    void Convert(Output output, const uint8_t* yuy2, int width, int height, uint8_t* dst, ptrdiff_t dstPitch,
                 const ColourAdjust_CL& adjust);
    void ConvertRows(const Job& job, int firstRow, int endRow) const;
    // Takes bands of the current job until none is left; answers how many it converted.
    int RunBands(const Job& job);
    void HelperLoop();

    const SimdLevel m_level;

    std::mutex m_jobLock;                     // guards m_job, m_generation, m_bandsDone, m_busyHelpers, m_stopping
    std::condition_variable m_jobPosted;      // a new generation, or m_stopping
    std::condition_variable m_bandsReported;  // m_bandsDone or m_busyHelpers changed
    Job m_job;                                // under m_jobLock
    uint64_t m_generation = 0;                // under m_jobLock; counts the jobs posted
    int m_bandsDone = 0;                      // under m_jobLock; bands of m_job finished and reported
    int m_busyHelpers = 0;                    // under m_jobLock; helpers holding a copy of m_job
    bool m_stopping = false;                  // under m_jobLock
    std::atomic<int> m_nextBand{0};           // the next band of m_job to take; reset only while no helper is busy

    std::vector<std::thread> m_helpers;  // started in the constructor, joined in the destructor
};
