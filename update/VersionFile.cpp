#include "update/VersionFile.h"

#include "update/UpdateTexts.h"

namespace {
std::wstring Widen(const std::string& bytes, size_t offset, size_t count) {
    std::wstring text;
    text.reserve(count);
    for (size_t i = offset; i < offset + count; ++i) {
        text.push_back(static_cast<wchar_t>(static_cast<unsigned char>(bytes[i])));
    }
    return text;
}

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix) {
    size_t i = 0;
    for (; prefix[i]; ++i) {
        if (i >= text.size()) return false;
        wchar_t c = text[i];
        if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
        if (c != prefix[i]) return false;
    }
    return true;
}
}  // namespace

VersionFile ParseVersionFile(const std::string& body) {
    VersionFile file;
    if (!body.empty() && body[0] == '<') {
        file.version = kPageVersion;
    } else {
        size_t length = 0;
        // A line end is not part of the version: a five-character version followed by CR LF
        // must equal the same version of this program, not count as newer.
        while (length < body.size() && length < kMaxVersionBytes && body[length] != '\0' &&
               body[length] != '\r' && body[length] != '\n') {
            ++length;
        }
        file.version = Widen(body, 0, length);
    }
    if (body.size() >= kAddressOffset + kAddressLineEndBytes) {
        file.address = Widen(body, kAddressOffset, body.size() - kAddressOffset - kAddressLineEndBytes);
        file.hasAddress = true;
    }
    return file;
}

bool IsOlderVersion(const std::wstring& version, const std::wstring& than) {
    return version.compare(than) < 0;
}

bool IsOpenableAddress(const std::wstring& address) {
    size_t schemeLength = 0;
    if (StartsWithNoCase(address, L"http://")) {
        schemeLength = 7;
    } else if (StartsWithNoCase(address, L"https://")) {
        schemeLength = 8;
    } else {
        return false;
    }
    if (address.size() <= schemeLength || address[schemeLength] == L'/') return false;  // no host
    for (wchar_t c : address) {
        if (c <= 0x20 || c >= 0x7F) return false;
    }
    return true;
}

std::wstring MakeNoticeText(const std::wstring& remoteVersion, const std::wstring& ownVersion) {
    return std::wstring(kNoticeHead) + remoteVersion + kNoticeMiddle + ownVersion + kNoticeTail;
}
