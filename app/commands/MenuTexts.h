#pragma once
// The texts of the player's context menus, exactly as the user sees them.

constexpr wchar_t kMenuFullScreen[] = L"全画面表示\t(ESC/F4)";
constexpr wchar_t kMenuWindowed[] = L"ウインドウ表示\t(ESC/F4)";
constexpr wchar_t kMenuDisplay[] = L"表示方法";
constexpr wchar_t kMenuStripToPosition[] = L"リストを現在の再生位置へ移動する";
constexpr wchar_t kMenuBorderlessOn[] = L"フレーム無し表示";
constexpr wchar_t kMenuBorderlessOff[] = L"フレーム有り表示";
constexpr wchar_t kMenuTopmostOn[] = L"最前面に表示する";
constexpr wchar_t kMenuTopmostOff[] = L"最前面に表示しない";
constexpr wchar_t kMenuTransparentOn[] = L"ウインドウを透過表示する";
constexpr wchar_t kMenuTransparentOff[] = L"ウインドウを透過表示しない";
constexpr wchar_t kMenuRatio[] = L"動画再生の画面比率\t(F1)";
constexpr wchar_t kMenuRatioFitWidth[] = L"比率を守って最大幅で表示";
constexpr wchar_t kMenuRatioFitHeight[] = L"比率を守って縦が最大になるように表示する";
constexpr wchar_t kMenuRatioStretch[] = L"比率を無視して表示する";
constexpr wchar_t kMenuRatioNative[] = L"コンテンツそのままのサイズで表示";
constexpr wchar_t kMenuFavorites[] = L"お気に入り";
constexpr wchar_t kMenuPlayFromSuffix[] = L"から再生";
constexpr wchar_t kMenuAlbum[] = L"Kinoshelf";
constexpr wchar_t kMenuAddTags[] = L"タグを追加する";
constexpr wchar_t kMenuAlbumStars[] = L"★を付ける";
constexpr wchar_t kMenuContentSettings[] = L"コンテンツ設定";
constexpr wchar_t kMenuSupportSite[] = L"サポートサイトへ";
constexpr wchar_t kMenuAppSettings[] = L"アプリ設定";

// The list item menus of the history and play list dialogs.
constexpr wchar_t kMenuListPlay[] = L"再生する";
constexpr wchar_t kMenuListPlayFromArchive[] = L"テンポラリへ解凍後に再生する";
constexpr wchar_t kMenuListOpenFolder[] = L"このファイルのあるフォルダを開く";
constexpr wchar_t kMenuListExtract[] = L"ファイルを指定したフォルダへ解凍する";
constexpr wchar_t kMenuListDelete[] = L"動画ファイルを削除する";
