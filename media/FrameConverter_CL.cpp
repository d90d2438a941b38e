#include "media/FrameConverter_CL.h"

#include <algorithm>
#include <cstring>
#include <exception>

#include "media/ColourAdjust_CL.h"

namespace {

// Several bands per thread, so a thread that starts late or is preempted leaves its share to
// the others instead of holding up the frame; but not so thin that taking one costs much.
constexpr int kBandsPerThread = 4;
constexpr int kMinBandRows = 8;

int AutomaticHelperCount() {
    const int processors = static_cast<int>(std::thread::hardware_concurrency());
    return std::clamp(processors - 1, 1, FrameConverter_CL::kMaxHelpers);
}

}  // namespace

FrameConverter_CL::FrameConverter_CL(int helpers, SimdLevel level) : m_level(UsableSimdLevel(level)) {
    const int wanted = helpers == kAutomaticHelpers ? AutomaticHelperCount() : std::clamp(helpers, 0, kMaxHelpers);
    try {
        m_helpers.reserve(static_cast<size_t>(wanted));
        for (int i = 0; i < wanted; ++i) m_helpers.emplace_back(&FrameConverter_CL::HelperLoop, this);
    } catch (const std::exception&) {
        // Out of threads or memory: keep the helpers that started; the caller's thread takes the
        // bands nobody else does, down to the whole frame.
    }
}

FrameConverter_CL::~FrameConverter_CL() {
    {
        std::lock_guard<std::mutex> lock(m_jobLock);
        m_stopping = true;
    }
    m_jobPosted.notify_all();
    for (std::thread& helper : m_helpers) helper.join();
}

void FrameConverter_CL::ConvertToRgb32(const uint8_t* yuy2, int width, int height, uint8_t* dst, ptrdiff_t dstPitch,
                                       const ColourAdjust_CL& adjust) {
    Convert(Output::kRgb32, yuy2, width, height, dst, dstPitch, adjust);
}

void FrameConverter_CL::AdjustYuy2(const uint8_t* yuy2, int width, int height, uint8_t* dst, ptrdiff_t dstPitch,
                                   const ColourAdjust_CL& adjust) {
    Convert(Output::kYuy2, yuy2, width, height, dst, dstPitch, adjust);
}

void FrameConverter_CL::Convert(Output output, const uint8_t* yuy2, int width, int height, uint8_t* dst,
                                ptrdiff_t dstPitch, const ColourAdjust_CL& adjust) {
    if (!yuy2 || !dst || width < 1 || height < 1) return;
    Job job;
    job.output = output;
    job.src = yuy2;
    job.width = width;
    job.height = height;
    job.dst = dst;
    job.dstPitch = dstPitch;
    job.adjust = &adjust;
    if (!adjust.IsNeutral()) job.coefficients = MakeYuy2AdjustCoefficients(adjust);

    const int threads = 1 + HelperCount();
    if (threads == 1 || static_cast<int64_t>(width) * height < kSplitPixels) {
        ConvertRows(job, 0, height);
        return;
    }
    job.bandRows = std::max(kMinBandRows, (height + threads * kBandsPerThread - 1) / (threads * kBandsPerThread));
    job.bandCount = (height + job.bandRows - 1) / job.bandRows;
    {
        std::lock_guard<std::mutex> lock(m_jobLock);
        // No helper holds the last job any more (the last call waited for that), so the band
        // counter can start again.
        m_job = job;
        m_bandsDone = 0;
        m_nextBand.store(0, std::memory_order_relaxed);
        ++m_generation;
    }
    m_jobPosted.notify_all();
    const int done = RunBands(job);
    std::unique_lock<std::mutex> lock(m_jobLock);
    m_bandsDone += done;
    // Every band written, and no helper still between taking the job and reporting: then the
    // caller's buffers are free again and the next job may reuse the band counter.
    m_bandsReported.wait(lock, [&] { return m_bandsDone == job.bandCount && m_busyHelpers == 0; });
}

void FrameConverter_CL::ConvertRows(const Job& job, int firstRow, int endRow) const {
    const size_t srcPitch = static_cast<size_t>(job.width) * 2;
    const bool neutral = job.adjust->IsNeutral();
    for (int y = firstRow; y < endRow; ++y) {
        const uint8_t* src = job.src + srcPitch * static_cast<size_t>(y);
        uint8_t* dst = job.dst + job.dstPitch * static_cast<ptrdiff_t>(y);
        if (job.output == Output::kRgb32) {
            if (neutral) {
                ConvertYuy2RowToRgb32(m_level, src, dst, job.width);
            } else {
                AdjustYuy2RowToRgb32(m_level, *job.adjust, job.coefficients, src, dst, job.width);
            }
        } else if (neutral) {
            std::memcpy(dst, src, srcPitch);
        } else {
            AdjustYuy2Row(m_level, *job.adjust, job.coefficients, src, dst, job.width);
        }
    }
}

int FrameConverter_CL::RunBands(const Job& job) {
    int done = 0;
    for (;;) {
        const int band = m_nextBand.fetch_add(1, std::memory_order_relaxed);
        if (band >= job.bandCount) return done;
        const int first = band * job.bandRows;
        ConvertRows(job, first, std::min(job.height, first + job.bandRows));
        ++done;
    }
}

void FrameConverter_CL::HelperLoop() {
    std::unique_lock<std::mutex> lock(m_jobLock);
    uint64_t seen = m_generation;
    for (;;) {
        m_jobPosted.wait(lock, [&] { return m_stopping || m_generation != seen; });
        if (m_stopping) return;
        seen = m_generation;
        // A job whose bands are all reported is over and its caller may be gone; waking this
        // late, there is nothing to take.
        if (m_bandsDone >= m_job.bandCount) continue;
        const Job job = m_job;
        ++m_busyHelpers;
        lock.unlock();
        const int done = RunBands(job);
        lock.lock();
        m_bandsDone += done;
        --m_busyHelpers;
        m_bandsReported.notify_one();
    }
}
