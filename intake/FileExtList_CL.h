#pragma once
// The drop-extension list: which extensions count as movies when a folder is scanned, an
// archive is listed or files are dropped on the play list. Read from "LumikinoDropFileExt.ini"
// beside the program each time a list is made, plus four built-in extensions, so a user can
// add extensions by editing that file without the program ever writing it.
// Thread: any; an instance is not shared between threads.

#include <string>
#include <vector>

class FileExtList_CL {
public:
    // Appended after the file's entries, each unless the file already named it.
    static constexpr const wchar_t* kBuiltIn[] = {L".flv", L".rm", L".vob", L".iso"};
    // More entries than this are not read: a damaged count must not stall the scan.
    static constexpr int kMaxFileEntries = 4096;

    // Reads the file beside the program.
    FileExtList_CL();
    // Reads the file at the path (which is never created). A missing file gives only the
    // built-in extensions.
    explicit FileExtList_CL(const std::wstring& iniPath);

    // "LumikinoDropFileExt.ini" in the folder of the program's own executable.
    static std::wstring DefaultIniPath();

    // True when the extension, lower-cased, is in the list.
    bool Contains(const std::wstring& extension) const;
    // The list in order: the file's entries (lower-cased, no empty ones, no duplicates), then
    // the built-in ones not yet present.
    const std::vector<std::wstring>& Extensions() const { return m_extensions; }

private:
    void Load(const std::wstring& iniPath);
    void AddUnique(const std::wstring& lowerExtension);

    std::vector<std::wstring> m_extensions;
};
