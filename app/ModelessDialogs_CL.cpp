#include "app/ModelessDialogs_CL.h"

#include <algorithm>

void ModelessDialogs_CL::Add(HWND dialog) {
    if (!dialog) return;
    if (std::find(m_dialogs.begin(), m_dialogs.end(), dialog) != m_dialogs.end()) return;
    m_dialogs.push_back(dialog);
}

void ModelessDialogs_CL::Remove(HWND dialog) {
    m_dialogs.erase(std::remove(m_dialogs.begin(), m_dialogs.end(), dialog), m_dialogs.end());
}

HWND ModelessDialogs_CL::DialogHolding(HWND target) {
    if (!target || m_dialogs.empty()) return nullptr;
    // A dialog that forgot to unregister before its window went would otherwise stay here for
    // ever, and its handle could later name an unrelated window.
    m_dialogs.erase(std::remove_if(m_dialogs.begin(), m_dialogs.end(),
                                   [](HWND dialog) { return !::IsWindow(dialog); }),
                    m_dialogs.end());
    for (HWND dialog : m_dialogs) {
        if (dialog == target || ::IsChild(dialog, target)) return dialog;
    }
    return nullptr;
}
