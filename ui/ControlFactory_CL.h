#pragma once
// Creates the controls of one dialog or window, numbers them and owns them. The first
// control gets identifier 0x1100 and each further one the next number, so a dialog's
// handlers can tell its controls apart by creation order alone. Each creation returns the
// control's index in creation order, or -1 when the window could not be made (logged).
//
// Positions are pixels in the parent's client area; sizes come from the texts in the
// control font (so Japanese labels fit) or are given in pixels where a kind has no text.
//
// Thread: UI only. The destructor destroys the controls' windows still alive.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "ui/ControlBase_CL.h"

class ControlFactory_CL {
public:
    static constexpr UINT kFirstControlId = 0x1100;

    // firstId: where numbering starts; other ranges only where a dialog's handlers rely on them.
    explicit ControlFactory_CL(UINT firstId = kFirstControlId);
    ~ControlFactory_CL();
    ControlFactory_CL(const ControlFactory_CL&) = delete;
    ControlFactory_CL& operator=(const ControlFactory_CL&) = delete;

    int AddStaticText(HWND parent, int x, int y, const std::wstring& text);
    int AddButton(HWND parent, int x, int y, const std::wstring& text);
    int AddCheckBox(HWND parent, int x, int y, const std::wstring& text);
    // columns × rows character cells; the text is the initial content.
    int AddEdit(HWND parent, int x, int y, int columns, int rows, const std::wstring& text);
    // style 0 for the default drop-down.
    int AddComboBox(HWND parent, int x, int y, int columns, int rows, DWORD style = 0);
    int AddGroupBox(HWND parent, int x, int y, int width, int height, const std::wstring& text);
    int AddListView(HWND parent, int x, int y, int width, int height, DWORD style = 0);
    int AddProgressBar(HWND parent, int x, int y, int width, int height);
    int AddTrackBar(HWND parent, int x, int y, int width, int height);

    size_t Count() const { return m_controls.size(); }
    // nullptr for an index out of range.
    ControlBase_CL* At(int index) const;
    // The control at index when it is of kind T, else nullptr.
    template <typename T>
    T* Get(int index) const {
        ControlBase_CL* control = At(index);
        return control && control->Kind() == T::kKind ? static_cast<T*>(control) : nullptr;
    }
    ControlBase_CL* FindById(UINT id) const;
    // The identifier the next control will get.
    UINT NextId() const { return m_nextId; }

    // Destroys every control and starts numbering from the first identifier again (a dialog
    // shown anew).
    void Clear();

private:
    template <typename T, typename... Args>
    int Add(HWND parent, Args&&... args);

    std::vector<std::unique_ptr<ControlBase_CL>> m_controls;
    UINT m_firstId;
    UINT m_nextId;
};
