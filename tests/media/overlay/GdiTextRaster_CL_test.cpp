// The overlay's texts drawn with GDI: fonts of D3DX's sizes, DrawText measuring with its
// wrapping, ampersands kept, and the coverage bitmap the textures are made from.

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>

#include "media/Direct3DLibrary_CL.h"
#include "media/GdiTextRaster_CL.h"

namespace {

// Bounds of the texels with any coverage; empty when there are none.
RECT InkBounds(const GdiTextRaster_CL& raster, SIZE bitmap) {
    RECT bounds{LONG_MAX, LONG_MAX, LONG_MIN, LONG_MIN};
    for (LONG y = 0; y < bitmap.cy; ++y) {
        for (LONG x = 0; x < bitmap.cx; ++x) {
            if ((raster.Texels()[raster.Stride() * y + x] >> 24) == 0) continue;
            bounds.left = std::min(bounds.left, x);
            bounds.top = std::min(bounds.top, y);
            bounds.right = std::max(bounds.right, x + 1);
            bounds.bottom = std::max(bounds.bottom, y + 1);
        }
    }
    return bounds.left == LONG_MAX ? RECT{0, 0, 0, 0} : bounds;
}

class GdiTextRasterTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(m_raster.Create(OverlayFontFace())); }
    GdiTextRaster_CL m_raster;
};

TEST_F(GdiTextRasterTest, LinesAreAsTallAsTheFontHeightsAsked) {
    // A positive height asks for the cell height, as D3DX passed its heights on.
    for (int font = 0; font < kOverlayFontCount; ++font) {
        const SIZE extent = m_raster.Measure(static_cast<OverlayFont>(font), L"Ag", DT_SINGLELINE, 0);
        EXPECT_NEAR(extent.cy, kOverlayFontHeights[font], 1) << "font " << font;
        EXPECT_GT(extent.cx, 0) << "font " << font;
    }
}

TEST_F(GdiTextRasterTest, AmpersandIsDrawnNotTakenAsAnUnderlineMark) {
    // As a prefix mark, "A&B" would measure as "AB" and "A&&B" as "A&B".
    const SIZE plain = m_raster.Measure(kTitleFont, L"AB", kTitleFormat, 1000);
    const SIZE ampersand = m_raster.Measure(kTitleFont, L"A&B", kTitleFormat, 1000);
    const SIZE doubled = m_raster.Measure(kTitleFont, L"A&&B", kTitleFormat, 1000);
    EXPECT_GT(ampersand.cx, plain.cx);
    EXPECT_GT(doubled.cx, ampersand.cx);
}

TEST_F(GdiTextRasterTest, WordBreakWrapsALongTitleInsideItsWidth) {
    const std::wstring title = L"A rather long movie title that cannot fit on one short line";
    const SIZE oneLine = m_raster.Measure(kTitleFont, title, kTitleFormat, 2000);
    const SIZE wrapped = m_raster.Measure(kTitleFont, title, kTitleFormat, 200);
    EXPECT_EQ(oneLine.cy, m_raster.Measure(kTitleFont, L"A", kTitleFormat, 2000).cy);
    EXPECT_LE(wrapped.cx, 200);
    EXPECT_GE(wrapped.cy, 3 * oneLine.cy);
    // Without DT_WORDBREAK the width limit does not apply.
    EXPECT_EQ(m_raster.Measure(kTimeFont, title, kTimeFormat, 50).cx,
              m_raster.Measure(kTimeFont, title, kTimeFormat, 5000).cx);
}

TEST_F(GdiTextRasterTest, EmptyTextMeasuresNothing) {
    const SIZE extent = m_raster.Measure(kMessageFont, L"", kMessageFormat, 640);
    EXPECT_EQ(extent.cx, 0);
    EXPECT_EQ(extent.cy, 0);
}

TEST_F(GdiTextRasterTest, RenderedInkLiesInTheMeasuredCellAtTheMargin) {
    const std::wstring text = L"(00:01:05 / 00:02:00)";
    const SIZE extent = m_raster.Measure(kMessageFont, text, kTimeFormat, 0);
    const int margin = GdiTextRaster_CL::MarginFor(kMessageFont);
    const SIZE bitmap{extent.cx + 2 * margin, extent.cy + 2 * margin};
    ASSERT_TRUE(m_raster.Render(kMessageFont, text, kTimeFormat, 0, bitmap, margin));
    const RECT ink = InkBounds(m_raster, bitmap);
    ASSERT_LT(ink.left, ink.right);
    // "(" starts close to the cell's left edge and ")" ends close to its right edge.
    EXPECT_NEAR(ink.left, margin, 6);
    EXPECT_NEAR(ink.right, margin + extent.cx, 6);
    EXPECT_GE(ink.top, margin);
    EXPECT_LE(ink.bottom, margin + extent.cy);
    // Texels are white with the coverage as alpha; bold strokes are fully covered somewhere.
    int full = 0;
    for (LONG y = 0; y < bitmap.cy; ++y) {
        for (LONG x = 0; x < bitmap.cx; ++x) {
            const uint32_t texel = m_raster.Texels()[m_raster.Stride() * y + x];
            ASSERT_EQ(texel & 0xFFFFFFu, 0xFFFFFFu);
            full += (texel >> 24) == 255 ? 1 : 0;
        }
    }
    EXPECT_GT(full, 50);
}

TEST_F(GdiTextRasterTest, NextRenderStartsFromAClearBitmap) {
    const int margin = GdiTextRaster_CL::MarginFor(kClockFont);
    const SIZE big{400, 104 + 2 * margin};
    ASSERT_TRUE(m_raster.Render(kClockFont, L"88:88", DT_SINGLELINE | DT_NOCLIP, 0, big, margin));
    ASSERT_TRUE(m_raster.Render(kClockFont, L"1", DT_SINGLELINE | DT_NOCLIP, 0, big, margin));
    const RECT ink = InkBounds(m_raster, big);
    // Only the "1" is left, not the eights under it.
    EXPECT_LT(ink.right - ink.left, 100);
}

TEST_F(GdiTextRasterTest, JapaneseTextHasInk) {
    const std::wstring title = L"日本語のタイトル　第１話";
    const SIZE extent = m_raster.Measure(kTitleFont, title, kTitleFormat, 1000);
    EXPECT_GT(extent.cx, 12 * 10);
    const int margin = GdiTextRaster_CL::MarginFor(kTitleFont);
    const SIZE bitmap{extent.cx + 2 * margin, extent.cy + 2 * margin};
    ASSERT_TRUE(m_raster.Render(kTitleFont, title, kTitleFormat, 1000, bitmap, margin));
    const RECT ink = InkBounds(m_raster, bitmap);
    EXPECT_GT(ink.right - ink.left, extent.cx * 3 / 4);
    EXPECT_GT(ink.bottom - ink.top, 8);
}

TEST(GdiTextRasterLife, UnusableUntilCreatedAndAfterRelease) {
    GdiTextRaster_CL raster;
    EXPECT_FALSE(raster.Ready());
    EXPECT_FALSE(raster.Render(kTitleFont, L"x", kTitleFormat, 100, SIZE{20, 20}, 2));
    ASSERT_TRUE(raster.Create(OverlayFontFace()));
    EXPECT_TRUE(raster.Ready());
    raster.Release();
    EXPECT_FALSE(raster.Ready());
    EXPECT_EQ(raster.Measure(kTitleFont, L"x", kTitleFormat, 100).cx, 0);
}

}  // namespace
