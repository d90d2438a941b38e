#pragma once
// Fixed texts and names of the thumbnail strip.

// Labels of the skip ranges in their stored order: opening, ending, commercials 1 ... 10.
inline constexpr const wchar_t* kSkipLabels[12] = {L"ＯＰ",  L"ＥＤ",  L"ＣＭ１", L"ＣＭ２", L"ＣＭ３", L"ＣＭ４",
                                                   L"ＣＭ５", L"ＣＭ６", L"ＣＭ７", L"ＣＭ８", L"ＣＭ９", L"ＣＭ10"};
// Labels of the favourite frames 1 ... 10.
inline constexpr const wchar_t* kFavoriteLabels[10] = {L"★１", L"★２", L"★３", L"★４", L"★５",
                                                       L"★６", L"★７", L"★８", L"★９", L"★10"};

// The picture a cell of sound-only content shows, beside the program.
inline constexpr wchar_t kSoundOnlyPictureName[] = L"sound_only_mode.png";
// The labels' font, and what stands in where it is missing.
inline constexpr wchar_t kStripFontFace[] = L"MS UI Gothic";
