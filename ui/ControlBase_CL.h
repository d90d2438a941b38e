#pragma once
// One control created in code: its kind, identifier, window and font, plus an optional
// callback for its messages. Every control is sub-classed from creation, so the object
// learns of WM_DESTROY and never holds a dead window; without a callback (or when the
// callback leaves a message unhandled) the control behaves exactly like the plain one.
//
// Thread: UI only. Owned by the ControlFactory_CL that created it.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

#include "base/UniqueHandle_CL.h"
#include "ui/SubClassWindowBase_CL.h"

class ControlFactory_CL;

// Kind codes of the control family: 1, 2, 4, 10 and 19 are the long-standing codes of the
// family's first kinds; the later kinds took free numbers between them.
enum class ControlKind : uint32_t {
    StaticText = 1,
    Button = 2,
    CheckBox = 3,
    Edit = 4,
    ComboBox = 5,
    GroupBox = 6,
    ListView = 10,
    ProgressBar = 19,
    TrackBar = 20,
};

class ControlBase_CL : public SubClassWindowBase_CL {
public:
    // Called for each message of the control; set handled to keep the message from the
    // control's own procedure, and the return value is then the message's result.
    using MessageCallback =
        std::function<LRESULT(ControlBase_CL& control, UINT message, WPARAM wParam, LPARAM lParam,
                              bool& handled)>;

    ControlBase_CL(ControlKind kind, ControlFactory_CL* owner) : m_kind(kind), m_owner(owner) {}
    // Destroys the control's window if it still lives, then its font.
    ~ControlBase_CL() override;

    // Thread: UI. Keeps the top-left corner (in the parent's client coordinates) and gives
    // the control the new size.
    virtual void Move(int width, int height, bool repaint);

    // Thread: UI. Moves the top-left corner to x, y of the parent's client area, keeping the size.
    void MoveTo(int x, int y);
    // The control's rectangle in its parent's client coordinates.
    RECT RectInParent() const;
    SIZE Size() const;

    ControlKind Kind() const { return m_kind; }
    UINT Id() const { return m_id; }
    ControlFactory_CL* Owner() const { return m_owner; }
    HFONT Font() const { return m_font; }

    // Thread: UI. The control takes ownership of font and draws with it from now on.
    void SetFont(GdiObject_CL font);
    void SetMessageCallback(MessageCallback callback) { m_callback = std::move(callback); }

    std::wstring Text() const;
    void SetText(const std::wstring& text);
    void Enable(bool enabled);
    void Show(bool visible);

    // Pure measurement in a font: the extent DrawTextW with DT_CALCRECT gives (several lines
    // when the text holds line breaks). reference is any window of the screen the text is for.
    static SIZE MeasureText(HWND reference, HFONT font, const std::wstring& text);

protected:
    // For the kinds' Create: makes the window with this object as its creation parameter,
    // numbers it, gives it the control font and sub-classes it.
    [[nodiscard]] HRESULT CreateControlWindow(HWND parent, UINT id, DWORD exStyle,
                                              const wchar_t* className, const std::wstring& text,
                                              DWORD style, int x, int y, int width, int height);
    SIZE MeasureInOwnFont(HWND reference, const std::wstring& text) const;

    LRESULT OnSubClassMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    ControlKind m_kind;
    UINT m_id = 0;
    ControlFactory_CL* m_owner;
    MessageCallback m_callback;
    HFONT m_font = static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT));
    GdiObject_CL m_ownedFont;  // empty while m_font is the stock font
};
