#include "store/AppSettings.h"

#include <shlobj.h>

#include <algorithm>
#include <atomic>

#include "base/DataFolder_CL.h"
#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "base/Platform.h"
#include "base/TextFormat.h"
#include "base/UniqueHandle_CL.h"
#include "store/IniSnapshot_CL.h"

namespace {

constexpr int kThumbMenuDefaults[kThumbMenuCount] = {1, 5, 10, 15, 30, 60};
constexpr int kSkipStepSeconds[] = {1, 5, 10, 15, 30, 60};
constexpr int kIdleDelaySeconds[] = {3, 5, 10};

// A table index from a hand-edited file: outside the table it reads as the default.
int CheckedIndex(int value, int count, int fallback) {
    return (value >= 0 && value < count) ? value : fallback;
}

int Clamp(int value, int low, int high) { return std::min(std::max(value, low), high); }

std::wstring UserVideosFolder() {
    // The path of the folder, as its item list would give it; asked for by CSIDL, which needs no
    // item list and so no COM allocator before the window shows.
    wchar_t path[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_MYVIDEO, nullptr, SHGFP_TYPE_CURRENT, path))) path[0] = L'\0';
    return path;
}

}  // namespace

AppSettings& AppSettings::Process() {
    static AppSettings settings;
    return settings;
}

AppSettings::AppSettings() : thumb_time(std::begin(kThumbMenuDefaults), std::end(kThumbMenuDefaults)) {}

const std::vector<AppSettings::Key>& AppSettings::Keys() {
    using S = AppSettings;
    static const std::vector<Key> keys = {
        {L"LIST", L"direction", 2, &S::direction, nullptr},
        {L"LIST", L"small_image_size", 2, &S::small_image_size, nullptr},
        {L"MOVIE", L"frame_time_index", 2, &S::frame_time_index, nullptr},
        {L"MOVIE", L"output_rate_hv", 0, &S::output_rate_hv, nullptr},
        {L"MOVIE", L"volume", 16, &S::volume, nullptr},
        {L"MOVIE", L"volume_balance", 0, &S::volume_balance, nullptr},
        {L"MOVIE", L"pitch_keep", 1, &S::pitch_keep, nullptr},
        {L"MOVIE", L"pitch_keep_quality", 1, &S::pitch_keep_quality, nullptr},
        {L"SETTING", L"duplicate_launch", 0, &S::duplicate_launch, nullptr},
        {L"SETTING", L"play_op_frame", 0, &S::play_op_frame, nullptr},
        {L"SETTING", L"play_cm_frame", 0, &S::play_cm_frame, nullptr},
        {L"SETTING", L"play_ed_frame", 0, &S::play_ed_frame, nullptr},
        {L"NOP", L"countup_time", 1, &S::countup_time, nullptr},
        {L"NOP", L"mouse_hide", 1, &S::mouse_hide, nullptr},
        {L"NOP", L"no_frame", 0, &S::no_frame, nullptr},
        {L"NOP", L"no_thumbnail", 1, &S::no_thumbnail, nullptr},
        {L"NOP", L"move_thumbnail", 1, &S::move_thumbnail, nullptr},
        {L"ACTION", L"double_click", 1, &S::double_click, nullptr},
        {L"VERSION", L"notify", 0, &S::notify, nullptr},
        {L"SETTING", L"transparent", 220, &S::transparent, nullptr},
        {L"SETTING", L"mouse_transparent", 0, &S::mouse_transparent, nullptr},
        {L"SETTING", L"hidden_decode", 1, &S::hidden_decode, nullptr},
        {L"SETTING", L"write_history", 0, &S::write_history, nullptr},
        {L"SETTING", L"skip_sec_button_index", 2, &S::skip_sec_button_index, nullptr},
        {L"SETTING", L"loop_play", 0, &S::loop_play, nullptr},
        {L"SETTING", L"no_resume", 0, &S::no_resume, nullptr},
        {L"SETTING", L"enable_title", 1, &S::enable_title, nullptr},
        {L"SETTING", L"enable_playtime", 1, &S::enable_playtime, nullptr},
        {L"SETTING", L"enable_delete_menu", 0, &S::enable_delete_menu, nullptr},
        {L"SETTING", L"enable_clock", 0, &S::enable_clock, nullptr},
        {L"SETTING", L"now_time_pos", 0, &S::now_time_pos, nullptr},
        {L"SETTING", L"next_play_rate_keep", 1, &S::next_play_rate_keep, nullptr},
        {L"SETTING", L"auth_sharedfolder", 0, &S::auth_sharedfolder, nullptr},
        {L"RESUME", L"last_open_file_folder", 0, nullptr, &S::last_open_file_folder},
        {L"PROC_AMP", L"enable", 0, &S::proc_amp_enable, nullptr},
        {L"PROC_AMP", L"brightness", kProcAmpNotSet, &S::brightness, nullptr},
        {L"PROC_AMP", L"contrast", kProcAmpNotSet, &S::contrast, nullptr},
        {L"PROC_AMP", L"hue", kProcAmpNotSet, &S::hue, nullptr},
        {L"PROC_AMP", L"saturation", kProcAmpNotSet, &S::saturation, nullptr},
    };
    return keys;
}

const AppSettings::Key* AppSettings::FindKey(int AppSettings::*field) {
    for (const Key& key : Keys()) {
        if (key.intField == field) return &key;
    }
    return nullptr;
}

void AppSettings::Load(const std::wstring& settingsPath) {
    uint64_t size = 0;
    IniFileState state = InspectIniFile(settingsPath, &size);
    m_file.Open(settingsPath);
    // A UTF-16 file is the normal case; anything else (hand-made, damaged, a folder) is traced.
    // The file is used as it is either way: a load never rewrites it.
    if (state != IniFileState::Utf16) {
        LogPrintf(L"設定ファイル: %ls (%ls, %llu bytes)", settingsPath.c_str(), IniFileStateName(state),
                  static_cast<unsigned long long>(size));
    }
    // Every key is read from one reading of the file, with the profile functions' answers: they
    // would open and parse the file again for each of the fifty-odd keys.
    const IniSnapshot_CL file = IniSnapshot_CL::ReadFile(settingsPath);
    LoadLogSwitches(file);

    std::wstring executableFolder = ProgramFolder();
    menu_image_path = executableFolder + L"\\menu_image.bmp";
    layered_windows = OperatingSystemMajorVersion() >= 6;

    for (const Key& key : Keys()) {
        if (key.intField) {
            this->*key.intField = file.GetInt(key.section, key.key, key.defaultValue);
        } else if (file.Holds(key.section, key.key)) {
            this->*key.textField = file.GetString(key.section, key.key, std::wstring());
        } else {
            this->*key.textField = file.GetString(key.section, key.key, UserVideosFolder());
        }
    }
    thumb_time.clear();
    for (int i = 0; i < kThumbMenuCount; ++i) {
        thumb_time.push_back(file.GetInt(L"THUMB_MENU", MakeIndexedKey(L"thumb_time", i), kThumbMenuDefaults[i]));
    }
    // The launch-extension list is rebuilt from the registry by file intake once the window
    // shows, which also records the previous handlers in EXT_INFO; a later load keeps it.
}

void AppSettings::WriteInt(int AppSettings::*field, int value) {
    this->*field = value;
    if (const Key* key = FindKey(field)) m_file.WriteInt(key->section, key->key, value);
}

void AppSettings::WriteThumbMenu(const std::vector<int>& seconds) {
    thumb_time = seconds;
    for (size_t i = 0; i < thumb_time.size(); ++i) {
        m_file.WriteInt(L"THUMB_MENU", MakeIndexedKey(L"thumb_time", static_cast<int>(i)), thumb_time[i]);
    }
}

void AppSettings::SaveLastOpenFolder(const std::wstring& folder) {
    last_open_file_folder = folder;
    m_file.WriteString(L"RESUME", L"last_open_file_folder", folder);
}

int AppSettings::ThumbnailIntervalSeconds(int index) const {
    int checked = CheckedIndex(index, kThumbMenuCount, 2);
    int seconds = checked < static_cast<int>(thumb_time.size()) ? thumb_time[checked] : 0;
    // An interval below one second would divide movie lengths by zero or flood the worker.
    return seconds >= 1 ? seconds : kThumbMenuDefaults[checked];
}

int64_t AppSettings::ThumbnailIntervalRefTime() const {
    return ThumbnailIntervalSeconds(frame_time_index) * one_second;
}

int AppSettings::SkipStepSeconds(int index) const {
    return kSkipStepSeconds[CheckedIndex(index, 6, 2)];
}

int64_t AppSettings::SkipStepRefTime() const { return SkipStepSeconds(skip_sec_button_index) * one_second; }

int AppSettings::IdleDelaySeconds() const { return kIdleDelaySeconds[CheckedIndex(countup_time, 3, 1)]; }
int AppSettings::DirectionIndex() const { return CheckedIndex(direction, 4, 2); }
int AppSettings::SmallImageSizeIndex() const { return CheckedIndex(small_image_size, 3, 2); }
int AppSettings::OutputRateHvIndex() const { return CheckedIndex(output_rate_hv, 4, 0); }
int AppSettings::VolumeStep() const { return Clamp(volume, 0, 20); }
int AppSettings::VolumeBalanceDb() const { return Clamp(volume_balance, -100, 100); }
int AppSettings::NowTimePosIndex() const { return CheckedIndex(now_time_pos, 4, 0); }
int AppSettings::TransparentAlpha() const { return Clamp(transparent, 10, 255); }

std::wstring AppSettings::SkipStepCaption(int index, CaptionForm form) const {
    int seconds = SkipStepSeconds(index < 0 ? skip_sec_button_index : index);
    std::wstring digits = std::to_wstring(seconds);
    for (wchar_t& c : digits) c = static_cast<wchar_t>(c + 0xFEE0);  // full-width digits
    return digits + (form == CaptionForm::ToolBar ? L"ＳＥＣ" : L"秒");
}

void LoadLogSwitches(const IniSnapshot_CL& settings) {
    static std::atomic<bool> loaded{false};
    if (loaded.exchange(true)) return;
    ReadLogSwitches(settings, ProcessLogSwitches());
}

void ReadLogSwitches(const Inifile_CL& settings, LogSwitches& switches) {
    ReadLogSwitches(settings.IsBound() ? IniSnapshot_CL::ReadFile(settings.Path()) : IniSnapshot_CL(), switches);
}

void ReadLogSwitches(const IniSnapshot_CL& settings, LogSwitches& s) {
    // Any value other than 0 turns a switch on.
    auto on = [&](const wchar_t* key) { return settings.GetInt(L"SETTING", key, 0) != 0; };
    s.log_resize_trace = on(L"log_resize_trace");
    s.log_verbose_frame = on(L"log_verbose_frame");
    s.log_detail_resize = on(L"log_detail_resize") || s.log_resize_trace;
    s.log_detail_frame = on(L"log_detail_frame") || s.log_verbose_frame;
    s.log_detail_graph = on(L"log_detail_graph");
    s.log_detail_renderer = on(L"log_detail_renderer");
    s.log_detail_audio = on(L"log_detail_audio");
    s.log_detail_other = on(L"log_detail_other");
    s.resize_defer_modal_size = on(L"resize_defer_modal_size");
}

void LoadAppSettings() { AppSettings::Process().Load(DataFolder_CL::SettingsIniPath()); }

IniFileState ClassifyIniBytes(const BYTE* head, size_t headSize, uint64_t size) {
    if (size == 0) return IniFileState::Empty;
    if (headSize >= 2 && head[0] == 0xFF && head[1] == 0xFE) return IniFileState::Utf16;
    if (headSize >= 3 && head[0] == 0xEF && head[1] == 0xBB && head[2] == 0xBF) return IniFileState::Utf8;
    return IniFileState::SingleByte;
}

IniFileState InspectIniFile(const std::wstring& path, uint64_t* sizeOut) {
    *sizeOut = 0;
    DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return IniFileState::Missing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return IniFileState::Folder;
    FileHandle_CL file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return IniFileState::Unreadable;
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) return IniFileState::Unreadable;
    *sizeOut = static_cast<uint64_t>(size.QuadPart);
    BYTE head[3] = {};
    DWORD read = 0;
    if (!::ReadFile(file.Get(), head, sizeof(head), &read, nullptr)) return IniFileState::Unreadable;
    return ClassifyIniBytes(head, read, *sizeOut);
}

const wchar_t* IniFileStateName(IniFileState state) {
    switch (state) {
        case IniFileState::Missing: return L"missing";
        case IniFileState::Folder: return L"a folder";
        case IniFileState::Unreadable: return L"unreadable";
        case IniFileState::Empty: return L"empty";
        case IniFileState::Utf16: return L"UTF-16";
        case IniFileState::Utf8: return L"UTF-8";
        case IniFileState::SingleByte: return L"single-byte";
    }
    return L"?";
}
