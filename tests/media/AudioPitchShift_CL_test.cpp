#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <ostream>
#include <random>
#include <tuple>
#include <vector>

#include "media/AudioPitchShift_CL.h"
#include "tests/media/PlainPitchShift_CL.h"

namespace {
constexpr float kRateHz = 48000.0f;
constexpr int kBlock = AudioPitchShift_CL::kBlockSamples;
constexpr int kDelay = AudioPitchShift_CL::kDelaySamples;
constexpr double kTwoPi = 6.283185307179586;
// How far the fast shifter may stray from the plain one, in 16-bit steps. The two agree to the
// last bit in every state that lasts; what differs is the rounding of one frame's sines and
// overlap-add, which can move a sample across an integer.
constexpr int kToleranceLsb = 2;
constexpr int kOversamplings[] = {1, 2, 4, 8, 16};

// Runs a shifter over whole blocks of a mono signal (zero-padded to a whole block) and returns
// the mono output.
template <typename Shifter>
std::vector<int16_t> Shift(Shifter& shifter, float factor, int oversampling, const std::vector<float>& input,
                           float rateHz = kRateHz) {
    const size_t blocks = (input.size() + kBlock - 1) / kBlock;
    std::vector<float> padded(input);
    padded.resize(blocks * kBlock, 0.0f);
    std::vector<int16_t> stereo(2 * kBlock);
    std::vector<int16_t> output;
    output.reserve(padded.size());
    for (size_t b = 0; b < blocks; ++b) {
        shifter.ProcessBlock(factor, oversampling, rateHz, padded.data() + b * kBlock, stereo.data());
        for (int i = 0; i < kBlock; ++i) output.push_back(stereo[2 * i]);
    }
    return output;
}

template <typename Shifter>
std::vector<int16_t> ShiftFresh(float factor, int oversampling, const std::vector<float>& input,
                                float rateHz = kRateHz) {
    auto shifter = std::make_unique<Shifter>();
    return Shift(*shifter, factor, oversampling, input, rateHz);
}

int MaxDifference(const std::vector<int16_t>& a, const std::vector<int16_t>& b) {
    EXPECT_EQ(a.size(), b.size());
    int worst = 0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) worst = std::max(worst, std::abs(a[i] - b[i]));
    return worst;
}

std::vector<float> Tone(double frequencyHz, double amplitude, size_t samples) {
    std::vector<float> tone(samples);
    for (size_t i = 0; i < samples; ++i) {
        tone[i] = static_cast<float>(amplitude * std::sin(kTwoPi * frequencyHz * i / kRateHz));
    }
    return tone;
}

template <typename Sample>
double Rms(const std::vector<Sample>& samples, size_t begin, size_t end) {
    double sum = 0.0;
    for (size_t i = begin; i < end; ++i) sum += static_cast<double>(samples[i]) * samples[i];
    return std::sqrt(sum / static_cast<double>(end - begin));
}

// Magnitude of the Hann-windowed spectrum at one frequency (Goertzel).
double SpectrumMagnitude(const std::vector<double>& windowed, double frequencyHz) {
    const double coefficient = 2.0 * std::cos(kTwoPi * frequencyHz / kRateHz);
    double s1 = 0.0;
    double s2 = 0.0;
    for (double x : windowed) {
        const double s0 = x + coefficient * s1 - s2;
        s2 = s1;
        s1 = s0;
    }
    return std::sqrt(std::max(0.0, s1 * s1 + s2 * s2 - coefficient * s1 * s2));
}

// Frequency of the strongest spectral peak between lowHz and highHz in samples
// [begin, begin + count): a coarse scan, then a ternary search around the best point.
double PeakFrequencyHz(const std::vector<int16_t>& samples, size_t begin, size_t count, double lowHz,
                       double highHz) {
    std::vector<double> windowed(count);
    for (size_t i = 0; i < count; ++i) {
        windowed[i] = samples[begin + i] * (0.5 - 0.5 * std::cos(kTwoPi * i / count));
    }
    double best = lowHz;
    double bestMagnitude = -1.0;
    const double step = 0.5;
    for (double f = lowHz; f <= highHz; f += step) {
        const double magnitude = SpectrumMagnitude(windowed, f);
        if (magnitude > bestMagnitude) {
            bestMagnitude = magnitude;
            best = f;
        }
    }
    double lo = best - step;
    double hi = best + step;
    for (int i = 0; i < 30; ++i) {
        const double m1 = lo + (hi - lo) / 3;
        const double m2 = hi - (hi - lo) / 3;
        if (SpectrumMagnitude(windowed, m1) < SpectrumMagnitude(windowed, m2)) {
            lo = m1;
        } else {
            hi = m2;
        }
    }
    return (lo + hi) / 2;
}

// Two seconds of speech-like sound: voiced syllables (a harmonic series whose fundamental glides
// between 100 and 220 Hz, shaped by three formant-like peaks), hissing noise bursts and pauses
// of digital silence. Then two seconds of music-like sound: chords of harmonic notes that change
// every half second, a noise burst over a chord, a pause, and a full-scale square wave.
const std::vector<float>& SpeechAndMusic() {
    static const std::vector<float> signal = [] {
        const size_t half = 2 * static_cast<size_t>(kRateHz);
        std::vector<float> s(2 * half, 0.0f);
        std::mt19937 random(11);
        std::normal_distribution<double> noise(0.0, 1.0);
        double phase = 0.0;
        double lastNoise = 0.0;
        for (size_t i = 0; i < half; ++i) {
            const double t = i / static_cast<double>(kRateHz);
            const int syllable = static_cast<int>(t / 0.25);
            const double within = std::fmod(t, 0.25) / 0.25;
            const double f0 = 160.0 + 60.0 * std::sin(kTwoPi * 0.7 * t);
            phase = std::fmod(phase + kTwoPi * f0 / kRateHz, kTwoPi);
            if (syllable % 4 == 2) {
                // Hiss: differenced white noise leans toward the high frequencies.
                const double white = noise(random);
                s[i] = static_cast<float>(4000.0 * (white - lastNoise) * std::sin(3.14159 * within));
                lastNoise = white;
                continue;
            }
            if (syllable % 4 == 3 && within < 0.5) continue;  // silence
            const double envelope = std::pow(std::sin(3.14159265 * within), 2);
            double value = 0.0;
            const double c = 2.0 * std::cos(phase);
            double previous = 0.0;
            double current = std::sin(phase);
            for (int h = 1; h <= 24; ++h) {
                const double f = h * f0;
                const double weight = std::exp(-std::pow((f - 700) / 200, 2)) +
                                      0.6 * std::exp(-std::pow((f - 1200) / 250, 2)) +
                                      0.3 * std::exp(-std::pow((f - 2600) / 400, 2)) + 0.05;
                value += weight * current;
                const double next = c * current - previous;
                previous = current;
                current = next;
            }
            s[i] = static_cast<float>(5000.0 * envelope * value);
        }
        const double notes[][3] = {
            {261.6, 329.6, 392.0}, {220.0, 277.2, 329.6}, {293.7, 370.0, 440.0}, {196.0, 246.9, 293.7}};
        for (size_t i = 0; i < half; ++i) {
            const double t = i / static_cast<double>(kRateHz);
            const int segment = static_cast<int>(t / 0.5);
            const double within = std::fmod(t, 0.5);
            double value = 0.0;
            for (double note : notes[segment]) {
                for (int h = 1; h <= 4; ++h) value += 3000.0 / h * std::sin(kTwoPi * note * h * t);
            }
            if (segment == 1 && within < 0.25) value += 3000.0 * noise(random);
            if (segment == 2 && within < 0.2) value = 0.0;
            if (segment == 3 && within >= 0.2) value = std::sin(kTwoPi * 440.0 * t) >= 0 ? 32767.0 : -32767.0;
            s[half + i] = static_cast<float>(value);
        }
        return s;
    }();
    return signal;
}
}  // namespace

// What can be worked out by hand: silence before the first frame, the delay, and a factor of
// 1.0 giving the input back at its level. Both shifters must show it.
template <typename Shifter>
class PitchShiftBasics : public ::testing::Test {};
using BothShifters = ::testing::Types<AudioPitchShift_CL, PlainPitchShift_CL>;
TYPED_TEST_SUITE(PitchShiftBasics, BothShifters);

TYPED_TEST(PitchShiftBasics, FirstHopAfterResetIsExactlyZero) {
    const std::vector<float> loud = Tone(1000.0, 20000.0, 3 * kBlock);
    for (int oversampling : kOversamplings) {
        auto shifter = std::make_unique<TypeParam>();
        for (int round = 0; round < 2; ++round) {  // fresh, then after Reset with audio inside
            const std::vector<int16_t> out = Shift(*shifter, 1.5f, oversampling, loud);
            const int hop = kBlock / oversampling;
            for (int i = 0; i < hop; ++i) {
                ASSERT_EQ(out[i], 0) << "oversampling " << oversampling << " sample " << i;
            }
            EXPECT_GT(Rms(out, kDelay, out.size()), 1000.0);
            shifter->Reset();
        }
    }
}

TYPED_TEST(PitchShiftBasics, SilenceAfterResetIsSilentThroughout) {
    // A reset is how a seek reaches the shifter: nothing of the loud tone before it may sound
    // in what follows, not in the delay, the overlap or the phases.
    const std::vector<float> loud = Tone(1000.0, 30000.0, 5 * kBlock + 300);
    const std::vector<float> silence(6 * kBlock, 0.0f);
    for (int oversampling : kOversamplings) {
        auto shifter = std::make_unique<TypeParam>();
        const std::vector<int16_t> before = Shift(*shifter, 0.7f, oversampling, loud);
        ASSERT_GT(Rms(before, kDelay, before.size()), 1000.0) << "oversampling " << oversampling;
        shifter->Reset();
        const std::vector<int16_t> after = Shift(*shifter, 0.7f, oversampling, silence);
        EXPECT_EQ(std::count(after.begin(), after.end(), int16_t{0}), static_cast<ptrdiff_t>(after.size()))
            << "oversampling " << oversampling;
    }
}

TYPED_TEST(PitchShiftBasics, FactorOneGivesTheInputDelayedAtItsLevel) {
    std::vector<float> input(80 * kBlock);
    for (size_t i = 0; i < input.size(); ++i) {
        const double t = i / static_cast<double>(kRateHz);
        input[i] =
            static_cast<float>(5000 * std::sin(kTwoPi * 300 * t) + 4000 * std::sin(kTwoPi * 1234 * t + 1) +
                               3000 * std::sin(kTwoPi * 3456 * t + 2));
    }
    for (int oversampling : {4, 8, 16}) {
        SCOPED_TRACE(oversampling);
        const std::vector<int16_t> out = ShiftFresh<TypeParam>(1.0f, oversampling, input);
        // The delay: the lag of best match between output and input.
        int bestLag = -1;
        double bestError = 1e300;
        for (int lag = 0; lag <= 2 * kBlock; lag += 1) {
            double error = 0.0;
            for (size_t t = 4 * kBlock; t < 12 * kBlock; ++t) {
                const double e = out[t] - input[t - lag];
                error += e * e;
            }
            if (error < bestError) {
                bestError = error;
                bestLag = lag;
            }
        }
        EXPECT_EQ(bestLag, kDelay);
        double worst = 0.0;
        for (size_t t = 2 * kBlock; t < input.size(); ++t) {
            worst = std::max(worst, std::fabs(out[t] - static_cast<double>(input[t - kDelay])));
        }
        EXPECT_LE(worst, 4.0);
        const double levelDb =
            20.0 * std::log10(Rms(out, 2 * kBlock, out.size()) / Rms(input, kBlock, input.size() - kDelay));
        EXPECT_NEAR(levelDb, 0.0, 0.5);
    }
}

struct PitchCase {
    float factor;
    int oversampling;
};

class PitchShiftPitch : public ::testing::TestWithParam<PitchCase> {};

TEST_P(PitchShiftPitch, ToneLandsAtTheShiftedFrequency) {
    const PitchCase c = GetParam();
    const std::vector<float> input = Tone(440.0, 12000.0, 40 * kBlock);
    const double expectedHz = 440.0 * c.factor;
    for (int shifter = 0; shifter < 2; ++shifter) {
        const std::vector<int16_t> out =
            shifter == 0 ? ShiftFresh<AudioPitchShift_CL>(c.factor, c.oversampling, input)
                         : ShiftFresh<PlainPitchShift_CL>(c.factor, c.oversampling, input);
        const double measuredHz = PeakFrequencyHz(out, 8 * kBlock, 16384, 0.6 * expectedHz, 1.4 * expectedHz);
        EXPECT_NEAR(measuredHz, expectedHz, 0.01 * expectedHz) << (shifter == 0 ? "fast" : "plain");
    }
}

INSTANTIATE_TEST_SUITE_P(Factors, PitchShiftPitch,
                         ::testing::Values(PitchCase{0.5f, 4}, PitchCase{0.75f, 4}, PitchCase{1.5f, 4},
                                           PitchCase{2.0f, 4}, PitchCase{0.5f, 16}, PitchCase{0.75f, 16},
                                           PitchCase{1.5f, 16}, PitchCase{2.0f, 16}));

// The fast shifter against the plain one on four seconds of speech- and music-like sound, with
// the state carried through 188 blocks.
class PitchShiftMatchesPlain : public ::testing::TestWithParam<std::tuple<int, float>> {};

TEST_P(PitchShiftMatchesPlain, OnSpeechAndMusic) {
    const int oversampling = std::get<0>(GetParam());
    const float factor = std::get<1>(GetParam());
    const std::vector<float>& input = SpeechAndMusic();
    const std::vector<int16_t> fast = ShiftFresh<AudioPitchShift_CL>(factor, oversampling, input);
    const std::vector<int16_t> plain = ShiftFresh<PlainPitchShift_CL>(factor, oversampling, input);
    EXPECT_LE(MaxDifference(fast, plain), kToleranceLsb);
    EXPECT_GT(Rms(plain, kDelay, plain.size()), 500.0);  // there was sound to compare
}

INSTANTIATE_TEST_SUITE_P(AllOversamplings, PitchShiftMatchesPlain,
                         ::testing::Combine(::testing::ValuesIn(kOversamplings),
                                            ::testing::Values(0.1f, 0.33f, 0.5f, 0.8f, 1.0f, 1.25f, 2.0f,
                                                              10.0f)));

TEST(PitchShift, MatchesPlainAtOtherSampleRates) {
    const std::vector<float> input(SpeechAndMusic().begin(), SpeechAndMusic().begin() + 60 * kBlock);
    for (float rateHz : {8000.0f, 44100.0f, 96000.0f}) {
        const std::vector<int16_t> fast = ShiftFresh<AudioPitchShift_CL>(0.7f, 8, input, rateHz);
        const std::vector<int16_t> plain = ShiftFresh<PlainPitchShift_CL>(0.7f, 8, input, rateHz);
        EXPECT_LE(MaxDifference(fast, plain), kToleranceLsb) << rateHz;
    }
}

// The filter changes the factor with the playback rate, and the oversampling when the rate
// crosses 0.5, 2 and 3: a sweep from 0.1 to 10 and back, one rate per block.
TEST(PitchShift, MatchesPlainThroughARateSweep) {
    const std::vector<float>& input = SpeechAndMusic();
    auto fast = std::make_unique<AudioPitchShift_CL>();
    auto plain = std::make_unique<PlainPitchShift_CL>();
    std::vector<int16_t> fastOut(2 * kBlock);
    std::vector<int16_t> plainOut(2 * kBlock);
    const size_t blocks = input.size() / kBlock;
    int worst = 0;
    for (size_t b = 0; b < blocks; ++b) {
        const double position = std::fabs(2.0 * b / blocks - 1.0);  // 1 .. 0 .. 1
        const double rate = std::pow(10.0, 2.0 * position - 1.0);   // 10 .. 0.1 .. 10
        const int oversampling = rate < 0.5 ? 16 : rate <= 2.0 ? 8 : rate < 3.0 ? 4 : 2;
        const float factor = static_cast<float>(1.0 / rate);
        fast->ProcessBlock(factor, oversampling, kRateHz, input.data() + b * kBlock, fastOut.data());
        plain->ProcessBlock(factor, oversampling, kRateHz, input.data() + b * kBlock, plainOut.data());
        for (int i = 0; i < kBlock; ++i) worst = std::max(worst, std::abs(fastOut[2 * i] - plainOut[2 * i]));
    }
    EXPECT_LE(worst, kToleranceLsb);
}

// A loud passage must clip, not wrap through the 16-bit store into full-scale clicks of the
// opposite sign.
TEST(PitchShift, LoudOutputSaturates) {
    const std::vector<float> input = Tone(500.0, 50000.0, 30 * kBlock);
    for (int oversampling : {4, 16}) {
        const std::vector<int16_t> out = ShiftFresh<AudioPitchShift_CL>(1.0f, oversampling, input);
        int railHits = 0;
        for (size_t t = 2 * kBlock; t < out.size(); ++t) {
            const double expected =
                std::max(-32768.0, std::min(32767.0, static_cast<double>(input[t - kDelay])));
            ASSERT_NEAR(out[t], expected, 8.0) << "sample " << t;
            railHits += out[t] == 32767 || out[t] == -32768;
        }
        EXPECT_GT(railHits, 1000);
    }
    // A full-scale square shifted down overshoots the range; the plain shifter clips it the same.
    std::vector<float> square(30 * kBlock);
    for (size_t i = 0; i < square.size(); ++i) {
        square[i] = std::sin(kTwoPi * 440.0 * i / kRateHz) >= 0 ? 32767.0f : -32768.0f;
    }
    const std::vector<int16_t> fast = ShiftFresh<AudioPitchShift_CL>(0.5f, 8, square);
    const std::vector<int16_t> plain = ShiftFresh<PlainPitchShift_CL>(0.5f, 8, square);
    EXPECT_LE(MaxDifference(fast, plain), kToleranceLsb);
    EXPECT_GT(std::count(fast.begin(), fast.end(), int16_t{32767}) +
                  std::count(fast.begin(), fast.end(), int16_t{-32768}),
              100);
}

TEST(PitchShift, WritesEveryOtherSlotOnly) {
    const std::vector<float> left = Tone(440.0, 10000.0, 6 * kBlock);
    const std::vector<float> right = Tone(660.0, 8000.0, 6 * kBlock);
    const std::vector<int16_t> leftAlone = ShiftFresh<AudioPitchShift_CL>(0.8f, 8, left);
    const std::vector<int16_t> rightAlone = ShiftFresh<AudioPitchShift_CL>(0.8f, 8, right);
    auto leftShifter = std::make_unique<AudioPitchShift_CL>();
    auto rightShifter = std::make_unique<AudioPitchShift_CL>();
    constexpr int16_t kUntouched = 0x5A5A;
    for (int b = 0; b < 6; ++b) {
        std::vector<int16_t> stereo(2 * kBlock + 2, kUntouched);
        leftShifter->ProcessBlock(0.8f, 8, kRateHz, left.data() + b * kBlock, stereo.data());
        for (int i = 0; i < kBlock; ++i) ASSERT_EQ(stereo[2 * i + 1], kUntouched);
        ASSERT_EQ(stereo[2 * kBlock], kUntouched);
        rightShifter->ProcessBlock(0.8f, 8, kRateHz, right.data() + b * kBlock, stereo.data() + 1);
        for (int i = 0; i < kBlock; ++i) {
            ASSERT_EQ(stereo[2 * i], leftAlone[b * kBlock + i]);
            ASSERT_EQ(stereo[2 * i + 1], rightAlone[b * kBlock + i]);
        }
        ASSERT_EQ(stereo[2 * kBlock], kUntouched);
        ASSERT_EQ(stereo[2 * kBlock + 1], kUntouched);
    }
}

// The position kept between calls would point before the output FIFO after a change to a smaller
// hop; the shifter starts afresh instead, exactly as a new one would.
TEST(PitchShift, OversamplingChangeStartsAfresh) {
    const std::vector<float>& input = SpeechAndMusic();
    std::mt19937 random(3);
    std::uniform_int_distribution<int> pick(0, 4);
    auto shifter = std::make_unique<AudioPitchShift_CL>();
    auto plain = std::make_unique<PlainPitchShift_CL>();
    std::unique_ptr<AudioPitchShift_CL> fresh;
    std::vector<int16_t> out(2 * kBlock);
    std::vector<int16_t> freshOut(2 * kBlock);
    std::vector<int16_t> plainOut(2 * kBlock);
    int previous = 0;
    int changes = 0;
    for (int b = 0; b < 160; ++b) {
        // Runs of one to three blocks, so that changes come both at once and after some audio.
        const int oversampling = (b % 3 == 0 || b % 7 == 0) ? kOversamplings[pick(random)] : previous;
        if (oversampling != previous) {
            fresh = std::make_unique<AudioPitchShift_CL>();
            ++changes;
        }
        const float* block = input.data() + (b % 180) * kBlock;
        shifter->ProcessBlock(0.75f, oversampling, kRateHz, block, out.data());
        fresh->ProcessBlock(0.75f, oversampling, kRateHz, block, freshOut.data());
        plain->ProcessBlock(0.75f, oversampling, kRateHz, block, plainOut.data());
        for (int i = 0; i < kBlock; ++i) {
            ASSERT_EQ(out[2 * i], freshOut[2 * i]) << "block " << b << " oversampling " << oversampling;
            ASSERT_LE(std::abs(out[2 * i] - plainOut[2 * i]), kToleranceLsb);
        }
        if (oversampling != previous) {
            for (int i = 0; i < kBlock / oversampling; ++i) ASSERT_EQ(out[2 * i], 0);
        }
        previous = oversampling;
    }
    EXPECT_GT(changes, 40);
}

// The synthesis phase of each bin must stay small: grown for ten minutes it would be resolved
// only to a fraction of a turn, and the pitch would wander.
TEST(PitchShift, PitchHoldsAfterTenMinutes) {
    auto shifter = std::make_unique<AudioPitchShift_CL>();
    const size_t totalBlocks = static_cast<size_t>(600 * kRateHz / kBlock);
    const size_t measureBlocks = 24;
    std::vector<float> block(kBlock);
    std::vector<int16_t> stereo(2 * kBlock);
    std::vector<int16_t> early;
    std::vector<int16_t> late;
    const double step = kTwoPi * 5000.0 / kRateHz;
    const double twoCos = 2.0 * std::cos(step);
    for (size_t b = 0; b < totalBlocks; ++b) {
        // sin((n + 1) x) = 2 cos(x) sin(n x) - sin((n - 1) x), restarted exactly every block.
        const double start = std::fmod(static_cast<double>(b) * kBlock * step, kTwoPi);
        double previous = std::sin(start - step);
        double current = std::sin(start);
        for (int i = 0; i < kBlock; ++i) {
            block[i] = static_cast<float>(12000.0 * current);
            const double next = twoCos * current - previous;
            previous = current;
            current = next;
        }
        shifter->ProcessBlock(0.5f, 8, kRateHz, block.data(), stereo.data());
        for (int i = 0; i < kBlock; ++i) {
            if (b >= 4 && b < 4 + measureBlocks) early.push_back(stereo[2 * i]);
            if (b >= totalBlocks - measureBlocks) late.push_back(stereo[2 * i]);
        }
    }
    const double earlyHz = PeakFrequencyHz(early, 0, early.size(), 2000.0, 3000.0);
    const double lateHz = PeakFrequencyHz(late, 0, late.size(), 2000.0, 3000.0);
    EXPECT_NEAR(earlyHz, 2500.0, 0.005 * 2500.0);
    EXPECT_NEAR(lateHz, 2500.0, 0.005 * 2500.0);
    EXPECT_NEAR(Rms(late, 0, late.size()), Rms(early, 0, early.size()), 0.1 * Rms(early, 0, early.size()));
}

struct BadCall {
    float factor;
    int oversampling;
    float rateHz;
    const char* what;
};

void PrintTo(const BadCall& call, std::ostream* stream) { *stream << call.what; }

class PitchShiftBadCall : public ::testing::TestWithParam<BadCall> {};

// A bad call writes silence to its slots, touches nothing else, and leaves the state as it was:
// the following good calls give exactly what they give without it.
TEST_P(PitchShiftBadCall, WritesSilenceAndKeepsTheState) {
    const BadCall bad = GetParam();
    const std::vector<float> input = Tone(523.0, 9000.0, 12 * kBlock);
    for (int badBlock : {0, 5}) {
        auto withBad = std::make_unique<AudioPitchShift_CL>();
        auto without = std::make_unique<AudioPitchShift_CL>();
        std::vector<int16_t> a(2 * kBlock);
        std::vector<int16_t> b(2 * kBlock);
        for (int block = 0; block < 12; ++block) {
            const float* in = input.data() + block * kBlock;
            if (block == badBlock) {
                std::vector<int16_t> stereo(2 * kBlock, 0x1234);
                withBad->ProcessBlock(bad.factor, bad.oversampling, bad.rateHz, in, stereo.data());
                for (int i = 0; i < kBlock; ++i) {
                    ASSERT_EQ(stereo[2 * i], 0) << bad.what;
                    ASSERT_EQ(stereo[2 * i + 1], 0x1234) << bad.what;
                }
            }
            withBad->ProcessBlock(0.8f, 8, kRateHz, in, a.data());
            without->ProcessBlock(0.8f, 8, kRateHz, in, b.data());
            ASSERT_EQ(a, b) << bad.what << ", bad call before block " << badBlock;
        }
    }
}

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();

INSTANTIATE_TEST_SUITE_P(
    Parameters, PitchShiftBadCall,
    ::testing::Values(BadCall{kNaN, 8, kRateHz, "factor NaN"}, BadCall{kInf, 8, kRateHz, "factor +inf"},
                      BadCall{-kInf, 8, kRateHz, "factor -inf"}, BadCall{0.0f, 8, kRateHz, "factor 0"},
                      BadCall{-0.0f, 8, kRateHz, "factor -0"}, BadCall{-1.0f, 8, kRateHz, "factor -1"},
                      BadCall{1.0f, 0, kRateHz, "oversampling 0"},
                      BadCall{1.0f, 3, kRateHz, "oversampling 3"},
                      BadCall{1.0f, 12, kRateHz, "oversampling 12"},
                      BadCall{1.0f, 32, kRateHz, "oversampling 32"},
                      BadCall{1.0f, -8, kRateHz, "oversampling -8"},
                      BadCall{1.0f, std::numeric_limits<int>::min(), kRateHz, "oversampling INT_MIN"},
                      BadCall{1.0f, 8, 0.0f, "rate 0"}, BadCall{1.0f, 8, -48000.0f, "rate negative"},
                      BadCall{1.0f, 8, kNaN, "rate NaN"}, BadCall{1.0f, 8, kInf, "rate inf"}));

TEST(PitchShift, MissingBuffersAreHarmless) {
    auto shifter = std::make_unique<AudioPitchShift_CL>();
    const std::vector<float> input = Tone(440.0, 9000.0, kBlock);
    shifter->ProcessBlock(1.0f, 8, kRateHz, input.data(), nullptr);
    std::vector<int16_t> stereo(2 * kBlock, 77);
    shifter->ProcessBlock(1.0f, 8, kRateHz, nullptr, stereo.data());
    for (int i = 0; i < kBlock; ++i) {
        ASSERT_EQ(stereo[2 * i], 0);
        ASSERT_EQ(stereo[2 * i + 1], 77);
    }
}

// Input samples that are not finite count as silence instead of poisoning the frames and the
// phases after them.
TEST(PitchShift, NonFiniteInputSamplesCountAsSilence) {
    std::vector<float> clean = Tone(700.0, 9000.0, 20 * kBlock);
    std::vector<float> dirty = clean;
    const size_t spots[] = {100, 2047, 5000, 5001, 9999, 15000};
    const float values[] = {kNaN, kInf, -kInf, kNaN, kInf, kNaN};
    for (size_t i = 0; i < 6; ++i) {
        dirty[spots[i]] = values[i];
        clean[spots[i]] = 0.0f;
    }
    for (int oversampling : {1, 8, 16}) {
        EXPECT_EQ(ShiftFresh<AudioPitchShift_CL>(1.3f, oversampling, dirty),
                  ShiftFresh<AudioPitchShift_CL>(1.3f, oversampling, clean));
    }
}

// Parameters that are valid but absurd, and input far beyond the 16-bit range, overflow the
// arithmetic for a while; afterwards the shifter sounds as before.
TEST(PitchShift, RecoversFromOverflowingFactorsAndInput) {
    const std::vector<float> tone = Tone(600.0, 9000.0, 20 * kBlock);
    std::vector<float> huge(kBlock);
    for (int i = 0; i < kBlock; ++i) huge[i] = (i / 100) % 2 == 0 ? 3.0e38f : -3.0e38f;
    struct Upset {
        float factor;
        bool hugeInput;
    };
    const Upset upsets[] = {
        {1.0e30f, false}, {std::numeric_limits<float>::max(), false}, {1.0e-30f, false}, {1.0f, true}};
    for (const Upset& upset : upsets) {
        SCOPED_TRACE(testing::Message()
                     << "factor " << upset.factor << (upset.hugeInput ? ", huge input" : ""));
        auto shifter = std::make_unique<AudioPitchShift_CL>();
        std::vector<int16_t> stereo(2 * kBlock);
        std::vector<int16_t> after;
        for (int b = 0; b < 20; ++b) {
            const bool upsetNow = b >= 4 && b < 7;
            const float* in = upsetNow && upset.hugeInput ? huge.data() : tone.data() + b * kBlock;
            shifter->ProcessBlock(upsetNow ? upset.factor : 1.0f, 8, kRateHz, in, stereo.data());
            if (b >= 10) {
                for (int i = 0; i < kBlock; ++i) after.push_back(stereo[2 * i]);
            }
        }
        const double levelDb = 20.0 * std::log10(Rms(after, 0, after.size()) / Rms(tone, 0, tone.size()));
        EXPECT_NEAR(levelDb, 0.0, 1.0);
        EXPECT_NEAR(PeakFrequencyHz(after, 0, after.size(), 400.0, 800.0), 600.0, 6.0);
    }
}
