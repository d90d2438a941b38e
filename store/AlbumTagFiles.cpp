#include "store/AlbumTagFiles.h"

#include <windows.h>

#include <algorithm>
#include <limits>

#include "base/DataFolder_CL.h"
#include "base/TextFormat.h"
#include "store/Inifile_CL.h"
#include "store/TagRules.h"

namespace {

bool IsFile(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFolder(const std::wstring& path) {
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring FolderOf(const std::wstring& path) {
    size_t slash = path.find_last_of(L'\\');
    return slash == std::wstring::npos ? std::wstring() : path.substr(0, slash);
}

// The index of a key "item<digits>" (the profile functions compare keys without regard to
// case), -1 for any other key. Only the form MakeIndexedKey writes counts: "item05" is not
// item 5 to a reader and is left alone. An index too long for int is returned as INT_MAX.
int ItemIndexOfKey(const std::wstring& key) {
    const size_t stem = std::char_traits<wchar_t>::length(kKeyTagItemStem);
    if (key.size() <= stem || ::CompareStringOrdinal(key.c_str(), static_cast<int>(stem), kKeyTagItemStem,
                                                     static_cast<int>(stem), TRUE) != CSTR_EQUAL) {
        return -1;
    }
    if (key[stem] == L'0' && key.size() > stem + 1) return -1;
    int64_t index = 0;
    for (size_t i = stem; i < key.size(); ++i) {
        if (key[i] < L'0' || key[i] > L'9') return -1;
        index = std::min<int64_t>(index * 10 + (key[i] - L'0'), std::numeric_limits<int>::max());
    }
    return static_cast<int>(index);
}

}  // namespace

std::wstring UserAlbumRoot() {
    std::wstring documents = DataFolder_CL::DocumentsFolder();
    if (documents.empty()) return std::wstring();
    return documents + L"\\" + kAlbumRootName;
}

int64_t ParseProfileInteger(const std::wstring& text, int64_t defaultValue) {
    if (text.empty()) return defaultValue;
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == L'-' || text[i] == L'+')) negative = text[i++] == L'-';
    // Saturating well inside the range keeps the arithmetic free of overflow.
    constexpr int64_t kSaturated = std::numeric_limits<int64_t>::max() / 16;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        value = value >= kSaturated ? kSaturated : value * 10 + (text[i] - L'0');
    }
    return negative ? -value : value;
}

int AlbumNumberOfLastIndex(int64_t lastIndex) {
    if (lastIndex < kFirstAlbumNumber - 1 || lastIndex > kLastAlbumNumber - 1) return kNoAlbum;
    return static_cast<int>(lastIndex + 1);
}

int ReadCurrentAlbumNumber(const std::wstring& albumRoot) {
    if (albumRoot.empty()) return kNoAlbum;
    Inifile_CL file;
    file.Bind(albumRoot + L"\\" + kAlbumIndexFileName);
    return AlbumNumberOfLastIndex(ParseProfileInteger(file.GetString(kSectionAlbumInfo, kKeyLastIndex, L""), 0));
}

std::wstring AlbumInfoPath(const std::wstring& albumRoot, int album) {
    if (albumRoot.empty() || album < kFirstAlbumNumber || album > kLastAlbumNumber) return std::wstring();
    return albumRoot + L"\\" + FormatString(kAlbumFolderFormat, album) + L"\\" + kAlbumInfoFileName;
}

std::vector<std::wstring> ReadTagList(const std::wstring& iniPath, const wchar_t* section, size_t maxEntries) {
    std::vector<std::wstring> list;
    if (iniPath.empty()) return list;
    Inifile_CL file;
    file.Bind(iniPath);
    int64_t count = ParseProfileInteger(file.GetString(section, kKeyTagCount, L""), 0);
    // The count is only a bound: a damaged file's 2147483647 costs no more than maxEntries reads.
    count = std::clamp<int64_t>(count, 0, static_cast<int64_t>(maxEntries));
    for (int i = 0; i < count; ++i) {
        std::wstring item = CutTag(file.GetString(section, MakeIndexedKey(kKeyTagItemStem, i), L""));
        if (!item.empty()) list.push_back(std::move(item));
    }
    return list;
}

bool WriteTagList(const std::wstring& iniPath, const wchar_t* section, const std::vector<std::wstring>& list,
                  bool createFile) {
    if (iniPath.empty()) return false;
    Inifile_CL file;
    if (createFile) {
        if (!IsFolder(FolderOf(iniPath))) return false;
        file.Open(iniPath);
    } else {
        file.Bind(iniPath);
    }
    if (!IsFile(iniPath)) return false;

    const int count = static_cast<int>(std::min<size_t>(list.size(), std::numeric_limits<int>::max()));
    for (int i = 0; i < count; ++i) file.WriteString(section, MakeIndexedKey(kKeyTagItemStem, i), list[i]);
    file.WriteInt(section, kKeyTagCount, count);

    // A shorter list leaves the old items behind its end; readers stop at "count", but the
    // album application or a person reading the file should not see tags that were dropped.
    for (const auto& entry : file.GetSectionEntries(section)) {
        if (ItemIndexOfKey(entry.first) >= count) {
            ::WritePrivateProfileStringW(section, entry.first.c_str(), nullptr, iniPath.c_str());
        }
    }
    return ParseProfileInteger(file.GetString(section, kKeyTagCount, L""), -1) == count;
}

std::vector<std::wstring> ReadTagHistory(const std::wstring& albumInfoPath) {
    return ReadTagList(albumInfoPath, kSectionTagHistory, kTagHistoryMax);
}

bool WriteTagHistory(const std::wstring& albumInfoPath, const std::vector<std::wstring>& history) {
    return WriteTagList(albumInfoPath, kSectionTagHistory, history, true);
}

std::vector<std::wstring> ReadMovieTags(const std::wstring& recordPath) {
    return ReadTagList(recordPath, kSectionTagInfo, kMovieTagMax);
}

bool WriteMovieTags(const std::wstring& recordPath, const std::vector<std::wstring>& tags) {
    return WriteTagList(recordPath, kSectionTagInfo, tags, false);
}
