#include "ui/EasySelectDialog_CL.h"

#include <algorithm>

#include "ui/Button_CL.h"
#include "ui/DpiScale.h"
#include "ui/Edit_CL.h"
#include "ui/FlowLayout.h"
#include "ui/GuiFont.h"
#include "ui/PickedWordText.h"
#include "ui/UiTexts.h"
#include "ui/WindowCentering.h"

namespace {
// The toolkit's edit field is multi-line; Enter would break the line and Escape would make
// the field close the dialog, so both are kept from it.
LRESULT SwallowEnterAndEscape(ControlBase_CL&, UINT message, WPARAM wParam, LPARAM, bool& handled) {
    if ((message == WM_KEYDOWN || message == WM_KEYUP) && (wParam == VK_RETURN || wParam == VK_ESCAPE)) {
        handled = true;
    } else if (message == WM_CHAR && (wParam == L'\r' || wParam == L'\n' || wParam == 0x1B)) {
        handled = true;
    }
    return 0;
}
}  // namespace

EasySelectDialog_CL::EasySelectDialog_CL(const std::wstring& caption, const std::wstring& prompt,
                                         const std::wstring& initialText, int limitCharacters,
                                         const std::vector<std::wstring>& words)
    : m_caption(caption),
      m_prompt(prompt),
      m_initialText(initialText),
      m_limitCharacters(limitCharacters),
      m_words(words) {}

INT_PTR EasySelectDialog_CL::DoModal(HWND parent) {
    m_text.clear();
    return SubClassDialogBase_CL::DoModal(parent);
}

Edit_CL* EasySelectDialog_CL::Field() { return Controls().Get<Edit_CL>(m_editIndex); }

HWND EasySelectDialog_CL::OkButton() {
    ControlBase_CL* ok = Controls().At(m_okIndex);
    return ok ? ok->Window() : nullptr;
}

HWND EasySelectDialog_CL::WordButton(size_t index) const {
    ControlBase_CL* button = m_wordButtons.At(static_cast<int>(index));
    return button ? button->Window() : nullptr;
}

void EasySelectDialog_CL::OnInitDialog() {
    HWND window = Window();
    ::SetWindowTextW(window, m_caption.c_str());
    const int width = ScaleForDpi(kClientWidth96);
    const int margin = ScaleForDpi(kMarginPixels96);
    const int gap = ScaleForDpi(kGapPixels96);

    int y = margin;
    if (!m_prompt.empty()) {
        int prompt = Controls().AddStaticText(window, margin, y, m_prompt);
        if (ControlBase_CL* text = Controls().At(prompt)) y = text->RectInParent().bottom + margin;
    }

    // OK first, to know how much of the row the input may take.
    m_okIndex = Controls().AddButton(window, 0, y, kTextOk);
    int okWidth = 0;
    if (ControlBase_CL* ok = Controls().At(m_okIndex)) okWidth = ok->Size().cx;

    m_editIndex = Controls().AddEdit(window, margin, y, 1, 1, m_initialText);
    int rowBottom = y;
    if (Edit_CL* edit = Field()) {
        ApplyScaledGuiFont(*edit, kInputFontFactor);
        SIZE cell = Edit_CL::CellsToPixels(window, edit->Font(), 1, 1);
        edit->Move(std::max<int>(width - 3 * margin - okWidth, cell.cx), cell.cy, true);
        edit->SetLimit(m_limitCharacters);
        edit->SetMessageCallback(&SwallowEnterAndEscape);
        rowBottom = edit->RectInParent().bottom;
    }
    if (ControlBase_CL* ok = Controls().At(m_okIndex)) {
        SIZE size = ok->Size();
        // Beside the input, centred on its height.
        ok->MoveTo(width - margin - size.cx, std::max<int>(y, y + (rowBottom - y - size.cy) / 2));
        rowBottom = std::max<int>(rowBottom, ok->RectInParent().bottom);
    }

    m_wordButtons.Clear();
    std::vector<SIZE> sizes;
    for (const std::wstring& word : m_words) {
        int index = m_wordButtons.AddButton(window, margin, 0, word);
        ControlBase_CL* button = m_wordButtons.At(index);
        if (button) sizes.push_back(button->Size());
    }
    FlowResult flow = FlowLeftToRight(sizes, margin, rowBottom + margin, width - margin, gap, gap);
    for (size_t i = 0; i < flow.topLefts.size(); ++i) {
        if (ControlBase_CL* button = m_wordButtons.At(static_cast<int>(i))) {
            button->MoveTo(flow.topLefts[i].x, flow.topLefts[i].y);
        }
    }
    SetClientSize(width, flow.bottom + margin);
    CenterDialogOnParent(Parent(), window);

    if (Edit_CL* edit = Field()) {
        ::SetFocus(edit->Window());
        edit->MoveCaretToEnd();
    }
}

void EasySelectDialog_CL::OnCommand(UINT controlId, UINT notifyCode, HWND) {
    if (notifyCode != BN_CLICKED) return;
    Edit_CL* edit = Field();
    ControlBase_CL* ok = Controls().At(m_okIndex);
    if (ok && controlId == ok->Id()) {
        m_text = edit ? edit->Text() : std::wstring();
        EndWith(IDOK);
        return;
    }
    if (controlId >= kFirstWordButtonId && controlId - kFirstWordButtonId < m_words.size() && edit) {
        const std::wstring& word = m_words[controlId - kFirstWordButtonId];
        edit->SetText(AppendPickedWord(edit->Text(), word, static_cast<size_t>(std::max(m_limitCharacters, 0))));
        ::SetFocus(edit->Window());
        edit->MoveCaretToEnd();
    }
}

void EasySelectDialog_CL::OnClose() {
    m_text.clear();
    EndWith(0);
}

INT_PTR EasySelectDialog_CL::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE)) return TRUE;
    if (message == WM_NCDESTROY) m_wordButtons.Clear();
    INT_PTR result = SubClassDialogBase_CL::HandleMessage(message, wParam, lParam);
    if (message == WM_INITDIALOG) return FALSE;  // the focus is on the input already
    return result;
}
