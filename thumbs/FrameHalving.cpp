#include "thumbs/FrameHalving.h"

#include <cstddef>

namespace {
// The rounded mean of four samples.
inline uint8_t Mean4(unsigned a, unsigned b, unsigned c, unsigned d) { return static_cast<uint8_t>((a + b + c + d + 2) >> 2); }
}  // namespace

bool HalveYuy2(const PackedFrame& frame, std::vector<uint8_t>* out, PackedFrame* halved) {
    if (!frame.data || frame.width < 4 || frame.height < 2 || (frame.width % 2) != 0) return false;
    const int width = (frame.width / 2) & ~1;
    const int height = frame.height / 2;
    const size_t sourceStride = static_cast<size_t>(frame.width) * 2;
    const size_t stride = static_cast<size_t>(width) * 2;
    out->resize(stride * static_cast<size_t>(height));
    for (int row = 0; row < height; ++row) {
        const uint8_t* upper = frame.data + sourceStride * static_cast<size_t>(row) * 2;
        const uint8_t* lower = upper + sourceStride;
        uint8_t* target = out->data() + stride * static_cast<size_t>(row);
        // Each output pair (4 bytes) takes two source pairs (8 bytes) of both rows: its two
        // lumas from two source pixels each, its chroma from both source pairs.
        for (int pair = 0; pair < width / 2; ++pair) {
            const uint8_t* a = upper + static_cast<size_t>(pair) * 8;
            const uint8_t* b = lower + static_cast<size_t>(pair) * 8;
            target[0] = Mean4(a[0], a[2], b[0], b[2]);
            target[1] = Mean4(a[1], a[5], b[1], b[5]);
            target[2] = Mean4(a[4], a[6], b[4], b[6]);
            target[3] = Mean4(a[3], a[7], b[3], b[7]);
            target += 4;
        }
    }
    *halved = PackedFrame{out->data(), width, height};
    return true;
}

bool HalveRgb32(const PackedFrame& frame, std::vector<uint8_t>* out, PackedFrame* halved) {
    if (!frame.data || frame.width < 2 || frame.height < 2) return false;
    const int width = frame.width / 2;
    const int height = frame.height / 2;
    const size_t sourceStride = static_cast<size_t>(frame.width) * 4;
    const size_t stride = static_cast<size_t>(width) * 4;
    out->resize(stride * static_cast<size_t>(height));
    for (int row = 0; row < height; ++row) {
        const uint8_t* upper = frame.data + sourceStride * static_cast<size_t>(row) * 2;
        const uint8_t* lower = upper + sourceStride;
        uint8_t* target = out->data() + stride * static_cast<size_t>(row);
        for (int column = 0; column < width; ++column) {
            const uint8_t* a = upper + static_cast<size_t>(column) * 8;
            const uint8_t* b = lower + static_cast<size_t>(column) * 8;
            for (int channel = 0; channel < 4; ++channel) {
                target[channel] = Mean4(a[channel], a[channel + 4], b[channel], b[channel + 4]);
            }
            target += 4;
        }
    }
    *halved = PackedFrame{out->data(), width, height};
    return true;
}

PackedFrame ShrinkTowards(const PackedFrame& frame, bool rgb32, int minWidth, int minHeight,
                          std::vector<uint8_t>* first, std::vector<uint8_t>* second) {
    PackedFrame current = frame;
    std::vector<uint8_t>* buffers[2] = {first, second};
    int next = 0;
    for (;;) {
        const int width = rgb32 ? current.width / 2 : (current.width / 2) & ~1;
        if (width < minWidth || current.height / 2 < minHeight) return current;
        PackedFrame halved;
        const bool done = rgb32 ? HalveRgb32(current, buffers[next], &halved) : HalveYuy2(current, buffers[next], &halved);
        if (!done) return current;
        current = halved;
        next ^= 1;
    }
}
