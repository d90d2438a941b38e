// Converting 1920 x 1080 YUY2 frames to RGB32 with colour adjustment, the presenter's CPU pass,
// against a plain row copy of the same frames measured in the same run:
// - the plain per-row functions (one thread);
// - the vector kernels on one thread, each instruction set the processor has;
// - the frame converter with its helper threads.
// The cases take turns frame by frame; each figure is the median, in ms and as a ratio to the copy.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "media/ColourAdjust_CL.h"
#include "media/ColourConversion.h"
#include "media/FrameConverter_CL.h"
#include "media/Yuy2RowKernels.h"

namespace {

constexpr int kWidth = 1920, kHeight = 1080;
constexpr int kFrames = 4;  // rotated, so the source is not always the one just read
constexpr int kRounds = 80;
constexpr double kAimRatio = 6.0;  // conversion with adjustment against the plain copy

double NowMs() {
    LARGE_INTEGER counter, frequency;
    ::QueryPerformanceCounter(&counter);
    ::QueryPerformanceFrequency(&frequency);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

std::vector<uint8_t> TestFrame(int index) {
    std::vector<uint8_t> frame(static_cast<size_t>(kWidth) * kHeight * 2);
    for (int y = 0; y < kHeight; ++y) {
        uint8_t* row = &frame[static_cast<size_t>(y) * kWidth * 2];
        for (int x = 0; x < kWidth; x += 2, row += 4) {
            row[0] = static_cast<uint8_t>(16 + (x + index * 7) % 220);
            row[1] = static_cast<uint8_t>(64 + (y + x / 8) % 128);
            row[2] = static_cast<uint8_t>(row[0] + 3);
            row[3] = static_cast<uint8_t>(192 - (y + index) % 128);
        }
    }
    return frame;
}

struct Case {
    Case(std::string name, bool adjusted, std::function<void(const uint8_t*)> convert)
        : name(std::move(name)), adjusted(adjusted), convert(std::move(convert)) {}
    std::string name;
    bool adjusted;  // held to the aim
    std::function<void(const uint8_t*)> convert;
    std::vector<double> times;
};

// Every case converts one frame in turn, round after round, so a change in the machine's load
// during the run touches all of them alike; each figure is the median over the rounds.
void Measure(std::vector<Case>& cases, const std::vector<std::vector<uint8_t>>& frames) {
    for (Case& c : cases) {
        for (int i = 0; i < 3; ++i) c.convert(frames[i % frames.size()].data());
    }
    for (int round = 0; round < kRounds; ++round) {
        for (Case& c : cases) {
            const double start = NowMs();
            c.convert(frames[round % frames.size()].data());
            c.times.push_back(NowMs() - start);
        }
    }
}

double Median(std::vector<double> times) {
    std::nth_element(times.begin(), times.begin() + times.size() / 2, times.end());
    return times[times.size() / 2];
}

}  // namespace

int wmain() {
    std::vector<std::vector<uint8_t>> frames;
    for (int i = 0; i < kFrames; ++i) frames.push_back(TestFrame(i));
    const size_t yuy2Row = static_cast<size_t>(kWidth) * 2, rgbRow = static_cast<size_t>(kWidth) * 4;
    std::vector<uint8_t> rgb(rgbRow * kHeight), yuy2(yuy2Row * kHeight);
    ColourAdjust_CL adjust;
    const int32_t values[4] = {10 << 16, 0x13333, 5 << 16, 0x11999};  // brighter, more contrast, some hue
    adjust.SetValues(values);
    const ColourAdjust_CL neutral;

    std::vector<Case> cases;
    cases.emplace_back("plain row copy (baseline)", false, [&](const uint8_t* in) {
        for (int y = 0; y < kHeight; ++y) std::memcpy(&yuy2[y * yuy2Row], in + y * yuy2Row, yuy2Row);
    });
    cases.emplace_back("scalar, RGB32 + colour adjustment", true, [&](const uint8_t* in) {
        for (int y = 0; y < kHeight; ++y) {
            adjust.AdjustRowToRgb32(in + y * yuy2Row, &rgb[y * rgbRow], kWidth);
        }
    });
    cases.emplace_back("scalar, RGB32 plain", false,
                       [&](const uint8_t* in) { ConvertYuy2ToRgb32(in, kWidth, kHeight, rgb.data()); });

    std::vector<SimdLevel> levels{SimdLevel::kSse2};
    if (ProcessorSimdLevel() == SimdLevel::kAvx2) levels.push_back(SimdLevel::kAvx2);
    std::vector<std::unique_ptr<FrameConverter_CL>> converters;
    for (SimdLevel level : levels) converters.push_back(std::make_unique<FrameConverter_CL>(0, level));
    converters.push_back(std::make_unique<FrameConverter_CL>());
    for (const auto& owned : converters) {
        FrameConverter_CL* converter = owned.get();
        const std::string threads = converter->HelperCount() == 0
                                        ? std::string(" one thread")
                                        : ", caller + " + std::to_string(converter->HelperCount()) + " helpers";
        const std::string prefix = SimdLevelName(converter->Level()) + threads;
        cases.emplace_back(prefix + ", RGB32 + colour adjustment", true, [=, &rgb, &adjust](const uint8_t* in) {
            converter->ConvertToRgb32(in, kWidth, kHeight, rgb.data(), rgbRow, adjust);
        });
        cases.emplace_back(prefix + ", RGB32 plain", false, [=, &rgb, &neutral](const uint8_t* in) {
            converter->ConvertToRgb32(in, kWidth, kHeight, rgb.data(), rgbRow, neutral);
        });
        cases.emplace_back(prefix + ", YUY2 colour adjustment", false, [=, &yuy2, &adjust](const uint8_t* in) {
            converter->AdjustYuy2(in, kWidth, kHeight, yuy2.data(), yuy2Row, adjust);
        });
    }

    Measure(cases, frames);
    const double copyMs = Median(cases[0].times);
    std::printf(
        "1080p YUY2 frame, %d processors, kernels up to %s; median of %d rounds; aim: colour adjustment "
        "at most %.0fx the copy\n",
        static_cast<int>(std::thread::hardware_concurrency()), SimdLevelName(ProcessorSimdLevel()), kRounds, kAimRatio);
    for (const Case& c : cases) {
        const double ms = Median(c.times);
        const double bestMs = *std::min_element(c.times.begin(), c.times.end());
        std::printf("  %-52s %6.2f ms (best %5.2f)  %6.2fx copy%s\n", c.name.c_str(), ms, bestMs, ms / copyMs,
                    c.adjusted ? (ms / copyMs <= kAimRatio ? "  within the aim" : "  over the aim") : "");
    }
    return 0;
}
