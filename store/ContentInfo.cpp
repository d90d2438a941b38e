#include "store/ContentInfo.h"

#include <windows.h>

#include <climits>

#include "base/TextFormat.h"

namespace {

// A negative position other than -1 cannot come from the player; it reads as none.
int64_t CheckedPosition(int64_t position) { return position < 0 ? kNoPosition : position; }

int CheckedRange(int value, int low, int high, int fallback) {
    return (value >= low && value <= high) ? value : fallback;
}

}  // namespace

int64_t CurrentUnixSeconds() {
    FILETIME now{};
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER units;
    units.LowPart = now.dwLowDateTime;
    units.HighPart = now.dwHighDateTime;
    constexpr uint64_t kUnitsPerSecond = 10'000'000;
    constexpr uint64_t kUnixEpochSeconds = 11'644'473'600;  // 1601-01-01 to 1970-01-01
    return static_cast<int64_t>(units.QuadPart / kUnitsPerSecond) - static_cast<int64_t>(kUnixEpochSeconds);
}

std::wstring StarText(int starCount) {
    if (starCount <= 0 || starCount > kStarCountMax) return std::wstring();
    return std::wstring(static_cast<size_t>(starCount), L'★');
}

std::wstring ContentInfo::SkipBeginKey(int index) { return FormatString(kKeySkipBeginFormat, index); }
std::wstring ContentInfo::SkipEndKey(int index) { return FormatString(kKeySkipEndFormat, index); }
std::wstring ContentInfo::FavoriteNameKey(int index) { return FormatString(kKeyFavoriteNameFormat, index); }
std::wstring ContentInfo::FavoriteKey(int index) { return FormatString(kKeyFavoriteFormat, index); }

void ContentInfo::Reset() { *this = ContentInfo(); }

void ContentInfo::Read(bool countPlay, int64_t nowSeconds) {
    const Inifile_CL& f = m_file;
    hash = static_cast<uint32_t>(f.GetInt(kSectionMovieInfo, kKeyHash, 0));
    ini_name = f.Path();
    content_name = f.GetString(kSectionMovieInfo, kKeyContentName, L"");
    link_name = f.GetString(kSectionMovieInfo, kKeyLinkName, L"");
    no_resume = f.GetInt(kSectionMovieInfo, kKeyNoResume, 0);
    last_play_frame = CheckedPosition(f.GetHex64(kSectionMovieInfo, kKeyLastPlayFrame, kNoPosition));
    // The controller turns the offset into decibels; a hand-edited value must not deafen.
    vol_offset = CheckedRange(f.GetInt(kSectionMovieInfo, kKeyVolOffset, 0), kVolOffsetMin, kVolOffsetMax, 0);
    for (int n = 0; n < kSkipRangeCount; ++n) {
        skip[n].beg = CheckedPosition(f.GetHex64(kSectionSkipFrame, SkipBeginKey(n), kNoPosition));
        skip[n].end = CheckedPosition(f.GetHex64(kSectionSkipFrame, SkipEndKey(n), kNoPosition));
    }
    for (int n = 0; n < kFavoriteCount; ++n) {
        favorites[n].name = f.GetString(kSectionFavoritesFrame, FavoriteNameKey(n), L"");
        favorites[n].frame = CheckedPosition(f.GetHex64(kSectionFavoritesFrame, FavoriteKey(n), kNoPosition));
    }
    enable = f.GetInt(kSectionProcAmp, kKeyEnable, 0);
    brightness = f.GetInt(kSectionProcAmp, kKeyBrightness, kProcAmpNotSet);
    contrast = f.GetInt(kSectionProcAmp, kKeyContrast, kProcAmpNotSet);
    hue = f.GetInt(kSectionProcAmp, kKeyHue, kProcAmpNotSet);
    saturation = f.GetInt(kSectionProcAmp, kKeySaturation, kProcAmpNotSet);
    category = f.GetString(kSectionCategory, kKeyCategory, L"");
    sub_category = f.GetString(kSectionCategory, kKeySubCategory, L"");
    note = f.GetString(kSectionMovieInfo, kKeyNote, L"");
    // A negative count cannot be counted on from; the star rating is 0 to 5, -1 meaning none.
    play_count = f.GetInt(kSectionMovieInfo, kKeyPlayCount, 0);
    if (play_count < 0) play_count = 0;
    star_count = CheckedRange(f.GetInt(kSectionMovieInfo, kKeyStarCount, -1), 0, kStarCountMax, 0);
    add_date = f.GetHex64(kSectionMovieInfo, kKeyAddDate, nowSeconds);
    // Read as well, so a rewrite after a read without a counted play keeps the last play's time.
    play_date_time = f.GetHex64(kSectionMovieInfo, kKeyPlayDateTime, 0);

    if (countPlay) {
        if (play_count < INT_MAX) ++play_count;
        play_date_time = nowSeconds;
        f.WriteInt(kSectionMovieInfo, kKeyPlayCount, play_count);
        f.WriteHex64(kSectionMovieInfo, kKeyPlayDateTime, play_date_time);
    }
}

std::vector<IniEntry> ContentInfo::RewriteEntries() const {
    std::vector<IniEntry> entries;
    entries.reserve(80);
    auto text = [&](const wchar_t* section, const std::wstring& key, const std::wstring& value) {
        entries.push_back(IniEntry{section, key, value});
    };
    auto number = [&](const wchar_t* section, const std::wstring& key, int value) {
        text(section, key, FormatString(L"%d", value));
    };
    auto hex64 = [&](const wchar_t* section, const std::wstring& key, int64_t value) {
        text(section, key, Inifile_CL::FormatHex64(value));
    };
    // The hash is unsigned but has always been stored as a signed "%d".
    number(kSectionMovieInfo, kKeyHash, static_cast<int>(hash));
    text(kSectionMovieInfo, kKeyIniName, ini_name);
    text(kSectionMovieInfo, kKeyContentName, content_name);
    text(kSectionMovieInfo, kKeyLinkName, link_name);
    number(kSectionMovieInfo, kKeyNoResume, no_resume);
    number(kSectionMovieInfo, kKeyPlayCount, play_count);
    hex64(kSectionMovieInfo, kKeyLastPlayFrame, last_play_frame);
    number(kSectionMovieInfo, kKeyVolOffset, vol_offset);
    number(kSectionSkipFrame, kKeyCount, kSkipRangeCount);
    for (int n = 0; n < kSkipRangeCount; ++n) {
        hex64(kSectionSkipFrame, SkipBeginKey(n), skip[n].beg);
        hex64(kSectionSkipFrame, SkipEndKey(n), skip[n].end);
    }
    number(kSectionFavoritesFrame, kKeyCount, kFavoriteCount);
    for (int n = 0; n < kFavoriteCount; ++n) {
        text(kSectionFavoritesFrame, FavoriteNameKey(n), favorites[n].name);
        hex64(kSectionFavoritesFrame, FavoriteKey(n), favorites[n].frame);
    }
    number(kSectionProcAmp, kKeyEnable, enable);
    number(kSectionProcAmp, kKeyBrightness, brightness);
    number(kSectionProcAmp, kKeyContrast, contrast);
    number(kSectionProcAmp, kKeyHue, hue);
    number(kSectionProcAmp, kKeySaturation, saturation);
    text(kSectionCategory, kKeyCategory, category);
    text(kSectionCategory, kKeySubCategory, sub_category);
    text(kSectionMovieInfo, kKeyNote, note);
    number(kSectionMovieInfo, kKeyStarCount, star_count);
    hex64(kSectionMovieInfo, kKeyPlayDateTime, play_date_time);
    hex64(kSectionMovieInfo, kKeyAddDate, add_date);
    return entries;
}

void ContentInfo::ApplyNoSkipFlags(int playOpening, int playEnding, int playCommercials) {
    skip[kSkipOpening].no_skip = playOpening;
    skip[kSkipEnding].no_skip = playEnding;
    for (int n = kSkipFirstCommercial; n < kSkipRangeCount; ++n) skip[n].no_skip = playCommercials;
}

void ContentInfo::SetLastPlayFrame(int64_t frame) {
    last_play_frame = frame;
    m_file.WriteHex64(kSectionMovieInfo, kKeyLastPlayFrame, frame);
}

void ContentInfo::SetStarCount(int starCount) {
    if (starCount < 0 || starCount > kStarCountMax) return;
    star_count = starCount;
    m_file.WriteInt(kSectionMovieInfo, kKeyStarCount, starCount);
}

void ContentInfo::SetContentName(const std::wstring& name) {
    content_name = name;
    m_file.WriteString(kSectionMovieInfo, kKeyContentName, name);
}

void ContentInfo::SetNoResume(int noResume) {
    no_resume = noResume;
    m_file.WriteInt(kSectionMovieInfo, kKeyNoResume, noResume);
}

void ContentInfo::SetVolOffset(int volOffset) {
    if (volOffset < kVolOffsetMin || volOffset > kVolOffsetMax) return;
    vol_offset = volOffset;
    m_file.WriteInt(kSectionMovieInfo, kKeyVolOffset, volOffset);
}

void ContentInfo::SetSkipRange(int index, int64_t beg, int64_t end) {
    if (index < 0 || index >= kSkipRangeCount) return;
    skip[index].beg = beg;
    skip[index].end = end;
    m_file.WriteHex64(kSectionSkipFrame, SkipBeginKey(index), beg);
    m_file.WriteHex64(kSectionSkipFrame, SkipEndKey(index), end);
}

void ContentInfo::SetFavorite(int index, const std::wstring& name, int64_t frame) {
    if (index < 0 || index >= kFavoriteCount) return;
    favorites[index].name = name;
    favorites[index].frame = frame;
    m_file.WriteString(kSectionFavoritesFrame, FavoriteNameKey(index), name);
    m_file.WriteHex64(kSectionFavoritesFrame, FavoriteKey(index), frame);
}

void ContentInfo::SetProcAmp(int enableValue, int brightnessValue, int contrastValue, int hueValue,
                             int saturationValue) {
    enable = enableValue;
    brightness = brightnessValue;
    contrast = contrastValue;
    hue = hueValue;
    saturation = saturationValue;
    m_file.WriteInt(kSectionProcAmp, kKeyEnable, enable);
    m_file.WriteInt(kSectionProcAmp, kKeyBrightness, brightness);
    m_file.WriteInt(kSectionProcAmp, kKeyContrast, contrast);
    m_file.WriteInt(kSectionProcAmp, kKeyHue, hue);
    m_file.WriteInt(kSectionProcAmp, kKeySaturation, saturation);
}
