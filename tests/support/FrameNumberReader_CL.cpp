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

bool IsCovered(const std::vector<RECT>& covered, int x, int y) {
    for (const RECT& area : covered) {
        if (x >= area.left && x < area.right && y >= area.top && y < area.bottom) return true;
    }
    return false;
}

// The player's overlay, in video-window pixels (see PlayerOverlayAreas).
constexpr int kTitleBoxWidthPx = 336;   // at least 272 (260 and its margins); longer titles widen it
constexpr int kTitleBoxHeightPx = 64;   // one title line and the play time under it
constexpr int kBottomBandPx = 54;       // the band and the control bar

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
    return FindPictureRect(picture, std::vector<RECT>(), rect);
}

bool FrameNumberReader_CL::FindPictureRect(const BgrxPicture& picture, const std::vector<RECT>& covered, RECT* rect) {
    if (picture.IsEmpty()) return false;
    // Columns first: bars beside the picture are black from top to bottom.
    int left = -1, right = -1;
    for (int x = 0; x < picture.width; ++x) {
        int lit = 0, seen = 0;
        for (int y = 0; y < picture.height; ++y) {
            if (IsCovered(covered, x, y)) continue;
            ++seen;
            lit += MaxChannel(picture.At(x, y)) >= kLitLevel;
        }
        if (seen > 0 && lit * 2 > seen) {
            if (left < 0) left = x;
            right = x + 1;
        }
    }
    if (left < 0) return false;
    enum RowState : uint8_t { kRowDark, kRowLit, kRowUnjudged };
    std::vector<uint8_t> rows(size_t(picture.height), kRowUnjudged);
    int top = -1, bottom = -1;
    for (int y = 0; y < picture.height; ++y) {
        int lit = 0, seen = 0;
        for (int x = left; x < right; ++x) {
            if (IsCovered(covered, x, y)) continue;
            ++seen;
            lit += MaxChannel(picture.At(x, y)) >= kLitLevel;
        }
        if (seen == 0) continue;
        rows[size_t(y)] = lit * 2 > seen ? kRowLit : kRowDark;
        if (rows[size_t(y)] == kRowLit) {
            if (top < 0) top = y;
            bottom = y + 1;
        }
    }
    if (top < 0) return false;
    const bool topOpen = top > 0 && rows[size_t(top - 1)] == kRowUnjudged;
    const bool bottomOpen = bottom < picture.height && rows[size_t(bottom)] == kRowUnjudged;
    if (bottomOpen && !topOpen) bottom = std::max(bottom, picture.height - top);
    if (topOpen && !bottomOpen) top = std::min(top, picture.height - bottom);
    *rect = RECT{left, top, right, bottom};
    return true;
}

std::vector<RECT> FrameNumberReader_CL::PlayerOverlayAreas(int clientWidth, int clientHeight) {
    if (clientWidth <= 0 || clientHeight <= 0) return {};
    return {RECT{0, 0, std::min(clientWidth, kTitleBoxWidthPx), std::min(clientHeight, kTitleBoxHeightPx)},
            RECT{0, std::max(0, clientHeight - kBottomBandPx), clientWidth, clientHeight}};
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

int FrameNumberReader_CL::Read(const BgrxPicture& picture) const { return Read(picture, std::vector<RECT>()); }

int FrameNumberReader_CL::Read(const BgrxPicture& picture, const std::vector<RECT>& covered) const {
    RECT rect{};
    if (m_frameSamples.empty() || !FindPictureRect(picture, covered, &rect)) return -1;
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    std::vector<uint8_t> seen(size_t(kGridColumns) * kGridRows);
    int known = 0;
    for (int row = 0; row < kGridRows; ++row) {
        const int y = rect.top + int((row + 0.5) * height / kGridRows);
        for (int column = 0; column < kGridColumns; ++column) {
            const int x = rect.left + int((column + 0.5) * width / kGridColumns);
            const Sample sample = IsCovered(covered, x, y) ? kUnknown : Classify(picture.At(x, y));
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
