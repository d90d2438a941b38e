#pragma once
// Conversions between the renderer's RGB32 input and its YUY2 frame buffer, and back for
// drawing and capture. Pure functions over byte buffers; the caller sizes the buffers
// (Yuy2FrameBytes, Rgb32FrameBytes) with checked arithmetic.

#include <cstddef>
#include <cstdint>

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

// YUY2 to RGB32 (B, G, R, 0), rows in order.
void ConvertYuy2ToRgb32(const uint8_t* source, int width, int height, uint8_t* destination);
