// The play history on a real dialog with a stand-in player: the file after plays, the 101st
// play, replays, recording switched off, the old PATH form, sizes past 4 GiB, and the rows on
// network shares that a background job completes.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <winioctl.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "app/history/DialogHistory_CL.h"
#include "app/history/HistoryDialogHost_CL.h"
#include "store/AppSettings.h"
#include "store/Inifile_CL.h"
#include "tests/support/IniMap.h"
#include "tests/support/PlayerProcess_CL.h"
#include "tests/support/TempFolder_CL.h"
#include "tests/ui/HostWindow_CL.h"
#include "ui/CheckBox_CL.h"

namespace {

class FakeHost : public HistoryDialogHost_CL {
public:
    void PlayHistoryPath(const std::wstring& path) override { played.push_back(path); }
    std::wstring LoadedMoviePath() const override { return L""; }
    void CloseContentThenPost(HWND window, UINT message) override { ::PostMessageW(window, message, 0, 0); }
    bool ReadRowRecord(const std::wstring& moviePath, std::wstring* contentName, int* starCount) override {
        auto found = records.find(moviePath);
        if (found == records.end()) return false;
        *contentName = found->second.first;
        *starCount = found->second.second;
        return true;
    }
    void SetModalDialogOpen(bool open) override { modal = open; }

    std::map<std::wstring, std::pair<std::wstring, int>> records;  // title and stars by path
    std::vector<std::wstring> played;
    bool modal = false;
};

class DialogHistoryTest : public ::testing::Test {
protected:
    DialogHistoryTest() {
        Inifile_CL::CreateIfMissing(SettingsPath());
        m_settings.Load(SettingsPath());
        Inifile_CL::CreateIfMissing(HistoryPath());
    }
    std::wstring SettingsPath() const { return m_folder.Join(L"Lumikino.ini"); }
    std::wstring HistoryPath() const { return m_folder.Join(L"LumikinoHistory.ini"); }
    std::wstring MakeFile(const std::wstring& name, size_t bytes = 16) {
        const std::wstring path = m_folder.Join(name);
        WriteFileBytes(path, std::string(bytes, 'x'));
        return path;
    }
    DialogHistory_CL::Options Options(HistoryMetaJob_CL::Reader reader = nullptr, DWORD waitMs = 15000) const {
        DialogHistory_CL::Options options;
        options.historyPath = HistoryPath();
        options.jobWaitMs = waitMs;
        options.networkReader = std::move(reader);
        return options;
    }
    std::wstring Value(int slot, const wchar_t* key) const {
        wchar_t value[1024] = {};
        ::GetPrivateProfileStringW((L"item" + std::to_wstring(slot)).c_str(), key, L"", value, 1024,
                                   HistoryPath().c_str());
        return value;
    }
    static HWND RowsOf(const DialogHistory_CL& dialog) {
        return ::FindWindowExW(dialog.Window(), nullptr, WC_LISTVIEWW, nullptr);
    }
    static std::wstring Cell(HWND rows, int row, int column) {
        wchar_t text[260] = {};
        LVITEMW item{};
        item.iSubItem = column;
        item.pszText = text;
        item.cchTextMax = 260;
        ::SendMessageW(rows, LVM_GETITEMTEXTW, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        return text;
    }

    TempFolder_CL m_folder;
    AppSettings m_settings;
    FakeHost m_host;
    HostWindow_CL m_parent;
};

TEST_F(DialogHistoryTest, PlaysAreWrittenAsAHundredSlotsMostRecentFirst) {
    const std::wstring a = MakeFile(L"a.mp4"), b = MakeFile(L"b 2.avi"), c = MakeFile(L"c.mkv");
    m_host.records[b] = {L"題名", 3};
    DialogHistory_CL dialog(m_host, m_settings, Options());
    ASSERT_EQ(dialog.Create(m_parent.Get()), S_OK);
    for (const std::wstring& path : {a, b, c, b}) dialog.AddHistory(path);

    // UTF-16 with its mark, and the sections in slot order.
    const std::string bytes = ReadFileBytes(HistoryPath());
    ASSERT_GE(bytes.size(), 2u);
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(bytes[1]), 0xFE);
    std::vector<wchar_t> names(65536);
    const DWORD length = ::GetPrivateProfileSectionNamesW(names.data(), 65536, HistoryPath().c_str());
    const std::vector<std::wstring> sections = SplitProfileList(names, length);
    ASSERT_EQ(sections.size(), 100u);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(sections[static_cast<size_t>(i)], L"item" + std::to_wstring(i));

    struct Slot {
        std::wstring path, name;
    };
    const Slot expected[] = {
        {L"|03|" + b, L"題名"},  // the replay moved it to the top, with its record's title and rating
        {L"|00|" + c, L"c"},
        {L"|00|" + a, L"a"},
    };
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(Value(i, L"PATH"), expected[i].path) << i;
        EXPECT_EQ(Value(i, L"NAME"), expected[i].name) << i;
    }
    for (int i = 3; i < 100; ++i) {
        EXPECT_EQ(Value(i, L"PATH"), L"") << i;
        EXPECT_EQ(Value(i, L"NAME"), L"") << i;
    }
    // The rows show the same, with the cells of the columns.
    HWND rows = RowsOf(dialog);
    ASSERT_NE(rows, nullptr);
    ASSERT_EQ(::SendMessageW(rows, LVM_GETITEMCOUNT, 0, 0), 3);
    EXPECT_EQ(Cell(rows, 0, 0), L"題名");
    EXPECT_EQ(Cell(rows, 0, 1), L".avi");
    EXPECT_EQ(Cell(rows, 0, 2), L"★★★");
    EXPECT_EQ(Cell(rows, 0, 3), L"16");
    EXPECT_EQ(Cell(rows, 0, 5), m_folder.Path());
    EXPECT_NE(Cell(rows, 0, 4), L"?????");

    // A rating changed in the player reaches the row and the file.
    m_host.records[b] = {L"題名", 5};
    dialog.RefreshEntry(b);
    EXPECT_EQ(Cell(rows, 0, 2), L"★★★★★");
    EXPECT_EQ(Value(0, L"PATH"), L"|05|" + b);
}

TEST_F(DialogHistoryTest, TheHundredAndFirstMovieDropsTheOldestAndAMissingFileShowsUnknown) {
    // A hundred plays already: movie99 the latest, movie0 the oldest.
    std::vector<HistorySlot> full;
    for (int i = 99; i >= 0; --i) {
        HistorySlot slot;
        slot.path = L"C:\\nowhere\\movie" + std::to_wstring(i) + L".mp4";
        slot.prefixed = true;
        full.push_back(slot);
    }
    Inifile_CL file;
    file.Bind(HistoryPath());
    ASSERT_TRUE(WriteHistory(file, full));
    DialogHistory_CL dialog(m_host, m_settings, Options());
    dialog.AddHistory(L"C:\\nowhere\\movie100.mp4");
    ASSERT_EQ(dialog.Entries().size(), 100u);
    EXPECT_EQ(Value(0, L"PATH"), L"|00|C:\\nowhere\\movie100.mp4");
    EXPECT_EQ(Value(99, L"PATH"), L"|00|C:\\nowhere\\movie1.mp4");
    EXPECT_EQ(HistoryCellText(dialog.Entries()[0], kHistoryColumnSize), L"?????");
    EXPECT_EQ(HistoryCellText(dialog.Entries()[0], kHistoryColumnModified), L"?????");
    // Replaying the oldest moves it up; nothing is lost or doubled.
    dialog.AddHistory(L"C:\\nowhere\\movie1.mp4");
    EXPECT_EQ(Value(0, L"PATH"), L"|00|C:\\nowhere\\movie1.mp4");
    EXPECT_EQ(Value(99, L"PATH"), L"|00|C:\\nowhere\\movie2.mp4");
    EXPECT_EQ(dialog.Entries().size(), 100u);
}

TEST_F(DialogHistoryTest, OldPlainPathsAndHandEditedDigitsRead) {
    const std::wstring a = MakeFile(L"old.mp4");
    const std::wstring folder = m_folder.Join(L"sub");
    ::CreateDirectoryW(folder.c_str(), nullptr);
    m_host.records[a] = {L"記録の題名", 4};
    Inifile_CL file;
    file.Bind(HistoryPath());
    file.WriteString(L"item0", L"PATH", a);  // the older form: the name and stars from the record
    file.WriteString(L"item0", L"NAME", L"捨てられる名前");
    file.WriteString(L"item3", L"PATH", L"|97|" + folder);  // a gap, and digits out of range
    file.WriteString(L"item3", L"NAME", L"手で書いた");
    DialogHistory_CL dialog(m_host, m_settings, Options());
    dialog.LoadHistory();
    ASSERT_EQ(dialog.Entries().size(), 2u);
    EXPECT_EQ(dialog.Entries()[0].path, a);
    EXPECT_EQ(dialog.Entries()[0].name, L"記録の題名");
    EXPECT_EQ(dialog.Entries()[0].stars, 4);
    EXPECT_EQ(dialog.Entries()[1].path, folder);
    EXPECT_EQ(dialog.Entries()[1].name, L"手で書いた");
    EXPECT_EQ(dialog.Entries()[1].directory, 0);
    EXPECT_EQ(dialog.Entries()[1].stars, 0);
    // A played folder is detected as one and shows "<dir>".
    dialog.AddHistory(folder);
    EXPECT_EQ(Value(0, L"PATH"), L"|10|" + folder);
    EXPECT_EQ(HistoryCellText(dialog.Entries()[0], kHistoryColumnSize), L"<dir>");
}

TEST_F(DialogHistoryTest, SizesPastFourGibibytesAreRead) {
    const std::wstring path = m_folder.Join(L"big.mkv");
    {
        HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD returned = 0;
        ::DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
        LARGE_INTEGER end{};
        end.QuadPart = 5LL * 1024 * 1024 * 1024 + 7;
        ASSERT_TRUE(::SetFilePointerEx(file, end, nullptr, FILE_BEGIN));
        ASSERT_TRUE(::SetEndOfFile(file));
        ::CloseHandle(file);
    }
    HistoryEntry entry;
    entry.path = path;
    FillHistoryEntry(entry, true, true, nullptr);
    EXPECT_EQ(entry.size, 5LL * 1024 * 1024 * 1024 + 7);
    EXPECT_EQ(HistoryCellText(entry, kHistoryColumnSize), L"5,368,709,127");
    // The handle is closed again: the file can be deleted at once.
    EXPECT_TRUE(::DeleteFileW(path.c_str()));
}

// Answers the confirmation of "再生履歴を記録しない" with the given button once it shows.
std::thread AnswerConfirmation(int button, std::atomic<bool>* answered) {
    return std::thread([button, answered] {
        HWND box = nullptr;
        if (!WaitUntil([&] { return (box = ::FindWindowW(L"#32770", DialogHistory_CL::kEraseCaption)) != nullptr; },
                       10000)) {
            return;
        }
        ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
        *answered = true;
    });
}

TEST_F(DialogHistoryTest, SwitchingRecordingOffAsksAndItsYesEmptiesEverySlot) {
    const std::wstring a = MakeFile(L"a.mp4"), b = MakeFile(L"b.mp4");
    DialogHistory_CL dialog(m_host, m_settings, Options());
    ASSERT_EQ(dialog.Create(m_parent.Get()), S_OK);
    dialog.AddHistory(a);
    dialog.AddHistory(b);
    HWND box = ::FindWindowExW(dialog.Window(), nullptr, L"Button", DialogHistory_CL::kNoRecordText);
    ASSERT_NE(box, nullptr);

    // No: the setting is written, the history stays.
    std::atomic<bool> answered{false};
    std::thread answer = AnswerConfirmation(IDNO, &answered);
    ::SendMessageW(box, BM_CLICK, 0, 0);
    answer.join();
    ASSERT_TRUE(answered);
    EXPECT_EQ(m_settings.write_history, 1);
    EXPECT_EQ(ReadIniMap(SettingsPath())[std::make_pair(std::wstring(L"SETTING"), std::wstring(L"write_history"))],
              L"1");
    EXPECT_EQ(Value(0, L"PATH"), L"|00|" + b);
    // Recording is off: a play adds nothing.
    dialog.AddHistory(MakeFile(L"c.mp4"));
    EXPECT_EQ(Value(0, L"PATH"), L"|00|" + b);

    // On again, then off with Yes: every PATH empty, the names left alone.
    ::SendMessageW(box, BM_CLICK, 0, 0);
    EXPECT_EQ(m_settings.write_history, 0);
    answered = false;
    answer = AnswerConfirmation(IDYES, &answered);
    ::SendMessageW(box, BM_CLICK, 0, 0);
    answer.join();
    ASSERT_TRUE(answered);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(Value(i, L"PATH"), L"") << i;
    EXPECT_EQ(Value(0, L"NAME"), L"b");
    EXPECT_EQ(::SendMessageW(RowsOf(dialog), LVM_GETITEMCOUNT, 0, 0), 0);
    EXPECT_TRUE(dialog.Entries().empty());
}

TEST_F(DialogHistoryTest, CheckedRowsAreDeletedAndTheRestSaved) {
    const std::wstring a = MakeFile(L"a.mp4"), b = MakeFile(L"b.mp4"), c = MakeFile(L"c.mp4");
    DialogHistory_CL dialog(m_host, m_settings, Options());
    ASSERT_EQ(dialog.Create(m_parent.Get()), S_OK);
    for (const std::wstring& path : {a, b, c}) dialog.AddHistory(path);
    HWND rows = RowsOf(dialog);
    LVITEMW check{};
    check.stateMask = LVIS_STATEIMAGEMASK;
    check.state = INDEXTOSTATEIMAGEMASK(2);
    for (WPARAM row : {0, 2}) ::SendMessageW(rows, LVM_SETITEMSTATE, row, reinterpret_cast<LPARAM>(&check));
    ::SendMessageW(::FindWindowExW(dialog.Window(), nullptr, L"Button", DialogHistory_CL::kDeleteCheckedText), BM_CLICK,
                   0, 0);
    ASSERT_EQ(dialog.Entries().size(), 1u);
    EXPECT_EQ(dialog.Entries()[0].path, b);
    EXPECT_EQ(Value(0, L"PATH"), L"|00|" + b);
    EXPECT_EQ(Value(1, L"PATH"), L"");
    // "全てチェックする" ticks every row.
    ::SendMessageW(::FindWindowExW(dialog.Window(), nullptr, L"Button", DialogHistory_CL::kCheckAllText), BM_CLICK, 0, 0);
    const LRESULT checked = INDEXTOSTATEIMAGEMASK(2);
    EXPECT_EQ(::SendMessageW(rows, LVM_GETITEMSTATE, 0, LVIS_STATEIMAGEMASK), checked);
    // A double click asks the player to play the row.
    NMITEMACTIVATE activate{};
    activate.hdr.hwndFrom = rows;
    activate.hdr.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(rows));
    activate.hdr.code = NM_DBLCLK;
    activate.iItem = 0;
    ::SendMessageW(dialog.Window(), WM_NOTIFY, activate.hdr.idFrom, reinterpret_cast<LPARAM>(&activate));
    ASSERT_EQ(m_host.played.size(), 1u);
    EXPECT_EQ(m_host.played[0], b);
}

// ---- Network rows -------------------------------------------------------------------------

// A reader that holds each row until released, then fills it as a share would.
struct GatedReader {
    KernelHandle_CL release{::CreateEventW(nullptr, TRUE, FALSE, nullptr)};
    std::atomic<int> started{0};
    HistoryMetaJob_CL::Reader Reader() {
        HANDLE gate = release.Get();
        return [this, gate](HistoryEntry& entry) {
            ++started;
            ::WaitForSingleObject(gate, INFINITE);
            entry.size = 1234567;
            entry.written.dwLowDateTime = 1;
            entry.written.dwHighDateTime = 0x01D00000;
            entry.name = L"共有の題名";
            entry.stars = 2;
        };
    }
};

TEST_F(DialogHistoryTest, NetworkRowsShowUnknownAtOnceAndTakeTheirResultLater) {
    const std::wstring local = MakeFile(L"local.mp4");
    const std::wstring share = L"\\\\nosuchserver\\share\\movie.mp4";
    Inifile_CL file;
    file.Bind(HistoryPath());
    file.WriteString(L"item0", L"PATH", L"|00|" + share);
    file.WriteString(L"item1", L"PATH", L"|00|" + local);
    GatedReader reader;
    const long liveBefore = HistoryMetaJob_CL::LiveResults();
    {
        DialogHistory_CL dialog(m_host, m_settings, Options(reader.Reader()));
        ASSERT_EQ(dialog.Create(m_parent.Get()), S_OK);
        dialog.LoadHistory();
        HWND rows = RowsOf(dialog);
        ASSERT_EQ(::SendMessageW(rows, LVM_GETITEMCOUNT, 0, 0), 2);
        EXPECT_EQ(Cell(rows, 0, 3), L"?????");
        EXPECT_EQ(Cell(rows, 0, 4), L"?????");
        EXPECT_EQ(Cell(rows, 0, 0), L"movie");
        EXPECT_EQ(Cell(rows, 1, 3), L"16");  // the local row is complete at once

        // A result of an older job, and one for another path, are dropped (and freed).
        const uint32_t serial = dialog.JobSerial();
        for (const auto& [resultSerial, path] : {std::pair<uint32_t, std::wstring>{serial - 1, share},
                                                 std::pair<uint32_t, std::wstring>{serial, L"\\\\other\\s\\x.mp4"}}) {
            auto* stale = new HistoryMetaResult;
            stale->serial = resultSerial;
            stale->row = 0;
            stale->entry.path = path;
            stale->entry.size = 99;
            ::SendMessageW(dialog.Window(), HistoryMetaJob_CL::kResultMessage, 0, reinterpret_cast<LPARAM>(stale));
        }
        EXPECT_EQ(Cell(rows, 0, 3), L"?????");
        EXPECT_EQ(HistoryMetaJob_CL::LiveResults(), liveBefore);

        // The job's own result arrives once the share answers.
        ::SetEvent(reader.release.Get());
        EXPECT_TRUE(HostWindow_CL::PumpUntil([&] { return Cell(rows, 0, 3) == L"1,234,567"; }, 10000));
        EXPECT_EQ(Cell(rows, 0, 0), L"共有の題名");
        EXPECT_EQ(Cell(rows, 0, 2), L"★★");
        EXPECT_NE(Cell(rows, 0, 4), L"?????");
    }
    EXPECT_EQ(HistoryMetaJob_CL::LiveResults(), liveBefore);
}

TEST_F(DialogHistoryTest, ShutDownWithAJobStillReadingEndsAfterTheBoundedWaitAndLeaksNothing) {
    Inifile_CL file;
    file.Bind(HistoryPath());
    file.WriteString(L"item0", L"PATH", L"|00|\\\\slowserver\\share\\a.mp4");
    file.WriteString(L"item1", L"PATH", L"|00|\\\\slowserver\\share\\b.mp4");
    GatedReader reader;
    const long liveBefore = HistoryMetaJob_CL::LiveResults();
    {
        // The wait is shortened here; the player waits 15 s.
        DialogHistory_CL dialog(m_host, m_settings, Options(reader.Reader(), 200));
        ASSERT_EQ(dialog.Create(m_parent.Get()), S_OK);
        dialog.LoadHistory();
        ASSERT_TRUE(WaitUntil([&] { return reader.started == 1; }, 5000));
        dialog.Shutdown();
    }  // the window is destroyed with the job still reading
    ::SetEvent(reader.release.Get());
    // The job's results find no window and are freed by the job itself.
    EXPECT_TRUE(WaitUntil([&] { return reader.started == 2 && HistoryMetaJob_CL::LiveResults() == liveBefore; }, 10000));
}

}  // namespace
