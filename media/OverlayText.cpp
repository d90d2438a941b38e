#include "media/OverlayText.h"

#include "base/TextFormat.h"

namespace {

constexpr int64_t kUnitsPerSecond = 10000000;

std::wstring Hms(int64_t referenceTime) {
    int64_t seconds = referenceTime > 0 ? referenceTime / kUnitsPerSecond : 0;
    return FormatString(L"%02d:%02d:%02d", static_cast<int>(seconds / 3600), static_cast<int>(seconds / 60 % 60),
                        static_cast<int>(seconds % 60));
}

}  // namespace

std::wstring FormatPlayTime(int64_t position, int64_t duration) {
    return L"(" + Hms(position) + L" / " + Hms(duration) + L")";
}

std::wstring ClockText(const SYSTEMTIME& now) {
    const wchar_t* format = now.wMilliseconds < 500 ? L"%2d %02d" : L"%2d:%02d";
    return FormatString(format, static_cast<int>(now.wHour), static_cast<int>(now.wMinute));
}
