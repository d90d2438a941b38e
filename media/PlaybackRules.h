#pragma once
// The playback controller's decisions as pure functions: the rate ladders and their texts,
// where a resume starts, what position is saved, step and seek clamping, the skip ranges and
// the A-B loop, the volume arithmetic, the staged resume's timing and the play-list
// continuation. No windows, no COM, no clock: every input is a parameter.
// Thread: any.

#include <array>
#include <cstdint>
#include <string>

constexpr int64_t kPlaybackRefTimePerSecond = 10'000'000;

// ---- rate ladders ----
constexpr int kRateIndexMin = -9;   // slowest: 0.1
constexpr int kRateIndexMax = 18;   // fastest: 10.0
// The rate of a ladder index: 0 normal, 1 ... 18 fast, -1 ... -9 slow. The ladder values are
// single-precision constants widened to double (1.2 is 1.2000000476837158). An index outside
// the ladders gives 1.0.
double RateForIndex(int index);
// F7 / F8: one rung down / up, never past the ends.
int SlowerRateIndex(int index);
int FasterRateIndex(int index);
// "ＳＰＥＥＤx%.1f" of a rate. slowForm turns the 6th and 8th characters (and the 9th from
// 10.0 on) into their full-width forms, as the slow-down texts show them.
std::wstring SpeedText(double rate, bool slowForm);

// ---- resume and saving ----
constexpr int64_t kResumeEndMargin = 50'000'000;  // a resume this close to the end starts over

enum class ResumeChoice {
    Requested,        // the requested position is used
    UnknownRange,     // the range is empty or negative: the request is used unchanged
    BeforeStart,      // below the start: the start
    NearEnd,          // within kResumeEndMargin of the end: the start
};
struct ResumePosition {
    int64_t position;
    ResumeChoice choice;
};
// Where PlayResume starts for a requested position and the available range.
ResumePosition ChooseResumePosition(int64_t requested, int64_t start, int64_t end);

// The value written as last_play_frame for a position read from the graph: -1 at or beyond
// the end of the range. A range that is empty or negative tells nothing about the end, so the
// position is kept: erasing it would lose the resume point of every movie on such a platform.
int64_t SavedPositionFor(int64_t position, int64_t start, int64_t end);

// ---- seeks and steps ----
constexpr int64_t kHalfSecondStep = 5'000'000;
// position clamped into [start, end]; a range that is empty or negative leaves it alone,
// except that a negative position becomes 0.
int64_t ClampToRange(int64_t position, int64_t start, int64_t end);
// The half-second step while paused: direction < 0 back, otherwise forward, clamped.
int64_t HalfSecondStepTarget(int64_t position, int direction, int64_t start, int64_t end);
// PlayerPrev / PlayerFore: back or forward by the skip step, clamped to the range.
int64_t SkipStepTarget(int64_t position, int64_t step, bool forward, int64_t start, int64_t end);

// ---- skip ranges and the A-B loop ----
constexpr int kSkipEntryCount = 12;  // 0 opening, 1 ending, 2 ... 11 commercials
struct SkipEntry {
    int32_t disabled = 0;  // 1 = play through it
    int64_t begin = -1;
    int64_t end = -1;
};
using SkipEntries = std::array<SkipEntry, kSkipEntryCount>;
struct LoopRange {
    bool active = false;
    int64_t start = -1;
    int64_t end = -1;
};
// What one tick seeks to while playing, or -1 for nothing: with an active loop whose ends are
// set, its start once the position reaches its end; with no active loop, the end of the first
// enabled skip entry (index order) with begin <= position < end.
int64_t TickSeekTarget(const LoopRange& loop, const SkipEntries& entries, int64_t position);
// The A-B loop over the selected thumbnails first ... last of a strip with the interval.
LoopRange LoopFromThumbnails(int firstIndex, int lastIndex, int64_t interval);

// ---- volume (IBasicAudio units, hundredths of a decibel) ----
constexpr int kVolumeStepMax = 20;
constexpr long kVolumeSilent = -10000;
constexpr long kVolumeOffsetUnit = 250;  // a record's volume offset is in steps of 2.5 dB
// The table entry of a step: 0 silent, 1 ... 20 from -4750 up to 0 in 250s; clamped steps.
long VolumeTableEntry(int step);
// What put_Volume gets: the table entry plus the record's offset when content is loaded,
// clamped to -10000 ... 0.
long VolumeFor(int step, int volumeOffset, bool contentLoaded);
// The muted volume: (offset - 40) x 250 with content, otherwise silent; clamped.
long MutedVolumeFor(int volumeOffset, bool contentLoaded);
int ClampVolumeStep(int step);
// "ＶＯＬＵＭＥ" and the two-digit step in full-width digits.
std::wstring VolumeText(int step);

// ---- the staged resume ----
constexpr uint32_t kResumeRunWaitLimitMs = 1200;  // run without a picture after this long
constexpr uint32_t kResumePictureFreshMs = 501;
constexpr int64_t kResumeHealthyProgress = 2'000'000;  // 0.2 s in the 1.5 s after the run
// Whether the deferred run may go ahead: no renderer, a picture that is fresh, or waited long
// enough. Ticks are GetTickCount values (wrap-around safe).
bool DeferredRunDue(bool hasRenderer, bool pictureDelivered, uint32_t pictureAgeMs, uint32_t startTick,
                    uint32_t nowTick);

enum class HealthVerdict { Healthy, Resync, GiveUp };
// The health check after a resume's run: progress since the base, and whether the one
// resynchronisation was spent (or cannot be made).
HealthVerdict JudgeResumeHealth(int64_t position, int64_t base, bool resyncSpent);

// ---- play-list continuation ----
struct PlayListCursor {
    int count = 0;           // entries in the list
    int nextIndex = 0;       // the entry that plays next
    bool listIsSource = false;  // the loaded content came from the list
    bool repeat = false;     // "/Loop" or loop_play
};
struct Continuation {
    bool playNext = false;
    int nextIndex = 0;  // the index the list takes (back to 0 when it wraps)
};
// After a stop: play the next entry while one is due; past the end, wrap to the first only
// when the list is the current content's source and repeat is on.
Continuation DecideContinuation(const PlayListCursor& list);
