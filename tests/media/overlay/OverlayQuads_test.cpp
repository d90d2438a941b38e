// The overlay's quads: textured quads shifted half a pixel so that texels land 1:1 on pixels,
// clipping that trims picture and texels alike, and frames whose bars do not overlap.

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

#include "media/OverlayQuads.h"

namespace {

// The corners of the first quad (vertices 0, 1, 2 and 5 of its two triangles).
struct Corners {
    TexturedVertex topLeft, bottomRight;
};

Corners CornersOf(const std::vector<TexturedVertex>& quads, size_t quad = 0) {
    return Corners{quads[quad * 6 + 0], quads[quad * 6 + 5]};
}

TEST(TexturedQuad, SitsHalfAPixelUpAndLeftWithTexelEdgesAtItsCorners) {
    std::vector<TexturedVertex> quads;
    AddTexturedQuad(&quads, 100.0f, 50.0f, RECT{260, 0, 308, 48}, SIZE{512, 256}, 0xC8FFFFFF);
    ASSERT_EQ(quads.size(), 6u);
    const Corners c = CornersOf(quads);
    EXPECT_FLOAT_EQ(c.topLeft.x, 99.5f);
    EXPECT_FLOAT_EQ(c.topLeft.y, 49.5f);
    EXPECT_FLOAT_EQ(c.bottomRight.x, 147.5f);
    EXPECT_FLOAT_EQ(c.bottomRight.y, 97.5f);
    EXPECT_FLOAT_EQ(c.topLeft.u, 260.0f / 512.0f);
    EXPECT_FLOAT_EQ(c.topLeft.v, 0.0f);
    EXPECT_FLOAT_EQ(c.bottomRight.u, 308.0f / 512.0f);
    EXPECT_FLOAT_EQ(c.bottomRight.v, 48.0f / 256.0f);
    for (const TexturedVertex& v : quads) {
        EXPECT_EQ(v.colour, 0xC8FFFFFFu);
        EXPECT_FLOAT_EQ(v.rhw, 1.0f);
    }
}

TEST(TexturedQuad, ClipTrimsPixelsAndTexelsByTheSameAmount) {
    std::vector<TexturedVertex> quads;
    const RECT clip{10, 10, 40, 30};
    AddTexturedQuad(&quads, 0.0f, 0.0f, RECT{0, 0, 64, 64}, SIZE{64, 64}, 0xFFFFFFFF, &clip);
    ASSERT_EQ(quads.size(), 6u);
    const Corners c = CornersOf(quads);
    EXPECT_FLOAT_EQ(c.topLeft.x, 9.5f);
    EXPECT_FLOAT_EQ(c.topLeft.y, 9.5f);
    EXPECT_FLOAT_EQ(c.bottomRight.x, 39.5f);
    EXPECT_FLOAT_EQ(c.bottomRight.y, 29.5f);
    EXPECT_FLOAT_EQ(c.topLeft.u, 10.0f / 64.0f);
    EXPECT_FLOAT_EQ(c.topLeft.v, 10.0f / 64.0f);
    EXPECT_FLOAT_EQ(c.bottomRight.u, 40.0f / 64.0f);
    EXPECT_FLOAT_EQ(c.bottomRight.v, 30.0f / 64.0f);
}

TEST(TexturedQuad, InsideItsClipIsUntouched) {
    std::vector<TexturedVertex> clipped, plain;
    const RECT clip{0, 0, 640, 480};
    AddTexturedQuad(&clipped, 6.0f, 6.0f, RECT{0, 0, 200, 40}, SIZE{256, 64}, 0xFFFFFFFF, &clip);
    AddTexturedQuad(&plain, 6.0f, 6.0f, RECT{0, 0, 200, 40}, SIZE{256, 64}, 0xFFFFFFFF);
    ASSERT_EQ(clipped.size(), plain.size());
    for (size_t i = 0; i < plain.size(); ++i) {
        EXPECT_FLOAT_EQ(clipped[i].x, plain[i].x);
        EXPECT_FLOAT_EQ(clipped[i].u, plain[i].u);
        EXPECT_FLOAT_EQ(clipped[i].v, plain[i].v);
    }
}

TEST(TexturedQuad, NothingIsAddedWhenAllIsClippedAwayOrTheTextureIsEmpty) {
    std::vector<TexturedVertex> quads;
    const RECT clip{0, 0, 100, 100};
    AddTexturedQuad(&quads, 120.0f, 10.0f, RECT{0, 0, 20, 20}, SIZE{32, 32}, 0xFFFFFFFF, &clip);
    AddTexturedQuad(&quads, 10.0f, -40.0f, RECT{0, 0, 20, 20}, SIZE{32, 32}, 0xFFFFFFFF, &clip);
    AddTexturedQuad(&quads, 10.0f, 10.0f, RECT{0, 0, 20, 20}, SIZE{0, 0}, 0xFFFFFFFF);
    EXPECT_TRUE(quads.empty());
}

TEST(FillQuads, FrameIsFourBarsInsideTheRectangleThatDoNotOverlap) {
    std::vector<ColourVertex> quads;
    AddFrameQuads(&quads, RECT{10, 20, 110, 70}, 2, 0xFFFFFFFF);
    ASSERT_EQ(quads.size(), 24u);
    // Pixel area of the bars equals the frame's: no corner is blended twice.
    float area = 0.0f;
    for (size_t q = 0; q < 4; ++q) {
        const ColourVertex& a = quads[q * 6];
        const ColourVertex& b = quads[q * 6 + 5];
        EXPECT_GE(a.x, 10.0f);
        EXPECT_GE(a.y, 20.0f);
        EXPECT_LE(b.x, 110.0f);
        EXPECT_LE(b.y, 70.0f);
        area += (b.x - a.x) * (b.y - a.y);
    }
    EXPECT_FLOAT_EQ(area, 100.0f * 50.0f - 96.0f * 46.0f);
}

}  // namespace
