#pragma once
// The page バージョン情報: the program's version with a button to the support site, whether
// newer versions are announced, and the copyright notice of the zlib library the program
// carries to unpack zip archives.
// Thread: UI only.

#include <functional>

#include "app/settings/BoundSettingsPage_CL.h"

class PropAppVersion_CL : public BoundSettingsPage_CL {
public:
    PropAppVersion_CL(AppSettings& settings, std::function<void()> openSupportSite);

    // The notice shown for the libraries: zlib's version and licence.
    static std::wstring LibraryNotice();

protected:
    void BuildGroupExtras(PageLayout_CL& layout, size_t group) override;
    void OnCommand(UINT controlId, UINT notifyCode, HWND control) override;

private:
    std::function<void()> m_openSupportSite;
    int m_siteButton = -1;
};
