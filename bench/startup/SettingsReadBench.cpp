// Settings-read benchmark: the start-up load of Lumikino.ini through one reading of the file
// (IniSnapshot_CL, what AppSettings::Load does) against the same keys read one by one through the
// profile functions (Inifile_CL), in the same run on the same file contents.
//
// A start reads the file in a new process, where the profile functions have nothing cached: each
// round therefore reads a copy of the file under a name not read before. The file holds every key
// of the record, the trace switches, a window rectangle, a version block and the handlers of
// thirty extensions, as a settings file in use does. Rounds alternate the two sides; each side's
// median counts.

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/TextFormat.h"
#include "store/AppSettings.h"
#include "store/IniSnapshot_CL.h"
#include "store/Inifile_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {

double NowMs() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return counter.QuadPart * 1000.0 / frequency.QuadPart;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values.empty() ? 0 : values[values.size() / 2];
}

const wchar_t* const kLogKeys[] = {L"log_resize_trace", L"log_verbose_frame", L"log_detail_resize",
                                   L"log_detail_frame", L"log_detail_graph",  L"log_detail_renderer",
                                   L"log_detail_audio", L"log_detail_other",  L"resize_defer_modal_size"};

std::wstring SettingsText() {
    std::wstring text = L"[SETTING]\r\n";
    for (const wchar_t* key : kLogKeys) text += std::wstring(key) + L"=0\r\n";
    int value = 0;
    std::wstring section;
    for (const AppSettings::Key& key : AppSettings::Keys()) {
        if (section != key.section) {
            section = key.section;
            text += L"[" + section + L"]\r\n";
        }
        text += std::wstring(key.key) + L"=" +
                (key.intField ? std::to_wstring(++value % 7) : std::wstring(L"D:\\動画\\アニメ\\2024")) + L"\r\n";
    }
    text += L"[THUMB_MENU]\r\n";
    for (int i = 0; i < kThumbMenuCount; ++i) text += MakeIndexedKey(L"thumb_time", i) + L"=" + std::to_wstring(i * 7 + 1) + L"\r\n";
    text += L"[WINDOW]\r\nrect=0A0000000A000000EA010000720100001C\r\nposx=10\r\nposy=10\r\nwidth=480\r\nheight=360\r\n";
    text += L"[VERSION]\r\nforce=0\r\nlast_day=20240305\r\nnext_version=1.3.2.0\r\nnext_notify=00000000:65e6a1b0\r\n";
    text += L"[EXT_INFO]\r\n";
    for (int i = 0; i < 30; ++i) text += FormatString(L".ext%02d=SomePlayer.AssocFile.EXT%02d\r\n", i, i);
    return text;
}

// The load's reads, from either kind of file.
template <typename File>
int ReadTheLoadsKeys(File& file) {
    int sum = 0;
    for (const wchar_t* key : kLogKeys) sum += file.GetInt(L"SETTING", key, 0);
    for (const AppSettings::Key& key : AppSettings::Keys()) {
        if (key.intField) {
            sum += file.GetInt(key.section, key.key, key.defaultValue);
        } else {
            sum += static_cast<int>(file.GetString(key.section, key.key, std::wstring()).size());
        }
    }
    for (int i = 0; i < kThumbMenuCount; ++i) sum += file.GetInt(L"THUMB_MENU", MakeIndexedKey(L"thumb_time", i), 0);
    return sum;
}

// One profile call each.
int ReadKeyByKey(const std::wstring& path) {
    Inifile_CL file;
    file.Bind(path);
    return ReadTheLoadsKeys(file);
}

// From one reading of the file.
int ReadOnce(const std::wstring& path) {
    const IniSnapshot_CL file = IniSnapshot_CL::ReadFile(path);
    return ReadTheLoadsKeys(file);
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
    const int rounds = argc > 1 ? _wtoi(argv[1]) : 21;
    TempFolder_CL folder;
    const std::string bytes = Utf16File(SettingsText());
    std::vector<double> keyByKey, once;
    int fileIndex = 0;
    for (int round = 0; round < rounds; ++round) {
        for (int side = 0; side < 2; ++side) {
            const bool snapshotFirst = round % 2 == 0;
            const bool snapshot = (side == 0) == snapshotFirst;
            const std::wstring path = folder.Join(L"Lumikino" + std::to_wstring(fileIndex++) + L".ini");
            if (!WriteFileBytes(path, bytes)) return 1;
            const double start = NowMs();
            const int sum = snapshot ? ReadOnce(path) : ReadKeyByKey(path);
            const double elapsed = NowMs() - start;
            if (sum <= 0) return 1;
            (snapshot ? once : keyByKey).push_back(elapsed);
        }
    }
    const double onceMs = Median(once), keyByKeyMs = Median(keyByKey);
    std::printf("settings read at start-up (%zu keys): one reading %.2f ms, key by key %.2f ms, ratio %.2fx "
                "(median of %d)\n",
                AppSettings::Keys().size() + kThumbMenuCount + sizeof(kLogKeys) / sizeof(kLogKeys[0]), onceMs,
                keyByKeyMs, keyByKeyMs > 0 ? onceMs / keyByKeyMs : 0.0, rounds);
    return 0;
}
