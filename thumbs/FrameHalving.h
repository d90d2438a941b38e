#pragma once
// A decoded frame made smaller before it is converted for a thumbnail: each halving averages
// 2 x 2 pixels, and halvings go on while the result still covers the thumbnail. Converting a
// 1280 x 720 frame then costs a quarter (a sixteenth at 1080p) of converting it whole, and the
// average is a better shrink than dropping pixels. Pure functions over byte buffers.
// Thread: any (the thumbnail graph's streaming thread calls them).

#include <cstdint>
#include <vector>

// A frame of packed pixels: YUY2 (Y0 U Y1 V per pair, width even) or RGB32 (B G R x), rows
// one after another without padding, in whatever order they are stored.
struct PackedFrame {
    const uint8_t* data = nullptr;
    int width = 0;
    int height = 0;
};

// One halving into out (resized here): width / 2 and height / 2 rounded down, the YUY2 width
// rounded down to even. False, out untouched, when the frame is too small to halve (a YUY2
// frame needs a width of at least 4, an RGB32 one of 2; both a height of 2) or its width is
// odd for YUY2.
bool HalveYuy2(const PackedFrame& frame, std::vector<uint8_t>* out, PackedFrame* halved);
bool HalveRgb32(const PackedFrame& frame, std::vector<uint8_t>* out, PackedFrame* halved);

// Halves frame as long as the result is at least minWidth x minHeight, using the two buffers
// in turn; the frame itself when no halving applies.
PackedFrame ShrinkTowards(const PackedFrame& frame, bool rgb32, int minWidth, int minHeight,
                          std::vector<uint8_t>* first, std::vector<uint8_t>* second);
