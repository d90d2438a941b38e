#include "media/ColourConversion.h"


namespace {
inline uint8_t Clamp255(int value) { return static_cast<uint8_t>(value < 0 ? 0 : (value > 255 ? 255 : value)); }

bool ValidSize(int width, int height) {
    return width >= 1 && height >= 1 && width <= kMaxFrameSide && height <= kMaxFrameSide;
}
}  // namespace

uint64_t Yuy2FrameBytes(int width, int height) {
    if (!ValidSize(width, height) || (width % 2) != 0) return 0;
    return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 2u;
}

uint64_t Rgb32FrameBytes(int width, int height) {
    if (!ValidSize(width, height)) return 0;
    return static_cast<uint64_t>(width) * static_cast<uint64_t>(height) * 4u;
}

void ConvertRgb32ToYuy2(const uint8_t* source, int width, int height, bool bottomUp, uint8_t* destination) {
    const size_t sourceStride = static_cast<size_t>(width) * 4;
    const size_t destinationStride = static_cast<size_t>(width) * 2;
    for (int row = 0; row < height; ++row) {
        const uint8_t* in = source + sourceStride * static_cast<size_t>(bottomUp ? height - 1 - row : row);
        uint8_t* out = destination + destinationStride * static_cast<size_t>(row);
        for (int x = 0; x + 1 < width; x += 2, in += 8, out += 4) {
            const int b0 = in[0], g0 = in[1], r0 = in[2];
            const int b1 = in[4], g1 = in[5], r1 = in[6];
            // BT.601 video range, the range the YUY2 side is read back with, so an RGB32
            // picture comes back as it went in; the chroma of a pair is their mean.
            const int r = r0 + r1, g = g0 + g1, b = b0 + b1;
            out[0] = Clamp255(((66 * r0 + 129 * g0 + 25 * b0 + 128) >> 8) + 16);
            out[1] = Clamp255(((-38 * r - 74 * g + 112 * b + 256) >> 9) + 128);
            out[2] = Clamp255(((66 * r1 + 129 * g1 + 25 * b1 + 128) >> 8) + 16);
            out[3] = Clamp255(((112 * r - 94 * g - 18 * b + 256) >> 9) + 128);
        }
    }
}

void ConvertYuy2ToRgb32(const uint8_t* source, int width, int height, uint8_t* destination) {
    const size_t pairs = static_cast<size_t>(width / 2) * static_cast<size_t>(height);
    for (size_t i = 0; i < pairs; ++i, source += 4, destination += 8) {
        ConvertYuy2PairToRgb32(source[0], source[1], source[2], source[3], destination);
    }
}
