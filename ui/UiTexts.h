#pragma once
// User-visible texts of the stock dialogs.

inline constexpr const wchar_t kTextCancel[] = L"キャンセル";
inline constexpr const wchar_t kTextOk[] = L"　ＯＫ　";  // ideographic spaces widen the button
