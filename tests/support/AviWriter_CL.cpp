#include "tests/support/AviWriter_CL.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <memory>

namespace {

// ---------------------------------------------------------------------------------------
// On-disk records. The writer serialises them field by field in little-endian order, so
// neither the host's byte order nor its struct padding reaches the file; the packed
// layouts and size checks keep the definitions honest against the documented sizes.

#pragma pack(push, 1)

struct MainAviHeader {              // 'avih'
    uint32_t microSecPerFrame;
    uint32_t maxBytesPerSec;
    uint32_t paddingGranularity;
    uint32_t flags;
    uint32_t totalFrames;
    uint32_t initialFrames;
    uint32_t streams;
    uint32_t suggestedBufferSize;
    uint32_t width;
    uint32_t height;
    uint32_t reserved[4];
};

struct AviStreamHeader {            // 'strh'
    uint32_t fccType;
    uint32_t fccHandler;
    uint32_t flags;
    uint16_t priority;
    uint16_t language;
    uint32_t initialFrames;
    uint32_t scale;
    uint32_t rate;                  // rate / scale = units per second
    uint32_t start;
    uint32_t length;                // in units
    uint32_t suggestedBufferSize;
    uint32_t quality;
    uint32_t sampleSize;
    int16_t frameLeft, frameTop, frameRight, frameBottom;
};

struct BitmapInfoHeader {           // video 'strf'
    uint32_t size;
    int32_t width;
    int32_t height;
    uint16_t planes;
    uint16_t bitCount;
    uint32_t compression;
    uint32_t sizeImage;
    int32_t xPelsPerMeter;
    int32_t yPelsPerMeter;
    uint32_t clrUsed;
    uint32_t clrImportant;
};

struct WaveFormatEx {               // audio 'strf'
    uint16_t formatTag;
    uint16_t channels;
    uint32_t samplesPerSec;
    uint32_t avgBytesPerSec;
    uint16_t blockAlign;
    uint16_t bitsPerSample;
    uint16_t cbSize;
};

struct AviIndexEntry {              // one 'idx1' entry
    uint32_t chunkId;
    uint32_t flags;
    uint32_t offset;                // from the 'movi' list type, i.e. the first chunk is at 4
    uint32_t size;                  // chunk data bytes, without padding
};

#pragma pack(pop)

static_assert(sizeof(MainAviHeader) == 56, "avih is 56 bytes on disk");
static_assert(sizeof(AviStreamHeader) == 56, "strh is 56 bytes on disk");
static_assert(sizeof(BitmapInfoHeader) == 40, "BITMAPINFOHEADER is 40 bytes on disk");
static_assert(sizeof(WaveFormatEx) == 18, "WAVEFORMATEX is 18 bytes on disk");
static_assert(sizeof(AviIndexEntry) == 16, "an idx1 entry is 16 bytes on disk");

constexpr uint32_t FourCc(const char (&text)[5]) {
    return uint32_t(uint8_t(text[0])) | uint32_t(uint8_t(text[1])) << 8 |
           uint32_t(uint8_t(text[2])) << 16 | uint32_t(uint8_t(text[3])) << 24;
}

constexpr uint32_t kAvifHasIndex = 0x10;
constexpr uint32_t kAvifIsInterleaved = 0x100;
constexpr uint32_t kAviifKeyFrame = 0x10;
constexpr uint32_t kBiRgb = 0;
constexpr uint16_t kWaveFormatPcm = 1;
constexpr int kAudioChannels = 2;
constexpr int kAudioBytesPerSample = 2;
constexpr int kAudioBlockBytes = kAudioChannels * kAudioBytesPerSample;
constexpr int kChunkHeaderBytes = 8;          // id + size
constexpr int kListHeaderBytes = 12;          // 'LIST' + size + list type
constexpr int kMinSampleRate = 1000;
constexpr int kMaxSampleRate = 384000;
constexpr int kMaxFrameRateTerm = 1'000'000;
constexpr double kMaxDurationSeconds = 1e6;
constexpr uint32_t kVideoChunkId = FourCc("00db");   // uncompressed DIB frames
constexpr uint32_t kAudioChunkId = FourCc("01wb");
constexpr int kBackgroundPeriodFrames = 192;

int64_t PaddedBytes(int64_t bytes) { return bytes + (bytes & 1); }

int64_t Gcd(int64_t a, int64_t b) {
    while (b != 0) {
        int64_t t = a % b;
        a = b;
        b = t;
    }
    return a;
}

// floor(a * b / c) for non-negative a, b and positive c, without forming a * b.
int64_t MulDivFloor(int64_t a, int64_t b, int64_t c) {
    return (a / c) * b + ((a % c) * b) / c;
}

int64_t FrameBytes(const AviMovieSpec& movieSpec) {
    const int64_t bytesPerPixel = movieSpec.pixel == AviMovieSpec::Pixel::Yuy2 ? 2 : 4;
    return int64_t{movieSpec.width} * movieSpec.height * bytesPerPixel;
}

// Each frame's audio chunk covers samples [start(k), start(k + 1)).
int64_t MaxAudioChunkSamples(const AviMovieSpec& movieSpec) {
    const int64_t perFrameNum = int64_t{movieSpec.sampleRate} * movieSpec.frameRateDen;
    return (perFrameNum + movieSpec.frameRateNum - 1) / movieSpec.frameRateNum;
}

// With at least one sample per frame period every chunk has data; with less, each chunk
// holds zero or one sample and only the non-empty ones are written.
int64_t AudioChunkCount(const AviMovieSpec& movieSpec) {
    if (!movieSpec.withAudio) return 0;
    if (int64_t{movieSpec.sampleRate} * movieSpec.frameRateDen >= movieSpec.frameRateNum) return movieSpec.frameCount;
    return AviWriter_CL::AudioSampleCount(movieSpec);
}

int64_t HdrlListBytes(const AviMovieSpec& movieSpec) {
    int64_t bytes = kListHeaderBytes + kChunkHeaderBytes + int64_t{sizeof(MainAviHeader)};
    bytes += kListHeaderBytes + kChunkHeaderBytes + int64_t{sizeof(AviStreamHeader)} +
             kChunkHeaderBytes + int64_t{sizeof(BitmapInfoHeader)};
    if (movieSpec.withAudio) {
        bytes += kListHeaderBytes + kChunkHeaderBytes + int64_t{sizeof(AviStreamHeader)} +
                 kChunkHeaderBytes + int64_t{sizeof(WaveFormatEx)};
    }
    return bytes;
}

int64_t InfoListBytes(const AviMovieSpec& movieSpec) {
    if (movieSpec.title.empty()) return 0;
    return kListHeaderBytes + kChunkHeaderBytes + PaddedBytes(int64_t(movieSpec.title.size()) + 1);
}

// ---------------------------------------------------------------------------------------
// Little-endian serialisation into a memory buffer (headers are small and built whole).

class ByteBuffer {
public:
    void U8(uint8_t v) { m_bytes.push_back(v); }
    void U16(uint16_t v) {
        U8(uint8_t(v));
        U8(uint8_t(v >> 8));
    }
    void U32(uint32_t v) {
        U16(uint16_t(v));
        U16(uint16_t(v >> 16));
    }
    void I16(int16_t v) { U16(uint16_t(v)); }
    void I32(int32_t v) { U32(uint32_t(v)); }
    void Bytes(const void* data, size_t size) {
        const uint8_t* p = static_cast<const uint8_t*>(data);
        m_bytes.insert(m_bytes.end(), p, p + size);
    }
    // Opens a chunk (or a LIST when listType is non-zero) whose size is filled in by EndChunk.
    size_t BeginChunk(uint32_t id, uint32_t listType = 0) {
        U32(id);
        const size_t sizeAt = m_bytes.size();
        U32(0);
        if (listType != 0) U32(listType);
        return sizeAt;
    }
    // RIFF sizes exclude the 8-byte header and the pad byte that keeps the next chunk even.
    void EndChunk(size_t sizeAt) {
        const size_t size = m_bytes.size() - sizeAt - 4;
        for (int i = 0; i < 4; ++i) m_bytes[sizeAt + i] = uint8_t(uint32_t(size) >> (8 * i));
        if (size & 1) U8(0);
    }
    const std::vector<uint8_t>& Data() const { return m_bytes; }

private:
    std::vector<uint8_t> m_bytes;
};

void Put(ByteBuffer& out, const MainAviHeader& h) {
    for (uint32_t v : {h.microSecPerFrame, h.maxBytesPerSec, h.paddingGranularity, h.flags,
                       h.totalFrames, h.initialFrames, h.streams, h.suggestedBufferSize, h.width,
                       h.height, h.reserved[0], h.reserved[1], h.reserved[2], h.reserved[3]}) {
        out.U32(v);
    }
}

void Put(ByteBuffer& out, const AviStreamHeader& h) {
    out.U32(h.fccType);
    out.U32(h.fccHandler);
    out.U32(h.flags);
    out.U16(h.priority);
    out.U16(h.language);
    for (uint32_t v : {h.initialFrames, h.scale, h.rate, h.start, h.length,
                       h.suggestedBufferSize, h.quality, h.sampleSize}) {
        out.U32(v);
    }
    for (int16_t v : {h.frameLeft, h.frameTop, h.frameRight, h.frameBottom}) out.I16(v);
}

void Put(ByteBuffer& out, const BitmapInfoHeader& h) {
    out.U32(h.size);
    out.I32(h.width);
    out.I32(h.height);
    out.U16(h.planes);
    out.U16(h.bitCount);
    out.U32(h.compression);
    out.U32(h.sizeImage);
    out.I32(h.xPelsPerMeter);
    out.I32(h.yPelsPerMeter);
    out.U32(h.clrUsed);
    out.U32(h.clrImportant);
}

void Put(ByteBuffer& out, const WaveFormatEx& w) {
    out.U16(w.formatTag);
    out.U16(w.channels);
    out.U32(w.samplesPerSec);
    out.U32(w.avgBytesPerSec);
    out.U16(w.blockAlign);
    out.U16(w.bitsPerSample);
    out.U16(w.cbSize);
}

void Put(ByteBuffer& out, const AviIndexEntry& e) {
    out.U32(e.chunkId);
    out.U32(e.flags);
    out.U32(e.offset);
    out.U32(e.size);
}

uint32_t ClampU32(int64_t v) {
    return uint32_t(std::clamp<int64_t>(v, 0, int64_t{UINT32_MAX}));
}

// Everything before the first movie chunk: RIFF header, hdrl and the optional INFO list.
// The RIFF size is left 0 and patched once the file is complete.
std::vector<uint8_t> BuildHeaders(const AviMovieSpec& movieSpec) {
    const bool yuy2 = movieSpec.pixel == AviMovieSpec::Pixel::Yuy2;
    const int64_t frameBytes = FrameBytes(movieSpec);
    const int64_t maxAudioChunkBytes = movieSpec.withAudio ? MaxAudioChunkSamples(movieSpec) * kAudioBlockBytes : 0;
    const int64_t rateGcd = Gcd(movieSpec.frameRateNum, movieSpec.frameRateDen);
    const uint32_t videoRate = uint32_t(movieSpec.frameRateNum / rateGcd);
    const uint32_t videoScale = uint32_t(movieSpec.frameRateDen / rateGcd);
    const int64_t audioBytesPerSec = int64_t{movieSpec.sampleRate} * kAudioBlockBytes;

    ByteBuffer out;
    out.BeginChunk(FourCc("RIFF"), FourCc("AVI "));
    const size_t hdrl = out.BeginChunk(FourCc("LIST"), FourCc("hdrl"));

    MainAviHeader avih{};
    avih.microSecPerFrame =
        ClampU32((int64_t{movieSpec.frameRateDen} * 1'000'000 + movieSpec.frameRateNum / 2) / movieSpec.frameRateNum);
    avih.maxBytesPerSec = ClampU32(
        MulDivFloor(frameBytes + kChunkHeaderBytes, movieSpec.frameRateNum, movieSpec.frameRateDen) +
        (movieSpec.withAudio ? audioBytesPerSec : 0));
    avih.flags = kAvifHasIndex | (movieSpec.withAudio ? kAvifIsInterleaved : 0);
    avih.totalFrames = uint32_t(movieSpec.frameCount);
    avih.streams = movieSpec.withAudio ? 2 : 1;
    avih.suggestedBufferSize = ClampU32(std::max(frameBytes, maxAudioChunkBytes) + kChunkHeaderBytes);
    avih.width = uint32_t(movieSpec.width);
    avih.height = uint32_t(movieSpec.height);
    size_t chunk = out.BeginChunk(FourCc("avih"));
    Put(out, avih);
    out.EndChunk(chunk);

    const size_t videoStrl = out.BeginChunk(FourCc("LIST"), FourCc("strl"));
    AviStreamHeader vids{};
    vids.fccType = FourCc("vids");
    vids.fccHandler = yuy2 ? FourCc("YUY2") : FourCc("DIB ");
    vids.scale = videoScale;
    vids.rate = videoRate;
    vids.length = uint32_t(movieSpec.frameCount);
    vids.suggestedBufferSize = ClampU32(frameBytes);
    vids.quality = UINT32_MAX;                       // -1: default quality
    vids.sampleSize = 0;                             // one frame per chunk
    vids.frameRight = int16_t(movieSpec.width);
    vids.frameBottom = int16_t(movieSpec.height);
    chunk = out.BeginChunk(FourCc("strh"));
    Put(out, vids);
    out.EndChunk(chunk);

    // YUY2 is top-down whatever the sign of biHeight; BI_RGB with a positive height is
    // bottom-up, which is how the frames are stored.
    BitmapInfoHeader bih{};
    bih.size = sizeof(BitmapInfoHeader);
    bih.width = movieSpec.width;
    bih.height = movieSpec.height;
    bih.planes = 1;
    bih.bitCount = yuy2 ? 16 : 32;
    bih.compression = yuy2 ? FourCc("YUY2") : kBiRgb;
    bih.sizeImage = ClampU32(frameBytes);
    chunk = out.BeginChunk(FourCc("strf"));
    Put(out, bih);
    out.EndChunk(chunk);
    out.EndChunk(videoStrl);

    if (movieSpec.withAudio) {
        const size_t audioStrl = out.BeginChunk(FourCc("LIST"), FourCc("strl"));
        // For PCM one unit is one block (a left and a right sample), so rate / scale is the
        // sample rate and the length counts sample frames.
        AviStreamHeader auds{};
        auds.fccType = FourCc("auds");
        auds.scale = kAudioBlockBytes;
        auds.rate = ClampU32(audioBytesPerSec);
        auds.length = ClampU32(AviWriter_CL::AudioSampleCount(movieSpec));
        auds.suggestedBufferSize = ClampU32(maxAudioChunkBytes);
        auds.quality = UINT32_MAX;
        auds.sampleSize = kAudioBlockBytes;
        chunk = out.BeginChunk(FourCc("strh"));
        Put(out, auds);
        out.EndChunk(chunk);

        WaveFormatEx wfx{};
        wfx.formatTag = kWaveFormatPcm;
        wfx.channels = kAudioChannels;
        wfx.samplesPerSec = uint32_t(movieSpec.sampleRate);
        wfx.avgBytesPerSec = ClampU32(audioBytesPerSec);
        wfx.blockAlign = kAudioBlockBytes;
        wfx.bitsPerSample = 8 * kAudioBytesPerSample;
        chunk = out.BeginChunk(FourCc("strf"));
        Put(out, wfx);
        out.EndChunk(chunk);
        out.EndChunk(audioStrl);
    }
    out.EndChunk(hdrl);

    if (!movieSpec.title.empty()) {
        const size_t info = out.BeginChunk(FourCc("LIST"), FourCc("INFO"));
        chunk = out.BeginChunk(FourCc("INAM"));
        out.Bytes(movieSpec.title.data(), movieSpec.title.size());
        out.U8(0);
        out.EndChunk(chunk);
        out.EndChunk(info);
    }
    return out.Data();
}

// ---------------------------------------------------------------------------------------
// The file itself. Tests run as Windows programs with UTF-16 paths (Japanese folder names
// included), so Windows opens through the wide CRT call; elsewhere the path goes out as UTF-8.

#ifndef _WIN32
std::string Utf8FromWide(const std::wstring& text) {
    std::string out;
    for (wchar_t wc : text) {
        uint32_t c = uint32_t(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c < 0x80) {
            out += char(c);
        } else if (c < 0x800) {
            out += char(0xC0 | (c >> 6));
            out += char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            out += char(0xE0 | (c >> 12));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        } else {
            out += char(0xF0 | (c >> 18));
            out += char(0x80 | ((c >> 12) & 0x3F));
            out += char(0x80 | ((c >> 6) & 0x3F));
            out += char(0x80 | (c & 0x3F));
        }
    }
    return out;
}
#endif

std::FILE* OpenForWrite(const std::wstring& path) {
#ifdef _WIN32
    return _wfopen(path.c_str(), L"wb");
#else
    return std::fopen(Utf8FromWide(path).c_str(), "wb");
#endif
}

void RemoveFile(const std::wstring& path) {
#ifdef _WIN32
    _wremove(path.c_str());
#else
    std::remove(Utf8FromWide(path).c_str());
#endif
}

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using UniqueFile = std::unique_ptr<std::FILE, FileCloser>;

// Sequential writer that remembers the first failure, so the frame loop stays readable.
class MovieFile {
public:
    explicit MovieFile(std::FILE* file) : m_file(file) {
        // Frames go out in large pieces; a bigger buffer keeps small audio chunks cheap.
        std::setvbuf(m_file.get(), nullptr, _IOFBF, 1 << 20);
    }
    bool Ok() const { return m_ok; }
    int64_t Position() const { return m_position; }

    void Write(const void* data, size_t size) {
        if (!m_ok || size == 0) return;
        m_ok = std::fwrite(data, 1, size, m_file.get()) == size;
        m_position += int64_t(size);
    }
    void Write(const std::vector<uint8_t>& bytes) { Write(bytes.data(), bytes.size()); }

    // A chunk of data with its header and, for an odd size, the pad byte.
    void Chunk(uint32_t id, const void* data, size_t size) {
        uint8_t header[kChunkHeaderBytes];
        PutU32(header, id);
        PutU32(header + 4, uint32_t(size));
        Write(header, sizeof(header));
        Write(data, size);
        if (size & 1) {
            const uint8_t pad = 0;
            Write(&pad, 1);
        }
    }

    // Offsets stay below 1 GiB, so the plain long seek is wide enough everywhere.
    void PatchU32(int64_t offset, uint32_t value) {
        if (!m_ok) return;
        uint8_t bytes[4];
        PutU32(bytes, value);
        m_ok = std::fseek(m_file.get(), long(offset), SEEK_SET) == 0 &&
               std::fwrite(bytes, 1, 4, m_file.get()) == 4;
    }

    bool Close() {
        if (std::fclose(m_file.release()) != 0) m_ok = false;
        return m_ok;
    }

    static void PutU32(uint8_t* out, uint32_t v) {
        for (int i = 0; i < 4; ++i) out[i] = uint8_t(v >> (8 * i));
    }

private:
    UniqueFile m_file;
    bool m_ok = true;
    int64_t m_position = 0;
};

// ---------------------------------------------------------------------------------------
// The picture.

// 5x7 digits, one byte per row, the top row first; bit 4 is the leftmost column.
constexpr uint8_t kDigitRows[10][7] = {
    {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E},   // 0
    {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E},   // 1
    {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F},   // 2
    {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E},   // 3
    {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02},   // 4
    {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E},   // 5
    {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E},   // 6
    {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08},   // 7
    {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E},   // 8
    {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C},   // 9
};
constexpr int kGlyphColumns = 5;
constexpr int kGlyphRows = 7;
constexpr int kGlyphAdvanceColumns = 6;           // one empty column between digits

// BI_RGB ignores the fourth byte, but tools that read 32-bit frames as BGRA (ffmpeg among
// them) would show a 0 there as fully transparent.
constexpr uint8_t kOpaque = 0xFF;

void FillRect(std::vector<uint8_t>& bgrx, int width, int height, int left, int top, int right,
              int bottom, AviRgb8 colour) {
    left = std::max(left, 0);
    top = std::max(top, 0);
    right = std::min(right, width);
    bottom = std::min(bottom, height);
    for (int y = top; y < bottom; ++y) {
        uint8_t* p = bgrx.data() + (size_t(y) * size_t(width) + size_t(left)) * 4;
        for (int x = left; x < right; ++x, p += 4) {
            p[0] = colour.b;
            p[1] = colour.g;
            p[2] = colour.r;
            p[3] = kOpaque;
        }
    }
}

uint8_t ClampToByte(double v) {
    return uint8_t(std::lround(std::clamp(v, 0.0, 255.0)));
}

}  // namespace

// ---------------------------------------------------------------------------------------

bool AviWriter_CL::Validate(const AviMovieSpec& movieSpec, std::string* error) {
    auto fail = [error](const char* reason) {
        if (error) *error = reason;
        return false;
    };
    if (movieSpec.width <= 0 || movieSpec.height <= 0) return fail("width and height must be positive");
    if (movieSpec.width > kMaxDimension || movieSpec.height > kMaxDimension) {
        return fail("width and height must be at most 16384");
    }
    if (movieSpec.pixel == AviMovieSpec::Pixel::Yuy2 && movieSpec.width % 2 != 0) {
        return fail("YUY2 needs an even width");
    }
    if (movieSpec.pixel != AviMovieSpec::Pixel::Yuy2 && movieSpec.pixel != AviMovieSpec::Pixel::Rgb32) {
        return fail("unknown pixel format");
    }
    if (movieSpec.frameRateNum <= 0 || movieSpec.frameRateDen <= 0 || movieSpec.frameRateNum > kMaxFrameRateTerm ||
        movieSpec.frameRateDen > kMaxFrameRateTerm) {
        return fail("frame rate terms must be within 1..1000000");
    }
    if (movieSpec.frameCount <= 0) return fail("a movie needs at least one frame");

    // Bound the movie before any exact arithmetic, so nothing below can overflow.
    const double durationSeconds = double(movieSpec.frameCount) * movieSpec.frameRateDen / movieSpec.frameRateNum;
    if (durationSeconds > kMaxDurationSeconds) return fail("movie too long");
    const int64_t perFrameMinBytes =
        kChunkHeaderBytes + FrameBytes(movieSpec) + int64_t{sizeof(AviIndexEntry)};
    if (int64_t{movieSpec.frameCount} > kMaxFileBytes / perFrameMinBytes) {
        return fail("movie larger than the 1 GiB AVI 1.0 limit");
    }

    if (movieSpec.withAudio) {
        if (movieSpec.sampleRate < kMinSampleRate || movieSpec.sampleRate > kMaxSampleRate) {
            return fail("sample rate must be within 1000..384000 Hz");
        }
        const double nyquistHz = movieSpec.sampleRate / 2.0;
        if (!(movieSpec.toneHz >= 0.0 && movieSpec.toneHz < nyquistHz)) {
            return fail("tone frequency must be at least 0 and below half the sample rate");
        }
        if (!(movieSpec.toneHzRight < nyquistHz) || std::isnan(movieSpec.toneHzRight)) {
            return fail("right tone frequency must be below half the sample rate");
        }
        if (!(movieSpec.amplitude >= 0.0 && movieSpec.amplitude <= 1.0)) {
            return fail("amplitude must be within 0..1");
        }
        if (durationSeconds * movieSpec.sampleRate * kAudioBlockBytes > double(kMaxFileBytes)) {
            return fail("movie larger than the 1 GiB AVI 1.0 limit");
        }
    }
    if (movieSpec.title.find('\0') != std::string::npos) return fail("title must not contain NUL");
    if (movieSpec.title.size() > 65536) return fail("title too long");

    if (FileSizeBytes(movieSpec) > kMaxFileBytes) return fail("movie larger than the 1 GiB AVI 1.0 limit");
    return true;
}

int64_t AviWriter_CL::FileSizeBytes(const AviMovieSpec& movieSpec) {
    const int64_t videoChunks = int64_t{movieSpec.frameCount};
    const int64_t audioChunks = AudioChunkCount(movieSpec);
    const int64_t movi = kListHeaderBytes +
                         videoChunks * (kChunkHeaderBytes + PaddedBytes(FrameBytes(movieSpec))) +
                         audioChunks * kChunkHeaderBytes + AudioSampleCount(movieSpec) * kAudioBlockBytes;
    const int64_t idx1 = kChunkHeaderBytes + (videoChunks + audioChunks) * int64_t{sizeof(AviIndexEntry)};
    return kListHeaderBytes + HdrlListBytes(movieSpec) + InfoListBytes(movieSpec) + movi + idx1;
}

int64_t AviWriter_CL::FrameStartRefTime(const AviMovieSpec& movieSpec, int64_t frameIndex) {
    // frameIndex * den / num seconds, rounded to the nearest 100 ns.
    const int64_t a = frameIndex * movieSpec.frameRateDen;
    const int64_t num = movieSpec.frameRateNum;
    return (a / num) * kRefTimePerSecond + ((a % num) * kRefTimePerSecond * 2 + num) / (2 * num);
}

int64_t AviWriter_CL::DurationRefTime(const AviMovieSpec& movieSpec) {
    return FrameStartRefTime(movieSpec, movieSpec.frameCount);
}

int64_t AviWriter_CL::AudioChunkStartSample(const AviMovieSpec& movieSpec, int64_t frameIndex) {
    return MulDivFloor(frameIndex * movieSpec.frameRateDen, movieSpec.sampleRate, movieSpec.frameRateNum);
}

int64_t AviWriter_CL::AudioSampleCount(const AviMovieSpec& movieSpec) {
    return movieSpec.withAudio ? AudioChunkStartSample(movieSpec, movieSpec.frameCount) : 0;
}

int16_t AviWriter_CL::AudioSample(const AviMovieSpec& movieSpec, int64_t sampleIndex, int channel) {
    const double hz = (channel == 1 && movieSpec.toneHzRight >= 0.0) ? movieSpec.toneHzRight : movieSpec.toneHz;
    constexpr double kTwoPi = 6.283185307179586476925;
    // Reducing the cycle count first keeps the phase exact however far into the movie.
    const double cycles = std::fmod(hz * double(sampleIndex), double(movieSpec.sampleRate)) / movieSpec.sampleRate;
    return int16_t(std::lround(movieSpec.amplitude * 32767.0 * std::sin(kTwoPi * cycles)));
}

AviRgb8 AviWriter_CL::BackgroundColour(int frameIndex) {
    // Around a dark hue wheel, one step per frame: neighbouring frames always differ,
    // yet the colour changes slowly enough that the digits stay the thing to read.
    constexpr int kSegmentFrames = kBackgroundPeriodFrames / 6;
    const int t = ((frameIndex % kBackgroundPeriodFrames) + kBackgroundPeriodFrames) % kBackgroundPeriodFrames;
    const int step = t % kSegmentFrames;
    const uint8_t up = uint8_t(16 + step * 80 / kSegmentFrames);
    const uint8_t down = uint8_t(96 - step * 80 / kSegmentFrames);
    const uint8_t lo = 16;
    const uint8_t hi = 96;
    switch (t / kSegmentFrames) {
        case 0: return {hi, up, lo};
        case 1: return {down, hi, lo};
        case 2: return {lo, hi, up};
        case 3: return {lo, down, hi};
        case 4: return {up, lo, hi};
        default: return {hi, lo, down};
    }
}

void AviWriter_CL::RenderFrameRgb32(int width, int height, int frameIndex, std::vector<uint8_t>* bgrx) {
    constexpr AviRgb8 kWhite{255, 255, 255};
    bgrx->assign(size_t(std::max(width, 0)) * size_t(std::max(height, 0)) * 4, 0);
    if (width <= 0 || height <= 0) return;
    FillRect(*bgrx, width, height, 0, 0, width, height, BackgroundColour(frameIndex));

    // Orientation mark in the top-left corner: a frame stored upside down shows it at the bottom.
    const int markWidth = std::min(width, std::max(2, (width / 8) & ~1));
    const int markHeight = std::max(1, height / 16);
    FillRect(*bgrx, width, height, 0, 0, markWidth, markHeight, kWhite);

    const std::string digits = std::to_string(frameIndex);
    const int textColumns = int(digits.size()) * kGlyphAdvanceColumns - 1;
    // Digits about 60% of the picture height, narrowed to 90% of its width for long numbers.
    // Cells are an even number of pixels wide and start at an even x, so no YUY2 pair
    // straddles a digit edge.
    int cell = std::min(height * 3 / 5 / kGlyphRows, width * 9 / 10 / textColumns) & ~1;
    if (cell < 2 && 2 * kGlyphRows <= height && 2 * textColumns <= width) cell = 2;
    if (cell < 2) return;   // too small a picture for readable digits
    const int left = ((width - textColumns * cell) / 2) & ~1;
    const int top = (height - kGlyphRows * cell) / 2;
    for (size_t i = 0; i < digits.size(); ++i) {
        if (digits[i] < '0' || digits[i] > '9') continue;
        const uint8_t* rows = kDigitRows[digits[i] - '0'];
        const int glyphLeft = left + int(i) * kGlyphAdvanceColumns * cell;
        for (int row = 0; row < kGlyphRows; ++row) {
            for (int column = 0; column < kGlyphColumns; ++column) {
                if ((rows[row] >> (kGlyphColumns - 1 - column) & 1) == 0) continue;
                const int x = glyphLeft + column * cell;
                const int y = top + row * cell;
                FillRect(*bgrx, width, height, x, y, x + cell, y + cell, kWhite);
            }
        }
    }
}

void AviWriter_CL::ConvertRgb32ToYuy2(const uint8_t* bgrx, int width, int height,
                                      std::vector<uint8_t>* yuy2) {
    const int pairsPerRow = width / 2;
    yuy2->resize(size_t(pairsPerRow) * size_t(height) * 4);
    uint8_t* out = yuy2->data();
    for (int row = 0; row < height; ++row) {
        const uint8_t* p = bgrx + size_t(row) * size_t(width) * 4;
        for (int pair = 0; pair < pairsPerRow; ++pair, p += 8, out += 4) {
            double y[2];
            double cbSum = 0.0;
            double crSum = 0.0;
            for (int k = 0; k < 2; ++k) {
                const double b = p[4 * k], g = p[4 * k + 1], r = p[4 * k + 2];
                y[k] = 16.0 + (65.481 * r + 128.553 * g + 24.966 * b) / 255.0;
                cbSum += 128.0 + (-37.797 * r - 74.203 * g + 112.0 * b) / 255.0;
                crSum += 128.0 + (112.0 * r - 93.786 * g - 18.214 * b) / 255.0;
            }
            out[0] = ClampToByte(y[0]);
            out[1] = ClampToByte(cbSum / 2);
            out[2] = ClampToByte(y[1]);
            out[3] = ClampToByte(crSum / 2);
        }
    }
}

void AviWriter_CL::StoredFrameBytes(const AviMovieSpec& movieSpec, int frameIndex, std::vector<uint8_t>* bytes) {
    std::vector<uint8_t> picture;
    RenderFrameRgb32(movieSpec.width, movieSpec.height, frameIndex, &picture);
    if (movieSpec.pixel == AviMovieSpec::Pixel::Yuy2) {
        ConvertRgb32ToYuy2(picture.data(), movieSpec.width, movieSpec.height, bytes);
        return;
    }
    const size_t rowBytes = size_t(movieSpec.width) * 4;
    bytes->resize(picture.size());
    for (int y = 0; y < movieSpec.height; ++y) {
        std::memcpy(bytes->data() + size_t(movieSpec.height - 1 - y) * rowBytes,
                    picture.data() + size_t(y) * rowBytes, rowBytes);
    }
}

bool AviWriter_CL::Write(const std::wstring& path, const AviMovieSpec& movieSpec, std::string* error) {
    if (!Validate(movieSpec, error)) return false;

    std::FILE* raw = OpenForWrite(path);
    if (!raw) {
        if (error) *error = "cannot create the file";
        return false;
    }
    MovieFile file(raw);

    const std::vector<uint8_t> headers = BuildHeaders(movieSpec);
    file.Write(headers);

    const int64_t moviListAt = file.Position();
    const uint8_t moviHeader[kListHeaderBytes] = {'L', 'I', 'S', 'T', 0, 0, 0, 0, 'm', 'o', 'v', 'i'};
    file.Write(moviHeader, sizeof(moviHeader));
    // Index offsets count from the 'movi' list type, so the first chunk is at 4.
    const int64_t moviTypeAt = moviListAt + 8;

    std::vector<AviIndexEntry> index;
    index.reserve(size_t(movieSpec.frameCount) + size_t(AudioChunkCount(movieSpec)));
    std::vector<uint8_t> frame;
    std::vector<uint8_t> audio;
    audio.reserve(size_t(MaxAudioChunkSamples(movieSpec)) * kAudioBlockBytes);

    for (int k = 0; k < movieSpec.frameCount && file.Ok(); ++k) {
        StoredFrameBytes(movieSpec, k, &frame);
        index.push_back({kVideoChunkId, kAviifKeyFrame, uint32_t(file.Position() - moviTypeAt),
                         uint32_t(frame.size())});
        file.Chunk(kVideoChunkId, frame.data(), frame.size());

        if (!movieSpec.withAudio) continue;
        const int64_t first = AudioChunkStartSample(movieSpec, k);
        const int64_t end = AudioChunkStartSample(movieSpec, k + 1);
        if (end == first) continue;    // less than one sample per frame at this rate
        audio.clear();
        for (int64_t i = first; i < end; ++i) {
            for (int channel = 0; channel < kAudioChannels; ++channel) {
                const uint16_t v = uint16_t(AudioSample(movieSpec, i, channel));
                audio.push_back(uint8_t(v));
                audio.push_back(uint8_t(v >> 8));
            }
        }
        index.push_back({kAudioChunkId, kAviifKeyFrame, uint32_t(file.Position() - moviTypeAt),
                         uint32_t(audio.size())});
        file.Chunk(kAudioChunkId, audio.data(), audio.size());
    }
    const int64_t moviEnd = file.Position();

    ByteBuffer idx1;
    for (const AviIndexEntry& e : index) Put(idx1, e);
    file.Chunk(FourCc("idx1"), idx1.Data().data(), idx1.Data().size());
    const int64_t fileEnd = file.Position();

    file.PatchU32(4, uint32_t(fileEnd - 8));
    file.PatchU32(moviListAt + 4, uint32_t(moviEnd - moviListAt - 8));
    const bool ok = file.Close();
    if (!ok || fileEnd != FileSizeBytes(movieSpec)) {
        RemoveFile(path);
        if (error) *error = ok ? "internal error: file size differs from the plan" : "write failed";
        return false;
    }
    return true;
}
