#pragma once
// The version check's fixed texts and names: what the user sees, what goes on the wire, and
// the trace lines. The notice and the button labels are quoted exactly as users know them.

#include <windows.h>

// The maker's web server. The one place the host is named: the check asks this host for
// kVersionFilePath over plain HTTP on port 80.
inline constexpr wchar_t kUpdateHost[] = L"update.lumikino.jp";
inline constexpr wchar_t kVersionFilePath[] = L"Lumikino/Version.txt";
// The version this program announces itself as, compared with the one the server publishes.
inline constexpr wchar_t kOwnVersion[] = L"1.3.1";

inline constexpr wchar_t kUpdateCaption[] = L"Lumikino更新確認";
// The agent text keeps its ideographic space (U+3000) between the two words.
inline constexpr wchar_t kInternetAgent[] = L"Microsoft Internet\u3000Explorer";

// The notice, in pieces around the two versions.
inline constexpr wchar_t kNoticeHead[] = L"最新のバージョン";
inline constexpr wchar_t kNoticeMiddle[] =
    L"が公開されています。\r\nサイトへ移動しますか？\r\n\r\n　（現在インストールされているバージョンは";
inline constexpr wchar_t kNoticeTail[] = L"です。）\r\n";

inline constexpr wchar_t kTextGoToSite[] = L"　サイトへ移動する　";
inline constexpr wchar_t kTextNotifyLater[] = L"後日通知する　";

// When this file exists the site is not opened (the maker's own machine).
inline constexpr wchar_t kHomeMarkerFile[] = L"c:\\MyHome.txt";

// Trace lines of the network steps, written when the detail switch log_detail_other is on.
inline constexpr wchar_t kLogOpenFailed[] = L"InternetOpen()エラー = 0x%08x : %ls";
inline constexpr wchar_t kLogConnectFailed[] = L"InternetConnect()エラー = 0x%08x : %ls";
inline constexpr wchar_t kLogOpenRequestFailed[] = L"HttpOpenRequest()エラー = 0x%08x : %ls";
inline constexpr wchar_t kLogSendRequestFailed[] = L"HttpSendRequest()エラー = 0x%08x : %ls";
inline constexpr wchar_t kLogReadFailed[] = L"InternetReadFile()エラー = 0x%08x : %ls";
inline constexpr wchar_t kLogBadLength[] = L"Content-Length不正 = [%ls]";
inline constexpr wchar_t kLogShortBody[] = L"InternetReadFile()途中終了 = %u / %u";
