#pragma once
// Conversions between the renderer's RGB32 input and its YUY2 frame buffer, and back for
// drawing and capture. Pure functions over byte buffers; the caller sizes the buffers
// (Yuy2FrameBytes, Rgb32FrameBytes) with checked arithmetic.

#include <cstddef>
#include <cstdint>
#include <cstring>

// Largest frame side the renderer takes; anything bigger is refused as a broken type.
constexpr int kMaxFrameSide = 16384;

// Bytes of a YUY2 frame (2 per pixel) and of an RGB32 frame (4 per pixel), computed in 64
// bits; 0 for a size outside 1..kMaxFrameSide or an odd YUY2 width.
uint64_t Yuy2FrameBytes(int width, int height);
uint64_t Rgb32FrameBytes(int width, int height);

// RGB32 (B, G, R, x per pixel) to YUY2, destination rows top-down. bottomUp says how the
// source rows are stored: a positive biHeight (bottom-up) is read from the last row upwards,
// a negative one (top-down) in order. Width must be even. BT.601 video range, the chroma of
// each pair their mean; the inverse of ConvertYuy2ToRgb32 to within rounding.
void ConvertRgb32ToYuy2(const uint8_t* source, int width, int height, bool bottomUp, uint8_t* destination);

// One YUY2 macropixel (Y0, U, Y1, V) to two RGB32 pixels (B, G, R, 0 each), BT.601 video range:
// R = (298y' + 409v' + 128) >> 8, G = (298y' - 100u' - 208v' + 128) >> 8,
// B = (298y' + 516u' + 128) >> 8, clamped to 0..255.
inline void ConvertYuy2PairToRgb32(int y0, int u, int y1, int v, uint8_t* destination) {
    auto clamp = [](int value) { return static_cast<uint32_t>(value < 0 ? 0 : (value > 255 ? 255 : value)); };
    const int du = u - 128, dv = v - 128;
    const int blue = 516 * du + 128, green = -100 * du - 208 * dv + 128, red = 409 * dv + 128;
    const int luma[2] = {298 * (y0 - 16), 298 * (y1 - 16)};
    for (int k = 0; k < 2; ++k) {
        const uint32_t pixel = clamp((luma[k] + blue) >> 8) | clamp((luma[k] + green) >> 8) << 8 |
                               clamp((luma[k] + red) >> 8) << 16;
        std::memcpy(destination + k * 4, &pixel, 4);
    }
}

// YUY2 to RGB32 (B, G, R, 0), rows in order.
void ConvertYuy2ToRgb32(const uint8_t* source, int width, int height, uint8_t* destination);
