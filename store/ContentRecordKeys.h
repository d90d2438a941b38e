#pragma once
// Section and key names of a content record file. They are shared with older versions of the
// player and with the album application, so they must match exactly.

constexpr wchar_t kSectionMovieInfo[] = L"MOVIE_INFO";
constexpr wchar_t kSectionSkipFrame[] = L"SKIP_FRAME";
constexpr wchar_t kSectionFavoritesFrame[] = L"FAVORITES_FRAME";
constexpr wchar_t kSectionProcAmp[] = L"PROC_AMP";
constexpr wchar_t kSectionCategory[] = L"CATEGORY";

constexpr wchar_t kKeyIniName[] = L"ini_name";
constexpr wchar_t kKeyHash[] = L"hash";
constexpr wchar_t kKeyLinkName[] = L"link_name";
constexpr wchar_t kKeyContentName[] = L"content_name";
constexpr wchar_t kKeyNoResume[] = L"no_resume";
constexpr wchar_t kKeyPlayCount[] = L"play_count";
constexpr wchar_t kKeyLastPlayFrame[] = L"last_play_frame";
constexpr wchar_t kKeyVolOffset[] = L"vol_offset";
constexpr wchar_t kKeyNote[] = L"note";
constexpr wchar_t kKeyStarCount[] = L"star_count";
constexpr wchar_t kKeyAddDate[] = L"add_date";
constexpr wchar_t kKeyPlayDateTime[] = L"play_date_time";
constexpr wchar_t kKeyShareContentInfo[] = L"share_content_info";
// "size:hash" of the movie file (FileFingerprint.h); lets the record follow a moved movie.
// Written into local records only; older versions and the album application ignore it.
constexpr wchar_t kKeyFingerprint[] = L"fingerprint";

constexpr wchar_t kKeyCount[] = L"count";            // SKIP_FRAME and FAVORITES_FRAME; written only
constexpr wchar_t kKeySkipBeginFormat[] = L"beg%02d";
constexpr wchar_t kKeySkipEndFormat[] = L"end%02d";
constexpr wchar_t kKeyFavoriteNameFormat[] = L"fav_name%02d";
constexpr wchar_t kKeyFavoriteFormat[] = L"fav%02d";

constexpr wchar_t kKeyEnable[] = L"enable";
constexpr wchar_t kKeyBrightness[] = L"brightness";
constexpr wchar_t kKeyContrast[] = L"contrast";
constexpr wchar_t kKeyHue[] = L"hue";
constexpr wchar_t kKeySaturation[] = L"saturation";

constexpr wchar_t kKeyCategory[] = L"category";
constexpr wchar_t kKeySubCategory[] = L"sub_category";

// Skip entry 0 is the opening, 1 the ending, 2 ... 11 the commercial breaks 1 ... 10.
constexpr int kSkipRangeCount = 12;
constexpr int kSkipOpening = 0;
constexpr int kSkipEnding = 1;
constexpr int kSkipFirstCommercial = 2;
constexpr int kFavoriteCount = 10;

constexpr int kStarCountMax = 5;
constexpr int kVolOffsetMin = -10;
constexpr int kVolOffsetMax = 10;
