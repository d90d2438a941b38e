#pragma once
// The main window's tool bar: the picture strip from the program's bitmap resource, a flat
// tool bar across the top of the main window with its buttons and their Japanese tips. A
// click is sent to the parent window as WM_COMMAND with the button's command id, the same
// ids the keyboard commands post, so the main window needs no second route for them.
//
// Thread: UI only. Owns the image list and the tool bar; both go with this object (the tool
// bar first, since it borrows the image list).

#include <windows.h>

#include <memory>
#include <vector>

#include "ui/ImageList_CL.h"

class ToolBar_CL;
class ToolTips_CL;

class MainToolBar_CL {
public:
    // The tool bar's child-window id on its parent.
    static constexpr UINT kControlId = 0x1101;

    // The buttons send the commands named in app/MainWindowIds.h (WM_COMMAND, LOWORD(wParam);
    // lParam is the tool bar window).

    MainToolBar_CL();
    ~MainToolBar_CL();
    MainToolBar_CL(const MainToolBar_CL&) = delete;
    MainToolBar_CL& operator=(const MainToolBar_CL&) = delete;

    // Thread: UI. Loads the picture strip (resource IDB_MAIN_TOOLBAR of instance) and creates
    // the tool bar as a child of parent. HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS) while one
    // exists; HRESULT_FROM_WIN32(ERROR_INVALID_DATA) when the strip is not the size the image
    // table says. On failure nothing is left behind.
    [[nodiscard]] HRESULT Create(HWND parent, HINSTANCE instance);
    // Thread: UI. Destroys the tool bar and its image list; Create may be called again.
    void Destroy();

    HWND Handle() const;
    // Thread: UI. The tool bar's height in pixels as it sized itself; 0 without a tool bar.
    int Height() const;
    // Thread: UI. Call from the parent's WM_SIZE: the tool bar fits itself to the new width.
    void Resize();
    // Thread: UI. Shows a button pressed in (the mute and thumbnail strip buttons show their
    // state this way). Clicks do not change it: the parent sets it after acting on the command.
    void SetChecked(UINT commandId, bool checked);
    bool IsChecked(UINT commandId) const;
    // Thread: UI. Greys a button whose command would not run now.
    void SetEnabled(UINT commandId, bool enabled);
    // The commands of the buttons, left to right.
    static std::vector<UINT> Commands();
    // Thread: UI. The program's picture strip (resource IDB_MAIN_TOOLBAR of instance) as an
    // image list; the play list dialog's tool bar draws from it too.
    [[nodiscard]] static HRESULT LoadImages(HINSTANCE instance, ImageList_CL* images);

    // The pictures and the tips, for the window's own checks and for tests.
    const ImageList_CL& Images() const { return m_images; }
    const ToolTips_CL* Tips() const;

private:
    ImageList_CL m_images;               // declared first: it outlives the tool bar
    std::unique_ptr<ToolBar_CL> m_bar;   // null before Create and after Destroy
};
