#pragma once
// The content record of one movie in memory: the values of its record file and the Inifile_CL
// bound to that file, through which single changes are written at once. The player keeps one
// for the movie now loaded; list rows read records into private ones.
// Thread: the thread that owns the instance (UI for the loaded movie's record).

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "store/AppSettings.h"
#include "store/ContentRecordKeys.h"
#include "store/IniEntry.h"
#include "store/Inifile_CL.h"

constexpr int64_t kNoPosition = -1;          // an unset resume point, skip bound or favourite

// The current time as the records store it: seconds since 1970-01-01 UTC.
int64_t CurrentUnixSeconds();

// "" for 0, then one to five "★"; a rating outside 0..5 shows as none.
std::wstring StarText(int starCount);

class ContentInfo {
public:
    struct SkipRange {
        int32_t no_skip = 0;             // from the settings when playback starts, not from the file
        int64_t beg = kNoPosition;
        int64_t end = kNoPosition;
    };
    struct Favorite {
        std::wstring name;
        int64_t frame = kNoPosition;
    };

    // Back to the empty record: every default, no file bound, so every write is skipped.
    void Reset();

    // Binds the record file without creating it (a vanished record must not come back empty).
    void Bind(const std::wstring& recordPath) { m_file.Bind(recordPath); }
    bool HasRecord() const { return m_file.IsBound(); }
    const Inifile_CL& File() const { return m_file; }
    const std::wstring& RecordPath() const { return m_file.Path(); }

    // Fills every field from the bound file; a missing or damaged key gives its default, and
    // add_date the given time. With countPlay, play_count goes up by one and play_date_time
    // becomes nowSeconds, both written back at once (play_count first). The no-skip flags are
    // left as they are.
    void Read(bool countPlay, int64_t nowSeconds);

    // Pure: the whole record in the order a rewrite writes it, unset positions as -1.
    std::vector<IniEntry> RewriteEntries() const;

    // The no-skip flags from the settings: entry 0 opening, 1 ending, 2 ... 11 commercials.
    void ApplyNoSkipFlags(int playOpening, int playEnding, int playCommercials);

    // Write-through changes: the field changes and its key is written at once. Without a
    // bound record only the field changes. Out-of-range indexes change nothing.
    void SetLastPlayFrame(int64_t frame);
    void SetStarCount(int starCount);
    void SetContentName(const std::wstring& name);
    void SetNoResume(int noResume);
    void SetVolOffset(int volOffset);
    void SetSkipRange(int index, int64_t beg, int64_t end);
    void SetFavorite(int index, const std::wstring& name, int64_t frame);
    void SetProcAmp(int enable, int brightness, int contrast, int hue, int saturation);

    // --- fields, in the record's order; the names are the record's keys ---
    uint32_t hash = 0;
    std::wstring ini_name;  // the file the record was read from
    std::wstring content_name;
    std::wstring link_name;
    int32_t no_resume = 0;
    int32_t vol_offset = 0;
    int64_t last_play_frame = kNoPosition;
    std::array<SkipRange, kSkipRangeCount> skip;
    std::array<Favorite, kFavoriteCount> favorites;
    int32_t enable = 0;
    int32_t brightness = kProcAmpNotSet;
    int32_t contrast = kProcAmpNotSet;
    int32_t hue = kProcAmpNotSet;
    int32_t saturation = kProcAmpNotSet;
    std::wstring category;
    std::wstring sub_category;
    std::wstring note;
    int32_t play_count = 0;
    int32_t star_count = 0;
    int64_t play_date_time = 0;
    int64_t add_date = 0;

    // Pure key names of the indexed keys: "beg%02d", "end%02d", "fav_name%02d", "fav%02d".
    static std::wstring SkipBeginKey(int index);
    static std::wstring SkipEndKey(int index);
    static std::wstring FavoriteNameKey(int index);
    static std::wstring FavoriteKey(int index);

private:
    Inifile_CL m_file;
};
