// The settings pages built as the sheets build them, on a test window: each control's text,
// the key it writes and the value it stores, the rules of the pages (the strip side's item
// order, the interval clamp, the balance text), the opacity preview's end, and the content
// page's record.

#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>
#include <prsht.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/settings/ColourSliderScale.h"
#include "app/settings/PropAppColor_CL.h"
#include "app/settings/PropAppDeleteSetting_CL.h"
#include "app/settings/PropAppDisplay_CL.h"
#include "app/settings/PropAppFileExtention_CL.h"
#include "app/settings/PropAppNoOperation_CL.h"
#include "app/settings/PropAppSetting_CL.h"
#include "app/settings/PropAppSound_CL.h"
#include "app/settings/PropAppThumbnail_CL.h"
#include "app/settings/PropAppVersion_CL.h"
#include "app/settings/PropContentsSetting_CL.h"
#include "app/settings/SettingRow.h"
#include "app/settings/SettingsHost_CL.h"
#include "store/AppSettings.h"
#include "store/ContentInfo.h"
#include "tests/support/IniMap.h"
#include "tests/support/TempFolder_CL.h"
#include "tests/ui/HostWindow_CL.h"
#include "ui/ListView_CL.h"

namespace {

// A settings file as the player keeps it, holding keys of other parts and a side stored as 1.
const char kSettingsFile[] =
    "[LIST]\r\ndirection=1\r\n[SETTING]\r\nlog_clear_on_startup=1\r\nno_thumbnail=1\r\n[WINDOW]\r\nposx=12\r\n"
    "[EXT_INFO]\r\n.avi=WMP11.AssocFile.AVI\r\n[THUMB_MENU]\r\nthumb_time0=30\r\nthumb_time1=5\r\nthumb_time2=1\r\n"
    "thumb_time3=60\r\nthumb_time4=15\r\nthumb_time5=10\r\n";

std::string Utf16File(const char* ascii) {
    std::string bytes("\xFF\xFE", 2);
    for (const char* c = ascii; *c; ++c) {
        bytes += *c;
        bytes += '\0';
    }
    return bytes;
}

// Sends what a sheet sends its pages.
void SendSheetNotice(HWND page, int code) {
    PSHNOTIFY notice{};
    notice.hdr.hwndFrom = ::GetParent(page);
    notice.hdr.code = static_cast<UINT>(code);
    ::SendMessageW(page, WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&notice));
}

std::wstring TextOf(HWND window) {
    wchar_t text[1024] = {};
    ::GetWindowTextW(window, text, 1024);
    return text;
}

// The captions of a page's group frames, top to bottom.
std::vector<std::wstring> GroupCaptions(HWND page) {
    struct Found {
        std::vector<std::pair<LONG, std::wstring>> groups;
    } found;
    ::EnumChildWindows(
        page,
        [](HWND child, LPARAM param) -> BOOL {
            if ((::GetWindowLongPtrW(child, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) {
                wchar_t className[32] = {};
                ::GetClassNameW(child, className, 32);
                RECT rect{};
                ::GetWindowRect(child, &rect);
                if (std::wstring(className) == L"Button") reinterpret_cast<Found*>(param)->groups.push_back({rect.top, TextOf(child)});
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    std::sort(found.groups.begin(), found.groups.end());
    std::vector<std::wstring> captions;
    for (const auto& group : found.groups) captions.push_back(group.second);
    return captions;
}

std::vector<std::wstring> ComboItems(HWND combo) {
    std::vector<std::wstring> items;
    const int count = static_cast<int>(::SendMessageW(combo, CB_GETCOUNT, 0, 0));
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        COMBOBOXEXITEMW item{};
        item.mask = CBEIF_TEXT;
        item.iItem = i;
        item.pszText = text;
        item.cchTextMax = 256;
        ::SendMessageW(combo, CBEM_GETITEMW, 0, reinterpret_cast<LPARAM>(&item));
        items.push_back(text);
    }
    return items;
}

// A stand-in for the main window: records what the pages asked of it.
class RecordingHost : public SettingsHost_CL {
public:
    std::vector<int> previews;
    int previewEnds = 0;
    HWND MainWindow() const override { return nullptr; }
    void SetModalDialogOpen(bool) override {}
    void PreviewOpacity(int alpha) override { previews.push_back(alpha); }
    void EndOpacityPreview() override { ++previewEnds; }
    void TurnOffTransparentDisplay() override {}
    ProcAmpRange ColourRange(int mask) override { return NominalProcAmpRange(mask); }
    PlaybackController_CL* Controller() override { return nullptr; }
    ContentInfo* LoadedRecord() override { return nullptr; }
    std::wstring LoadedMoviePath() const override { return L""; }
    ContentRecords_CL& Records() override { std::abort(); }  // no page reaches for the records
    void RebuildStrip(int64_t) override {}
    void FollowSettings() override {}
};

class SettingsPagesTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_path = m_folder.Join(L"Lumikino.ini");
        ASSERT_TRUE(WriteFileBytes(m_path, Utf16File(kSettingsFile)));
        m_settings.Load(m_path);
        m_before = ReadIniMap(m_path);
    }
    // Opens the page as the sheet would (its WM_INITDIALOG builds and fills it).
    HWND Open(PropertyPage_CL& page) {
        EXPECT_HRESULT_SUCCEEDED(page.CreateModeless(m_host.Get()));
        return page.Window();
    }
    HWND Child(HWND page, const wchar_t* className, const std::wstring& text) {
        return ::FindWindowExW(page, nullptr, className, text.c_str());
    }

    TempFolder_CL m_folder;
    std::wstring m_path;
    AppSettings m_settings;
    IniMap m_before;
    HostWindow_CL m_host{RECT{0, 0, 900, 700}, false};
    RecordingHost m_recording;
};

// One control of a page changed, and the key it must write.
struct Change {
    const wchar_t* checkText;         // a check box found by its text, or
    int AppSettings::*field;          // the combo box or slider of a field
    int controlValue;                 // ticked 1 / item / position
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* stored;
};

void SetControl(HWND control, int value) {
    wchar_t className[64] = {};
    ::GetClassNameW(control, className, 64);
    const std::wstring kind = className;
    if (kind == L"Button") ::SendMessageW(control, BM_SETCHECK, value ? BST_CHECKED : BST_UNCHECKED, 0);
    if (kind == WC_COMBOBOXEXW) ::SendMessageW(control, CB_SETCURSEL, static_cast<WPARAM>(value), 0);
    if (kind == TRACKBAR_CLASSW) ::SendMessageW(control, TBM_SETPOS, TRUE, value);
}

struct PageCase {
    const char* name;
    std::function<BoundSettingsPage_CL*(AppSettings&, RecordingHost&)> make;
    std::vector<std::wstring> groups;
    std::vector<Change> changes;
};

TEST_F(SettingsPagesTest, EveryControlWritesItsKeyAndEveryOtherKeyKeepsItsValue) {
    using S = AppSettings;
    const std::vector<PageCase> cases = {
        {"基本設定", [](S& s, RecordingHost&) { return new PropAppSetting_CL(s); },
         {L"起動", L"サムネイル", L"スキップフレーム", L"［＋］／［－］ボタンの移動時間", L"リジューム再生", L"再生速度"},
         {{L"Lumikinoを複数起動する", nullptr, 1, L"SETTING", L"duplicate_launch", L"1"},
          {L"表示されていないサムネイルに関しても先行でデコードを行う", nullptr, 0, L"SETTING", L"hidden_decode", L"0"},
          {L"オープニングフレームをスキップしない", nullptr, 1, L"SETTING", L"play_op_frame", L"1"},
          {L"ＣＭフレームをスキップしない", nullptr, 1, L"SETTING", L"play_cm_frame", L"1"},
          {L"エンディングフレームをスキップしない", nullptr, 1, L"SETTING", L"play_ed_frame", L"1"},
          {nullptr, &S::skip_sec_button_index, 4, L"SETTING", L"skip_sec_button_index", L"4"},
          {L"リジューム再生を行わない（コンテンツ設定の「リジューム再生は行わない」よりも優先されます）", nullptr, 1,
           L"SETTING", L"no_resume", L"1"},
          {L"次のコンテンツ再生時に前回の再生速度を維持する", nullptr, 0, L"SETTING", L"next_play_rate_keep", L"0"}}},
        {"表示設定", [](S& s, RecordingHost& h) { return new PropAppDisplay_CL(s, h); },
         {L"サムネイルの表示位置(F5)", L"ウインドウ透過表示(Window7以降)", L"再生ウインドウ表示"},
         {{nullptr, &S::direction, 2, L"LIST", L"direction", L"3"},
          {nullptr, &S::transparent, 100, L"SETTING", L"transparent", L"100"},
          {L"透過表示時の際にマウス操作も透過させる", nullptr, 1, L"SETTING", L"mouse_transparent", L"1"},
          {L"コンテンツのタイトルを表示する", nullptr, 0, L"SETTING", L"enable_title", L"0"},
          {L"再生時間を表示する", nullptr, 0, L"SETTING", L"enable_playtime", L"0"},
          {L"時計を表示する(F9)", nullptr, 1, L"SETTING", L"enable_clock", L"1"},
          {nullptr, &S::now_time_pos, 3, L"SETTING", L"now_time_pos", L"3"}}},
        {"音声設定", [](S& s, RecordingHost&) { return new PropAppSound_CL(s); }, {L"スロー、倍速再生設定"},
         {{nullptr, &S::volume_balance, -40, L"MOVIE", L"volume_balance", L"-40"},
          {L"スロー、倍速再生時に音程を維持する(次回コンテンツ読み込み時に反映されます)", nullptr, 0, L"MOVIE",
           L"pitch_keep", L"0"},
          {nullptr, &S::pitch_keep_quality, 0, L"MOVIE", L"pitch_keep_quality", L"0"}}},
        {"削除設定", [](S& s, RecordingHost&) { return new PropAppDeleteSetting_CL(s); }, {L"削除設定"},
         {{L"削除メニューを有効にする", nullptr, 1, L"SETTING", L"enable_delete_menu", L"1"}}},
        {"操作設定", [](S& s, RecordingHost&) { return new PropAppNoOperation_CL(s); },
         {L"無操作カウンター", L"再生画面でのダブルクリックの動作"},
         {{nullptr, &S::countup_time, 2, L"NOP", L"countup_time", L"2"},
          {L"カウントアップ時にマウスカーソルを消す", nullptr, 0, L"NOP", L"mouse_hide", L"0"},
          {L"カウントアップ時にフレーム無し表示にする", nullptr, 1, L"NOP", L"no_frame", L"1"},
          {L"カウントアップ時にサムネイル表示を非表示にする", nullptr, 0, L"NOP", L"no_thumbnail", L"0"},
          {L"現在の再生位置のサムネイルを表示する", nullptr, 0, L"NOP", L"move_thumbnail", L"0"},
          {nullptr, &S::double_click, 0, L"ACTION", L"double_click", L"0"}}},
        {"バージョン情報", [](S& s, RecordingHost&) { return new PropAppVersion_CL(s, nullptr); },
         {L"バージョン情報", L"バージョンアップの通知", L"このプログラムに含まれているライブラリの著作権について"},
         {{L"バージョンアップの通知をしない", nullptr, 1, L"VERSION", L"notify", L"1"}}},
    };
    for (const PageCase& pageCase : cases) {
        SCOPED_TRACE(pageCase.name);
        TearDown();
        SetUp();
        std::unique_ptr<BoundSettingsPage_CL> page(pageCase.make(m_settings, m_recording));
        HWND window = Open(*page);
        ASSERT_NE(window, nullptr);
        EXPECT_EQ(GroupCaptions(window), pageCase.groups);
        for (const Change& change : pageCase.changes) {
            HWND control = change.checkText ? Child(window, L"Button", change.checkText)
                                            : (page->ControlFor(change.field) ? page->ControlFor(change.field)->Window() : nullptr);
            ASSERT_NE(control, nullptr) << "no control for " << change.key;
            SetControl(control, change.controlValue);
        }
        SendSheetNotice(window, PSN_APPLY);
        const IniMap after = ReadIniMap(m_path);
        for (const Change& change : pageCase.changes) {
            auto found = after.find({change.section, change.key});
            ASSERT_NE(found, after.end()) << change.key;
            EXPECT_EQ(found->second, change.stored) << change.key;
        }
        // Everything else the page wrote holds the value it showed; no other key changed.
        for (const auto& key : ChangedKeys(m_before, after)) {
            bool changedByUser = false;
            for (const Change& change : pageCase.changes) changedByUser |= key.first == change.section && key.second == change.key;
            if (changedByUser) continue;
            bool pageKey = false;
            for (const SettingGroup& group : page->Groups()) {
                for (const SettingRow& row : group.rows) {
                    const AppSettings::Key* known = row.field ? AppSettings::FindKey(row.field) : nullptr;
                    if (known && key.first == known->section && key.second == known->key) {
                        pageKey = true;
                        const int shown = m_before.count(key) ? std::stoi(m_before.at(key)) : known->defaultValue;
                        EXPECT_EQ(after.at(key), std::to_wstring(shown)) << known->key;
                    }
                }
            }
            EXPECT_TRUE(pageKey) << "a key of no control changed: " << std::string(key.second.begin(), key.second.end());
        }
        ::DestroyWindow(window);
    }
}

TEST_F(SettingsPagesTest, ComboItemsAndTheStripSideOrder) {
    PropAppDisplay_CL display(m_settings, m_recording);
    HWND window = Open(display);
    HWND side = display.ControlFor(&AppSettings::direction)->Window();
    EXPECT_EQ(ComboItems(side), (std::vector<std::wstring>{L"上に表示", L"下に表示", L"左に表示", L"右に表示"}));
    // direction = 1 (right) opens on the fourth item.
    EXPECT_EQ(::SendMessageW(side, CB_GETCURSEL, 0, 0), 3);
    EXPECT_EQ(ComboItems(display.ControlFor(&AppSettings::now_time_pos)->Window()),
              (std::vector<std::wstring>{L"左上に表示", L"右上に表示", L"左下に表示", L"右下に表示"}));
    EXPECT_NE(Child(window, L"Static", L"透過率(000%)"), nullptr);
    EXPECT_NE(Child(window, L"Static", L"時計の表示位置"), nullptr);

    PropAppSetting_CL basic(m_settings);
    Open(basic);
    EXPECT_EQ(ComboItems(basic.ControlFor(&AppSettings::skip_sec_button_index)->Window()),
              (std::vector<std::wstring>{L"１秒", L"５秒", L"１０秒", L"１５秒", L"３０秒", L"６０秒"}));
    PropAppNoOperation_CL idle(m_settings);
    Open(idle);
    EXPECT_EQ(ComboItems(idle.ControlFor(&AppSettings::countup_time)->Window()),
              (std::vector<std::wstring>{L"無操作が３秒続いた時に処理する", L"無操作が５秒続いた時に処理する",
                                         L"無操作が１０秒続いた時に処理する"}));
    EXPECT_EQ(ComboItems(idle.ControlFor(&AppSettings::double_click)->Window()),
              (std::vector<std::wstring>{L"サムネイルの表示／非表示", L"最大化表示／ウインドウ表示"}));
    PropAppSound_CL sound(m_settings);
    HWND soundWindow = Open(sound);
    EXPECT_EQ(ComboItems(sound.ControlFor(&AppSettings::pitch_keep_quality)->Window()),
              (std::vector<std::wstring>{L"音質（低）", L"音質（通常）"}));
    EXPECT_NE(Child(soundWindow, L"Static", L"中央"), nullptr);
    EXPECT_NE(Child(soundWindow, L"Static", L"左右スピーカー音量バランス"), nullptr);
}

TEST(SettingRowTest, StoredValuesAndShownPositions) {
    const SettingRow side = SettingRow::Combo(L"", {L"上", L"下", L"左", L"右"}, &AppSettings::direction, {0, 2, 3, 1});
    // item → stored, and stored → item
    const int items[4] = {0, 1, 2, 3}, stored[4] = {0, 2, 3, 1};
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(StoredValueOf(side, items[i]), stored[i]);
        EXPECT_EQ(ControlValueOf(side, stored[i]), items[i]);
    }
    EXPECT_EQ(ControlValueOf(side, 7), 0);   // a hand-edited side shows the first item
    EXPECT_EQ(StoredValueOf(side, 9), 1);    // an item past the end stores the last one's value
    const SettingRow check = SettingRow::Check(L"x", &AppSettings::mouse_hide);
    EXPECT_EQ(ControlValueOf(check, 2), 0);  // only 1 ticks the box
    EXPECT_EQ(StoredValueOf(check, 5), 1);
    const SettingRow opacity = SettingRow::Slider(10, 255, 100, &AppSettings::transparent);
    EXPECT_EQ(ControlValueOf(opacity, 0), 10);
    EXPECT_EQ(StoredValueOf(opacity, 300), 255);
}

TEST(SettingRowTest, TypedIntervalsStayWithinOneToSixHundredSeconds) {
    const struct {
        const wchar_t* typed;
        int seconds;
    } cases[] = {{L"0", 1},     {L"-5", 1},      {L"abc", 1},   {L"", 1},       {L"1", 1},
                 {L"45", 45},   {L"600", 600},   {L"601", 600}, {L"1000", 600}, {L"99999999999", 600},
                 {L"12abc", 12}, {L"  30", 30}};
    for (const auto& c : cases) EXPECT_EQ(ThumbIntervalFromText(c.typed), c.seconds) << std::wstring(c.typed).size();
}

TEST(SettingRowTest, BalanceAndVolumeOffsetTexts) {
    EXPECT_EQ(BalanceCaption(0), L"左右スピーカー均等(±0)dB");
    EXPECT_EQ(BalanceCaption(30), L"右スピーカ(＋30)dB");
    EXPECT_EQ(BalanceCaption(-100), L"左スピーカ(＋100)dB");
    EXPECT_EQ(VolumeOffsetCaption(-10), L"(-10)");
    EXPECT_EQ(VolumeOffsetCaption(3), L"( 3)");
}

TEST(ColourSliderScaleTest, PositionsCountStepsFromTheDefaultAndTheEndsAreExact) {
    const ColourSliderScale brightness(NominalProcAmpRange(kProcAmpBrightness));
    const ColourSliderScale contrast(NominalProcAmpRange(kProcAmpContrast));
    EXPECT_EQ(brightness.MinimumPosition(), -1000);
    EXPECT_EQ(brightness.MaximumPosition(), 1000);
    EXPECT_EQ(contrast.MinimumPosition(), -100);
    EXPECT_EQ(contrast.MaximumPosition(), 900);
    const struct {
        const ColourSliderScale& scale;
        int32_t stored;
        int position;
    } positions[] = {{brightness, 0x7FFFFFFF, 0}, {brightness, 0, 0},         {brightness, 65536, 10},
                     {brightness, -200 * 65536, -1000}, {contrast, 0, -100},  {contrast, 65536, 0},
                     {contrast, 0x18000, 50},   {contrast, 20 * 65536, 900}};
    for (const auto& c : positions) EXPECT_EQ(c.scale.PositionOf(c.stored), c.position) << c.stored;
    EXPECT_EQ(brightness.StoredOf(0), 0);
    EXPECT_EQ(brightness.StoredOf(-1000), -100 * 65536);
    EXPECT_EQ(brightness.StoredOf(5000), 100 * 65536);
    EXPECT_EQ(contrast.StoredOf(-100), 0);
    EXPECT_EQ(contrast.StoredOf(0), 65536);
    // A processor that reports a step of 1 over a wide range still gets a usable slider.
    const ColourSliderScale fine(ProcAmpRange{-100 * 65536, 100 * 65536, 0, 1});
    EXPECT_LE(fine.MaximumPosition() - fine.MinimumPosition(), 4000);
    EXPECT_EQ(fine.StoredOf(fine.MaximumPosition()), 100 * 65536);
}

TEST_F(SettingsPagesTest, TheOpacityPreviewEndsWithItsTimerItsSheetAndItsPage) {
    PropAppDisplay_CL display(m_settings, m_recording);
    m_settings.layered_windows = true;
    HWND window = Open(display);
    HWND slider = display.ControlFor(&AppSettings::transparent)->Window();
    auto move = [&](int alpha) {
        ::SendMessageW(slider, TBM_SETPOS, TRUE, alpha);
        ::SendMessageW(window, WM_HSCROLL, MAKEWPARAM(TB_THUMBTRACK, alpha), reinterpret_cast<LPARAM>(slider));
    };
    move(100);
    EXPECT_EQ(m_recording.previews, std::vector<int>{100});
    EXPECT_NE(Child(window, L"Static", L"透過度(100)"), nullptr);
    EXPECT_TRUE(display.PreviewRunning());
    ::SendMessageW(window, WM_TIMER, PropAppDisplay_CL::kPreviewTimer, 0);
    EXPECT_FALSE(display.PreviewRunning());
    EXPECT_EQ(m_recording.previewEnds, 1);

    move(60);
    SendSheetNotice(window, PSN_RESET);  // cancel: back at once, nothing written
    EXPECT_EQ(m_recording.previewEnds, 2);
    EXPECT_EQ(ReadIniMap(m_path), m_before);

    move(80);
    ::DestroyWindow(window);  // the sheet closed before the timer
    EXPECT_EQ(m_recording.previewEnds, 3);
    EXPECT_FALSE(display.PreviewRunning());
}

TEST_F(SettingsPagesTest, BalanceTextFollowsTheSlider) {
    PropAppSound_CL sound(m_settings);
    HWND window = Open(sound);
    EXPECT_EQ(sound.BalanceLabel()->Text(), L"左右スピーカー均等(±0)dB");
    HWND slider = sound.ControlFor(&AppSettings::volume_balance)->Window();
    for (int value : {25, -60}) {
        ::SendMessageW(slider, TBM_SETPOS, TRUE, value);
        ::SendMessageW(window, WM_HSCROLL, MAKEWPARAM(TB_THUMBPOSITION, value), reinterpret_cast<LPARAM>(slider));
    }
    EXPECT_EQ(sound.BalanceLabel()->Text(), L"左スピーカ(＋60)dB");
}

TEST_F(SettingsPagesTest, ColourSlidersSpanTheRangesAndStandAtDefaultsForUnsetValues) {
    m_settings.contrast = 0x18000;  // 1.5
    PropAppColor_CL colour(m_settings, [](int mask) { return NominalProcAmpRange(mask); });
    HWND window = Open(colour);
    EXPECT_EQ(GroupCaptions(window), std::vector<std::wstring>{L"色調の調整"});
    for (const wchar_t* label : {L"明度", L"対比", L"彩度", L"色相"}) EXPECT_NE(Child(window, L"Static", label), nullptr);
    EXPECT_NE(Child(window, L"Button", L"色調を設定する"), nullptr);
    HWND brightness = colour.Slider(kProcAmpBrightness)->Window();
    HWND hue = colour.Slider(kProcAmpHue)->Window();
    // One position per step of a tenth (brightness, hue) or a hundredth (contrast, saturation).
    EXPECT_EQ(::SendMessageW(brightness, TBM_GETRANGEMIN, 0, 0), -1000);
    EXPECT_EQ(::SendMessageW(hue, TBM_GETRANGEMAX, 0, 0), 1800);
    EXPECT_EQ(::SendMessageW(brightness, TBM_GETPOS, 0, 0), 0);  // not set: the default
    EXPECT_EQ(::SendMessageW(colour.Slider(kProcAmpContrast)->Window(), TBM_GETPOS, 0, 0), 50);
    EXPECT_FALSE(::IsWindowEnabled(brightness));  // off until the box is ticked
    ::SendMessageW(colour.CheckBox()->Window(), BM_CLICK, 0, 0);
    EXPECT_TRUE(::IsWindowEnabled(brightness));
    ::SendMessageW(hue, TBM_SETPOS, TRUE, -900);
    SendSheetNotice(window, PSN_APPLY);
    const IniMap after = ReadIniMap(m_path);
    EXPECT_EQ(after.at({L"PROC_AMP", L"enable"}), L"1");
    EXPECT_EQ(after.at({L"PROC_AMP", L"brightness"}), L"0");
    EXPECT_EQ(after.at({L"PROC_AMP", L"contrast"}), std::to_wstring(0x18000));
    EXPECT_EQ(after.at({L"PROC_AMP", L"saturation"}), std::to_wstring(0x10000));
    EXPECT_EQ(after.at({L"PROC_AMP", L"hue"}), std::to_wstring(-900 * 6553));  // 90 degrees less 0.03
}

TEST_F(SettingsPagesTest, IntervalRowsAreSortedAndAnEditIsClampedAndSortedAgain) {
    PropAppThumbnail_CL thumbnail(m_settings);
    HWND window = Open(thumbnail);
    ListView_CL* list = thumbnail.List();
    ASSERT_NE(list, nullptr);
    std::vector<std::wstring> menu, seconds;
    for (int row = 0; row < list->RowCount(); ++row) {
        menu.push_back(list->CellText(row, 0));
        seconds.push_back(list->CellText(row, 1));
    }
    EXPECT_EQ(menu, (std::vector<std::wstring>{L"1秒毎に表示", L"5秒毎に表示", L"10秒毎に表示", L"15秒毎に表示",
                                               L"30秒毎に表示", L"60秒毎に表示"}));
    EXPECT_EQ(seconds.front(), L"1秒");

    // The edit dialog is answered as a user would: "1000" typed into the first row (1 s).
    const UINT_PTR timer = ::SetTimer(nullptr, 0, 50, [](HWND, UINT, UINT_PTR, DWORD) {
        HWND dialog = ::FindWindowW(L"#32770", L"サムネイルの表示間隔(sec)");
        if (!dialog || !::IsWindowVisible(dialog)) return;
        HWND edit = ::FindWindowExW(dialog, nullptr, L"Edit", nullptr);
        ::SetWindowTextW(edit, L"1000");
        ::SendMessageW(::FindWindowExW(dialog, nullptr, L"Button", nullptr), BM_CLICK, 0, 0);
    });
    thumbnail.EditRow(0);
    ::KillTimer(nullptr, timer);
    EXPECT_EQ(thumbnail.Seconds(), (std::vector<int>{5, 10, 15, 30, 60, 600}));
    EXPECT_EQ(list->CellText(5, 0), L"600秒毎に表示");
    SendSheetNotice(window, PSN_APPLY);
    const IniMap after = ReadIniMap(m_path);
    const wchar_t* expected[6] = {L"5", L"10", L"15", L"30", L"60", L"600"};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(after.at({L"THUMB_MENU", L"thumb_time" + std::to_wstring(i)}), expected[i]);
    EXPECT_EQ(m_settings.thumb_time, (std::vector<int>{5, 10, 15, 30, 60, 600}));
}

TEST_F(SettingsPagesTest, AssociationLayoutsFollowTheSystemVersion) {
    std::vector<LaunchExtension> extensions(3);
    extensions[0].extension = L".avi";
    extensions[0].associated = true;
    extensions[0].currentHandler = L"Lumikino";
    extensions[1].extension = L".mp4";
    extensions[2].extension = L".mkv";
    PropAppFileExtention_CL old(extensions, 5);
    HWND window = Open(old);
    ASSERT_NE(old.List(), nullptr);
    EXPECT_EQ(old.List()->CellText(0, 2), L"Lumikino");
    EXPECT_EQ(old.CheckedRows(), (std::vector<bool>{true, false, false}));
    ::SendMessageW(Child(window, L"Button", L"全て選択"), BM_CLICK, 0, 0);
    EXPECT_EQ(old.CheckedRows(), (std::vector<bool>{true, true, true}));
    ::SendMessageW(Child(window, L"Button", L"選択を解除"), BM_CLICK, 0, 0);
    EXPECT_EQ(old.CheckedRows(), (std::vector<bool>{false, false, false}));
    EXPECT_NE(Child(window, L"Static", L" （関連付けはチェックをはずす事で、いつでも元のアプリケーションへ戻せます）"), nullptr);

    PropAppFileExtention_CL current(extensions, 10);
    HWND newer = Open(current);
    EXPECT_EQ(current.List(), nullptr);
    EXPECT_EQ(GroupCaptions(newer), (std::vector<std::wstring>{L"関連付け", L"レジストリ情報"}));
    EXPECT_NE(Child(newer, L"Button", L"プログラムの関連付けを設定する"), nullptr);
    EXPECT_NE(Child(newer, L"Button", L"関連付け情報を更新する"), nullptr);
}

TEST_F(SettingsPagesTest, VersionPageNamesTheVersionOpensTheSiteAndShowsTheZlibLicence) {
    int opened = 0;
    PropAppVersion_CL version(m_settings, [&opened]() { ++opened; });
    HWND window = Open(version);
    EXPECT_NE(Child(window, L"Static", L"Version : 1.3.1"), nullptr);
    ::SendMessageW(Child(window, L"Button", L"サポートサイトへ"), BM_CLICK, 0, 0);
    EXPECT_EQ(opened, 1);
    HWND notice = ::FindWindowExW(window, nullptr, L"Edit", nullptr);
    ASSERT_NE(notice, nullptr);
    EXPECT_NE(::GetWindowLongPtrW(notice, GWL_STYLE) & ES_READONLY, 0);
    const std::wstring text = TextOf(notice);
    EXPECT_NE(text.find(L"zlib 1."), std::wstring::npos);
    EXPECT_NE(text.find(L"Jean-loup Gailly and Mark Adler"), std::wstring::npos);
    EXPECT_EQ(ReadIniMap(m_path), m_before);  // the site's button writes nothing
}

TEST_F(SettingsPagesTest, ContentPageWritesTheRecordAndAnUnboundRecordWritesNothing) {
    const std::wstring recordPath = m_folder.Join(L"record.ini");
    ASSERT_TRUE(WriteFileBytes(recordPath, Utf16File("[MOVIE_INFO]\r\ncontent_name=old\r\nvol_offset=-2\r\nstar_count=1\r\n")));
    ContentInfo record;
    record.Bind(recordPath);
    record.Read(false, 0);
    int afterApply = 0;
    PropContentsSetting_CL page(record, false, [&afterApply](const ContentInfo&) { ++afterApply; });
    HWND window = Open(page);
    EXPECT_EQ(GroupCaptions(window), (std::vector<std::wstring>{L"コンテンツ情報の共有", L"コンテンツタイトル", L"再生制御",
                                                                L"音量オフセット", L"★マーク"}));
    EXPECT_EQ(page.ControlOf(PropContentsSetting_CL::kTitle)->Text(), L"old");
    EXPECT_EQ(page.ControlOf(PropContentsSetting_CL::kVolumeCaption)->Text(), L"(-2)");
    EXPECT_EQ(ComboItems(page.ControlOf(PropContentsSetting_CL::kStars)->Window()),
              (std::vector<std::wstring>{L"", L"★", L"★★", L"★★★", L"★★★★", L"★★★★★"}));
    page.ControlOf(PropContentsSetting_CL::kTitle)->SetText(L"新しい題\r\n名");
    SetControl(page.ControlOf(PropContentsSetting_CL::kNoResume)->Window(), 1);
    SetControl(page.ControlOf(PropContentsSetting_CL::kVolume)->Window(), 7);
    SetControl(page.ControlOf(PropContentsSetting_CL::kStars)->Window(), 4);
    SetControl(page.ControlOf(PropContentsSetting_CL::kShare)->Window(), 1);
    SendSheetNotice(window, PSN_APPLY);
    const IniMap after = ReadIniMap(recordPath);
    EXPECT_EQ(after.at({L"MOVIE_INFO", L"content_name"}), L"新しい題名");
    EXPECT_EQ(after.at({L"MOVIE_INFO", L"no_resume"}), L"1");
    EXPECT_EQ(after.at({L"MOVIE_INFO", L"vol_offset"}), L"7");
    EXPECT_EQ(after.at({L"MOVIE_INFO", L"star_count"}), L"4");
    EXPECT_EQ(page.SharingWanted(), std::optional<bool>(true));
    EXPECT_EQ(afterApply, 1);

    // Another movie loaded while the sheet was open: its record is not written.
    PropContentsSetting_CL stale(record, false, nullptr, [] { return false; });
    HWND staleWindow = Open(stale);
    stale.ControlOf(PropContentsSetting_CL::kTitle)->SetText(L"someone else's");
    SendSheetNotice(staleWindow, PSN_APPLY);
    EXPECT_EQ(ReadIniMap(recordPath).at({L"MOVIE_INFO", L"content_name"}), L"新しい題名");
    EXPECT_EQ(stale.SharingWanted(), std::nullopt);

    // No movie loaded: the record is unbound; apply changes it in memory and writes no file.
    wchar_t windows[MAX_PATH] = {};
    ::GetWindowsDirectoryW(windows, MAX_PATH);
    auto iniFiles = [&]() {
        int count = 0;
        WIN32_FIND_DATAW data{};
        HANDLE find = ::FindFirstFileW((std::wstring(windows) + L"\\*.ini").c_str(), &data);
        if (find == INVALID_HANDLE_VALUE) return 0;
        do ++count;
        while (::FindNextFileW(find, &data));
        ::FindClose(find);
        return count;
    };
    const int before = iniFiles();
    ContentInfo unbound;
    unbound.Reset();
    PropContentsSetting_CL empty(unbound, false, nullptr);
    HWND emptyWindow = Open(empty);
    empty.ControlOf(PropContentsSetting_CL::kTitle)->SetText(L"題");
    SendSheetNotice(emptyWindow, PSN_APPLY);
    EXPECT_EQ(unbound.content_name, L"題");
    EXPECT_EQ(iniFiles(), before);
}

}  // namespace
