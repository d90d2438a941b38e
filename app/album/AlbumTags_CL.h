#pragma once
// "Add tags" for the movie now playing: the current album's tag history offered as buttons in
// the tag dialog, the words typed added to the movie's tags (TAG_INFO of its record) and to the
// front of the history (TAG_HISTORY of the album's AlbumInfo.ini), and the album application
// told which movie changed.
//
// A movie without a content record gets nothing: not its tags, not even the history. Missing
// album files read as an empty history of album 1; none of this shows a message.
//
// Thread: UI.

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

class AlbumTagsHost_CL;

enum class AddTagsOutcome {
    NoInput,       // the dialog was closed, or its input held no word
    NoRecord,      // the movie has no content record: nothing written
    MovieChanged,  // another movie was loaded while the dialog was open: nothing written
    Written,       // the tags were written (the history too, where the album has a folder)
    WriteFailed,   // the record could not be written; the album application was not told
};

class AlbumTags_CL {
public:
    static constexpr int kInputLimitCharacters = 256;

    // Returns the input for the history's words; empty when the user closed the dialog.
    using AskInput = std::function<std::wstring(HWND owner, const std::vector<std::wstring>& history)>;
    // Tells the album application that the movie's record changed.
    using Notify = std::function<void(const std::wstring& moviePath)>;

    struct Options {
        std::wstring albumRoot;  // the documents folder's "\Kinoshelf"
        AskInput askInput;       // AskWithDialog unless given
        Notify notify;           // SendAlbumNotice from the host's window unless given
    };

    // The user's album folder, the tag dialog and the real notice.
    explicit AlbumTags_CL(AlbumTagsHost_CL& host);
    AlbumTags_CL(AlbumTagsHost_CL& host, Options options);
    // The default notice holds this object's address.
    AlbumTags_CL(const AlbumTags_CL&) = delete;
    AlbumTags_CL& operator=(const AlbumTags_CL&) = delete;

    // Thread: UI. Runs the whole command; returns while the dialog is closed again.
    AddTagsOutcome AddTags();

    // Thread: UI. The tag dialog: caption, prompt, an empty input of at most
    // kInputLimitCharacters, one button per history word. The input OK took; empty when closed.
    static std::wstring AskWithDialog(HWND owner, const std::vector<std::wstring>& history);

private:
    AlbumTagsHost_CL& m_host;
    Options m_options;
};
