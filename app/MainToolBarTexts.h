#pragma once
// The tips of the main window's tool bar buttons.

inline constexpr const wchar_t kTipOpenFile[] = L"ファイルを開く";
inline constexpr const wchar_t kTipPlayPause[] = L"再生／一時停止";
inline constexpr const wchar_t kTipStop[] = L"停止";
inline constexpr const wchar_t kTipPrevious[] = L"前へ";
inline constexpr const wchar_t kTipNext[] = L"次へ";
inline constexpr const wchar_t kTipSlower[] = L"遅く";
inline constexpr const wchar_t kTipFaster[] = L"速く";
inline constexpr const wchar_t kTipMute[] = L"消音";
inline constexpr const wchar_t kTipFullScreen[] = L"フルスクリーン";
inline constexpr const wchar_t kTipThumbnailStrip[] = L"サムネイルの表示／非表示";
inline constexpr const wchar_t kTipCapture[] = L"画面キャプチャ";
inline constexpr const wchar_t kTipHistory[] = L"再生履歴";
inline constexpr const wchar_t kTipPlayList[] = L"プレイリスト";
