#pragma once
// The texts of the two settings sheets and their pages.

// ---- the sheets ----
inline constexpr wchar_t kAppSheetCaption[] = L"アプリケーションの設定";
inline constexpr wchar_t kContentSheetCaption[] = L"コンテンツの設定";

// ---- 基本設定 ----
inline constexpr wchar_t kPageBasic[] = L"基本設定";
inline constexpr wchar_t kGroupStart[] = L"起動";
inline constexpr wchar_t kGroupThumbnail[] = L"サムネイル";
inline constexpr wchar_t kGroupSkipFrame[] = L"スキップフレーム";
inline constexpr wchar_t kGroupSkipStep[] = L"［＋］／［－］ボタンの移動時間";
inline constexpr wchar_t kGroupResume[] = L"リジューム再生";
inline constexpr wchar_t kGroupRate[] = L"再生速度";
inline constexpr wchar_t kCheckDuplicateLaunch[] = L"Lumikinoを複数起動する";
inline constexpr wchar_t kCheckHiddenDecode[] = L"表示されていないサムネイルに関しても先行でデコードを行う";
inline constexpr wchar_t kCheckPlayOpening[] = L"オープニングフレームをスキップしない";
inline constexpr wchar_t kCheckPlayCommercials[] = L"ＣＭフレームをスキップしない";
inline constexpr wchar_t kCheckPlayEnding[] = L"エンディングフレームをスキップしない";
inline constexpr wchar_t kCheckNoResume[] =
    L"リジューム再生を行わない（コンテンツ設定の「リジューム再生は行わない」よりも優先されます）";
inline constexpr wchar_t kCheckRateKeep[] = L"次のコンテンツ再生時に前回の再生速度を維持する";

// ---- 表示設定 ----
inline constexpr wchar_t kPageDisplay[] = L"表示設定";
inline constexpr wchar_t kGroupStripSide[] = L"サムネイルの表示位置(F5)";
inline constexpr wchar_t kGroupTransparency[] = L"ウインドウ透過表示(Window7以降)";
inline constexpr wchar_t kGroupPlayWindow[] = L"再生ウインドウ表示";
inline constexpr wchar_t kItemTop[] = L"上に表示";
inline constexpr wchar_t kItemBottom[] = L"下に表示";
inline constexpr wchar_t kItemLeft[] = L"左に表示";
inline constexpr wchar_t kItemRight[] = L"右に表示";
inline constexpr wchar_t kLabelOpacityFirst[] = L"透過率(000%)";
inline constexpr wchar_t kLabelOpacityFormat[] = L"透過度(%d)";
inline constexpr wchar_t kCheckMouseTransparent[] = L"透過表示時の際にマウス操作も透過させる";
inline constexpr wchar_t kCheckTitle[] = L"コンテンツのタイトルを表示する";
inline constexpr wchar_t kCheckPlayTime[] = L"再生時間を表示する";
inline constexpr wchar_t kCheckClock[] = L"時計を表示する(F9)";
inline constexpr wchar_t kLabelClockCorner[] = L"時計の表示位置";
inline constexpr wchar_t kItemTopLeft[] = L"左上に表示";
inline constexpr wchar_t kItemTopRight[] = L"右上に表示";
inline constexpr wchar_t kItemBottomLeft[] = L"左下に表示";
inline constexpr wchar_t kItemBottomRight[] = L"右下に表示";
inline constexpr wchar_t kNoticeCaption[] = L"お知らせ";
inline constexpr wchar_t kNoticeMouseTransparent[] =
    L"マウスの操作を透過させると、透過表示中にマウス操作が行えなくなります。\r\n"
    L"マウス操作を再開したい場合は、タスクバーの「Lumikino」を\r\n"
    L"クリックして最小化すると透過表示が解除され、再度操作が可能になります。";

// ---- 縮小画像表示設定 ----
inline constexpr wchar_t kPageThumbnail[] = L"縮小画像表示設定";
inline constexpr wchar_t kLabelIntervalMenu[] = L"縮小画像表示間隔メニュー";
inline constexpr wchar_t kColumnMenuText[] = L"メニュー表示";
inline constexpr wchar_t kColumnInterval[] = L"縮小画像表示間隔";
inline constexpr wchar_t kRowMenuTextFormat[] = L"%d秒毎に表示";
inline constexpr wchar_t kRowIntervalFormat[] = L"%d秒";
inline constexpr wchar_t kMenuChangeInterval[] = L"表示間隔を変更する";
inline constexpr wchar_t kIntervalEditCaption[] = L"サムネイルの表示間隔(sec)";

// ---- 音声設定 ----
inline constexpr wchar_t kPageSound[] = L"音声設定";
inline constexpr wchar_t kGroupSlowFast[] = L"スロー、倍速再生設定";
inline constexpr wchar_t kLabelBalance[] = L"左右スピーカー音量バランス";
inline constexpr wchar_t kLabelCentre[] = L"中央";
inline constexpr wchar_t kBalanceEven[] = L"左右スピーカー均等(±0)dB";
inline constexpr wchar_t kBalanceRightFormat[] = L"右スピーカ(＋%d)dB";
inline constexpr wchar_t kBalanceLeftFormat[] = L"左スピーカ(＋%d)dB";
inline constexpr wchar_t kCheckPitchKeep[] =
    L"スロー、倍速再生時に音程を維持する(次回コンテンツ読み込み時に反映されます)";
inline constexpr wchar_t kLabelPitchQuality[] =
    L"音程維持時の音質（ＰＣのスペックが低く、倍速再生が遅くなる際は（低）にしてください。）";
inline constexpr wchar_t kItemQualityLow[] = L"音質（低）";
inline constexpr wchar_t kItemQualityNormal[] = L"音質（通常）";

// ---- 色設定 / 色調整 ----
inline constexpr wchar_t kPageAppColour[] = L"色設定";
inline constexpr wchar_t kPageContentColour[] = L"色調整";
inline constexpr wchar_t kGroupColour[] = L"色調の調整";
inline constexpr wchar_t kCheckAppColour[] = L"色調を設定する";
inline constexpr wchar_t kCheckContentColour[] = L"コンテンツの色調を個別に設定する";
inline constexpr wchar_t kLabelBrightness[] = L"明度";
inline constexpr wchar_t kLabelContrast[] = L"対比";
inline constexpr wchar_t kLabelSaturation[] = L"彩度";
inline constexpr wchar_t kLabelHue[] = L"色相";

// ---- 削除設定 ----
inline constexpr wchar_t kPageDelete[] = L"削除設定";
inline constexpr wchar_t kCheckDeleteMenu[] = L"削除メニューを有効にする";

// ---- 操作設定 ----
inline constexpr wchar_t kPageNoOperation[] = L"操作設定";
inline constexpr wchar_t kGroupIdleCounter[] = L"無操作カウンター";
inline constexpr wchar_t kGroupDoubleClick[] = L"再生画面でのダブルクリックの動作";
inline constexpr wchar_t kItemIdle3[] = L"無操作が３秒続いた時に処理する";
inline constexpr wchar_t kItemIdle5[] = L"無操作が５秒続いた時に処理する";
inline constexpr wchar_t kItemIdle10[] = L"無操作が１０秒続いた時に処理する";
inline constexpr wchar_t kCheckMouseHide[] = L"カウントアップ時にマウスカーソルを消す";
inline constexpr wchar_t kCheckNoFrame[] = L"カウントアップ時にフレーム無し表示にする";
inline constexpr wchar_t kCheckNoThumbnail[] = L"カウントアップ時にサムネイル表示を非表示にする";
inline constexpr wchar_t kCheckMoveThumbnail[] = L"現在の再生位置のサムネイルを表示する";
inline constexpr wchar_t kItemToggleStrip[] = L"サムネイルの表示／非表示";
inline constexpr wchar_t kItemToggleMaximised[] = L"最大化表示／ウインドウ表示";

// ---- 関連付け ----
inline constexpr wchar_t kPageAssociation[] = L"関連付け";
inline constexpr wchar_t kColumnExtension[] = L"拡張子";
inline constexpr wchar_t kColumnContentType[] = L"Content Type";
inline constexpr wchar_t kColumnHandler[] = L"関連付けされているアプリ";
inline constexpr wchar_t kButtonSelectAll[] = L"全て選択";
inline constexpr wchar_t kButtonClearAll[] = L"選択を解除";
inline constexpr wchar_t kAssociationNote[] = L" （関連付けはチェックをはずす事で、いつでも元のアプリケーションへ戻せます）";
inline constexpr wchar_t kGroupAssociation[] = L"関連付け";
inline constexpr wchar_t kGroupRegistry[] = L"レジストリ情報";
inline constexpr wchar_t kButtonAssociationUi[] = L"プログラムの関連付けを設定する";
inline constexpr wchar_t kButtonRegisterAll[] = L"関連付け情報を更新する";

// ---- バージョン情報 ----
inline constexpr wchar_t kPageVersion[] = L"バージョン情報";
inline constexpr wchar_t kGroupVersion[] = L"バージョン情報";
inline constexpr wchar_t kVersionText[] = L"Version : 1.3.1";
inline constexpr wchar_t kButtonSupportSite[] = L"サポートサイトへ";
inline constexpr wchar_t kGroupNotify[] = L"バージョンアップの通知";
inline constexpr wchar_t kCheckNoNotify[] = L"バージョンアップの通知をしない";
inline constexpr wchar_t kGroupLibraries[] = L"このプログラムに含まれているライブラリの著作権について";

// ---- コンテンツ設定 ----
inline constexpr wchar_t kPageContent[] = L"コンテンツ設定";
inline constexpr wchar_t kGroupSharing[] = L"コンテンツ情報の共有";
inline constexpr wchar_t kGroupTitle[] = L"コンテンツタイトル";
inline constexpr wchar_t kGroupPlayControl[] = L"再生制御";
inline constexpr wchar_t kGroupVolumeOffset[] = L"音量オフセット";
inline constexpr wchar_t kGroupStars[] = L"★マーク";
inline constexpr wchar_t kCheckShare[] = L"コンテンツ情報を動画データと同じフォルダへコピーして共有する";
inline constexpr wchar_t kCheckContentNoResume[] = L"リジューム再生は行わない（音楽プロモーション映像の時に便利です）";
inline constexpr wchar_t kVolumeOffsetFormat[] = L"(%2d)";
