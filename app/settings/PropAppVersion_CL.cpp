#include "app/settings/PropAppVersion_CL.h"

#include <zlib.h>

#include "app/settings/SettingsTexts.h"
#include "ui/Edit_CL.h"
#include "ui/PageLayout_CL.h"

namespace {
constexpr size_t kVersionGroup = 0;
constexpr size_t kLibraryGroup = 2;
constexpr int kNoticeColumns = 52;
constexpr int kNoticeRows = 9;

std::wstring Widened(const char* text) {
    std::wstring wide;
    for (const char* c = text; *c; ++c) wide += static_cast<wchar_t>(static_cast<unsigned char>(*c));
    return wide;
}
}  // namespace

PropAppVersion_CL::PropAppVersion_CL(AppSettings& settings, std::function<void()> openSupportSite)
    : BoundSettingsPage_CL(kPageVersion, settings,
                           {
                               {kGroupVersion, {SettingRow::Label(kVersionText)}},
                               {kGroupNotify, {SettingRow::Check(kCheckNoNotify, &AppSettings::notify)}},
                               {kGroupLibraries, {}},
                           }),
      m_openSupportSite(std::move(openSupportSite)) {}

std::wstring PropAppVersion_CL::LibraryNotice() {
    return L"zlib " + Widened(ZLIB_VERSION) +
           L" (zip archives are unpacked with it)\r\n"
           L"Copyright (C) 1995-2024 Jean-loup Gailly and Mark Adler\r\n"
           L"\r\n"
           L"This software is provided 'as-is', without any express or implied warranty. "
           L"In no event will the authors be held liable for any damages arising from the use of this software.\r\n"
           L"\r\n"
           L"Permission is granted to anyone to use this software for any purpose, including commercial "
           L"applications, and to alter it and redistribute it freely, subject to the following restrictions:\r\n"
           L"\r\n"
           L"1. The origin of this software must not be misrepresented; you must not claim that you wrote the "
           L"original software. If you use this software in a product, an acknowledgment in the product "
           L"documentation would be appreciated but is not required.\r\n"
           L"2. Altered source versions must be plainly marked as such, and must not be misrepresented as "
           L"being the original software.\r\n"
           L"3. This notice may not be removed or altered from any source distribution.";
}

void PropAppVersion_CL::BuildGroupExtras(PageLayout_CL& layout, size_t group) {
    if (group == kVersionGroup) {
        m_siteButton = layout.Button(kButtonSupportSite);
    } else if (group == kLibraryGroup) {
        const int index = layout.Edit(kNoticeColumns, kNoticeRows, LibraryNotice());
        if (ControlBase_CL* notice = Controls().At(index)) ::SendMessageW(notice->Window(), EM_SETREADONLY, TRUE, 0);
    }
}

void PropAppVersion_CL::OnCommand(UINT controlId, UINT notifyCode, HWND control) {
    const ControlBase_CL* button = Controls().At(m_siteButton);
    if (button && control == button->Window() && notifyCode == BN_CLICKED) {
        if (m_openSupportSite) m_openSupportSite();
        return;  // opening the site changes no setting
    }
    BoundSettingsPage_CL::OnCommand(controlId, notifyCode, control);
}
