// The main tool bar under a real top-level window: its buttons, commands and tips in order,
// the pictures the image list really draws, clicks reaching the parent, sizing with the
// parent, the checked look, its life cycle; and the drawn strip file as it was compiled in.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "app/MainToolBar_CL.h"
#include "app/ToolBarImages.h"
#include "ui/ToolTips_CL.h"

namespace {

constexpr wchar_t kParentClass[] = L"LumikinoTestToolBarParent";
// The strip file as the drawing script wrote it, compiled in by MainToolBar_test.rc.
constexpr int kStripFileResourceId = 9201;

struct CommandSeen {
    WORD id;
    HWND from;
};

// A top-level window that records the commands its children send it.
class ToolBarParent {
public:
    explicit ToolBarParent(int widthPx = 640) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = &Procedure;
        wc.hInstance = ::GetModuleHandleW(nullptr);
        wc.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
        wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
        wc.lpszClassName = kParentClass;
        ::RegisterClassExW(&wc);  // fails harmlessly when an earlier test registered it
        m_window = ::CreateWindowExW(0, kParentClass, L"ツールバー", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 80, 80,
                                     widthPx, 400, nullptr, nullptr, ::GetModuleHandleW(nullptr), this);
    }
    ~ToolBarParent() {
        if (m_window) ::DestroyWindow(m_window);
    }
    HWND Get() const { return m_window; }
    const std::vector<CommandSeen>& Commands() const { return m_commands; }
    int ClientWidth() const {
        RECT r{};
        ::GetClientRect(m_window, &r);
        return r.right - r.left;
    }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE) {
            auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
            ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        }
        auto* self = reinterpret_cast<ToolBarParent*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
        if (self && message == WM_COMMAND) {
            self->m_commands.push_back({LOWORD(wParam), reinterpret_cast<HWND>(lParam)});
        }
        if (self && message == WM_NCDESTROY) self->m_window = nullptr;
        return ::DefWindowProcW(window, message, wParam, lParam);
    }

    HWND m_window = nullptr;
    std::vector<CommandSeen> m_commands;
};

void PumpPending() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

// Dispatches this thread's messages until done() holds; the deadline only ends a test that
// went wrong, it does not pace the test.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000) {
    DWORD start = ::GetTickCount();
    while (!done()) {
        DWORD elapsed = ::GetTickCount() - start;
        if (elapsed >= timeoutMs) return done();
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, timeoutMs - elapsed, QS_ALLINPUT);
        PumpPending();
    }
    return true;
}

struct ExpectedButton {
    UINT command;  // 0: separator
    ToolBarImage image;
    const wchar_t* tip;
};

// Written out here rather than taken from the code, so a slip in either shows.
const std::vector<ExpectedButton>& ExpectedButtons() {
    static const std::vector<ExpectedButton> buttons = {
        {0x857C, ToolBarImage::OpenFolder, L"ファイルを開く"},
        {0, ToolBarImage::Count, nullptr},
        {0x8570, ToolBarImage::PlayPause, L"再生／一時停止"},
        {0x8571, ToolBarImage::Stop, L"停止"},
        {0x8572, ToolBarImage::Previous, L"前へ"},
        {0x8573, ToolBarImage::Next, L"次へ"},
        {0, ToolBarImage::Count, nullptr},
        {0x8579, ToolBarImage::Slower, L"遅く"},
        {0x857A, ToolBarImage::Faster, L"速く"},
        {0x8574, ToolBarImage::Mute, L"消音"},
        {0, ToolBarImage::Count, nullptr},
        {0x8575, ToolBarImage::FullScreen, L"フルスクリーン"},
        {0x8578, ToolBarImage::ThumbnailStrip, L"サムネイルの表示／非表示"},
        {0x857D, ToolBarImage::Capture, L"画面キャプチャ"},
        {0, ToolBarImage::Count, nullptr},
        {0x857E, ToolBarImage::History, L"再生履歴"},
        {0x857F, ToolBarImage::PlayList, L"プレイリスト"},
    };
    return buttons;
}

class MainToolBar : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(m_parent.Get(), nullptr);
        ASSERT_EQ(m_bar.Create(m_parent.Get(), ::GetModuleHandleW(nullptr)), S_OK);
        PumpPending();
    }

    POINT ButtonCentre(UINT command) const {
        RECT r{};
        ::SendMessageW(m_bar.Handle(), TB_GETRECT, command, reinterpret_cast<LPARAM>(&r));
        return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    }

    // A click as the mouse gives it, posted so that the tool bar handles it in its own order.
    void Click(UINT command) {
        POINT at = ButtonCentre(command);
        LPARAM where = MAKELPARAM(at.x, at.y);
        ::PostMessageW(m_bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, where);
        ::PostMessageW(m_bar.Handle(), WM_LBUTTONUP, 0, where);
    }

    ToolBarParent m_parent;
    MainToolBar_CL m_bar;
};

TEST_F(MainToolBar, ButtonsSeparatorsPicturesAndTipsFollowTheLayout) {
    HWND bar = m_bar.Handle();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(::GetParent(bar), m_parent.Get());
    EXPECT_EQ(::GetDlgCtrlID(bar), static_cast<int>(MainToolBar_CL::kControlId));
    EXPECT_TRUE(::GetWindowLongPtrW(bar, GWL_STYLE) & TBSTYLE_FLAT);
    EXPECT_TRUE(::IsWindowVisible(bar));

    const auto& expected = ExpectedButtons();
    ASSERT_EQ(::SendMessageW(bar, TB_BUTTONCOUNT, 0, 0), static_cast<LRESULT>(expected.size()));
    int tips = 0;
    for (size_t i = 0; i < expected.size(); ++i) {
        SCOPED_TRACE(testing::Message() << "button " << i);
        TBBUTTON button{};
        ASSERT_TRUE(::SendMessageW(bar, TB_GETBUTTON, i, reinterpret_cast<LPARAM>(&button)));
        if (expected[i].command == 0) {
            EXPECT_TRUE(button.fsStyle & BTNS_SEP);
            continue;
        }
        EXPECT_FALSE(button.fsStyle & BTNS_SEP);
        EXPECT_EQ(static_cast<UINT>(button.idCommand), expected[i].command);
        EXPECT_EQ(button.iBitmap, static_cast<int>(expected[i].image));
        EXPECT_TRUE(button.fsState & TBSTATE_ENABLED);
        ASSERT_NE(m_bar.Tips(), nullptr);
        EXPECT_EQ(m_bar.Tips()->ToolText(bar, expected[i].command), expected[i].tip);
        ++tips;
    }
    EXPECT_EQ(m_bar.Tips()->ToolCount(), tips);

    // Left to right in table order, each button wide enough for its picture.
    int lastLeft = -1;
    for (const ExpectedButton& button : expected) {
        if (button.command == 0) continue;
        RECT r{};
        ASSERT_TRUE(::SendMessageW(bar, TB_GETRECT, button.command, reinterpret_cast<LPARAM>(&r)));
        EXPECT_GT(r.left, lastLeft);
        EXPECT_GE(r.right - r.left, kToolBarImageSizePx);
        EXPECT_GE(r.bottom - r.top, kToolBarImageSizePx);
        lastLeft = r.left;
    }
}

// Draws each picture of the list on white and on black: a pixel that comes out the same on
// both is the picture's own, one that takes the background is cut out.
TEST_F(MainToolBar, PicturesAreDrawnCutOutAndDistinct) {
    const ImageList_CL& images = m_bar.Images();
    ASSERT_EQ(images.Count(), kToolBarImageCount);
    EXPECT_EQ(images.ImageSize().cx, kToolBarImageSizePx);
    EXPECT_EQ(images.ImageSize().cy, kToolBarImageSizePx);

    constexpr int size = kToolBarImageSizePx;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = size;
    info.bmiHeader.biHeight = -size;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP target = ::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(target, nullptr);
    HDC dc = ::CreateCompatibleDC(nullptr);
    HGDIOBJ old = ::SelectObject(dc, target);
    auto draw = [&](int index, COLORREF background) {
        RECT all{0, 0, size, size};
        HBRUSH brush = ::CreateSolidBrush(background);
        ::FillRect(dc, &all, brush);
        ::DeleteObject(brush);
        EXPECT_TRUE(::ImageList_Draw(images.Get(), index, dc, 0, 0, ILD_NORMAL));
        ::GdiFlush();
        const auto* px = static_cast<const uint32_t*>(bits);
        std::vector<uint32_t> copy(px, px + size * size);
        for (uint32_t& p : copy) p &= 0xFFFFFF;
        return copy;
    };

    const uint32_t white = 0xFFFFFF;
    const uint32_t black = 0x000000;
    const uint32_t mask = kToolBarMaskColourRgb;  // DIB order is 0xRRGGBB as well
    std::vector<std::vector<uint32_t>> onWhite;
    for (int index = 0; index < kToolBarImageCount; ++index) {
        SCOPED_TRACE(testing::Message() << "picture " << index);
        std::vector<uint32_t> a = draw(index, RGB(255, 255, 255));
        std::vector<uint32_t> b = draw(index, RGB(0, 0, 0));
        int own = 0;
        int cut = 0;
        int maskShown = 0;
        for (int i = 0; i < size * size; ++i) {
            if (a[i] == b[i]) ++own;
            if (a[i] == white && b[i] == black) ++cut;
            if (a[i] == mask || b[i] == mask) ++maskShown;
        }
        EXPECT_GE(own, size * size / 10) << "too few pixels of the picture itself";
        EXPECT_GE(cut, size * size / 5) << "the picture is not cut out of its cell";
        EXPECT_EQ(maskShown, 0) << "the mask colour shows";
        // The cell's corner is background in every picture.
        EXPECT_EQ(a[0], white);
        EXPECT_EQ(b[0], black);
        onWhite.push_back(std::move(a));
    }
    for (size_t i = 0; i < onWhite.size(); ++i) {
        for (size_t j = i + 1; j < onWhite.size(); ++j) {
            int differing = 0;
            for (int k = 0; k < size * size; ++k) differing += onWhite[i][k] != onWhite[j][k];
            EXPECT_GE(differing, 20) << "pictures " << i << " and " << j << " look alike";
        }
    }
    ::SelectObject(dc, old);
    ::DeleteDC(dc);
    ::DeleteObject(target);
}

TEST_F(MainToolBar, EveryButtonClickSendsItsCommandToTheParent) {
    std::vector<UINT> clicked;
    for (const ExpectedButton& button : ExpectedButtons()) {
        if (button.command == 0) continue;
        size_t before = m_parent.Commands().size();
        Click(button.command);
        ASSERT_TRUE(PumpUntil([&] { return m_parent.Commands().size() > before; }))
            << "no command for " << std::hex << button.command;
        clicked.push_back(button.command);
    }
    ASSERT_EQ(m_parent.Commands().size(), clicked.size());
    for (size_t i = 0; i < clicked.size(); ++i) {
        EXPECT_EQ(m_parent.Commands()[i].id, clicked[i]);
        EXPECT_EQ(m_parent.Commands()[i].from, m_bar.Handle());
    }
}

TEST_F(MainToolBar, AClickOnASeparatorOrBesideTheButtonsSendsNothing) {
    RECT separator{};
    ASSERT_TRUE(::SendMessageW(m_bar.Handle(), TB_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&separator)));
    RECT last{};
    ASSERT_TRUE(::SendMessageW(m_bar.Handle(), TB_GETRECT, 0x857F, reinterpret_cast<LPARAM>(&last)));
    for (POINT at : {POINT{(separator.left + separator.right) / 2, (separator.top + separator.bottom) / 2},
                     POINT{last.right + 40, (last.top + last.bottom) / 2}}) {
        ::PostMessageW(m_bar.Handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        ::PostMessageW(m_bar.Handle(), WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    }
    // A real click afterwards marks the end of what the first two could have sent.
    Click(0x8571);
    ASSERT_TRUE(PumpUntil([&] { return !m_parent.Commands().empty(); }));
    ASSERT_EQ(m_parent.Commands().size(), 1u);
    EXPECT_EQ(m_parent.Commands()[0].id, 0x8571);
}

TEST_F(MainToolBar, TipShowsTheJapaneseTextWhileThePointerRestsOnAButton) {
    const ToolTips_CL* tips = m_bar.Tips();
    ASSERT_NE(tips, nullptr);
    HWND tip = tips->Window();
    ASSERT_NE(tip, nullptr);
    ::SendMessageW(tip, TTM_SETDELAYTIME, TTDT_INITIAL, MAKELPARAM(10, 0));
    // The pointer goes back where it was, so later tests in this program find it unmoved.
    POINT pointerBefore{};
    ::GetCursorPos(&pointerBefore);

    struct Case {
        UINT command;
        const wchar_t* text;
    };
    for (const Case& c : {Case{0x8578, L"サムネイルの表示／非表示"}, Case{0x857C, L"ファイルを開く"}}) {
        SCOPED_TRACE(testing::Message() << std::hex << c.command);
        POINT at = ButtonCentre(c.command);
        POINT screen = at;
        ::ClientToScreen(m_bar.Handle(), &screen);
        ::SetCursorPos(screen.x, screen.y);
        ::PostMessageW(m_bar.Handle(), WM_MOUSEMOVE, 0, MAKELPARAM(at.x, at.y));
        std::wstring shown;
        auto showing = [&] {
            if (!::IsWindowVisible(tip)) return false;
            wchar_t text[128] = {};
            ::GetWindowTextW(tip, text, 128);
            shown = text;
            return shown == c.text;
        };
        EXPECT_TRUE(PumpUntil(showing)) << "shown: " << testing::PrintToString(shown);
        // Hidden again, so the next button's tip has to come up by itself.
        ::SendMessageW(tip, TTM_POP, 0, 0);
    }
    ::SetCursorPos(pointerBefore.x, pointerBefore.y);
}

TEST_F(MainToolBar, HeightFitsThePicturesAndTheWidthFollowsTheParent) {
    int height = m_bar.Height();
    EXPECT_GE(height, kToolBarImageSizePx);
    EXPECT_LT(height, 3 * kToolBarImageSizePx);
    RECT r{};
    ::GetWindowRect(m_bar.Handle(), &r);
    EXPECT_EQ(r.right - r.left, m_parent.ClientWidth());
    POINT origin{0, 0};
    ::ClientToScreen(m_parent.Get(), &origin);
    EXPECT_EQ(r.top, origin.y);

    for (int widthPx : {900, 420}) {
        SCOPED_TRACE(widthPx);
        // The parent's WM_SIZE would call Resize; this parent leaves it to the test.
        ::SetWindowPos(m_parent.Get(), nullptr, 0, 0, widthPx, 400, SWP_NOMOVE | SWP_NOZORDER);
        m_bar.Resize();
        ::GetWindowRect(m_bar.Handle(), &r);
        EXPECT_EQ(r.right - r.left, m_parent.ClientWidth());
        EXPECT_EQ(m_bar.Height(), height);
    }
}

TEST_F(MainToolBar, CheckedLookIsSetByTheParentNotByClicks) {
    for (UINT command : {0x8574u, 0x8578u}) {
        SCOPED_TRACE(testing::Message() << std::hex << command);
        EXPECT_FALSE(m_bar.IsChecked(command));
        m_bar.SetChecked(command, true);
        EXPECT_TRUE(m_bar.IsChecked(command));

        size_t before = m_parent.Commands().size();
        Click(command);
        ASSERT_TRUE(PumpUntil([&] { return m_parent.Commands().size() > before; }));
        EXPECT_EQ(m_parent.Commands().back().id, command);
        EXPECT_TRUE(m_bar.IsChecked(command)) << "a click changed the look by itself";

        m_bar.SetChecked(command, false);
        EXPECT_FALSE(m_bar.IsChecked(command));
        Click(command);
        ASSERT_TRUE(PumpUntil([&] { return m_parent.Commands().size() > before + 1; }));
        EXPECT_FALSE(m_bar.IsChecked(command));
    }
    // The other buttons are untouched.
    EXPECT_FALSE(m_bar.IsChecked(0x8570));
}

TEST_F(MainToolBar, CreateRefusesASecondBarAndDestroyLeavesNothingBehind) {
    HWND first = m_bar.Handle();
    EXPECT_EQ(m_bar.Create(m_parent.Get(), ::GetModuleHandleW(nullptr)), HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS));
    EXPECT_EQ(m_bar.Handle(), first);

    HWND tip = m_bar.Tips()->Window();
    m_bar.Destroy();
    EXPECT_FALSE(::IsWindow(first));
    EXPECT_FALSE(::IsWindow(tip));
    EXPECT_EQ(m_bar.Handle(), nullptr);
    EXPECT_EQ(m_bar.Images().Get(), nullptr);
    EXPECT_EQ(m_bar.Height(), 0);
    EXPECT_EQ(m_bar.Tips(), nullptr);
    m_bar.Resize();                  // harmless without a bar
    m_bar.SetChecked(0x8574, true);  // likewise
    EXPECT_FALSE(m_bar.IsChecked(0x8574));

    ASSERT_EQ(m_bar.Create(m_parent.Get(), ::GetModuleHandleW(nullptr)), S_OK);
    EXPECT_TRUE(::IsWindow(m_bar.Handle()));
    EXPECT_EQ(m_bar.Images().Count(), kToolBarImageCount);
    EXPECT_EQ(::SendMessageW(m_bar.Handle(), TB_BUTTONCOUNT, 0, 0), static_cast<LRESULT>(ExpectedButtons().size()));
}

TEST(MainToolBarCreate, FailsCleanlyWithoutParentOrPictures) {
    ToolBarParent parent;
    MainToolBar_CL bar;
    EXPECT_EQ(bar.Create(nullptr, ::GetModuleHandleW(nullptr)), E_INVALIDARG);
    // A module without the strip resource.
    EXPECT_TRUE(FAILED(bar.Create(parent.Get(), ::GetModuleHandleW(L"kernel32.dll"))));
    EXPECT_EQ(bar.Handle(), nullptr);
    EXPECT_EQ(bar.Images().Get(), nullptr);
    EXPECT_EQ(::FindWindowExW(parent.Get(), nullptr, TOOLBARCLASSNAMEW, nullptr), nullptr);
}

TEST(MainToolBarCreate, TheObjectTakesItsWindowAlong) {
    ToolBarParent parent;
    HWND kept = nullptr;
    {
        MainToolBar_CL bar;
        ASSERT_EQ(bar.Create(parent.Get(), ::GetModuleHandleW(nullptr)), S_OK);
        kept = bar.Handle();
        EXPECT_TRUE(::IsWindow(kept));
    }
    EXPECT_FALSE(::IsWindow(kept));
}

// The drawing script's output, byte for byte as the build compiled it in.
TEST(ToolBarStripFile, IsA32BitBottomUpStripOfSquareCellsWithAlpha) {
    HMODULE self = ::GetModuleHandleW(nullptr);
    HRSRC found = ::FindResourceW(self, MAKEINTRESOURCEW(kStripFileResourceId), MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    ASSERT_NE(found, nullptr);
    DWORD fileBytes = ::SizeofResource(self, found);
    const auto* file = static_cast<const uint8_t*>(::LockResource(::LoadResource(self, found)));
    ASSERT_NE(file, nullptr);
    ASSERT_GT(fileBytes, sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER));

    BITMAPFILEHEADER head{};
    BITMAPINFOHEADER info{};
    std::memcpy(&head, file, sizeof(head));
    std::memcpy(&info, file + sizeof(head), sizeof(info));
    EXPECT_EQ(head.bfType, 0x4D42);  // "BM"
    EXPECT_EQ(head.bfSize, fileBytes);
    EXPECT_EQ(head.bfOffBits, sizeof(head) + sizeof(info));
    EXPECT_EQ(info.biSize, sizeof(info));
    EXPECT_EQ(info.biWidth, kToolBarImageCount * kToolBarImageSizePx);
    EXPECT_EQ(info.biHeight, kToolBarImageSizePx);  // positive: rows bottom-up
    EXPECT_EQ(info.biPlanes, 1);
    EXPECT_EQ(info.biBitCount, 32);
    EXPECT_EQ(info.biCompression, static_cast<DWORD>(BI_RGB));
    const size_t pixelCount = static_cast<size_t>(info.biWidth) * kToolBarImageSizePx;
    ASSERT_EQ(fileBytes, head.bfOffBits + pixelCount * 4);

    // Every cell has clear pixels, all of them in the mask colour, and solid ones.
    const uint8_t* pixels = file + head.bfOffBits;
    for (int cell = 0; cell < kToolBarImageCount; ++cell) {
        SCOPED_TRACE(testing::Message() << "cell " << cell);
        int clear = 0;
        int solid = 0;
        int clearNotMask = 0;
        int solidInMask = 0;
        for (int y = 0; y < kToolBarImageSizePx; ++y) {
            for (int x = cell * kToolBarImageSizePx; x < (cell + 1) * kToolBarImageSizePx; ++x) {
                const uint8_t* p = pixels + (static_cast<size_t>(y) * info.biWidth + x) * 4;
                uint32_t rgb = (uint32_t{p[2]} << 16) | (uint32_t{p[1]} << 8) | p[0];
                if (p[3] == 0) {
                    ++clear;
                    if (rgb != kToolBarMaskColourRgb) ++clearNotMask;
                } else if (p[3] == 255) {
                    ++solid;
                    if (rgb == kToolBarMaskColourRgb) ++solidInMask;
                }
            }
        }
        EXPECT_GT(clear, 0);
        EXPECT_GT(solid, 0);
        EXPECT_EQ(clearNotMask, 0);
        EXPECT_EQ(solidInMask, 0);
    }
}

}  // namespace
