#pragma once

#include <cstdint>
#include <string>
#include <vector>

// What a sample movie holds. Every frame shows its own zero-based index as large white
// digits on a dark background whose colour drifts a little from frame to frame, with a
// small white block in the top-left corner so a flipped picture is easy to spot.
struct AviMovieSpec {
    enum class Pixel { Yuy2, Rgb32 };

    int width = 320;            // pixels; must be even for YUY2
    int height = 240;           // pixels
    int frameRateNum = 30;      // frames per second = frameRateNum / frameRateDen
    int frameRateDen = 1;
    int frameCount = 30;
    Pixel pixel = Pixel::Yuy2;

    bool withAudio = true;      // 16-bit stereo PCM
    int sampleRate = 44100;     // Hz
    double toneHz = 440.0;      // left channel; 0 gives silence
    double toneHzRight = -1.0;  // right channel; below 0 means the same as toneHz
    double amplitude = 0.5;     // peak as a fraction of full scale, 0..1 (0 gives silence)

    std::string title;          // written as the INFO "INAM" entry when not empty
};

struct AviRgb8 {
    uint8_t r, g, b;
};

// Writes uncompressed AVI 1.0 movies for tests, and computes what a test should expect to
// see and hear from them. Thread: any; nothing is shared between calls.
//
// Layout: RIFF 'AVI ' { LIST 'hdrl' { avih, LIST 'strl' { strh 'vids', strf BITMAPINFOHEADER },
// [LIST 'strl' { strh 'auds', strf WAVEFORMATEX }] }, [LIST 'INFO' { INAM }],
// LIST 'movi' { per frame: '00db' video, then '01wb' audio covering that frame's time },
// idx1 }. Every index entry is a key frame.
class AviWriter_CL {
public:
    // AVI 1.0 readers stop at the first RIFF chunk, which must stay within 1 GiB.
    static constexpr int64_t kMaxFileBytes = int64_t{1} << 30;
    static constexpr int64_t kRefTimePerSecond = 10'000'000;   // 100-ns units, as REFERENCE_TIME
    static constexpr int kMaxDimension = 16384;                // pixels, either side

    // Checks the movieSpec, creates the file (UTF-16 path on Windows, UTF-8 elsewhere) and streams
    // the movie into it one frame at a time, replacing any file of that name. On failure
    // nothing is left behind and *error
    // (when given) says why; a movieSpec that fails Validate never creates the file.
    [[nodiscard]] static bool Write(const std::wstring& path, const AviMovieSpec& movieSpec,
                                    std::string* error);

    // False, with the reason in *error, for a movieSpec Write would refuse: odd width for YUY2,
    // no frames, non-positive sizes or rates, amplitude outside 0..1, a tone at or above
    // half the sample rate, or a movie larger than kMaxFileBytes.
    [[nodiscard]] static bool Validate(const AviMovieSpec& movieSpec, std::string* error);

    // Exact size of the file Write produces for a valid movieSpec.
    static int64_t FileSizeBytes(const AviMovieSpec& movieSpec);

    // Start of frame frameIndex in 100-ns units, rounded to the nearest unit;
    // frameIndex == frameCount gives the movie's duration.
    static int64_t FrameStartRefTime(const AviMovieSpec& movieSpec, int64_t frameIndex);
    static int64_t DurationRefTime(const AviMovieSpec& movieSpec);

    // Audio sample frames (one left and one right value each) in the whole movie; 0 without
    // audio. Frame k's audio chunk holds the samples [start(k), start(k + 1)) where
    // start(k) = floor(k * sampleRate * frameRateDen / frameRateNum).
    static int64_t AudioSampleCount(const AviMovieSpec& movieSpec);
    static int64_t AudioChunkStartSample(const AviMovieSpec& movieSpec, int64_t frameIndex);

    // The value stored for sample sampleIndex of channel 0 (left) or 1 (right):
    // round(amplitude * 32767 * sin(2 pi * hz * sampleIndex / sampleRate)).
    static int16_t AudioSample(const AviMovieSpec& movieSpec, int64_t sampleIndex, int channel);

    // Background colour of frame frameIndex; every channel stays within 16..96.
    static AviRgb8 BackgroundColour(int frameIndex);

    // Draws frame frameIndex as width x height pixels into *bgrx: 4 bytes per pixel
    // (B, G, R, 0xFF), rows top-down. Everything drawn has even x edges, so both pixels of each
    // YUY2 pair always have the same colour.
    static void RenderFrameRgb32(int width, int height, int frameIndex, std::vector<uint8_t>* bgrx);

    // BT.601 limited range (Y 16..235, U/V 16..240), rounded to nearest. Takes top-down BGRX
    // rows, writes top-down Y0 U Y1 V groups; U and V are the mean of the pair's two pixels.
    // width must be even.
    static void ConvertRgb32ToYuy2(const uint8_t* bgrx, int width, int height,
                                   std::vector<uint8_t>* yuy2);

    // The exact payload of frame frameIndex's video chunk: YUY2 top-down, or BGRX rows
    // bottom-up as BI_RGB requires.
    static void StoredFrameBytes(const AviMovieSpec& movieSpec, int frameIndex,
                                 std::vector<uint8_t>* bytes);
};
