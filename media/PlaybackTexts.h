#pragma once
// On-screen texts of the playback controller, shown in the video overlay.

constexpr wchar_t kTextSpeedFormat[] = L"ＳＰＥＥＤx%.1f";
constexpr wchar_t kTextHalfSecondBack[] = L"－０．５ＳＥＣ";
constexpr wchar_t kTextHalfSecondForward[] = L"＋０．５ＳＥＣ";
constexpr wchar_t kTextStepBackPrefix[] = L"－";
constexpr wchar_t kTextStepForwardPrefix[] = L"＋";
constexpr wchar_t kTextMute[] = L"ＭＵＴＥ";
constexpr wchar_t kTextVolumePrefix[] = L"ＶＯＬＵＭＥ";
constexpr wchar_t kTextLoop[] = L"ＬＯＯＰ";
constexpr wchar_t kTextPlay[] = L"ＰＬＡＹ";
constexpr wchar_t kTextPause[] = L"ＰＡＵＳＥ";
constexpr wchar_t kTextStop[] = L"ＳＴＯＰ";
constexpr wchar_t kTextStart[] = L"ＳＴＡＲＴ";
