#pragma once
// The video window: the child of the main window the presenter draws the picture into, and
// the mouse side of the on-screen control bar. A click on a bar item sends the item's command
// to the main window, the volume slider follows presses and drags, the item under the pointer
// lights up, a double click on the bare picture runs the double-click action of the settings,
// and the right button opens the picture menu.
//
// The window is a "Static" control whose procedure is replaced by ours; what we do not handle
// goes to DefWindowProcW, not to the static control, so the window takes the mouse itself
// (a plain static is transparent to hit tests) and never paints over the presenter.
//
// The bar itself belongs to the renderer's presenter and is reached through a
// ControlBarSource_CL the main window provides; the picture menu and the modal-dialog flag
// are the main window's too and come in as callbacks.
//
// Thread: UI for everything here.

#include <windows.h>

#include <functional>
#include <utility>
#include <vector>

#include "ui/SubClassWindowBase_CL.h"
#include "ui/ToolTips_CL.h"

class ControlBar_CL;
class ControlBarSource_CL;

class MoviePlayWindow_CL : public SubClassWindowBase_CL {
public:
    static constexpr UINT kControlId = 0x1100;
    static constexpr DWORD kStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | SS_GRAYFRAME;
    static constexpr int kInitialWidthPx = 640;
    static constexpr int kInitialHeightPx = 480;
    // Tool ids of the bar's tips: kFirstToolId + the item's index in the bar.
    static constexpr UINT kFirstToolId = 12333;
    static constexpr int kTipWidthPx = 320;

    struct Callbacks {
        // Raises (true) and lowers (false) the modal-dialog flag the playback tick reads.
        std::function<void(bool open)> setModalDialogOpen;
        // Shows the picture menu at a point of window's client area and returns when it closes.
        std::function<void(HWND window, POINT clientPoint)> showPictureMenu;
        // The owner-drawn menu handler: sees every message the window does not answer itself,
        // before DefWindowProcW; true when it took the message (*result is then returned).
        std::function<bool(HWND window, UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result)> menuMessage;
    };

    // bar may be null (then there is no bar: no hits, no tips); it must outlive the window.
    explicit MoviePlayWindow_CL(ControlBarSource_CL* bar);
    // Destroys the window if Create made it and it still lives.
    ~MoviePlayWindow_CL() override;

    // Thread: UI. Creates the window as a child of parent (class "Static", kStyle, 640 x 480,
    // id kControlId; WS_THICKFRAME and WS_EX_ACCEPTFILES added, WS_DISABLED cleared), gives it
    // font (may be null), takes over its messages and makes its tool tip window.
    [[nodiscard]] HRESULT Create(HWND parent, HFONT font);

    // Thread: UI. Set before the window receives input; replaces earlier callbacks.
    void SetCallbacks(Callbacks callbacks) { m_callbacks = std::move(callbacks); }

    // Thread: UI. The hover update, called by the main window on every mouse move with the
    // move's key flags (MK_*) and on WM_NCHITTEST with 0. windowDragging: the main window is
    // dragging or resizing itself, so a held left button is not a volume drag. Reads the
    // pointer position; returns the hovered flag. A volume drag sends the volume command.
    bool UpdateHover(WPARAM keyFlags, bool windowDragging);
    // The same at a point of the client area.
    bool UpdateHoverAt(POINT clientPoint, WPARAM keyFlags, bool windowDragging);
    // The pointer was over a visible bar item at the last hover update.
    bool IsHovered() const { return m_hovered; }

    // Thread: UI. Registers a tip for every visible item with a text, as WM_SIZE does.
    void RebuildToolTips();
    const ToolTips_CL& ToolTips() const { return m_tips; }

protected:
    LRESULT OnSubClassMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void OnLeftButtonDown(POINT point);
    void OnLeftButtonDoubleClick(WPARAM wParam, LPARAM lParam);
    void OnRightButtonUp(POINT point);
    void SendVolume(int step);
    void SendCommand(UINT command, LPARAM lParam);
    bool Snapshot(ControlBar_CL* bar) const;
    HWND Parent() const;

    ControlBarSource_CL* m_bar;
    Callbacks m_callbacks;
    ToolTips_CL m_tips;
    std::vector<UINT> m_toolIds;  // tools registered now, removed at the next rebuild
    bool m_hovered = false;
    bool m_ownsWindow = false;
};
