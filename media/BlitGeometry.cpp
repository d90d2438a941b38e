#include "media/BlitGeometry.h"

#include <cstdint>
#include <utility>

namespace {

void Normalise(RECT* rect) {
    if (rect->left > rect->right) std::swap(rect->left, rect->right);
    if (rect->top > rect->bottom) std::swap(rect->top, rect->bottom);
}

LONG MulDiv64(int64_t a, int64_t b, int64_t c) { return c == 0 ? 0 : static_cast<LONG>(a * b / c); }

// The picture's width in display pixels: 16:9 material is shown 16:9 wide whatever its frame
// width (1440 x 1080 anamorphic frames become 1920 wide).
int PictureWidth(const BlitInput& input) {
    if (input.aspectY == 9) return static_cast<int>(static_cast<int64_t>(input.frameHeight) * 16 / 9);
    return input.frameWidth;
}

void ApplySelection(const BlitInput& input, BlitRects* rects) {
    const RECT& sel = input.selection;
    const RECT& dst = rects->destination;
    const LONG sw = rects->source.right - rects->source.left;
    const LONG sh = rects->source.bottom - rects->source.top;
    const LONG dw = dst.right - dst.left, dh = dst.bottom - dst.top;
    if (dw == 0 || dh == 0) {
        rects->source = RECT{0, 0, 0, 0};
        return;
    }
    RECT cut{MulDiv64(sw, sel.left - dst.left, dw), MulDiv64(sh, sel.top - dst.top, dh),
             MulDiv64(sw, sel.right - dst.left, dw), MulDiv64(sh, sel.bottom - dst.top, dh)};
    const LONG cutWidth = cut.right - cut.left, cutHeight = cut.bottom - cut.top;
    // A selection that maps to no width or height cannot be zoomed into; draw unzoomed.
    if (cutWidth == 0 || cutHeight == 0) return;
    const LONG cw = input.client.cx, ch = input.client.cy;
    RECT out{0, 0, cw, ch};
    if (cut.left < 0) {
        out.left = -MulDiv64(cw, cut.left, cutWidth);
        cut.left = 0;
    }
    if (cut.top < 0) {
        out.top = -MulDiv64(ch, cut.top, cutHeight);
        cut.top = 0;
    }
    if (cut.right > sw) {
        out.right = cw - MulDiv64(cut.right - sw, cw, cutWidth);
        cut.right = sw;
    }
    if (cut.bottom > sh) {
        out.bottom = ch - MulDiv64(cut.bottom - sh, ch, cutHeight);
        cut.bottom = sh;
    }
    rects->source = cut;
    rects->destination = out;
}

}  // namespace

BlitRects ComputeBlitRects(const BlitInput& input) {
    BlitRects rects;
    const LONG cw = input.client.cx > 0 ? input.client.cx : 0;
    const LONG ch = input.client.cy > 0 ? input.client.cy : 0;
    rects.source = RECT{0, 0, input.frameWidth, input.frameHeight};
    const int64_t W = PictureWidth(input), H = input.frameHeight;

    LONG w = cw, h = ch;
    if (input.frameWidth > 0 && input.frameHeight > 0 && W > 0) {
        switch (input.zoomMode) {
        case kZoomFit: {
            int64_t t = cw * H / W;
            if (t > ch) {
                w = static_cast<LONG>(ch * W / H);
                h = ch;
            } else {
                w = cw;
                h = static_cast<LONG>(t);
            }
            break;
        }
        case kZoomFitHeight:
            w = static_cast<LONG>(ch * W / H);
            h = ch;
            break;
        case kZoomNative:
            w = static_cast<LONG>(W);
            h = static_cast<LONG>(H);
            break;
        default:
            break;
        }
    }
    LONG left = (cw - w) / 2, top = (ch - h) / 2;
    rects.destination = RECT{left, top, left + w, top + h};

    // Overhang: the parts of the picture beyond the window are cut from the source instead.
    bool columnsCut = false;
    if (input.zoomMode == kZoomNative && H > 0) {
        if (top < 0) {
            rects.destination.top = 0;
            rects.destination.bottom = ch;
            rects.source.top = -top;
            rects.source.bottom = ch - top;
        }
        if (left < 0) {
            rects.destination.left = 0;
            rects.destination.right = cw;
            rects.source.left = -left;
            rects.source.right = cw - left;
            columnsCut = true;
        }
    } else if (input.zoomMode == kZoomFitHeight && left < 0 && ch > 0 && H > 0) {
        rects.destination.left = 0;
        rects.destination.right = cw;
        rects.source.left = static_cast<LONG>(-(static_cast<int64_t>(left) * H / ch));
        rects.source.right = rects.source.left + static_cast<LONG>(H * cw / ch);
        columnsCut = true;
    }
    if (columnsCut && input.aspectY == 9 && W > 0) {
        // The cut was worked out in display pixels; the source counts frame pixels.
        rects.source.left = static_cast<LONG>(rects.source.left * static_cast<int64_t>(input.frameWidth) / W);
        rects.source.right = static_cast<LONG>(rects.source.right * static_cast<int64_t>(input.frameWidth) / W);
    }

    if (input.selectionZoom && input.selection.left != -1) ApplySelection(input, &rects);
    Normalise(&rects.source);
    Normalise(&rects.destination);
    return rects;
}

bool IsDrawable(const BlitRects& rects) {
    return rects.source.right > rects.source.left && rects.source.bottom > rects.source.top &&
           rects.destination.right > rects.destination.left && rects.destination.bottom > rects.destination.top;
}
