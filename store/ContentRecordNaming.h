#pragma once
// Names of content record files and the path hash that picks a record's bucket. Pure: no file
// system, no windows; the record files of older versions and of the album application use the
// same names, so every format here is a compatibility promise.

#include <cstdint>
#include <string>

#include "base/DataFolder_CL.h"

constexpr int kRecordIndexCount = 100000;     // contentsNNN-00000.ini ... contentsNNN-99999.ini
constexpr int kAlbumCount = 5;                // ALBUM_0001 ... ALBUM_0005
constexpr size_t kMaxPathUnits = 260;         // MAX_PATH, terminator included

// h = length; then h = h * 3 + unit for every UTF-16 unit, wrapping in 32 bits. The path is
// taken as it is: no case folding, no separator normalisation.
uint32_t HashPath(const std::wstring& path);
inline int BucketOfHash(uint32_t hash) { return static_cast<int>(hash % kContentBucketCount); }

// contentsFolder + "\NNN".
std::wstring RecordBucketFolder(const std::wstring& contentsFolder, int bucket);
// contentsFolder + "\NNN\contentsNNN-IIIII.ini".
std::wstring LocalRecordPath(const std::wstring& contentsFolder, int bucket, int index);
// "contentsNNN-IIIII.ini" (no folder).
std::wstring LocalRecordName(int bucket, int index);
// The record index of a file name of this bucket's form, compared without regard to case as the
// file system does; -1 for any other name.
int ParseLocalRecordIndex(const std::wstring& fileName, int bucket);

// The record beside the movie: the movie path with ".Lumikino.ini" appended. Empty for an empty
// movie path and when the result would not fit in MAX_PATH: such a movie has no shared record.
std::wstring SharedRecordPath(const std::wstring& moviePath);
// contentsFolder + "\zip_contents.ini": the throw-away record of a movie out of an archive.
std::wstring ZipRecordPath(const std::wstring& contentsFolder);
// albumRoot + "\ALBUM_%04d\contents\%03d".
std::wstring AlbumBucketFolder(const std::wstring& albumRoot, int album, int bucket);
// The album's picture of a record: the record path with its extension replaced by ".jpg".
std::wstring AlbumPicturePath(const std::wstring& albumRecordPath);

// The title a new record gets: the text after the last backslash, cut before its last dot.
std::wstring ContentNameFromPath(const std::wstring& moviePath);
