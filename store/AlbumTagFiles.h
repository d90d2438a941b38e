#pragma once
// The album application's files as the player reads and writes them: which album is current
// ("last_index" of Kinoshelf.ini), the album's tag history (TAG_HISTORY of
// ALBUM_%04d\AlbumInfo.ini) and a movie's tags (TAG_INFO of its content record). The album
// application reads and writes the same files, so every name here is a compatibility promise.
//
// Reading is bounded whatever a file says: at most kTagHistoryMax history entries and
// kMovieTagMax tags are read, each cut to kTagMaxChars, empty entries skipped. A missing file
// reads as empty lists and album 1.
//
// Thread: UI (the files are not locked against the album application; each call is one short
// sequence of profile calls).

#include <cstdint>
#include <string>
#include <vector>

constexpr wchar_t kAlbumRootName[] = L"Kinoshelf";            // under the documents folder
constexpr wchar_t kAlbumIndexFileName[] = L"Kinoshelf.ini";
constexpr wchar_t kSectionAlbumInfo[] = L"ALBUM_INFO";
constexpr wchar_t kKeyLastIndex[] = L"last_index";
constexpr wchar_t kAlbumFolderFormat[] = L"ALBUM_%04d";
constexpr wchar_t kAlbumInfoFileName[] = L"AlbumInfo.ini";
constexpr wchar_t kSectionTagHistory[] = L"TAG_HISTORY";      // in AlbumInfo.ini
constexpr wchar_t kSectionTagInfo[] = L"TAG_INFO";            // in a content record
constexpr wchar_t kKeyTagCount[] = L"count";
constexpr wchar_t kKeyTagItemStem[] = L"item";                // item0, item1, ...

// Album numbers are four digits in the folder name. A last_index outside 0 ... 9998 (a damaged
// or foreign file) names no album at all: the player then neither reads nor writes a history
// rather than guess at an album the user may not have.
constexpr int kFirstAlbumNumber = 1;
constexpr int kLastAlbumNumber = 9999;
constexpr int kNoAlbum = 0;

// The documents folder + "\Kinoshelf"; empty when the documents folder is unknown.
std::wstring UserAlbumRoot();

// Pure: an integer value as the profile functions read one: leading blanks, an optional sign,
// then decimal digits up to the first other character. No digits at all gives 0; an empty text
// gives defaultValue. Values beyond the 64-bit range saturate.
int64_t ParseProfileInteger(const std::wstring& text, int64_t defaultValue);

// Pure: the album the player uses for a last_index: last_index + 1, or kNoAlbum when that is
// not a four-digit album number.
int AlbumNumberOfLastIndex(int64_t lastIndex);
// The current album's number from albumRoot\Kinoshelf.ini (album 1 when the file or key is
// missing); kNoAlbum for an empty root or an unusable last_index. Never creates the file.
int ReadCurrentAlbumNumber(const std::wstring& albumRoot);

// Pure: albumRoot\ALBUM_%04d\AlbumInfo.ini; empty for an empty root or an album number outside
// kFirstAlbumNumber ... kLastAlbumNumber.
std::wstring AlbumInfoPath(const std::wstring& albumRoot, int album);

// A list of "count" and "item%d" keys. Reads at most maxEntries of items 0 ... count - 1
// (a negative count reads none), each cut to kTagMaxChars, empty ones skipped.
// Never creates the file.
std::vector<std::wstring> ReadTagList(const std::wstring& iniPath, const wchar_t* section, size_t maxEntries);

// Writes item0 ... item(n-1) and "count" = n, then deletes the "item%d" keys of the section at
// n and above that an earlier, longer list left behind. Writes nothing and answers false when
// the file is not there (createFile false) or its folder is missing (createFile true: a new
// file starts as UTF-16); false also when "count" does not read back as written.
bool WriteTagList(const std::wstring& iniPath, const wchar_t* section, const std::vector<std::wstring>& list,
                  bool createFile);

// The album's tag history, most recent first.
std::vector<std::wstring> ReadTagHistory(const std::wstring& albumInfoPath);
// Creates AlbumInfo.ini when its album folder exists; never creates the folder.
bool WriteTagHistory(const std::wstring& albumInfoPath, const std::vector<std::wstring>& history);

// The tags of a movie in its content record.
std::vector<std::wstring> ReadMovieTags(const std::wstring& recordPath);
// Writes only into an existing record: a record that has gone is not made again here.
bool WriteMovieTags(const std::wstring& recordPath, const std::vector<std::wstring>& tags);
