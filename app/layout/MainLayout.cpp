#include "app/layout/MainLayout.h"

#include <algorithm>
#include <cstdint>

namespace {

// Without a frame the strip on the right or below would run to the very edge of the window;
// a thin band of the main window stays uncovered there, where the borderless edge is grabbed.
constexpr LONG kFramelessEdgeBandPx = 2;

struct CellSizes {
    SIZE fourThree;
    SIZE sixteenNine;
};
constexpr CellSizes kCellSizes[] = {
    {{128, 96}, {128, 72}},
    {{192, 144}, {192, 108}},
    {{256, 192}, {256, 144}},
};
constexpr int kCellSizeCount = static_cast<int>(sizeof(kCellSizes) / sizeof(kCellSizes[0]));
constexpr int kDefaultCellSize = 2;
static_assert(kDefaultCellSize < kCellSizeCount, "the default must be one of the sizes");

// The settings file may hold any number; the default side stands in for a wrong one.
StripSide SideOf(int direction) {
    return direction >= 0 && direction <= 3 ? static_cast<StripSide>(direction) : StripSide::kBelow;
}

}  // namespace

bool DecideIdle(const LayoutInput& input) {
    return input.idleTimedOut && !input.modalOpen && !input.overBarItem && !input.overStrip && input.contentLoaded &&
           input.playing && !input.paused;
}

bool DecideStripShown(const LayoutInput& input, bool idle) {
    if (!input.stripVisible) return false;
    if (idle && input.noThumbnail == 1) return false;
    // Relaying out the strip at every step of a mouse resize is slow; it comes back once the
    // resize has been still for the retry time.
    return input.layoutRetryTicks == 0;
}

bool DecideHideCursor(const LayoutInput& input, bool idle, bool stripShown) {
    // The history and play list dialogs are worked with the mouse even while the movie plays.
    return (idle || !stripShown) && input.mouseHide == 1 && input.cursorShown && input.pointerOverVideo &&
           !input.historyVisible && !input.playListVisible;
}

FrameDecision DecideFrame(const LayoutInput& input, bool idle) {
    FrameDecision decision;
    decision.frameless = input.frameless;
    if (input.fullScreen) return decision;
    if (idle && input.noFrame == 1 && !input.frameless) {
        decision.frameless = true;
        if (!input.borderless) decision.action = FrameAction::kRemove;
    } else if (!idle && input.frameless) {
        decision.frameless = false;
        if (!input.borderless) decision.action = FrameAction::kRestore;
    }
    return decision;
}

SIZE StripCellSize(int smallImageSize, int rendererWidthPx, int rendererHeightPx, int aspectMode) {
    int64_t width = rendererWidthPx;
    int64_t height = rendererHeightPx;
    if (width == 0 || height == 0) {
        width = kNoRendererVideoPx.cx;
        height = kNoRendererVideoPx.cy;
    } else if (aspectMode == 9) {
        width = height * 16 / 9;  // the 16:9 mode stretches whatever the frame is
    }
    const int64_t offFourThree = width * 3 / 4 - height;
    const int64_t offSixteenNine = width * 9 / 16 - height;
    const int index = smallImageSize >= 0 && smallImageSize < kCellSizeCount ? smallImageSize : kDefaultCellSize;
    const CellSizes& sizes = kCellSizes[index];
    return offFourThree * offFourThree < offSixteenNine * offSixteenNine ? sizes.fourThree : sizes.sixteenNine;
}

LayoutResult ComputeMainLayout(const LayoutInput& input) {
    LayoutResult result;
    result.idle = DecideIdle(input);
    result.frame = DecideFrame(input, result.idle);
    result.stripShown = DecideStripShown(input, result.idle);
    result.hideCursor = DecideHideCursor(input, result.idle, result.stripShown);

    const LONG width = std::max(LONG{0}, input.clientPx.cx);
    const LONG height = std::max(LONG{0}, input.clientPx.cy);
    // The tool bar belongs to the framed window only: it would float without a caption above it.
    result.toolBarShown = input.toolBarExists && !input.fullScreen && !input.borderless && !result.frame.frameless;
    LONG top = 0;
    if (result.toolBarShown) {
        top = std::clamp(static_cast<LONG>(input.toolBarHeightPx), LONG{0}, height);
        result.toolBarRect = RECT{0, 0, width, top};
    }
    RECT area{0, top, width, height};
    // Without a strip window its switch still counts for the idle actions, but the picture
    // keeps the whole area.
    if (!result.stripShown || !input.stripExists) {
        result.videoRect = area;
        return result;
    }

    const StripSide side = SideOf(input.direction);
    result.stripHorizontal = side == StripSide::kAbove || side == StripSide::kBelow;
    result.cellPx =
        StripCellSize(input.smallImageSize, input.rendererWidthPx, input.rendererHeightPx, input.aspectMode);
    const LONG thicknessPx = result.stripHorizontal ? result.cellPx.cy + input.horizontalStripExtraPx
                                                    : result.cellPx.cx + input.verticalStripExtraPx;
    if (input.borderless || result.frame.frameless) {
        if (side == StripSide::kRight) area.right = std::max(area.left, area.right - kFramelessEdgeBandPx);
        if (side == StripSide::kBelow) area.bottom = std::max(area.top, area.bottom - kFramelessEdgeBandPx);
    }
    // The strip keeps its thickness; an area too small for it leaves the picture nothing.
    RECT video = area;
    RECT strip = area;
    switch (side) {
        case StripSide::kAbove:
            strip.bottom = area.top + thicknessPx;
            video.top = std::min(strip.bottom, area.bottom);
            break;
        case StripSide::kBelow:
            video.bottom = std::max(area.top, area.bottom - thicknessPx);
            strip.top = video.bottom;
            strip.bottom = strip.top + thicknessPx;
            break;
        case StripSide::kRight:
            video.right = std::max(area.left, area.right - thicknessPx);
            strip.left = video.right;
            strip.right = strip.left + thicknessPx;
            break;
        case StripSide::kLeft:
            strip.right = area.left + thicknessPx;
            video.left = std::min(strip.right, area.right);
            break;
    }
    result.videoRect = video;
    result.stripRect = strip;
    return result;
}
