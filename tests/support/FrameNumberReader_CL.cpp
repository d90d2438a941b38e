#include "tests/support/FrameNumberReader_CL.h"

#include <algorithm>

namespace {

// The writer's backgrounds keep every channel within 16..96 and one channel at 96, the
// player's bars are black; the player's grey bands over a bar stay below this.
constexpr int kLitLevel = 48;
// Scaled white digits stay near 255; backgrounds, even under the player's grey bands, stay
// well below these.
constexpr int kWhiteLevel = 176;
constexpr int kDarkLevel = 140;

int MaxChannel(const uint8_t* p) { return std::max({p[0], p[1], p[2]}); }

}  // namespace

FrameNumberReader_CL::FrameNumberReader_CL(const AviMovieSpec& movieSpec)
    : m_movieSpec(movieSpec), m_frameSamples(size_t(std::max(movieSpec.frameCount, 0))) {}

FrameNumberReader_CL::Sample FrameNumberReader_CL::Classify(const uint8_t* bgrx) {
    const int low = std::min({bgrx[0], bgrx[1], bgrx[2]});
    if (low >= kWhiteLevel) return kWhite;
    if (MaxChannel(bgrx) <= kDarkLevel) return kDark;
    return kUnknown;
}

bool FrameNumberReader_CL::FindPictureRect(const BgrxPicture& picture, RECT* rect) {
    if (picture.IsEmpty()) return false;
    // Columns first: bars beside the picture are black from top to bottom.
    int left = -1, right = -1;
    for (int x = 0; x < picture.width; ++x) {
        int lit = 0;
        for (int y = 0; y < picture.height; ++y) lit += MaxChannel(picture.At(x, y)) >= kLitLevel;
        if (lit * 2 > picture.height) {
            if (left < 0) left = x;
            right = x + 1;
        }
    }
    if (left < 0) return false;
    int top = -1, bottom = -1;
    for (int y = 0; y < picture.height; ++y) {
        int lit = 0;
        for (int x = left; x < right; ++x) lit += MaxChannel(picture.At(x, y)) >= kLitLevel;
        if (lit * 2 > right - left) {
            if (top < 0) top = y;
            bottom = y + 1;
        }
    }
    if (top < 0) return false;
    *rect = RECT{left, top, right, bottom};
    return true;
}

const std::vector<uint8_t>& FrameNumberReader_CL::FrameSamples(int frameIndex) const {
    std::vector<uint8_t>& samples = m_frameSamples[size_t(frameIndex)];
    if (!samples.empty()) return samples;
    std::vector<uint8_t> frame;
    AviWriter_CL::RenderFrameRgb32(m_movieSpec.width, m_movieSpec.height, frameIndex, &frame);
    samples.resize(size_t(kGridColumns) * kGridRows);
    for (int row = 0; row < kGridRows; ++row) {
        const int y = int((row + 0.5) * m_movieSpec.height / kGridRows);
        for (int column = 0; column < kGridColumns; ++column) {
            const int x = int((column + 0.5) * m_movieSpec.width / kGridColumns);
            const uint8_t red = frame[(size_t(y) * size_t(m_movieSpec.width) + size_t(x)) * 4 + 2];
            samples[size_t(row) * kGridColumns + size_t(column)] = red == 255 ? kWhite : kDark;
        }
    }
    return samples;
}

int FrameNumberReader_CL::Read(const BgrxPicture& picture) const {
    RECT rect{};
    if (m_frameSamples.empty() || !FindPictureRect(picture, &rect)) return -1;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    std::vector<uint8_t> seen(size_t(kGridColumns) * kGridRows);
    int known = 0;
    for (int row = 0; row < kGridRows; ++row) {
        const int y = rect.top + int((row + 0.5) * height / kGridRows);
        for (int column = 0; column < kGridColumns; ++column) {
            const int x = rect.left + int((column + 0.5) * width / kGridColumns);
            const Sample sample = Classify(picture.At(x, y));
            seen[size_t(row) * kGridColumns + size_t(column)] = sample;
            known += sample != kUnknown;
        }
    }
    // Most of the picture must be readable at all; a picture under a large text is not.
    if (known * 2 < kGridColumns * kGridRows) return -1;
    int best = -1;
    int bestMismatches = known + 1;
    for (int frameIndex = 0; frameIndex < int(m_frameSamples.size()); ++frameIndex) {
        const std::vector<uint8_t>& expected = FrameSamples(frameIndex);
        int mismatches = 0;
        for (size_t i = 0; i < seen.size() && mismatches < bestMismatches; ++i) {
            mismatches += seen[i] != kUnknown && seen[i] != expected[i];
        }
        if (mismatches < bestMismatches) {
            bestMismatches = mismatches;
            best = frameIndex;
        }
    }
    return bestMismatches <= kMaxMismatchShare * known ? best : -1;
}
