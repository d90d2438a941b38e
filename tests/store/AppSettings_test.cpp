// The settings record: defaults, the round trip of every key, a load that writes nothing,
// values from hand-edited files, and the log switches.

#include <gtest/gtest.h>

#include "base/LogSwitches.h"
#include "store/AppSettings.h"
#include "tests/support/TempFolder_CL.h"

namespace {
const std::string kBom("\xFF\xFE", 2);

}  // namespace

TEST(AppSettings, AFileWithNothingInItYieldsEveryDefaultAndStaysUntouched) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"Lumikino.ini");
    AppSettings settings;
    settings.Load(path);
    EXPECT_EQ(ReadFileBytes(path), kBom);
    for (const AppSettings::Key& key : AppSettings::Keys()) {
        if (key.intField) {
            EXPECT_EQ(settings.*key.intField, key.defaultValue) << key.section << L"/" << key.key;
        }
    }
    EXPECT_EQ(settings.direction, 2);
    EXPECT_EQ(settings.volume, 16);
    EXPECT_EQ(settings.transparent, 220);
    EXPECT_EQ(settings.brightness, 0x7FFFFFFF);
    EXPECT_EQ(settings.thumb_time, (std::vector<int>{1, 5, 10, 15, 30, 60}));
    EXPECT_EQ(settings.ThumbnailIntervalRefTime(), 10 * kRefTimePerSecond);
    EXPECT_EQ(settings.SkipStepRefTime(), 10 * kRefTimePerSecond);
    EXPECT_EQ(settings.IdleDelaySeconds(), 5);
    EXPECT_NE(settings.menu_image_path.find(L"\\menu_image.bmp"), std::wstring::npos);
    EXPECT_EQ(settings.File().Path(), path);
}

TEST(AppSettings, EveryKeyRoundTripsThroughTheFile) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"Lumikino.ini");
    AppSettings writer;
    writer.Load(path);
    int value = 3;
    for (const AppSettings::Key& key : AppSettings::Keys()) {
        if (!key.intField) continue;
        ++value;
        writer.WriteInt(key.intField, value % 2 ? -value : value * 1000);  // distinct, signed
    }
    writer.SaveLastOpenFolder(L"D:\\動画\\アニメ");
    for (int i = 0; i < kThumbMenuCount; ++i) {
        writer.File().WriteInt(L"THUMB_MENU", MakeIndexedKey(L"thumb_time", i), 100 + i);
    }

    AppSettings reader;
    reader.Load(path);
    for (const AppSettings::Key& key : AppSettings::Keys()) {
        if (key.intField) {
            EXPECT_EQ(reader.*key.intField, writer.*key.intField) << key.section << L"/" << key.key;
        }
    }
    EXPECT_EQ(reader.last_open_file_folder, L"D:\\動画\\アニメ");
    EXPECT_EQ(reader.thumb_time, (std::vector<int>{100, 101, 102, 103, 104, 105}));
    // Keys land in their own sections: PROC_AMP enable is not SETTING enable.
    EXPECT_EQ(reader.File().GetInt(L"PROC_AMP", L"enable", 999), writer.proc_amp_enable);
    EXPECT_EQ(reader.File().GetInt(L"NOP", L"no_thumbnail", 999), writer.no_thumbnail);
}

TEST(AppSettings, LoadingWritesNothingToAFullFile) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"Lumikino.ini");
    const std::string original = Utf16File(
        L"; 手で書いた設定\r\n"
        L"[LIST]\r\ndirection=1\r\nsmall_image_size = 0\r\n"
        L"[MOVIE]\r\nvolume=5\r\nframe_time_index=9\r\n"
        L"[SETTING]\r\nenable_clock=1\r\nlog_detail_graph=1\r\nunknown_key=x\r\n"
        L"[RESUME]\r\nlast_open_file_folder=C:\\ビデオ\r\n"
        L"[THUMB_MENU]\r\nthumb_time0=2\r\nthumb_time3=0\r\n"
        L"[EXT_INFO]\r\n.mp4=WMP11.AssocFile.MP4\r\n"
        L"[WINDOW]\r\nposx=10\r\n");
    ASSERT_TRUE(WriteFileBytes(path, original));
    AppSettings settings;
    settings.Load(path);
    EXPECT_EQ(ReadFileBytes(path), original);
    EXPECT_EQ(settings.direction, 1);
    EXPECT_EQ(settings.small_image_size, 0);
    EXPECT_EQ(settings.volume, 5);
    EXPECT_EQ(settings.enable_clock, 1);
    EXPECT_EQ(settings.last_open_file_folder, L"C:\\ビデオ");
    EXPECT_EQ(settings.thumb_time, (std::vector<int>{2, 5, 10, 0, 30, 60}));
    EXPECT_EQ(settings.frame_time_index, 9);  // stored as read
}

// The load reads the file once; what it fills in must be what the profile functions give key
// by key, for hand-edited files of every encoding and shape.
TEST(AppSettings, LoadFillsWhatKeyByKeyReadsOfTheFileGive) {
    TempFolder_CL folder;
    const std::vector<std::string> files = {
        Utf16File(L"[list]\r\nDIRECTION = 3 \r\n[MOVIE]\r\nvolume='7'\r\nvolume=8\r\nvolume_balance=-0x10\r\n"
                  L"pitch_keep=12abc\r\n[ SETTING ]\r\ntransparent=\"99\"\r\nno_resume\r\n"
                  L";enable_clock=1\r\n[RESUME]\r\nlast_open_file_folder= 'C:\\動画' \r\n"
                  L"[PROC_AMP]\r\nbrightness=4294967295\r\ncontrast=99999999999\r\n"
                  L"[THUMB_MENU]\r\nthumb_time0=+3\r\nthumb_time2=\r\n[MOVIE]\r\nframe_time_index=4\r\n"),
        "\xEF\xBB\xBF[SETTING]\r\nenable_title=0\r\n[RESUME]\r\nlast_open_file_folder=C:\\\xE5\x8B\x95\r\n",
        "[RESUME]\nlast_open_file_folder=C:\\\x83\x65\x83\x58\x83\x67\n[NOP]\rmouse_hide=0\r",
        Utf16File(L"[RESUME]\r\nlast_open_file_folder\r\n[LIST]\r\ndirection=\r\n"),
    };
    int index = 0;
    for (const std::string& bytes : files) {
        SCOPED_TRACE(index);
        const std::wstring path = folder.Join(L"settings" + std::to_wstring(index++) + L".ini");
        ASSERT_TRUE(WriteFileBytes(path, bytes));
        AppSettings settings;
        settings.Load(path);
        const Inifile_CL& ini = settings.File();
        for (const AppSettings::Key& key : AppSettings::Keys()) {
            if (key.intField) {
                EXPECT_EQ(settings.*key.intField, ini.GetInt(key.section, key.key, key.defaultValue))
                    << key.section << L"/" << key.key;
            }
        }
        const std::wstring unset = L"\x01unset";
        const std::wstring folderText = ini.GetString(L"RESUME", L"last_open_file_folder", unset);
        if (folderText != unset) {
            EXPECT_EQ(settings.last_open_file_folder, folderText);
        }
        const int thumbDefaults[kThumbMenuCount] = {1, 5, 10, 15, 30, 60};
        for (int i = 0; i < kThumbMenuCount; ++i) {
            EXPECT_EQ(settings.thumb_time[size_t(i)],
                      ini.GetInt(L"THUMB_MENU", MakeIndexedKey(L"thumb_time", i), thumbDefaults[i]))
                << i;
        }
        EXPECT_EQ(ReadFileBytes(path), bytes);  // still read only
    }
}

TEST(AppSettings, OutOfRangeValuesNeverIndexOutsideTheirTables) {
    AppSettings s;
    s.direction = 9;
    s.small_image_size = -1;
    s.output_rate_hv = 4;
    s.volume = 99;
    s.volume_balance = -1000;
    s.now_time_pos = 100;
    s.transparent = 0;
    s.countup_time = 3;
    s.skip_sec_button_index = -7;
    s.frame_time_index = 6;
    EXPECT_EQ(s.DirectionIndex(), 2);
    EXPECT_EQ(s.SmallImageSizeIndex(), 2);
    EXPECT_EQ(s.OutputRateHvIndex(), 0);
    EXPECT_EQ(s.VolumeStep(), 20);
    EXPECT_EQ(s.VolumeBalanceDb(), -100);
    EXPECT_EQ(s.NowTimePosIndex(), 0);
    EXPECT_EQ(s.TransparentAlpha(), 10);
    EXPECT_EQ(s.IdleDelaySeconds(), 5);
    EXPECT_EQ(s.SkipStepRefTime(), 10 * kRefTimePerSecond);
    EXPECT_EQ(s.ThumbnailIntervalRefTime(), 10 * kRefTimePerSecond);
    // Intervals below one second read as the default for their slot.
    s.frame_time_index = 3;
    s.thumb_time = {1, 5, 10, 0, 30, 60};
    EXPECT_EQ(s.ThumbnailIntervalSeconds(3), 15);
    s.thumb_time[3] = -20;
    EXPECT_EQ(s.ThumbnailIntervalRefTime(), 15 * kRefTimePerSecond);
    s.thumb_time[3] = 45;
    EXPECT_EQ(s.ThumbnailIntervalRefTime(), 45 * kRefTimePerSecond);
    s.thumb_time.clear();  // never loaded
    EXPECT_EQ(s.ThumbnailIntervalSeconds(0), 1);
}

TEST(AppSettings, SkipStepCaptionsUseFullWidthDigits) {
    AppSettings s;
    s.skip_sec_button_index = 5;
    EXPECT_EQ(s.SkipStepCaption(3, AppSettings::CaptionForm::ToolBar), L"１５ＳＥＣ");
    EXPECT_EQ(s.SkipStepCaption(0, AppSettings::CaptionForm::SettingsPage), L"１秒");
    EXPECT_EQ(s.SkipStepCaption(-1, AppSettings::CaptionForm::SettingsPage), L"６０秒");
}

TEST(LogSwitchesRead, TraceKeysTurnTheirDetailFlagsOnAndAnyNonZeroCounts) {
    TempFolder_CL folder;
    std::wstring path = folder.Join(L"Lumikino.ini");
    ASSERT_TRUE(WriteFileBytes(path, Utf16File(L"[SETTING]\r\nlog_resize_trace=1\r\nlog_detail_resize=0\r\n"
                                               L"log_verbose_frame=7\r\nlog_detail_audio=-1\r\n"
                                               L"resize_defer_modal_size=1\r\n")));
    Inifile_CL ini(path);
    LogSwitches s;
    ReadLogSwitches(ini, s);
    EXPECT_TRUE(s.log_detail_resize);
    EXPECT_TRUE(s.log_detail_frame);
    EXPECT_TRUE(s.log_detail_audio);
    EXPECT_FALSE(s.log_detail_graph);
    EXPECT_FALSE(s.log_detail_renderer);
    EXPECT_FALSE(s.log_detail_other);
    EXPECT_TRUE(s.resize_defer_modal_size);

    LogSwitches none;
    ReadLogSwitches(Inifile_CL(folder.Join(L"empty.ini")), none);
    EXPECT_FALSE(none.log_detail_resize || none.log_detail_frame || none.log_detail_graph ||
                 none.log_detail_renderer || none.log_detail_audio || none.log_detail_other ||
                 none.resize_defer_modal_size);
}

struct BytesCase {
    std::string head;
    uint64_t size;
    IniFileState state;
};
class IniFileStates : public ::testing::TestWithParam<BytesCase> {};

TEST_P(IniFileStates, FirstBytesTellTheEncoding) {
    const BytesCase& c = GetParam();
    EXPECT_EQ(ClassifyIniBytes(reinterpret_cast<const BYTE*>(c.head.data()), c.head.size(), c.size), c.state);
}

INSTANTIATE_TEST_SUITE_P(Heads, IniFileStates,
                         ::testing::Values(BytesCase{"", 0, IniFileState::Empty},
                                           BytesCase{"\xFF\xFE", 2, IniFileState::Utf16},
                                           BytesCase{"\xEF\xBB\xBF", 50, IniFileState::Utf8},
                                           BytesCase{"[SE", 50, IniFileState::SingleByte},
                                           BytesCase{"\xFF", 1, IniFileState::SingleByte},
                                           BytesCase{"\xFE\xFF", 9, IniFileState::SingleByte}));
