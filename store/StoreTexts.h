#pragma once
// User-visible texts of the settings and records subsystem.

constexpr wchar_t kTextShareWriteFailedCaption[] = L"ファイル書き込み失敗";
constexpr wchar_t kTextShareWriteFailed[] =
    L"共有ファイルの書き込みに失敗しました。動画の保存されているフォルダが\r\n"
    L"書き込みが可能になっているかを確認してください。";
