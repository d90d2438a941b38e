// Screen capture: the latest frame, scaled to the displayed size, saved as a PNG that opens
// and shows the picture; never over an earlier capture; nothing without a picture; a folder
// that cannot take the file is reported.

#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <dshow.h>
#include <gdiplus.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "app/CaptureNaming.h"
#include "app/ScreenCapture_CL.h"
#include "media/CMyRenderer.h"
#include "media/ColourConversion.h"
#include "media/dshow/MemAllocator_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {

constexpr int kFrameWidth = 64;
constexpr int kFrameHeight = 48;

// Quadrants, B G R x: red top left, green top right, blue bottom left, white bottom right.
constexpr uint32_t kQuadrantBgr[4] = {0x00E02020, 0x0020C020, 0x002020E0, 0x00F0F0F0};

uint32_t QuadrantColour(int x, int y, int width, int height) {
    const int column = x < width / 2 ? 0 : 1;
    const int row = y < height / 2 ? 0 : 1;
    return kQuadrantBgr[row * 2 + column];
}

std::vector<uint8_t> QuadrantFrameYuy2(int width, int height) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const uint32_t colour = QuadrantColour(x, y, width, height);
            std::memcpy(&rgb[(static_cast<size_t>(y) * width + x) * 4], &colour, 4);
        }
    }
    std::vector<uint8_t> yuy2(static_cast<size_t>(width) * height * 2);
    ConvertRgb32ToYuy2(rgb.data(), width, height, false, yuy2.data());
    return yuy2;
}

// What the renderer's own conversion makes of the frame's pixel at (x, y): B, G, R.
uint32_t ConvertedPixel(const std::vector<uint8_t>& yuy2, int width, int x, int y) {
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * 4);
    ConvertYuy2ToRgb32(yuy2.data() + static_cast<size_t>(y) * width * 2, width, 1, rgb.data());
    uint32_t pixel = 0;
    std::memcpy(&pixel, &rgb[static_cast<size_t>(x) * 4], 4);
    return pixel & 0x00FFFFFF;
}

bool Near(uint32_t a, uint32_t b, int tolerance) {
    for (int shift = 0; shift < 24; shift += 8) {
        const int ca = static_cast<int>((a >> shift) & 0xFF), cb = static_cast<int>((b >> shift) & 0xFF);
        if (std::abs(ca - cb) > tolerance) return false;
    }
    return true;
}

std::vector<std::wstring> FilesIn(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE find = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(found.cFileName);
    } while (::FindNextFileW(find, &found));
    ::FindClose(find);
    return names;
}

SYSTEMTIME CaptureTime() {
    SYSTEMTIME t{};
    t.wYear = 2026;
    t.wMonth = 12;
    t.wDay = 7;
    t.wHour = 18;
    t.wMinute = 5;
    t.wSecond = 9;
    return t;
}

class ScreenCapture : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        Gdiplus::GdiplusStartupInput input;
        if (Gdiplus::GdiplusStartup(&s_token, &input, nullptr) != Gdiplus::Ok) s_token = 0;
    }
    static void TearDownTestSuite() {
        if (s_token) Gdiplus::GdiplusShutdown(s_token);
        s_token = 0;
        ::CoUninitialize();
    }
    void SetUp() override { ASSERT_NE(s_token, 0u) << "GDI+ did not start"; }

    CaptureTarget Target(SIZE displaySize) const {
        CaptureTarget target;
        target.dataRoot = m_temp.Join(L"Lumikino");
        target.localTime = CaptureTime();
        target.displaySize = displaySize;
        return target;
    }
    std::wstring CaptureFolder() const { return m_temp.Join(L"Lumikino\\capture"); }

    // Opens the PNG with GDI+ and checks its size and the four quadrant colours against the
    // renderer's conversion of the frame.
    void ExpectQuadrantPicture(const std::wstring& path, SIZE size, const std::vector<uint8_t>& yuy2) {
        const std::string bytes = ReadFileBytes(path);
        ASSERT_GE(bytes.size(), 8u);
        EXPECT_EQ(bytes.substr(0, 8), std::string("\x89PNG\r\n\x1a\n", 8));
        Gdiplus::Bitmap decoded(path.c_str());
        ASSERT_EQ(decoded.GetLastStatus(), Gdiplus::Ok);
        ASSERT_EQ(static_cast<LONG>(decoded.GetWidth()), size.cx);
        ASSERT_EQ(static_cast<LONG>(decoded.GetHeight()), size.cy);
        for (int row = 0; row < 2; ++row) {
            for (int column = 0; column < 2; ++column) {
                // The middle of each quadrant, in the picture and in the frame.
                const int x = size.cx * (1 + 2 * column) / 4, y = size.cy * (1 + 2 * row) / 4;
                const int fx = kFrameWidth * (1 + 2 * column) / 4, fy = kFrameHeight * (1 + 2 * row) / 4;
                Gdiplus::Color colour;
                ASSERT_EQ(decoded.GetPixel(x, y, &colour), Gdiplus::Ok);
                const uint32_t bgr = static_cast<uint32_t>(colour.GetB()) | static_cast<uint32_t>(colour.GetG()) << 8 |
                                     static_cast<uint32_t>(colour.GetR()) << 16;
                const uint32_t expected = ConvertedPixel(yuy2, kFrameWidth, fx, fy);
                EXPECT_TRUE(Near(bgr, expected, 3)) << std::hex << "quadrant " << row << column << ": 0x" << bgr
                                                    << " expected 0x" << expected;
                // And the colour meant, through the round trip of video-range YUY2.
                EXPECT_TRUE(Near(bgr, kQuadrantBgr[row * 2 + column], 12)) << std::hex << "0x" << bgr;
            }
        }
    }

    TempFolder_CL m_temp;
    static ULONG_PTR s_token;
};
ULONG_PTR ScreenCapture::s_token = 0;

struct Sample {
    IMemAllocator* allocator = nullptr;
    IMediaSample* sample = nullptr;
    explicit Sample(const std::vector<uint8_t>& bytes) {
        MemAllocator_CL::Create(&allocator);
        ALLOCATOR_PROPERTIES request{1, static_cast<LONG>(bytes.size()), 1, 0}, actual{};
        allocator->SetProperties(&request, &actual);
        allocator->Commit();
        allocator->GetBuffer(&sample, nullptr, nullptr, 0);
        BYTE* data = nullptr;
        sample->GetPointer(&data);
        std::memcpy(data, bytes.data(), bytes.size());
        sample->SetActualDataLength(static_cast<LONG>(bytes.size()));
        REFERENCE_TIME start = 0, stop = 400000;
        sample->SetTime(&start, &stop);
    }
    ~Sample() {
        sample->Release();
        allocator->Decommit();
        allocator->Release();
    }
};

MediaType_CL Yuy2Type(LONG width, LONG height, DWORD aspectX, DWORD aspectY) {
    MediaType_CL type;
    type.majortype = MEDIATYPE_Video;
    type.subtype = MEDIASUBTYPE_YUY2;
    type.formattype = FORMAT_VideoInfo2;
    type.AllocateFormat(sizeof(VIDEOINFOHEADER2));
    auto* vih = reinterpret_cast<VIDEOINFOHEADER2*>(type.pbFormat);
    vih->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    vih->bmiHeader.biWidth = width;
    vih->bmiHeader.biHeight = height;
    vih->dwPictAspectRatioX = aspectX;
    vih->dwPictAspectRatioY = aspectY;
    vih->AvgTimePerFrame = 400000;
    return type;
}

struct RendererRelease {
    void operator()(CMyRenderer* renderer) const { renderer->Release(); }
};

}  // namespace

TEST_F(ScreenCapture, SavesPngOfTheDisplayedSizeShowingTheFrame) {
    const std::vector<uint8_t> frame = QuadrantFrameYuy2(kFrameWidth, kFrameHeight);
    // Wider than the frame (a 16:9 display of 4:3 pixels), and larger and smaller.
    for (SIZE display : {SIZE{85, 48}, SIZE{160, 120}, SIZE{32, 24}, SIZE{kFrameWidth, kFrameHeight}}) {
        TempFolder_CL temp;
        CaptureTarget target = Target(display);
        target.dataRoot = temp.Join(L"Lumikino");
        const CaptureResult result = ScreenCapture_CL::CaptureYuy2(frame, kFrameWidth, kFrameHeight, target);
        ASSERT_EQ(result.status, CaptureStatus::kSaved) << std::hex << result.hr;
        EXPECT_EQ(result.hr, S_OK);
        EXPECT_EQ(result.path, temp.Join(L"Lumikino\\capture\\capture-2026-12-07-18-05-09.png"));
        EXPECT_STREQ(ScreenCapture_CL::StatusText(result), kCaptureSavedText);
        ExpectQuadrantPicture(result.path, display, frame);
    }
}

TEST_F(ScreenCapture, NoDisplaySizeKeepsTheFrameSize) {
    const std::vector<uint8_t> frame = QuadrantFrameYuy2(kFrameWidth, kFrameHeight);
    const CaptureResult result =
        ScreenCapture_CL::CaptureYuy2(frame, kFrameWidth, kFrameHeight, Target(SIZE{0, -1}));
    ASSERT_EQ(result.status, CaptureStatus::kSaved) << std::hex << result.hr;
    ExpectQuadrantPicture(result.path, SIZE{kFrameWidth, kFrameHeight}, frame);
}

TEST_F(ScreenCapture, TakesTheRenderersLatestFrameAtItsDisplaySize) {
    HRESULT hr = E_FAIL;
    std::unique_ptr<CMyRenderer, RendererRelease> renderer(CMyRenderer::Create(&hr));
    ASSERT_TRUE(renderer) << std::hex << hr;

    // Before any frame there is nothing to capture, and nothing is made on disk.
    CaptureResult result = ScreenCapture_CL::CaptureRenderer(renderer.get(), Target(SIZE{85, 48}));
    EXPECT_EQ(result.status, CaptureStatus::kNoPicture);
    EXPECT_FALSE(FolderExists(CaptureFolder()));

    // 16:9 material: the renderer displays it 16:9 wide.
    ASSERT_EQ(renderer->SetMediaType(Yuy2Type(kFrameWidth, kFrameHeight, 16, 9)), S_OK);
    const std::vector<uint8_t> frame = QuadrantFrameYuy2(kFrameWidth, kFrameHeight);
    Sample sample(frame);
    ASSERT_EQ(renderer->DoRenderSample(sample.sample), S_OK);
    const SIZE display = renderer->DisplaySize();
    ASSERT_EQ(display.cx, kFrameHeight * 16 / 9);
    ASSERT_EQ(display.cy, kFrameHeight);

    result = ScreenCapture_CL::CaptureRenderer(renderer.get(), Target(display));
    ASSERT_EQ(result.status, CaptureStatus::kSaved) << std::hex << result.hr;
    ExpectQuadrantPicture(result.path, display, frame);
}

TEST_F(ScreenCapture, SecondCaptureOfTheSameSecondGetsTheNextNameAndKeepsTheFirst) {
    const std::vector<uint8_t> frame = QuadrantFrameYuy2(kFrameWidth, kFrameHeight);
    const CaptureResult first = ScreenCapture_CL::CaptureYuy2(frame, kFrameWidth, kFrameHeight, Target(SIZE{64, 48}));
    ASSERT_EQ(first.status, CaptureStatus::kSaved);
    const std::string firstBytes = ReadFileBytes(first.path);

    // Another capture at another size, in the same second.
    const std::vector<uint8_t> other = QuadrantFrameYuy2(kFrameWidth, kFrameHeight);
    const CaptureResult second = ScreenCapture_CL::CaptureYuy2(other, kFrameWidth, kFrameHeight, Target(SIZE{96, 72}));
    ASSERT_EQ(second.status, CaptureStatus::kSaved);
    EXPECT_EQ(second.path, CaptureFolder() + L"\\capture-2026-12-07-18-05-09-2.png");
    const CaptureResult third = ScreenCapture_CL::CaptureYuy2(frame, kFrameWidth, kFrameHeight, Target(SIZE{64, 48}));
    ASSERT_EQ(third.status, CaptureStatus::kSaved);
    EXPECT_EQ(third.path, CaptureFolder() + L"\\capture-2026-12-07-18-05-09-3.png");

    EXPECT_EQ(ReadFileBytes(first.path), firstBytes);
    ExpectQuadrantPicture(second.path, SIZE{96, 72}, other);
    EXPECT_EQ(FilesIn(CaptureFolder()).size(), 3u);

    // The next second starts with the plain name again.
    CaptureTarget later = Target(SIZE{64, 48});
    later.localTime.wSecond = 10;
    const CaptureResult next = ScreenCapture_CL::CaptureYuy2(frame, kFrameWidth, kFrameHeight, later);
    ASSERT_EQ(next.status, CaptureStatus::kSaved);
    EXPECT_EQ(next.path, CaptureFolder() + L"\\capture-2026-12-07-18-05-10.png");
}

TEST_F(ScreenCapture, NoPictureSavesNothingAndSaysSo) {
    const CaptureResult empty = ScreenCapture_CL::CaptureYuy2({}, kFrameWidth, kFrameHeight, Target(SIZE{64, 48}));
    EXPECT_EQ(empty.status, CaptureStatus::kNoPicture);
    EXPECT_STREQ(ScreenCapture_CL::StatusText(empty), L"キャプチャーする画像がありません");
    const CaptureResult noRenderer = ScreenCapture_CL::CaptureRenderer(nullptr, Target(SIZE{64, 48}));
    EXPECT_EQ(noRenderer.status, CaptureStatus::kNoPicture);
    const CaptureResult noBitmap = ScreenCapture_CL::CaptureBitmap(nullptr, Target(SIZE{64, 48}));
    EXPECT_EQ(noBitmap.status, CaptureStatus::kNoPicture);
    EXPECT_FALSE(FolderExists(CaptureFolder()));
}

TEST_F(ScreenCapture, FrameShorterThanItsSizeIsRefused) {
    std::vector<uint8_t> frame = QuadrantFrameYuy2(kFrameWidth, kFrameHeight);
    frame.pop_back();
    CaptureResult result = ScreenCapture_CL::CaptureYuy2(frame, kFrameWidth, kFrameHeight, Target(SIZE{64, 48}));
    EXPECT_EQ(result.status, CaptureStatus::kNotSaved);
    EXPECT_EQ(result.hr, E_INVALIDARG);
    // An odd width cannot be YUY2.
    frame = QuadrantFrameYuy2(kFrameWidth, kFrameHeight);
    result = ScreenCapture_CL::CaptureYuy2(frame, kFrameWidth - 1, kFrameHeight, Target(SIZE{64, 48}));
    EXPECT_EQ(result.status, CaptureStatus::kNotSaved);
    EXPECT_STREQ(ScreenCapture_CL::StatusText(result), kCaptureNotSavedText);
    EXPECT_TRUE(FilesIn(CaptureFolder()).empty());
}

TEST_F(ScreenCapture, FileInPlaceOfTheCaptureFolderIsReported) {
    ASSERT_TRUE(::CreateDirectoryW(m_temp.Join(L"Lumikino").c_str(), nullptr));
    ASSERT_TRUE(WriteFileBytes(CaptureFolder(), "not a folder"));
    const std::vector<uint8_t> frame = QuadrantFrameYuy2(kFrameWidth, kFrameHeight);
    const CaptureResult result = ScreenCapture_CL::CaptureYuy2(frame, kFrameWidth, kFrameHeight, Target(SIZE{64, 48}));
    EXPECT_EQ(result.status, CaptureStatus::kFolderUnusable);
    EXPECT_EQ(result.hr, HRESULT_FROM_WIN32(ERROR_DIRECTORY));
    EXPECT_EQ(result.path, CaptureFolder());
    EXPECT_STREQ(ScreenCapture_CL::StatusText(result), kCaptureFolderUnusableText);
    EXPECT_EQ(ReadFileBytes(CaptureFolder()), "not a folder");
}

TEST_F(ScreenCapture, FolderThatCannotBeMadeIsReported) {
    const std::vector<uint8_t> frame = QuadrantFrameYuy2(kFrameWidth, kFrameHeight);
    struct Case {
        std::wstring root;
        const char* why;
    };
    const Case cases[] = {
        {m_temp.Join(L"missing\\deeper\\Lumikino"), "parent folders missing"},
        {L"", "no data folder"},
        {L"Lumikino", "relative root"},
    };
    for (const Case& c : cases) {
        CaptureTarget target = Target(SIZE{64, 48});
        target.dataRoot = c.root;
        const CaptureResult result = ScreenCapture_CL::CaptureYuy2(frame, kFrameWidth, kFrameHeight, target);
        EXPECT_EQ(result.status, CaptureStatus::kFolderUnusable) << c.why;
        EXPECT_TRUE(FAILED(result.hr)) << c.why;
    }
    EXPECT_FALSE(FolderExists(m_temp.Join(L"missing")));
}

TEST_F(ScreenCapture, MissingCaptureFolderIsMade) {
    // The data folder exists, its capture folder does not (removed since start-up).
    ASSERT_TRUE(::CreateDirectoryW(m_temp.Join(L"Lumikino").c_str(), nullptr));
    const std::vector<uint8_t> frame = QuadrantFrameYuy2(kFrameWidth, kFrameHeight);
    const CaptureResult result = ScreenCapture_CL::CaptureYuy2(frame, kFrameWidth, kFrameHeight, Target(SIZE{64, 48}));
    ASSERT_EQ(result.status, CaptureStatus::kSaved) << std::hex << result.hr;
    EXPECT_TRUE(FolderExists(CaptureFolder()));
}

TEST_F(ScreenCapture, JapaneseDataFolderPath) {
    const std::wstring documents = m_temp.Join(L"ドキュメント（共有）");
    ASSERT_TRUE(::CreateDirectoryW(documents.c_str(), nullptr));
    CaptureTarget target = Target(SIZE{85, 48});
    target.dataRoot = documents + L"\\Lumikino";
    const std::vector<uint8_t> frame = QuadrantFrameYuy2(kFrameWidth, kFrameHeight);
    const CaptureResult result = ScreenCapture_CL::CaptureYuy2(frame, kFrameWidth, kFrameHeight, target);
    ASSERT_EQ(result.status, CaptureStatus::kSaved) << std::hex << result.hr;
    EXPECT_EQ(result.path, documents + L"\\Lumikino\\capture\\capture-2026-12-07-18-05-09.png");
    EXPECT_EQ(FilesIn(documents + L"\\Lumikino\\capture"),
              std::vector<std::wstring>{L"capture-2026-12-07-18-05-09.png"});
    ExpectQuadrantPicture(result.path, SIZE{85, 48}, frame);
}
