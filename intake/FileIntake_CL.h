#pragma once
// File intake: every path that reaches the player (dropped on the main window, chosen in the
// open-file dialog, given on the command line or by a second instance, picked in the history,
// dropped on the play list dialog) is classified here. A folder is scanned for movies, play
// lists and archives go into the play list as a whole, and a single movie is opened at once.
// The main window owns one instance next to its play list and is its host.
// Thread: UI for every method.

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <utility>
#include <vector>

class FileIntakeHost_CL;
class PlayList_CL;

class FileIntake_CL {
public:
    FileIntake_CL(PlayList_CL& playList, FileIntakeHost_CL& host);

    // Where the drop-extension list is read from; beside the program unless set.
    void SetExtListPath(std::wstring path) { m_extListPath = std::move(path); }
    std::wstring ExtListPath() const;
    // Where archive entries unpack; "\Lumikino\zip" under Documents unless set.
    void SetUnpackFolder(std::wstring folder) { m_unpackFolder = std::move(folder); }
    std::wstring UnpackFolder() const;

    // Takes in one path. A folder is scanned into the play list (the list is not cleared);
    // play lists and archives are appended; anything else is opened at once when playNow is
    // set, and otherwise left alone. With playNow still set and a non-empty list, the list is
    // started. Then the path is remembered as the last input, added to the history, and the
    // play list dialog refreshed.
    void OpenPath(const std::wstring& path, bool playNow);

    // Files dropped on the main window, in drop order. The play list is cleared first. One
    // path goes through OpenPath and plays. Of several, play lists and archives are read and
    // every other path (a folder as well) becomes one entry; the list is then completed with
    // each entry's name, size, time and rating, sorted by name, and played from entry 0.
    void HandleDrop(const std::vector<std::wstring>& paths);
    // The same for a drop as WM_DROPFILES delivers it; the drop is finished here.
    void HandleDrop(HDROP drop);

    // Reads every path of a drop and finishes the drop (DragFinish), which frees it.
    static std::vector<std::wstring> TakeDroppedPaths(HDROP drop);
    // The buffer each dropped path is read into, terminator included; longer paths are cut.
    static constexpr UINT kDropPathUnits = 520;

private:
    void CreateUnpackFolder(const std::wstring& folder);

    PlayList_CL& m_playList;
    FileIntakeHost_CL& m_host;
    std::wstring m_extListPath;
    std::wstring m_unpackFolder;
};
