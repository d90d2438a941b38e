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

// The thumbnail strip's menu.
constexpr wchar_t kMenuStripMoveToFavorite[] = L"お気に入りフレームへ移動する";
constexpr wchar_t kMenuStripMoveToSkip[] = L"スキップフレームへ移動する";
constexpr wchar_t kMenuMoveToSuffix[] = L"に移動";
constexpr wchar_t kMenuMoveToOpening[] = L"オープニングフレームに移動";
constexpr wchar_t kMenuMoveToEnding[] = L"エンディングフレームに移動";
constexpr wchar_t kMenuMoveToCommercialFormat[] = L"ＣＭフレーム%dに移動";  // n = 1 ... 10
constexpr wchar_t kMenuStripInterval[] = L"縮小画像の表示間隔を設定する";
constexpr wchar_t kMenuIntervalSuffix[] = L"秒毎に表示";  // after the seconds, "%d"
constexpr wchar_t kMenuStripCellSize[] = L"縮小画像のサイズを設定する\t(F3)";
constexpr wchar_t kMenuCellSizeSmall[] = L"小";
constexpr wchar_t kMenuCellSizeMedium[] = L"中";
constexpr wchar_t kMenuCellSizeLarge[] = L"大";
constexpr wchar_t kMenuStripSetFavorite[] = L"お気に入りに設定する";
constexpr wchar_t kMenuStripSetSkip[] = L"スキップフレームに設定する";
constexpr wchar_t kMenuSetSuffix[] = L"に設定する";
constexpr wchar_t kMenuCancelSuffix[] = L"をキャンセルする";
constexpr wchar_t kMenuOpeningFrame[] = L"オープニングフレーム";
constexpr wchar_t kMenuEndingFrame[] = L"エンディングフレーム";
constexpr wchar_t kMenuCommercialFrame[] = L"ＣＭフレーム";  // followed by MenuNumberText
constexpr wchar_t kMenuLoopStart[] = L"ループ再生を開始する";
constexpr wchar_t kMenuLoopEnd[] = L"ループ再生を終了する";
