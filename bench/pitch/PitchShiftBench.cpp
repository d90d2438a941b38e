// Speed of the pitch shifter against the plain shifter of the tests, both fed the same music-like
// signal in the same run: blocks per second as multiples of real time for one 48 kHz channel,
// the speed ratio, and the share of one core a stereo stream costs. It also counts the heap
// allocations made while blocks are processed (there must be none).

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <random>
#include <vector>

#include "media/AudioPitchShift_CL.h"
#include "tests/media/PlainPitchShift_CL.h"

namespace {
std::atomic<long long> g_allocations{0};

void* CountedAllocation(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    void* block = std::malloc(size == 0 ? 1 : size);
    if (block == nullptr) std::abort();
    return block;
}
}  // namespace

void* operator new(std::size_t size) { return CountedAllocation(size); }
void* operator new[](std::size_t size) { return CountedAllocation(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return CountedAllocation(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return CountedAllocation(size); }
void operator delete(void* block) noexcept { std::free(block); }
void operator delete[](void* block) noexcept { std::free(block); }
void operator delete(void* block, std::size_t) noexcept { std::free(block); }
void operator delete[](void* block, std::size_t) noexcept { std::free(block); }

namespace {
constexpr double kSampleRateHz = 48000.0;
constexpr int kBlock = AudioPitchShift_CL::kBlockSamples;
constexpr int kSignalBlocks = 64;
constexpr double kRoundSeconds = 0.35;  // per shifter, per round
constexpr int kRounds = 3;              // the best round counts: others share this machine

double Now() {
    LARGE_INTEGER counter;
    LARGE_INTEGER frequency;
    QueryPerformanceCounter(&counter);
    QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// A chord, a high tone, a noise burst every few seconds and a short pause: every bin busy.
std::vector<float> MakeSignal() {
    std::vector<float> signal(kSignalBlocks * kBlock);
    std::mt19937 random(7);
    std::normal_distribution<float> noise(0.0f, 2500.0f);
    const double twoPi = 6.283185307179586;
    for (size_t i = 0; i < signal.size(); ++i) {
        const double t = i / kSampleRateHz;
        double value = 6000 * std::sin(twoPi * 220.0 * t) + 5000 * std::sin(twoPi * 277.2 * t + 1) +
                       4000 * std::sin(twoPi * 329.6 * t + 2) + 1500 * std::sin(twoPi * 2960.0 * t);
        const size_t block = i / kBlock;
        if (block % 16 == 5) value += noise(random);
        if (block % 16 == 11) value = 0;
        signal[i] = static_cast<float>(value);
    }
    return signal;
}

// Blocks per second of one shifter over one round.
template <typename Shifter>
double MeasureRound(Shifter& shifter, float factor, int oversampling, const std::vector<float>& signal,
                    std::vector<int16_t>& output) {
    const double start = Now();
    double elapsed = 0.0;
    long long blocks = 0;
    do {
        for (int i = 0; i < 8; ++i, ++blocks) {
            const float* input = signal.data() + (blocks % kSignalBlocks) * kBlock;
            shifter.ProcessBlock(factor, oversampling, static_cast<float>(kSampleRateHz), input,
                                 output.data());
        }
        elapsed = Now() - start;
    } while (elapsed < kRoundSeconds);
    return blocks / elapsed;
}
}  // namespace

int wmain(int, wchar_t**) {
    const std::vector<float> signal = MakeSignal();
    std::vector<int16_t> output(2 * kBlock);
    auto product = std::make_unique<AudioPitchShift_CL>();
    auto plain = std::make_unique<PlainPitchShift_CL>();
    const long long setUpAllocations = g_allocations.load();  // proves the counter is in use

    std::printf("pitch shifter, one channel at %.0f Hz, %d-sample blocks; best of %d rounds\n", kSampleRateHz,
                kBlock, kRounds);
    const int oversamplings[] = {1, 2, 4, 8, 16};
    const float factors[] = {0.5f, 2.0f};
    const double realTimeBlocks = kSampleRateHz / kBlock;
    double worstRatio = 1e30;
    double worstRatioAt16 = 1e30;
    double worstStereoShareAt16 = 0.0;
    long long allocationsWhileProcessing = 0;
    for (int oversampling : oversamplings) {
        for (float factor : factors) {
            product->Reset();
            plain->Reset();
            double productRate = 0.0;
            double plainRate = 0.0;
            const long long allocationsBefore = g_allocations.load();
            for (int round = 0; round < kRounds; ++round) {
                plainRate = std::max(plainRate, MeasureRound(*plain, factor, oversampling, signal, output));
                productRate =
                    std::max(productRate, MeasureRound(*product, factor, oversampling, signal, output));
            }
            allocationsWhileProcessing += g_allocations.load() - allocationsBefore;
            const double ratio = productRate / plainRate;
            const double stereoShare = 2.0 * realTimeBlocks / productRate * 100.0;
            const double plainStereoShare = 2.0 * realTimeBlocks / plainRate * 100.0;
            std::printf(
                "oversampling %2d factor %.2f: product %6.0f blocks/s (%6.1fx real time), plain %5.0f "
                "blocks/s (%5.1fx), product/plain %5.1fx; stereo costs %5.2f%% of a core (plain "
                "%4.1f%%)\n",
                oversampling, factor, productRate, productRate / realTimeBlocks, plainRate,
                plainRate / realTimeBlocks, ratio, stereoShare, plainStereoShare);
            std::fflush(stdout);
            worstRatio = std::min(worstRatio, ratio);
            if (oversampling == 16) {
                worstRatioAt16 = std::min(worstRatioAt16, ratio);
                worstStereoShareAt16 = std::max(worstStereoShareAt16, stereoShare);
            }
        }
    }
    std::printf(
        "summary: product/plain at least %.1fx (at oversampling 16: %.1fx, a stereo stream "
        "there at most %.2f%% of a core); heap allocations while processing: %lld (set-up: %lld)\n",
        worstRatio, worstRatioAt16, worstStereoShareAt16, allocationsWhileProcessing, setUpAllocations);
    return allocationsWhileProcessing == 0 ? 0 : 1;
}
