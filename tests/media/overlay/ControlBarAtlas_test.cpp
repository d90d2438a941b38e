// The rectangle table of the control bar and the image the build draws from it
// ("player_image.png" beside the test program, loaded with GDI+ as the program's
// texture loader would read the file).

#include <gtest/gtest.h>

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "media/ControlBarAtlas.h"
#include "media/ControlBar_CL.h"

namespace {

bool Intersect(const AtlasRect& a, const AtlasRect& b, int gutter) {
    return a.left - gutter < b.left + b.width && b.left - gutter < a.left + a.width &&
           a.top - gutter < b.top + b.height && b.top - gutter < a.top + a.height;
}

const char* Name(AtlasSprite sprite) {
    static const char* const kNames[] = {
        "Logo", "Play", "Pause", "Stop", "SkipBack", "SkipForward", "Slow", "FrameBack", "Fast",
        "FrameForward", "SoundOn", "Muted", "OpenFile", "Capture", "PlayList", "History",
        "ThumbnailsShow", "ThumbnailsHide", "FullScreen", "WindowMode", "Exit", "VolumeTrack",
        "VolumeKnob"};
    static_assert(sizeof(kNames) / sizeof(kNames[0]) == kAtlasSpriteCount, "a name per sprite");
    return kNames[static_cast<size_t>(sprite)];
}

// The image as 0xAARRGGBB pixels, rows top-down.
struct Image {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> pixels;
    uint32_t At(int x, int y) const { return pixels[static_cast<size_t>(y) * width + x]; }
};

std::wstring ImagePath() {
    wchar_t module[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameW(nullptr, module, MAX_PATH);
    std::wstring path(module, n);
    path.erase(path.find_last_of(L"\\/") + 1);
    return path + L"player_image.png";
}

class PlayerImage : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        Gdiplus::GdiplusStartupInput input;
        if (Gdiplus::GdiplusStartup(&s_token, &input, nullptr) != Gdiplus::Ok) return;
        Gdiplus::Bitmap* bitmap = Gdiplus::Bitmap::FromFile(ImagePath().c_str());
        if (bitmap != nullptr && bitmap->GetLastStatus() == Gdiplus::Ok) {
            const int w = static_cast<int>(bitmap->GetWidth());
            const int h = static_cast<int>(bitmap->GetHeight());
            Gdiplus::Rect all(0, 0, w, h);
            Gdiplus::BitmapData data = {};
            if (bitmap->LockBits(&all, Gdiplus::ImageLockModeRead, PixelFormat32bppARGB, &data) == Gdiplus::Ok) {
                s_image.width = w;
                s_image.height = h;
                s_image.pixels.resize(static_cast<size_t>(w) * h);
                for (int y = 0; y < h; ++y) {
                    const auto* row = static_cast<const uint8_t*>(data.Scan0) + static_cast<ptrdiff_t>(y) * data.Stride;
                    memcpy(&s_image.pixels[static_cast<size_t>(y) * w], row, static_cast<size_t>(w) * 4);
                }
                bitmap->UnlockBits(&data);
            }
        }
        delete bitmap;
    }
    static void TearDownTestSuite() {
        s_image = Image{};
        if (s_token != 0) Gdiplus::GdiplusShutdown(s_token);
        s_token = 0;
    }
    void SetUp() override {
        ASSERT_FALSE(s_image.pixels.empty()) << "cannot read the image beside the test program";
    }

    static ULONG_PTR s_token;
    static Image s_image;
};

ULONG_PTR PlayerImage::s_token = 0;
Image PlayerImage::s_image;

}  // namespace

TEST(ControlBarAtlas, RectanglesLieInsideTheImageAndKeepAGutterBetweenThem) {
    for (const AtlasRect& a : kAtlasRects) {
        EXPECT_GT(a.width, 0) << Name(a.sprite);
        EXPECT_GT(a.height, 0) << Name(a.sprite);
        EXPECT_GE(a.left, 0) << Name(a.sprite);
        EXPECT_GE(a.top, 0) << Name(a.sprite);
        EXPECT_LE(a.left + a.width, kAtlasWidthPx) << Name(a.sprite);
        EXPECT_LE(a.top + a.height, kAtlasHeightPx) << Name(a.sprite);
    }
    for (size_t i = 0; i < kAtlasSpriteCount; ++i) {
        for (size_t j = i + 1; j < kAtlasSpriteCount; ++j) {
            // Texture filtering reads one texel past an edge: neighbours must not touch.
            EXPECT_FALSE(Intersect(kAtlasRects[i], kAtlasRects[j], 1))
                << Name(kAtlasRects[i].sprite) << " and " << Name(kAtlasRects[j].sprite);
        }
    }
}

TEST(ControlBarAtlas, BothPicturesOfAnItemHaveOneSize) {
    // A hit test must not depend on which picture is showing.
    ControlBar_CL bar;
    for (size_t i = 0; i < bar.Count(); ++i) {
        const AtlasRect& off = AtlasRectOf(bar.Item(i).sprite);
        const AtlasRect& on = AtlasRectOf(bar.Item(i).spriteOn);
        EXPECT_EQ(off.width, on.width) << Name(off.sprite);
        EXPECT_EQ(off.height, on.height) << Name(off.sprite);
    }
}

TEST(ControlBarAtlas, LogoAndSliderHaveTheirLayoutSizes) {
    // The layout centres a 256 x 131 logo and spans 94 pixels of slider for 20 steps.
    EXPECT_EQ(AtlasRectOf(AtlasSprite::Logo).width, 256);
    EXPECT_EQ(AtlasRectOf(AtlasSprite::Logo).height, 131);
    EXPECT_GE(AtlasRectOf(AtlasSprite::VolumeTrack).width, 95);
}

TEST_F(PlayerImage, HasTheSizeOfTheTable) {
    EXPECT_EQ(s_image.width, kAtlasWidthPx);
    EXPECT_EQ(s_image.height, kAtlasHeightPx);
}

TEST_F(PlayerImage, EveryRectangleHoldsAPicture) {
    ASSERT_EQ(s_image.width, kAtlasWidthPx);
    for (const AtlasRect& a : kAtlasRects) {
        int drawn = 0;
        for (int y = a.top; y < a.top + a.height; ++y) {
            for (int x = a.left; x < a.left + a.width; ++x) {
                if ((s_image.At(x, y) >> 24) >= 32) ++drawn;
            }
        }
        EXPECT_GE(drawn * 5, a.width * a.height) << Name(a.sprite) << ": " << drawn << " drawn pixels";
    }
}

TEST_F(PlayerImage, NothingIsDrawnOutsideTheRectangles) {
    ASSERT_EQ(s_image.width, kAtlasWidthPx);
    ASSERT_EQ(s_image.height, kAtlasHeightPx);
    int stray = 0;
    for (int y = 0; y < s_image.height; ++y) {
        for (int x = 0; x < s_image.width; ++x) {
            bool inside = false;
            for (const AtlasRect& a : kAtlasRects) {
                if (x >= a.left && x < a.left + a.width && y >= a.top && y < a.top + a.height) {
                    inside = true;
                    break;
                }
            }
            if (!inside && (s_image.At(x, y) >> 24) != 0) ++stray;
        }
    }
    EXPECT_EQ(stray, 0);
}

TEST_F(PlayerImage, PicturesStayClearOfTheirRectangleEdges) {
    // A picture cut off at its rectangle's edge shows a hard seam when drawn.
    ASSERT_EQ(s_image.width, kAtlasWidthPx);
    for (const AtlasRect& a : kAtlasRects) {
        int edge = 0;
        for (int x = a.left; x < a.left + a.width; ++x) {
            edge += (s_image.At(x, a.top) >> 24) > 64;
            edge += (s_image.At(x, a.top + a.height - 1) >> 24) > 64;
        }
        for (int y = a.top; y < a.top + a.height; ++y) {
            edge += (s_image.At(a.left, y) >> 24) > 64;
            edge += (s_image.At(a.left + a.width - 1, y) >> 24) > 64;
        }
        EXPECT_EQ(edge, 0) << Name(a.sprite);
    }
}

TEST_F(PlayerImage, TwoStatesOfAnItemLookDifferent) {
    ASSERT_EQ(s_image.width, kAtlasWidthPx);
    ControlBar_CL bar;
    int twoState = 0;
    for (size_t i = 0; i < bar.Count(); ++i) {
        const ControlBarItem& item = bar.Item(i);
        if (item.sprite == item.spriteOn) continue;
        ++twoState;
        const AtlasRect& off = AtlasRectOf(item.sprite);
        const AtlasRect& on = AtlasRectOf(item.spriteOn);
        ASSERT_EQ(off.width, on.width);
        ASSERT_EQ(off.height, on.height);
        int differing = 0;
        for (int y = 0; y < off.height; ++y) {
            for (int x = 0; x < off.width; ++x) {
                const uint32_t p = s_image.At(off.left + x, off.top + y);
                const uint32_t q = s_image.At(on.left + x, on.top + y);
                for (int shift = 0; shift < 32; shift += 8) {
                    const int d = static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((q >> shift) & 0xFF);
                    if (d > 64 || d < -64) {
                        ++differing;
                        break;
                    }
                }
            }
        }
        EXPECT_GE(differing, 40) << Name(item.sprite) << " / " << Name(item.spriteOn);
    }
    EXPECT_EQ(twoState, 6);   // play/pause, slower, faster, mute, thumbnails, full screen
}
