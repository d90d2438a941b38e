#include "media/PlayPositionTracker_CL.h"

void PlayPositionTracker_CL::OnFrame(int64_t avgTimePerFrame, bool hasStart, int64_t start, uint32_t tickMs) {
    int64_t frameTime = avgTimePerFrame > 0 ? avgTimePerFrame : kDefaultFrameTime;
    int64_t stepLimit = 8 * frameTime > kMinimumStepLimit ? 8 * frameTime : kMinimumStepLimit;
    if (!hasStart || start < 0) {
        m_position += frameTime;
        return;
    }
    int64_t distance = start - m_position;
    if (distance < 0) distance = -distance;
    if (m_position > 0 && distance > kJumpLimit) {
        m_position += frameTime;
        return;
    }
    int64_t step = start - m_lastAcceptedStart;
    if (m_lastAcceptedStart == 0 || (step >= 0 && step <= stepLimit)) {
        m_position = start;
        m_lastAcceptedStart = start;
        m_lastAcceptedTickMs = tickMs;
        return;
    }
    m_position += frameTime;
}
