#pragma once
// Routes the messages of an existing window (a standard control, the tool bar, a list view)
// to an object. The object pointer lives in the window's user data and the window procedure
// is replaced by ours, which keeps the previous one: a message the object does not mark as
// handled goes on to the previous procedure, so the window keeps its plain behaviour.
//
// Thread: UI only. The window must belong to the calling thread.

#include <windows.h>

class SubClassWindowBase_CL {
public:
    SubClassWindowBase_CL() = default;
    // Gives the previous procedure back if the window still lives.
    virtual ~SubClassWindowBase_CL();
    SubClassWindowBase_CL(const SubClassWindowBase_CL&) = delete;
    SubClassWindowBase_CL& operator=(const SubClassWindowBase_CL&) = delete;

    // Thread: UI. Starts routing window's messages to this object. Fails with
    // E_INVALIDARG for no window and HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS) when this
    // object or the window is sub-classed already (the user data is taken).
    [[nodiscard]] HRESULT SubClass(HWND window);
    // Thread: UI. Puts the previous procedure back; also done by the window's WM_DESTROY.
    void UnSubClass();

    // The sub-classed window; nullptr before SubClass and after WM_DESTROY or UnSubClass.
    HWND Window() const { return m_window; }

protected:
    // Thread: UI. Called for every message of the window. Call SetHandled() to return the
    // result as it is; otherwise the message goes on to the previous procedure. WM_DESTROY
    // always reaches the previous procedure as well, so the control frees what it holds.
    virtual LRESULT OnSubClassMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void SetHandled(bool handled = true) { m_handled = handled; }
    // The previous procedure, for handlers that add to the plain behaviour.
    LRESULT CallPrevious(UINT message, WPARAM wParam, LPARAM lParam);
    // Called once the window is gone from this object (after WM_DESTROY handling).
    virtual void OnDetached() {}

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND m_window = nullptr;
    WNDPROC m_previous = nullptr;
    bool m_handled = false;
};
