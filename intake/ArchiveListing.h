#pragma once
// The movies of a zip archive as play list entries: each lies in the archive until it is about
// to play, and its path is where it will be unpacked.
// Thread: UI (it appends to the play list).

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class PlayList_CL;
class Zip_CL;

// Appends an archive entry to list for every central record of the scanned archive that is a
// file (DOS archive attribute), whose name is safe to unpack into unpackFolder, and whose
// lower-cased extension is one of extensions. Each entry holds the archive. A name refused as
// unsafe is logged, one line each. Returns how many entries were appended.
size_t ListArchiveEntries(std::shared_ptr<Zip_CL> archive, const std::wstring& unpackFolder,
                          const std::vector<std::wstring>& extensions, PlayList_CL& list);
