#include "tests/support/AviWriter_CL.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "tests/support/TempFolder_CL.h"

namespace {

using Pixel = AviMovieSpec::Pixel;

// ---------------------------------------------------------------------------------------
// A reader of RIFF written here from the format's rules, independent of the writer, so the
// tests see the file as a demuxer would.

uint16_t U16At(const std::vector<uint8_t>& b, size_t at) {
    return uint16_t(b.at(at) | b.at(at + 1) << 8);
}
uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
    return uint32_t(U16At(b, at)) | uint32_t(U16At(b, at + 2)) << 16;
}
std::string FourCcAt(const std::vector<uint8_t>& b, size_t at) {
    return std::string(reinterpret_cast<const char*>(&b.at(at)), 4);
}

struct Chunk {
    std::string id;
    std::string listType;   // for LIST and RIFF
    size_t at = 0;          // offset of the chunk id
    size_t dataAt = 0;      // first byte after the header (after the list type for lists)
    uint32_t size = 0;      // as stored
};

// Walks the chunks in [begin, end), following the even-offset rule. Records a test failure
// when a chunk runs past end or a pad byte is not zero.
std::vector<Chunk> ChunksIn(const std::vector<uint8_t>& b, size_t begin, size_t end) {
    std::vector<Chunk> chunks;
    size_t at = begin;
    while (at + 8 <= end) {
        Chunk c;
        c.id = FourCcAt(b, at);
        c.at = at;
        c.size = U32At(b, at + 4);
        c.dataAt = at + 8;
        const bool isList = c.id == "LIST" || c.id == "RIFF";
        if (isList) {
            c.listType = FourCcAt(b, at + 8);
            c.dataAt += 4;
        }
        const size_t next = at + 8 + c.size + (c.size & 1);
        if (at + 8 + c.size > end) {
            ADD_FAILURE() << "chunk " << c.id << " at " << at << " runs past " << end;
            break;
        }
        if ((c.size & 1) != 0) {
            EXPECT_EQ(b.at(at + 8 + c.size), 0) << "pad byte of " << c.id;
        }
        chunks.push_back(c);
        at = next;
    }
    EXPECT_EQ(at, end) << "chunks do not fill their parent exactly";
    return chunks;
}

std::vector<Chunk> ChildrenOf(const std::vector<uint8_t>& b, const Chunk& list) {
    return ChunksIn(b, list.dataAt, list.at + 8 + list.size);
}

const Chunk* Find(const std::vector<Chunk>& chunks, const std::string& id,
                  const std::string& listType = "", int nth = 0) {
    for (const Chunk& c : chunks) {
        if (c.id == id && (listType.empty() || c.listType == listType) && nth-- == 0) return &c;
    }
    return nullptr;
}

std::vector<uint8_t> ReadAll(const std::wstring& path) {
    const std::string bytes = ReadFileBytes(path);
    return std::vector<uint8_t>(bytes.begin(), bytes.end());
}

class AviWriterFile : public ::testing::Test {
protected:
    // Writes movieSpec to name in the test's folder and returns the file's bytes.
    std::vector<uint8_t> WriteMovie(const AviMovieSpec& movieSpec, const wchar_t* name = L"movie.avi") {
        std::string error;
        const std::wstring path = m_temp.Join(name);
        EXPECT_TRUE(AviWriter_CL::Write(path, movieSpec, &error)) << error;
        return ReadAll(path);
    }
    TempFolder_CL m_temp;
};

AviMovieSpec MovieSpec(int width, int height, int rateNum, int rateDen, int frames, Pixel pixel,
                  bool audio, int sampleRate = 44100) {
    AviMovieSpec movieSpec;
    movieSpec.width = width;
    movieSpec.height = height;
    movieSpec.frameRateNum = rateNum;
    movieSpec.frameRateDen = rateDen;
    movieSpec.frameCount = frames;
    movieSpec.pixel = pixel;
    movieSpec.withAudio = audio;
    movieSpec.sampleRate = sampleRate;
    return movieSpec;
}

// ---------------------------------------------------------------------------------------
// The file as a demuxer reads it.

struct LayoutCase {
    const char* name;
    AviMovieSpec movieSpec;
    uint32_t microSecPerFrame;    // worked out by hand from the frame rate
    int64_t audioSamples;         // floor(frames * den / num * sampleRate), by hand
};

class AviLayout : public AviWriterFile, public ::testing::WithParamInterface<LayoutCase> {};

TEST_P(AviLayout, HeadersMoviAndIndexDescribeTheMovie) {
    const LayoutCase& param = GetParam();
    const AviMovieSpec& movieSpec = param.movieSpec;
    const bool yuy2 = movieSpec.pixel == Pixel::Yuy2;
    const uint32_t frameBytes = uint32_t(movieSpec.width * movieSpec.height * (yuy2 ? 2 : 4));
    const std::vector<uint8_t> file = WriteMovie(movieSpec);
    ASSERT_GT(file.size(), 12u);
    EXPECT_EQ(int64_t(file.size()), AviWriter_CL::FileSizeBytes(movieSpec));

    ASSERT_EQ(FourCcAt(file, 0), "RIFF");
    EXPECT_EQ(FourCcAt(file, 8), "AVI ");
    EXPECT_EQ(U32At(file, 4), file.size() - 8);
    const std::vector<Chunk> top = ChunksIn(file, 12, file.size());
    ASSERT_GE(top.size(), 3u);
    EXPECT_EQ(top[0].listType, "hdrl");
    const Chunk* movi = Find(top, "LIST", "movi");
    const Chunk* idx1 = Find(top, "idx1");
    ASSERT_NE(movi, nullptr);
    ASSERT_NE(idx1, nullptr);
    EXPECT_EQ(&top.back(), idx1);

    // Main header.
    const std::vector<Chunk> hdrl = ChildrenOf(file, top[0]);
    const Chunk* avih = Find(hdrl, "avih");
    ASSERT_NE(avih, nullptr);
    ASSERT_EQ(avih->size, 56u);
    const size_t h = avih->dataAt;
    EXPECT_EQ(U32At(file, h + 0), param.microSecPerFrame);
    EXPECT_NE(U32At(file, h + 12) & 0x10, 0u) << "AVIF_HASINDEX";
    EXPECT_EQ(U32At(file, h + 16), uint32_t(movieSpec.frameCount));
    EXPECT_EQ(U32At(file, h + 24), movieSpec.withAudio ? 2u : 1u);
    EXPECT_GE(U32At(file, h + 28), frameBytes) << "suggested buffer holds a frame";
    EXPECT_EQ(U32At(file, h + 32), uint32_t(movieSpec.width));
    EXPECT_EQ(U32At(file, h + 36), uint32_t(movieSpec.height));

    // Video stream.
    const Chunk* videoStrl = Find(hdrl, "LIST", "strl", 0);
    ASSERT_NE(videoStrl, nullptr);
    const std::vector<Chunk> video = ChildrenOf(file, *videoStrl);
    const Chunk* vStrh = Find(video, "strh");
    const Chunk* vStrf = Find(video, "strf");
    ASSERT_TRUE(vStrh && vStrf);
    ASSERT_EQ(vStrh->size, 56u);
    ASSERT_EQ(vStrf->size, 40u);
    const size_t s = vStrh->dataAt;
    EXPECT_EQ(FourCcAt(file, s), "vids");
    const uint64_t scale = U32At(file, s + 20);
    const uint64_t rate = U32At(file, s + 24);
    EXPECT_EQ(rate * uint64_t(movieSpec.frameRateDen), scale * uint64_t(movieSpec.frameRateNum)) << rate << "/" << scale;
    EXPECT_EQ(U32At(file, s + 32), uint32_t(movieSpec.frameCount));
    const size_t f = vStrf->dataAt;
    EXPECT_EQ(U32At(file, f + 0), 40u);
    EXPECT_EQ(int32_t(U32At(file, f + 4)), movieSpec.width);
    EXPECT_EQ(int32_t(U32At(file, f + 8)), movieSpec.height) << "positive: BI_RGB rows bottom-up";
    EXPECT_EQ(U16At(file, f + 12), 1);
    EXPECT_EQ(U16At(file, f + 14), yuy2 ? 16 : 32);
    if (yuy2) {
        EXPECT_EQ(FourCcAt(file, f + 16), "YUY2");
    } else {
        EXPECT_EQ(U32At(file, f + 16), 0u) << "BI_RGB";
    }
    EXPECT_EQ(U32At(file, f + 20), frameBytes);

    // Audio stream.
    const Chunk* audioStrl = Find(hdrl, "LIST", "strl", 1);
    ASSERT_EQ(audioStrl != nullptr, movieSpec.withAudio);
    if (movieSpec.withAudio) {
        const std::vector<Chunk> audio = ChildrenOf(file, *audioStrl);
        const Chunk* aStrh = Find(audio, "strh");
        const Chunk* aStrf = Find(audio, "strf");
        ASSERT_TRUE(aStrh && aStrf);
        ASSERT_GE(aStrf->size, 16u);
        const size_t a = aStrh->dataAt;
        EXPECT_EQ(FourCcAt(file, a), "auds");
        const uint64_t aScale = U32At(file, a + 20);
        const uint64_t aRate = U32At(file, a + 24);
        ASSERT_NE(aScale, 0u);
        // One unit is one 4-byte block (left and right sample): rate / scale is the sample
        // rate and the length counts sample frames.
        EXPECT_EQ(U32At(file, a + 44), 4u);
        EXPECT_EQ(aRate, aScale * uint64_t(movieSpec.sampleRate));
        EXPECT_EQ(U32At(file, a + 32), uint32_t(param.audioSamples));
        const size_t w = aStrf->dataAt;
        EXPECT_EQ(U16At(file, w + 0), 1) << "WAVE_FORMAT_PCM";
        EXPECT_EQ(U16At(file, w + 2), 2);
        EXPECT_EQ(U32At(file, w + 4), uint32_t(movieSpec.sampleRate));
        EXPECT_EQ(U32At(file, w + 8), uint32_t(movieSpec.sampleRate) * 4);
        EXPECT_EQ(U16At(file, w + 12), 4);
        EXPECT_EQ(U16At(file, w + 14), 16);
    }

    // Movie data: every frame as StoredFrameBytes predicts, every sample as AudioSample does.
    EXPECT_EQ(FourCcAt(file, movi->at + 8), "movi");
    const std::vector<Chunk> data = ChildrenOf(file, *movi);
    int videoChunks = 0;
    int64_t sampleIndex = 0;
    std::vector<uint8_t> expected;
    for (const Chunk& c : data) {
        if (c.id == "00db" || c.id == "00dc") {
            AviWriter_CL::StoredFrameBytes(movieSpec, videoChunks, &expected);
            ASSERT_EQ(c.size, expected.size());
            EXPECT_EQ(0, std::memcmp(&file[c.dataAt], expected.data(), expected.size()))
                << "frame " << videoChunks;
            ++videoChunks;
        } else if (c.id == "01wb") {
            ASSERT_EQ(c.size % 4, 0u);
            for (uint32_t i = 0; i < c.size; i += 4, ++sampleIndex) {
                ASSERT_EQ(int16_t(U16At(file, c.dataAt + i)), AviWriter_CL::AudioSample(movieSpec, sampleIndex, 0));
                ASSERT_EQ(int16_t(U16At(file, c.dataAt + i + 2)), AviWriter_CL::AudioSample(movieSpec, sampleIndex, 1));
            }
        } else {
            ADD_FAILURE() << "unexpected chunk " << c.id;
        }
    }
    EXPECT_EQ(videoChunks, movieSpec.frameCount);
    EXPECT_EQ(sampleIndex, param.audioSamples);
    EXPECT_EQ(AviWriter_CL::AudioSampleCount(movieSpec), param.audioSamples);

    // Index: one entry per chunk in file order, offsets from the 'movi' type, key frames.
    ASSERT_EQ(idx1->size, data.size() * 16);
    const size_t moviTypeAt = movi->at + 8;
    for (size_t i = 0; i < data.size(); ++i) {
        const size_t e = idx1->dataAt + i * 16;
        EXPECT_EQ(FourCcAt(file, e), data[i].id) << "entry " << i;
        EXPECT_NE(U32At(file, e + 4) & 0x10, 0u) << "AVIIF_KEYFRAME, entry " << i;
        EXPECT_EQ(moviTypeAt + U32At(file, e + 8), data[i].at) << "entry " << i;
        EXPECT_EQ(U32At(file, e + 12), data[i].size) << "entry " << i;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Specs, AviLayout,
    ::testing::Values(
        LayoutCase{"Yuy2Audio30fps", MovieSpec(320, 240, 30, 1, 10, Pixel::Yuy2, true), 33333, 14700},
        LayoutCase{"Rgb32OddWidthSilent", MovieSpec(33, 17, 25, 1, 5, Pixel::Rgb32, false), 40000, 0},
        LayoutCase{"Yuy2Ntsc48k", MovieSpec(64, 48, 30000, 1001, 12, Pixel::Yuy2, true, 48000), 33367, 19219},
        LayoutCase{"Rgb32UnreducedRate", MovieSpec(16, 8, 60, 2, 3, Pixel::Rgb32, true, 22050), 33333, 2205},
        // Under one sample a frame: frames without a sample get no audio chunk.
        LayoutCase{"FewerSamplesThanFrames", MovieSpec(8, 4, 2500, 1, 10, Pixel::Yuy2, true, 1000), 400, 4}),
    [](const ::testing::TestParamInfo<LayoutCase>& info) { return std::string(info.param.name); });

// 30000/1001 fps at 44100 Hz gives 1471 or 1472 samples a frame: chunks of odd sample
// counts must still start where the index says and cover the tone without gaps.
TEST_F(AviWriterFile, AudioChunksWithOddSampleCountsFollowTheFrameClock) {
    const AviMovieSpec movieSpec = MovieSpec(32, 16, 30000, 1001, 20, Pixel::Yuy2, true);
    const std::vector<uint8_t> file = WriteMovie(movieSpec);
    const std::vector<Chunk> top = ChunksIn(file, 12, file.size());
    const Chunk* movi = Find(top, "LIST", "movi");
    ASSERT_NE(movi, nullptr);
    int frame = 0;
    bool sawOdd = false;
    for (const Chunk& c : ChildrenOf(file, *movi)) {
        EXPECT_EQ(c.at % 2, 0u);
        if (c.id != "01wb") continue;
        const int64_t samples = c.size / 4;
        sawOdd |= (samples % 2) != 0;
        EXPECT_EQ(samples, AviWriter_CL::AudioChunkStartSample(movieSpec, frame + 1) -
                               AviWriter_CL::AudioChunkStartSample(movieSpec, frame))
            << "frame " << frame;
        EXPECT_TRUE(samples == 1471 || samples == 1472) << samples;
        ++frame;
    }
    EXPECT_EQ(frame, 20);
    EXPECT_TRUE(sawOdd);
}

// The title is the one chunk whose size can be odd; what follows it must stay readable.
TEST_F(AviWriterFile, OddSizedTitleChunkIsPaddedAndTheMovieFollowsIt) {
    for (const std::string title : {"ab", "abc", "Lumikino"}) {
        AviMovieSpec movieSpec = MovieSpec(16, 16, 10, 1, 2, Pixel::Yuy2, false);
        movieSpec.title = title;
        const std::vector<uint8_t> file = WriteMovie(movieSpec, L"titled.avi");
        EXPECT_EQ(int64_t(file.size()), AviWriter_CL::FileSizeBytes(movieSpec)) << title;
        const std::vector<Chunk> top = ChunksIn(file, 12, file.size());
        ASSERT_EQ(top.size(), 4u) << title;
        EXPECT_EQ(top[0].listType, "hdrl");
        ASSERT_EQ(top[1].listType, "INFO");
        EXPECT_EQ(top[2].listType, "movi");
        EXPECT_EQ(top[3].id, "idx1");
        const std::vector<Chunk> info = ChildrenOf(file, top[1]);
        ASSERT_EQ(info.size(), 1u);
        EXPECT_EQ(info[0].id, "INAM");
        EXPECT_EQ(info[0].size, title.size() + 1) << "text and its terminating NUL";
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(&file[info[0].dataAt])), title);
        EXPECT_EQ(top[2].at % 2, 0u);
    }
}

TEST_F(AviWriterFile, Rgb32RowsAreStoredBottomUp) {
    const AviMovieSpec movieSpec = MovieSpec(40, 30, 30, 1, 1, Pixel::Rgb32, false);
    const std::vector<uint8_t> file = WriteMovie(movieSpec);
    const std::vector<Chunk> top = ChunksIn(file, 12, file.size());
    const Chunk* movi = Find(top, "LIST", "movi");
    ASSERT_NE(movi, nullptr);
    const Chunk frame = ChildrenOf(file, *movi).at(0);
    std::vector<uint8_t> picture;
    AviWriter_CL::RenderFrameRgb32(40, 30, 0, &picture);
    ASSERT_EQ(frame.size, picture.size());
    const size_t rowBytes = 40 * 4;
    for (size_t y = 0; y < 30; ++y) {
        EXPECT_EQ(0, std::memcmp(&file[frame.dataAt + (29 - y) * rowBytes], &picture[y * rowBytes], rowBytes))
            << "picture row " << y;
    }
    // The corner mark is white in the picture's top row, so in the file's last row.
    EXPECT_EQ(file[frame.dataAt + 29 * rowBytes], 255);
    EXPECT_NE(file[frame.dataAt], 255);
}

// Through a narrow CRT call the name would turn into question marks in the ANSI code page.
TEST_F(AviWriterFile, WidePathWithJapaneseNameIsCreated) {
    const std::wstring path = m_temp.Join(L"\u30c6\u30b9\u30c8\u52d5\u753b.avi");   // テスト動画.avi
    std::string error;
    ASSERT_TRUE(AviWriter_CL::Write(path, MovieSpec(16, 16, 10, 1, 1, Pixel::Yuy2, true), &error)) << error;
    ASSERT_TRUE(FileExists(path));
    const std::vector<uint8_t> file = ReadAll(path);
    ASSERT_GE(file.size(), 12u);
    EXPECT_EQ(FourCcAt(file, 0), "RIFF");
}

TEST_F(AviWriterFile, UnwritablePathFailsWithReason) {
    std::string error;
    const std::wstring path = m_temp.Join(L"missing folder\\movie.avi");
    EXPECT_FALSE(AviWriter_CL::Write(path, MovieSpec(16, 16, 10, 1, 1, Pixel::Yuy2, false), &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(FileExists(path));
}

// ---------------------------------------------------------------------------------------
// Specs the writer must refuse before creating anything.

struct BadSpecCase {
    const char* name;
    std::function<void(AviMovieSpec&)> change;
};

class AviBadSpec : public AviWriterFile, public ::testing::WithParamInterface<BadSpecCase> {};

TEST_P(AviBadSpec, RefusedWithReasonAndNoFile) {
    AviMovieSpec movieSpec = MovieSpec(64, 48, 30, 1, 10, Pixel::Yuy2, true);
    ASSERT_TRUE(AviWriter_CL::Validate(movieSpec, nullptr)) << "the base movieSpec is fine";
    GetParam().change(movieSpec);
    std::string error;
    EXPECT_FALSE(AviWriter_CL::Validate(movieSpec, &error));
    EXPECT_FALSE(error.empty());
    error.clear();
    const std::wstring path = m_temp.Join(L"bad.avi");
    EXPECT_FALSE(AviWriter_CL::Write(path, movieSpec, &error));
    EXPECT_FALSE(error.empty());
    EXPECT_FALSE(FileExists(path));
}

INSTANTIATE_TEST_SUITE_P(
    Specs, AviBadSpec,
    ::testing::Values(
        BadSpecCase{"OddWidthYuy2", [](AviMovieSpec& s) { s.width = 63; }},
        BadSpecCase{"ZeroFrames", [](AviMovieSpec& s) { s.frameCount = 0; }},
        BadSpecCase{"NegativeHeight", [](AviMovieSpec& s) { s.height = -48; }},
        BadSpecCase{"ZeroRateDenominator", [](AviMovieSpec& s) { s.frameRateDen = 0; }},
        BadSpecCase{"ZeroSampleRate", [](AviMovieSpec& s) { s.sampleRate = 0; }},
        BadSpecCase{"AmplitudeAboveOne", [](AviMovieSpec& s) { s.amplitude = 1.5; }},
        BadSpecCase{"ToneAtNyquist", [](AviMovieSpec& s) { s.toneHz = 22050; }},
        BadSpecCase{"RightToneAboveNyquist", [](AviMovieSpec& s) { s.toneHzRight = 30000; }},
        // 1920 x 1080 x 4 bytes x 130 frames = 1,078,272,000 bytes > 1 GiB.
        BadSpecCase{"LargerThanOneGiB",
                    [](AviMovieSpec& s) {
                        s = MovieSpec(1920, 1080, 30, 1, 130, Pixel::Rgb32, false);
                    }},
        // The same 129 frames that fit alone, plus 4.3 s of 384 kHz audio (6.6 MB).
        BadSpecCase{"AudioPushesPastOneGiB",
                    [](AviMovieSpec& s) {
                        s = MovieSpec(1920, 1080, 30, 1, 129, Pixel::Rgb32, true, 384000);
                    }},
        BadSpecCase{"FrameCountOverflow",
                    [](AviMovieSpec& s) { s.frameCount = 2'000'000'000; }}),
    [](const ::testing::TestParamInfo<BadSpecCase>& info) { return std::string(info.param.name); });

TEST(AviWriterSpec, SizeLimitLetsTheLargestFittingMovieThrough) {
    // 129 frames of 1920 x 1080 RGB32 are 1,069,977,600 bytes of pictures: under 1 GiB.
    EXPECT_TRUE(AviWriter_CL::Validate(MovieSpec(1920, 1080, 30, 1, 129, Pixel::Rgb32, false), nullptr));
    EXPECT_TRUE(AviWriter_CL::Validate(MovieSpec(63, 48, 30, 1, 10, Pixel::Rgb32, true), nullptr))
        << "odd widths are fine for RGB32";
}

// ---------------------------------------------------------------------------------------
// Time and sound.

struct DurationCase {
    int num, den, frames;
    int64_t refTime;   // frames * den / num seconds in 100-ns units, rounded, by hand
};

class AviDuration : public ::testing::TestWithParam<DurationCase> {};

TEST_P(AviDuration, FramesTimesFramePeriodRounded) {
    const DurationCase& c = GetParam();
    EXPECT_EQ(AviWriter_CL::DurationRefTime(MovieSpec(16, 16, c.num, c.den, c.frames, Pixel::Yuy2, false)),
              c.refTime);
}

INSTANTIATE_TEST_SUITE_P(Rates, AviDuration,
                         ::testing::Values(DurationCase{30, 1, 60, 20'000'000},
                                           DurationCase{25, 1, 1, 400'000},
                                           DurationCase{30000, 1001, 300, 100'100'000},
                                           DurationCase{30000, 1001, 1, 333'667},
                                           DurationCase{24000, 1001, 1, 417'083},
                                           DurationCase{24000, 1001, 86'400, 36'036'000'000}));

TEST(AviWriterAudio, SineSamplesAtKnownPhases) {
    AviMovieSpec movieSpec = MovieSpec(16, 16, 30, 1, 1, Pixel::Yuy2, true, 8000);
    movieSpec.toneHz = 1000;       // 8 samples a cycle
    movieSpec.toneHzRight = 2000;  // 4 samples a cycle
    movieSpec.amplitude = 1.0;
    const int16_t left[8] = {0, 23170, 32767, 23170, 0, -23170, -32767, -23170};
    const int16_t right[8] = {0, 32767, 0, -32767, 0, 32767, 0, -32767};
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(AviWriter_CL::AudioSample(movieSpec, i, 0), left[i]) << i;
        EXPECT_EQ(AviWriter_CL::AudioSample(movieSpec, i, 1), right[i]) << i;
    }
    // Ten hours in, the phase has not drifted.
    const int64_t tenHoursIn = int64_t{8000} * 36000;
    EXPECT_EQ(AviWriter_CL::AudioSample(movieSpec, tenHoursIn + 2, 0), 32767);
    EXPECT_EQ(AviWriter_CL::AudioSample(movieSpec, tenHoursIn + 6, 0), -32767);

    movieSpec.toneHzRight = -1;    // right follows left
    movieSpec.amplitude = 0.5;
    EXPECT_EQ(AviWriter_CL::AudioSample(movieSpec, 2, 1), 16384);
    EXPECT_EQ(AviWriter_CL::AudioSample(movieSpec, 2, 0), AviWriter_CL::AudioSample(movieSpec, 2, 1));
}

TEST(AviWriterAudio, ZeroToneOrZeroAmplitudeIsSilence) {
    AviMovieSpec movieSpec = MovieSpec(16, 16, 30, 1, 1, Pixel::Yuy2, true);
    movieSpec.toneHz = 0;
    for (int i = 0; i < 200; ++i) EXPECT_EQ(AviWriter_CL::AudioSample(movieSpec, i, 0), 0) << i;
    movieSpec.toneHz = 440;
    movieSpec.amplitude = 0;
    for (int i = 0; i < 200; ++i) EXPECT_EQ(AviWriter_CL::AudioSample(movieSpec, i, 1), 0) << i;
}

// ---------------------------------------------------------------------------------------
// The picture.

bool IsWhite(const std::vector<uint8_t>& bgrx, size_t pixel) {
    return bgrx[pixel * 4] == 255 && bgrx[pixel * 4 + 1] == 255 && bgrx[pixel * 4 + 2] == 255;
}

struct Box {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;   // right/bottom exclusive
};

// Bounding box of the white pixels below the corner mark's rows.
Box DigitBox(const std::vector<uint8_t>& bgrx, int width, int height) {
    Box box;
    for (int y = height / 8; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (!IsWhite(bgrx, size_t(y) * width + x)) continue;
            box.left = std::min(box.left, x);
            box.top = std::min(box.top, y);
            box.right = std::max(box.right, x + 1);
            box.bottom = std::max(box.bottom, y + 1);
        }
    }
    return box;
}

struct GlyphCase {
    int digit;
    const char* rows[7];
};

class AviDigitGlyph : public ::testing::TestWithParam<GlyphCase> {};

// Sampling the digit's box on a 5 x 7 grid must give back the glyph the eye expects. These
// digits fill their whole cell, so the box is the glyph's grid.
TEST_P(AviDigitGlyph, ReadsBackAsTheDigit) {
    const GlyphCase& c = GetParam();
    const int width = 320, height = 240;
    std::vector<uint8_t> bgrx;
    AviWriter_CL::RenderFrameRgb32(width, height, c.digit, &bgrx);
    const Box box = DigitBox(bgrx, width, height);
    ASSERT_GT(box.right, box.left);
    EXPECT_GE(box.bottom - box.top, height * 2 / 5) << "digits are large";
    EXPECT_NEAR((box.left + box.right) / 2.0, width / 2.0, 2.0) << "centred across";
    EXPECT_NEAR((box.top + box.bottom) / 2.0, height / 2.0, 2.0) << "centred down";
    const double cellW = (box.right - box.left) / 5.0;
    const double cellH = (box.bottom - box.top) / 7.0;
    for (int row = 0; row < 7; ++row) {
        std::string seen;
        for (int col = 0; col < 5; ++col) {
            const int x = box.left + int((col + 0.5) * cellW);
            const int y = box.top + int((row + 0.5) * cellH);
            seen += IsWhite(bgrx, size_t(y) * width + x) ? '#' : '.';
        }
        EXPECT_EQ(seen, c.rows[row]) << "digit " << c.digit << " row " << row;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Digits, AviDigitGlyph,
    ::testing::Values(
        GlyphCase{0, {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
        GlyphCase{2, {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
        GlyphCase{4, {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
        GlyphCase{7, {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}}));

TEST(AviWriterPicture, FramesDifferInDigitsAndRenderingRepeats) {
    std::vector<uint8_t> one, seven, sevenAgain;
    AviWriter_CL::RenderFrameRgb32(320, 240, 1, &one);
    AviWriter_CL::RenderFrameRgb32(320, 240, 7, &seven);
    AviWriter_CL::RenderFrameRgb32(320, 240, 7, &sevenAgain);
    EXPECT_EQ(seven, sevenAgain);
    int whiteDiffers = 0;
    for (size_t i = 0; i < one.size() / 4; ++i) whiteDiffers += IsWhite(one, i) != IsWhite(seven, i);
    EXPECT_GT(whiteDiffers, 320 * 240 / 50) << "the digits themselves differ, not only the background";

    // Same background every 192 frames; the number still tells them apart.
    std::vector<uint8_t> later;
    AviWriter_CL::RenderFrameRgb32(320, 240, 7 + 192, &later);
    EXPECT_NE(seven, later);
}

TEST(AviWriterPicture, BackgroundIsDarkAndChangesEveryFrame) {
    for (int frame = 0; frame < 400; ++frame) {
        const AviRgb8 c = AviWriter_CL::BackgroundColour(frame);
        const AviRgb8 next = AviWriter_CL::BackgroundColour(frame + 1);
        EXPECT_TRUE(c.r != next.r || c.g != next.g || c.b != next.b) << frame;
        for (uint8_t v : {c.r, c.g, c.b}) {
            EXPECT_GE(v, 16) << frame;
            EXPECT_LE(v, 96) << frame;
        }
    }
    // The picture's bottom-right corner is background.
    std::vector<uint8_t> bgrx;
    AviWriter_CL::RenderFrameRgb32(64, 48, 123, &bgrx);
    const AviRgb8 c = AviWriter_CL::BackgroundColour(123);
    const size_t last = (64 * 48 - 1) * 4;
    EXPECT_EQ(bgrx[last], c.b);
    EXPECT_EQ(bgrx[last + 1], c.g);
    EXPECT_EQ(bgrx[last + 2], c.r);
    EXPECT_EQ(bgrx[last + 3], 255);
}

struct SizeCase {
    int width, height, frame;
};

class AviPictureSize : public ::testing::TestWithParam<SizeCase> {};

// Only background and white, both pixels of every YUY2 pair alike (so chroma never mixes a
// digit edge with the background), digits inside the picture and tall when there is room.
TEST_P(AviPictureSize, TwoColoursPairAlignedDigitsInside) {
    const SizeCase& c = GetParam();
    std::vector<uint8_t> bgrx;
    AviWriter_CL::RenderFrameRgb32(c.width, c.height, c.frame, &bgrx);
    ASSERT_EQ(bgrx.size(), size_t(c.width) * c.height * 4);
    const AviRgb8 bg = AviWriter_CL::BackgroundColour(c.frame);
    int white = 0;
    for (size_t i = 0; i < bgrx.size() / 4; ++i) {
        const bool isBg = bgrx[i * 4] == bg.b && bgrx[i * 4 + 1] == bg.g && bgrx[i * 4 + 2] == bg.r;
        ASSERT_TRUE(isBg || IsWhite(bgrx, i)) << "pixel " << i;
        white += IsWhite(bgrx, i);
    }
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x + 1 < c.width; x += 2) {
            const size_t p = (size_t(y) * c.width + x) * 4;
            ASSERT_EQ(0, std::memcmp(&bgrx[p], &bgrx[p + 4], 4)) << "pair at " << x << "," << y;
        }
    }
    const Box box = DigitBox(bgrx, c.width, c.height);
    if (c.height >= 48) {
        ASSERT_GT(box.right, box.left) << "digits drawn";
        EXPECT_GE(box.left, 0);
        EXPECT_LE(box.right, c.width);
        EXPECT_GE(box.bottom - box.top, c.height / 5);
    }
    EXPECT_GT(white, 0) << "at least the corner mark";
}

INSTANTIATE_TEST_SUITE_P(Sizes, AviPictureSize,
                         ::testing::Values(SizeCase{320, 240, 17}, SizeCase{1920, 1080, 12345},
                                           SizeCase{64, 48, 99999}, SizeCase{720, 480, 0},
                                           SizeCase{16, 16, 3}, SizeCase{2, 2, 5}));

// ---------------------------------------------------------------------------------------
// RGB to YUY2.

struct ColourCase {
    uint8_t r, g, b;
    uint8_t y, u, v;   // BT.601 limited range, rounded to nearest
};

class AviYuy2Colour : public ::testing::TestWithParam<ColourCase> {};

TEST_P(AviYuy2Colour, Bt601LimitedRange) {
    const ColourCase& c = GetParam();
    const uint8_t pair[8] = {c.b, c.g, c.r, 255, c.b, c.g, c.r, 255};
    std::vector<uint8_t> yuy2;
    AviWriter_CL::ConvertRgb32ToYuy2(pair, 2, 1, &yuy2);
    ASSERT_EQ(yuy2.size(), 4u);
    EXPECT_EQ(yuy2[0], c.y);
    EXPECT_EQ(yuy2[1], c.u);
    EXPECT_EQ(yuy2[2], c.y);
    EXPECT_EQ(yuy2[3], c.v);
}

INSTANTIATE_TEST_SUITE_P(Colours, AviYuy2Colour,
                         ::testing::Values(ColourCase{0, 0, 0, 16, 128, 128},
                                           ColourCase{255, 255, 255, 235, 128, 128},
                                           ColourCase{255, 0, 0, 81, 90, 240},
                                           ColourCase{0, 255, 0, 145, 54, 34},
                                           ColourCase{0, 0, 255, 41, 240, 110},
                                           ColourCase{128, 128, 128, 126, 128, 128}));

TEST(AviWriterYuy2, PairOrderIsY0UY1VRowsTopDown) {
    // Row 0: black, white. Row 1: white, black.
    const uint8_t picture[16] = {0, 0, 0, 255, 255, 255, 255, 255,
                                 255, 255, 255, 255, 0, 0, 0, 255};
    std::vector<uint8_t> yuy2;
    AviWriter_CL::ConvertRgb32ToYuy2(picture, 2, 2, &yuy2);
    EXPECT_EQ(yuy2, (std::vector<uint8_t>{16, 128, 235, 128, 235, 128, 16, 128}));
}

}  // namespace
