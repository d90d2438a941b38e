#pragma once
// The version file the maker's server publishes, and the rules around it: reading its body,
// ordering versions, the notice text, and which site addresses may be opened.
// Pure: no windows, no network. Thread: any.

#include <cstddef>
#include <string>

// The body's layout: the version in the first bytes (up to 7), its line end, and from offset 9
// the site address followed by a 2-byte line end.
constexpr size_t kMaxVersionBytes = 7;
constexpr size_t kAddressOffset = 9;
constexpr size_t kAddressLineEndBytes = 2;
// A body that starts with "<" is a web page (an error page, say), not a version file.
inline constexpr wchar_t kPageVersion[] = L"0.0.0.0";

struct VersionFile {
    std::wstring version;
    std::wstring address;     // empty when the body is too short to hold one
    bool hasAddress = false;
};

// Reads a body: each byte is taken as one character (the file is plain ASCII). The version
// ends at the first NUL or line-end byte or after 7 bytes, whichever comes first.
VersionFile ParseVersionFile(const std::string& body);

// Versions are ordered as plain strings by code value, a proper prefix counting as smaller:
// "1.3.1" < "1.3.2", and "1.3.10" < "1.3.9".
bool IsOlderVersion(const std::wstring& version, const std::wstring& than);

// Only a web address is ever handed to the shell: "http://" or "https://" (any letter case)
// followed by a host, and nothing but printable ASCII without spaces. A file path, another
// scheme or a control character would let a forged body run something on the user's machine.
bool IsOpenableAddress(const std::wstring& address);

// The notice shown for a remote version.
std::wstring MakeNoticeText(const std::wstring& remoteVersion, const std::wstring& ownVersion);
