#pragma once
// The page 関連付け, in the layout the operating system calls for: before major version 6, a
// list of the launch extensions with a check box each (checked: this program handles it)
// and the buttons "全て選択" and "選択を解除"; from version 6 on, the buttons that hand the
// associations to the system's own dialog and register them anew. The registry is never
// written from here: the elevated association helper does that from a request file.
// Thread: UI only.

#include <vector>

#include "assoc/AssocLauncher_CL.h"
#include "store/LaunchExtension.h"
#include "ui/PropertyPage_CL.h"

class ListView_CL;

class PropAppFileExtention_CL : public PropertyPage_CL {
public:
    // majorVersion: what GetVersionExW reports; below 6 the list layout is used. The launcher
    // writes the request and starts the helper (the running player's paths by default).
    PropAppFileExtention_CL(std::vector<LaunchExtension> extensions, DWORD majorVersion,
                            AssocLauncher_CL launcher = AssocLauncher_CL());

    bool ListLayout() const { return m_majorVersion < 6; }
    SIZE BuildControls(HWND parent) override;
    // While the list layout is open: the list, and whether each row is checked.
    ListView_CL* List() const;
    std::vector<bool> CheckedRows() const;
    // The records as the page's last request left them (associated flag, current handler).
    const std::vector<LaunchExtension>& Extensions() const { return m_extensions; }
    // How many requests the page has sent (written and the helper started or not).
    int RequestCount() const { return m_requestCount; }

protected:
    void LoadValues() override;
    // The list layout's apply: a request for the rows whose check changed, even for none.
    void ApplyValues() override;
    void OnCommand(UINT controlId, UINT notifyCode, HWND control) override;
    LRESULT OnNotify(const NMHDR& header) override;

private:
    void CheckAll(bool checked);
    void RegisterAll();
    void OpenSystemDialog();

    std::vector<LaunchExtension> m_extensions;
    DWORD m_majorVersion;
    int m_list = -1;
    int m_selectAll = -1;
    int m_clearAll = -1;
    int m_systemDialog = -1;
    int m_registerAll = -1;
    AssocLauncher_CL m_launcher;
    int m_requestCount = 0;
};
