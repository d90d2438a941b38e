// Overlay textures without D3DX: sizes for devices with and without power-of-two limits, and
// the atlas decoded with WIC exactly as GDI+ reads the same file (straight alpha, pixel for
// pixel).

#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <string>

#include "media/DShowGraph_CL.h"
#include "media/OverlayTexture.h"

namespace {

D3DCAPS9 Caps(DWORD textureCaps, DWORD maxWidth = 4096, DWORD maxHeight = 4096) {
    D3DCAPS9 caps{};
    caps.TextureCaps = textureCaps;
    caps.MaxTextureWidth = maxWidth;
    caps.MaxTextureHeight = maxHeight;
    return caps;
}

bool SameSize(SIZE a, SIZE b) { return a.cx == b.cx && a.cy == b.cy; }

TEST(TextureSize, AnySizeWhereTheDeviceTakesIt) {
    EXPECT_TRUE(SameSize(TextureSizeFor(SIZE{300, 37}, Caps(0)), SIZE{300, 37}));
    // Conditional support is enough for one-level clamped textures.
    EXPECT_TRUE(SameSize(TextureSizeFor(SIZE{300, 37}, Caps(D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_NONPOW2CONDITIONAL)),
                         SIZE{300, 37}));
}

TEST(TextureSize, PowersOfTwoAndSquaresWhereTheDeviceNeedsThem) {
    EXPECT_TRUE(SameSize(TextureSizeFor(SIZE{300, 37}, Caps(D3DPTEXTURECAPS_POW2)), SIZE{512, 64}));
    EXPECT_TRUE(SameSize(TextureSizeFor(SIZE{512, 256}, Caps(D3DPTEXTURECAPS_POW2)), SIZE{512, 256}));
    EXPECT_TRUE(SameSize(TextureSizeFor(SIZE{300, 37}, Caps(D3DPTEXTURECAPS_POW2 | D3DPTEXTURECAPS_SQUAREONLY)),
                         SIZE{512, 512}));
}

TEST(TextureSize, NeverBeyondTheLargestTextureAndNeverEmpty) {
    EXPECT_TRUE(SameSize(TextureSizeFor(SIZE{5000, 300}, Caps(0, 2048, 2048)), SIZE{2048, 300}));
    EXPECT_TRUE(SameSize(TextureSizeFor(SIZE{0, 0}, Caps(0)), SIZE{1, 1}));
}

class AtlasDecoding : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(SUCCEEDED(::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)));
        Gdiplus::GdiplusStartupInput input;
        ASSERT_EQ(Gdiplus::GdiplusStartup(&m_gdiplus, &input, nullptr), Gdiplus::Ok);
    }
    void TearDown() override {
        Gdiplus::GdiplusShutdown(m_gdiplus);
        ::CoUninitialize();
    }
    ULONG_PTR m_gdiplus = 0;
};

TEST_F(AtlasDecoding, WicGivesTheSameStraightAlphaPixelsAsGdiPlus) {
    const std::wstring path = DShowGraph_CL::StillImagePath();
    BgraImage image;
    ASSERT_EQ(LoadBgraImage(path.c_str(), &image), S_OK);

    Gdiplus::Bitmap bitmap(path.c_str());
    ASSERT_EQ(bitmap.GetLastStatus(), Gdiplus::Ok);
    ASSERT_EQ(image.width, bitmap.GetWidth());
    ASSERT_EQ(image.height, bitmap.GetHeight());
    Gdiplus::Rect all(0, 0, static_cast<INT>(image.width), static_cast<INT>(image.height));
    Gdiplus::BitmapData data{};
    ASSERT_EQ(bitmap.LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data), Gdiplus::Ok);
    int differing = 0, translucent = 0;
    for (UINT y = 0; y < image.height; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(data.Scan0) + data.Stride * y);
        for (UINT x = 0; x < image.width; ++x) {
            const uint32_t wic = image.pixels[static_cast<size_t>(y) * image.width + x];
            const uint32_t alpha = wic >> 24;
            if (alpha > 0 && alpha < 255) ++translucent;
            // Fully transparent pixels may keep any colour.
            if (alpha == 0 && (row[x] >> 24) == 0) continue;
            differing += wic != row[x] ? 1 : 0;
        }
    }
    bitmap.UnlockBits(&data);
    EXPECT_EQ(differing, 0);
    // The atlas has soft edges; with premultiplied pixels the comparison above would fail there.
    EXPECT_GT(translucent, 0);
}

TEST_F(AtlasDecoding, MissingFileFailsWithoutAPicture) {
    BgraImage image;
    EXPECT_TRUE(FAILED(LoadBgraImage(L"C:\\no such folder\\player_image.png", &image)));
    EXPECT_EQ(image.width, 0u);
    EXPECT_TRUE(image.pixels.empty());
}

}  // namespace
