#pragma once
// Texts and command lines of the play-error dialog, the choice offered when a movie cannot be
// played: the caption with its error number, the message, the button labels, the help page
// and how Windows Media Player is started for the same movie.
// Pure: no windows, no shell calls; the dialog calls these and hands the results on.

#include <string>

// The number shown in the caption. It is fixed: the dialog is only ever shown for "the graph
// could not be built", whatever HRESULT the build returned.
constexpr unsigned kPlayErrorCode = 0x8001;

inline constexpr const wchar_t kPlayErrorCaptionFormat[] = L"再生できませんでした。(%04x)";
// The first sentence ends in CR LF and the question starts with one, so a blank line parts them.
// "サーポート" is the long-standing wording of this message; keep it as it is.
inline constexpr const wchar_t kPlayErrorMessage[] =
    L"映像データが見つけられませんでした。コーデックが存在しないか、対応していないファイルです。\r\n"
    L"\r\nサーポートサイトで情報を確認しますか？";
inline constexpr const wchar_t kPlayErrorSupportButton[] = L"サポートサイトへ";
inline constexpr const wchar_t kPlayErrorMediaPlayerButton[] = L"MediaPlayerで再生する";
inline constexpr const wchar_t kPlayErrorCancelButton[] = L"キャンセル";

// The support site: its help page for movies that do not play, and the product page the
// picture menu opens. The one place the addresses live.
inline constexpr const wchar_t kPlayErrorHelpPageUrl[] = L"https://support.lumikino.example/help/play-error.html";
inline constexpr const wchar_t kSupportProductPageUrl[] = L"https://support.lumikino.example/Lumikino/";

// Appended to the Program Files folder to reach Windows Media Player.
inline constexpr const wchar_t kMediaPlayerRelativePath[] = L"\\Windows Media Player\\wmplayer.exe";

// The caption for code: kPlayErrorCaptionFormat with code as at least four lower-case hex digits.
std::wstring PlayErrorCaption(unsigned code);

// programFiles + "\Windows Media Player\wmplayer.exe"; a trailing backslash on the folder is
// not doubled. Empty when the folder is empty (there is nothing to start then).
std::wstring MediaPlayerPathIn(const std::wstring& programFiles);

// argument as one command-line argument that the C runtime and CommandLineToArgvW read back
// unchanged: always inside double quotes (so spaces, tabs and commas stay in it), embedded
// quotes escaped with a backslash, and backslashes doubled where they come before a quote
// (including the closing one, so a folder path ending in "\" does not swallow it).
std::wstring QuoteCommandLineArgument(const std::wstring& argument);
