#include "media/PlaybackRules.h"

#include <algorithm>
#include <cwchar>

#include "media/PlaybackTexts.h"

namespace {
// The ladders are kept as single-precision values, as the player always stored them; the
// widened doubles are what reaches the graph and the pitch filter.
constexpr float kFastLadder[kRateIndexMax] = {1.2f, 1.4f, 1.5f, 1.6f, 1.8f, 2.0f, 2.2f, 2.4f, 2.6f,
                                              2.8f, 3.0f, 3.2f, 3.4f, 3.6f, 3.8f, 4.0f, 5.0f, 10.0f};
constexpr float kSlowLadder[-kRateIndexMin] = {0.9f, 0.8f, 0.7f, 0.6f, 0.5f, 0.4f, 0.3f, 0.2f, 0.1f};

constexpr wchar_t kFullWidthShift = 0xFEE0;

bool RangeKnown(int64_t start, int64_t end) { return start >= 0 && end > start; }
}  // namespace

double RateForIndex(int index) {
    if (index > 0 && index <= kRateIndexMax) return static_cast<double>(kFastLadder[index - 1]);
    if (index < 0 && index >= kRateIndexMin) return static_cast<double>(kSlowLadder[-index - 1]);
    return 1.0;
}

int SlowerRateIndex(int index) { return std::max(kRateIndexMin, std::min(kRateIndexMax, index) - 1); }
int FasterRateIndex(int index) { return std::min(kRateIndexMax, std::max(kRateIndexMin, index) + 1); }

std::wstring SpeedText(double rate, bool slowForm) {
    wchar_t buffer[64] = {};
    std::swprintf(buffer, 64, kTextSpeedFormat, rate);
    std::wstring text(buffer);
    if (slowForm) {
        // Positions counted from 1, as the texts were laid out: the "x" and the character two
        // places on (the decimal point below 10, a digit from 10 on) become full width.
        auto widen = [&text](size_t position) {
            if (position <= text.size() && text[position - 1] >= 0x21 && text[position - 1] <= 0x7E)
                text[position - 1] = static_cast<wchar_t>(text[position - 1] + kFullWidthShift);
        };
        widen(6);
        widen(8);
        if (rate >= 10.0) widen(9);
    }
    return text;
}

ResumePosition ChooseResumePosition(int64_t requested, int64_t start, int64_t end) {
    if (!RangeKnown(start, end)) return {requested, ResumeChoice::UnknownRange};
    if (requested < start) return {start, ResumeChoice::BeforeStart};
    if (requested >= end - kResumeEndMargin) return {start, ResumeChoice::NearEnd};
    return {requested, ResumeChoice::Requested};
}

int64_t SavedPositionFor(int64_t position, int64_t start, int64_t end) {
    if (!RangeKnown(start, end)) return position;
    return position >= end ? -1 : position;
}

int64_t ClampToRange(int64_t position, int64_t start, int64_t end) {
    if (!RangeKnown(start, end)) return std::max<int64_t>(position, 0);
    return std::min(std::max(position, start), end);
}

int64_t HalfSecondStepTarget(int64_t position, int direction, int64_t start, int64_t end) {
    return ClampToRange(direction < 0 ? position - kHalfSecondStep : position + kHalfSecondStep, start, end);
}

int64_t SkipStepTarget(int64_t position, int64_t step, bool forward, int64_t start, int64_t end) {
    return ClampToRange(forward ? position + step : position - step, start, end);
}

int64_t TickSeekTarget(const LoopRange& loop, const SkipEntries& entries, int64_t position) {
    if (loop.active) {
        if (loop.start < 0 || loop.end < 0) return -1;
        return position >= loop.end ? loop.start : -1;
    }
    for (const SkipEntry& entry : entries) {
        if (entry.disabled != 0) continue;
        if (entry.begin <= position && position < entry.end) return entry.end;
    }
    return -1;
}

LoopRange LoopFromThumbnails(int firstIndex, int lastIndex, int64_t interval) {
    LoopRange loop;
    loop.active = true;
    loop.start = static_cast<int64_t>(firstIndex) * interval;
    loop.end = static_cast<int64_t>(lastIndex) * interval + interval;
    return loop;
}

int ClampVolumeStep(int step) { return std::min(kVolumeStepMax, std::max(0, step)); }

long VolumeTableEntry(int step) {
    step = ClampVolumeStep(step);
    if (step == 0) return kVolumeSilent;
    return -4750 + kVolumeOffsetUnit * (step - 1);
}

namespace {
long ClampVolume(long long volume) { return static_cast<long>(std::min<long long>(0, std::max<long long>(kVolumeSilent, volume))); }
}  // namespace

long VolumeFor(int step, int volumeOffset, bool contentLoaded) {
    long long volume = VolumeTableEntry(step);
    if (contentLoaded) volume += static_cast<long long>(volumeOffset) * kVolumeOffsetUnit;
    return ClampVolume(volume);
}

long MutedVolumeFor(int volumeOffset, bool contentLoaded) {
    if (!contentLoaded) return kVolumeSilent;
    return ClampVolume((static_cast<long long>(volumeOffset) - 40) * kVolumeOffsetUnit);
}

std::wstring VolumeText(int step) {
    wchar_t digits[8] = {};
    std::swprintf(digits, 8, L"%02d", ClampVolumeStep(step));
    std::wstring text(kTextVolumePrefix);
    for (const wchar_t* c = digits; *c; ++c) text.push_back(static_cast<wchar_t>(*c + kFullWidthShift));
    return text;
}

bool DeferredRunDue(bool hasRenderer, bool pictureDelivered, uint32_t pictureAgeMs, uint32_t startTick,
                    uint32_t nowTick) {
    if (!hasRenderer) return true;
    if (pictureDelivered && pictureAgeMs < kResumePictureFreshMs) return true;
    return nowTick - startTick >= kResumeRunWaitLimitMs;
}

HealthVerdict JudgeResumeHealth(int64_t position, int64_t base, bool resyncSpent) {
    if (position - base >= kResumeHealthyProgress) return HealthVerdict::Healthy;
    return resyncSpent ? HealthVerdict::GiveUp : HealthVerdict::Resync;
}

Continuation DecideContinuation(const PlayListCursor& list) {
    if (list.count <= 0) return {};
    if (list.nextIndex >= 0 && list.nextIndex < list.count) return {true, list.nextIndex};
    if (list.nextIndex >= list.count && list.listIsSource && list.repeat) return {true, 0};
    return {};
}
