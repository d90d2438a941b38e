#pragma once
// What file intake asks of the main window. Intake decides what a path is and fills the play
// list; loading content, reading play list files and archives, the history and the play list
// dialog stay with their owners, reached through this interface.
// Thread: UI; every call comes from within FileIntake_CL's methods.

#include <string>

class FileIntakeHost_CL {
public:
    virtual ~FileIntakeHost_CL() = default;

    // Open this movie at once as the current content (a direct load request); the play list
    // is not involved.
    virtual void OpenContentNow(const std::wstring& path) = 0;
    // Start playing the play list at its current entry (a load request that takes the entry
    // at the list's next index).
    virtual void PlayListCurrentEntry() = 0;

    // Append the entries of an ASX play list (".asx", ".wvx", ".wax") to the play list.
    virtual void ReadAsxPlayList(const std::wstring& path) = 0;
    // Append the entries of a text play list (".playlist") to the play list.
    virtual void ReadTextPlayList(const std::wstring& path) = 0;
    // List the movie entries of a zip archive into the play list as archive entries that
    // unpack into unpackFolder (which intake has created) when they are played.
    virtual void ListArchive(const std::wstring& archivePath, const std::wstring& unpackFolder) = 0;

    // Keep the path as the last input: key kLastInputPathKey in section kLastInputSection
    // (intake/IntakeKeys.h) of the main window's settings file.
    virtual void RememberLastInput(const std::wstring& path) = 0;
    // Add the path to the play history.
    virtual void AddHistory(const std::wstring& path) = 0;
    // The play list changed: let the play list dialog rebuild its rows.
    virtual void RefreshPlayListDialog() = 0;

    // A play list row's content record, looked up without creating one and read without
    // counting a play: true with its name and star rating when the movie has one.
    virtual bool ReadRowRecord(const std::wstring& moviePath, std::wstring* contentName,
                               int* starCount) = 0;
};
