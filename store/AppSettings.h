#pragma once
// The settings record: the image of Lumikino.ini, filled once at start-up and read directly by
// every subsystem. Changes are written through to the file key by key; nothing is saved at exit
// and a load never writes defaults.
// Thread: UI for every read and write (the log switches aside, see LogSwitches.h).

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "store/Inifile_CL.h"
#include "store/LaunchExtension.h"

class IniSnapshot_CL;
struct LogSwitches;

constexpr int64_t kRefTimePerSecond = 10'000'000;
constexpr int kProcAmpNotSet = 0x7FFFFFFF;  // the video processor's own default is used
constexpr int kThumbMenuCount = 6;

class AppSettings {
public:
    // The record of the process.
    static AppSettings& Process();

    AppSettings();

    // Fills the record from the settings file at the path, in the documented key order.
    // The trace-log switches are read from it the first time a load runs in the process.
    void Load(const std::wstring& settingsPath);

    // The long-lived settings instance the load bound (empty before the first load).
    const Inifile_CL& File() const { return m_file; }

    // Write-through of one integer field: stores it and writes its key at once.
    void WriteInt(int AppSettings::*field, int value);
    // Replaces the THUMB_MENU list and writes thumb_time0 ... thumb_time5 at once, in order.
    void WriteThumbMenu(const std::vector<int>& seconds);
    // Stores the folder and writes RESUME / last_open_file_folder at once.
    void SaveLastOpenFolder(const std::wstring& folder);

    // The values below are checked where they are used: a hand-edited file may hold anything,
    // and such a value must never index outside a table or divide by zero. Nothing is written back.
    int64_t ThumbnailIntervalRefTime() const;  // THUMB_MENU[frame_time_index] seconds
    int ThumbnailIntervalSeconds(int index) const;
    int64_t SkipStepRefTime() const;           // {1,5,10,15,30,60}[skip_sec_button_index] seconds
    int SkipStepSeconds(int index) const;
    int IdleDelaySeconds() const;              // {3,5,10}[countup_time]
    int DirectionIndex() const;                // 0..3
    int SmallImageSizeIndex() const;           // 0..2
    int OutputRateHvIndex() const;             // 0..3
    int VolumeStep() const;                    // 0..20
    int VolumeBalanceDb() const;               // -100..100
    int NowTimePosIndex() const;               // 0..3
    int TransparentAlpha() const;              // 10..255

    enum class CaptionForm { ToolBar, SettingsPage };
    // "%dＳＥＣ" or "%d秒" with full-width digits; a negative index means the current one.
    std::wstring SkipStepCaption(int index, CaptionForm form) const;

    // --- fields, in the record's order; the names are the INI keys ---
    const int64_t one_second = kRefTimePerSecond;
    bool layered_windows = false;  // transparency works only where layered windows exist

    int direction = 2;
    int small_image_size = 2;
    int frame_time_index = 2;
    int output_rate_hv = 0;
    int volume = 16;
    int volume_balance = 0;
    int pitch_keep = 1;
    int pitch_keep_quality = 1;
    int duplicate_launch = 0;
    int notify = 0;
    int transparent = 220;
    int mouse_transparent = 0;
    int skip_sec_button_index = 2;
    int no_resume = 0;
    int enable_title = 1;
    int enable_playtime = 1;
    int enable_delete_menu = 0;
    int enable_clock = 0;
    int now_time_pos = 0;
    int next_play_rate_keep = 1;
    int auth_sharedfolder = 0;  // 1: content loading first connects the network share of a UNC path
    std::vector<int> thumb_time;  // THUMB_MENU, six entries after a load
    int countup_time = 1;
    int mouse_hide = 1;
    int no_frame = 0;
    int no_thumbnail = 1;  // NOP no_thumbnail (idle action), not SETTING no_thumbnail
    int move_thumbnail = 1;
    int double_click = 1;
    int play_op_frame = 0;
    int play_cm_frame = 0;
    int play_ed_frame = 0;
    std::vector<LaunchExtension> launch_extensions;  // rebuilt from the registry by file intake
    int proc_amp_enable = 0;  // PROC_AMP enable
    int brightness = kProcAmpNotSet;
    int contrast = kProcAmpNotSet;
    int hue = kProcAmpNotSet;
    int saturation = kProcAmpNotSet;
    std::wstring menu_image_path;
    int hidden_decode = 1;
    int write_history = 0;
    int loop_play = 0;
    std::wstring last_open_file_folder;

    // One key of the record: where it lives in the file and in the record. Integer keys name
    // intField; the one text key (last_open_file_folder) names textField instead.
    struct Key {
        const wchar_t* section;
        const wchar_t* key;
        int defaultValue;
        int AppSettings::*intField;
        std::wstring AppSettings::*textField;
    };
    // Every key held in the record, in the order the load reads them.
    static const std::vector<Key>& Keys();
    static const Key* FindKey(int AppSettings::*field);

private:
    Inifile_CL m_file;
};

// Reads the trace-log switches and resize_defer_modal_size from section SETTING; runs at most
// once per process. Thread: UI, before any other thread starts.
void LoadLogSwitches(const IniSnapshot_CL& settings);
// The same read into a given record, every time it is called.
void ReadLogSwitches(const IniSnapshot_CL& settings, LogSwitches& switches);
void ReadLogSwitches(const Inifile_CL& settings, LogSwitches& switches);

// The settings load of start-up: binds the process's record to the data folder's Lumikino.ini.
void LoadAppSettings();

// What a settings file looked like before the load read it, for the trace.
enum class IniFileState { Missing, Folder, Unreadable, Empty, Utf16, Utf8, SingleByte };
// Pure: classifies the first bytes of a file (size = bytes in the whole file).
IniFileState ClassifyIniBytes(const BYTE* head, size_t headSize, uint64_t size);
IniFileState InspectIniFile(const std::wstring& path, uint64_t* sizeOut);
const wchar_t* IniFileStateName(IniFileState state);
