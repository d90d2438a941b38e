#pragma once
// Every command of the player in one table: the low word of the main window's WM_COMMAND.
// Menus, the tool bar, the on-screen control bar, the key table, the thumbnail worker and
// other instances all send these numbers, so the fixed ones must never change. lParam is 0
// unless a line says otherwise.

#include <windows.h>

// ---- The picture menu and the strip menu ----
// The picture's ratio mode: output_rate_hv = id - CMD_RATIO_FIRST.
constexpr WORD CMD_RATIO_FIT_WIDTH = 0x8011;   // keep the ratio, as wide as the window allows
constexpr WORD CMD_RATIO_FIT_HEIGHT = 0x8012;  // keep the ratio, as high as the window allows
constexpr WORD CMD_RATIO_STRETCH = 0x8013;     // fill the window, ignoring the ratio
constexpr WORD CMD_RATIO_NATIVE = 0x8014;      // the movie's own size
constexpr WORD CMD_RATIO_FIRST = CMD_RATIO_FIT_WIDTH, CMD_RATIO_LAST = CMD_RATIO_NATIVE;
constexpr WORD CMD_MENU_FULL_SCREEN = 0x8020, CMD_MENU_WINDOWED = 0x8021;
// The strip's thumbnail interval: frame_time_index = id - first (0 ... 5).
constexpr WORD CMD_THUMB_INTERVAL_FIRST = 0x8030, CMD_THUMB_INTERVAL_LAST = 0x8035;
// Set skip range id - first (0 opening, 1 ending, 2 ... 11 commercials 1 ... 10) from the strip.
constexpr WORD CMD_SET_SKIP_FIRST = 0x8040, CMD_SET_SKIP_LAST = 0x804B;
// Set favourite id - first (0 ... 9) at the strip's selected thumbnail.
constexpr WORD CMD_SET_FAVORITE_FIRST = 0x8050, CMD_SET_FAVORITE_LAST = 0x8059;
// Play from favourite id - first: seek there and play.
constexpr WORD CMD_PLAY_FAVORITE_FIRST = 0x8070, CMD_PLAY_FAVORITE_LAST = 0x8079;
// The strip's cell size: small_image_size = id - first (0 small, 1 medium, 2 large).
constexpr WORD CMD_THUMB_SIZE_FIRST = 0x8080, CMD_THUMB_SIZE_LAST = 0x8082;
// Clear skip range id - first; clear favourite id - first.
constexpr WORD CMD_CLEAR_SKIP_FIRST = 0x8090, CMD_CLEAR_SKIP_LAST = 0x809B;
constexpr WORD CMD_CLEAR_FAVORITE_FIRST = 0x80A0, CMD_CLEAR_FAVORITE_LAST = 0x80A9;
constexpr WORD CMD_LOOP_START = 0x80B0, CMD_LOOP_END = 0x80B1;  // the A-B loop over the strip's selection
constexpr WORD CMD_CONTENT_SETTINGS = 0x80D0;  // "コンテンツの設定"
constexpr WORD CMD_APP_SETTINGS = 0x80D1;      // "アプリケーションの設定"
constexpr WORD CMD_SUPPORT_SITE = 0x80D2;      // the support site's product page in the browser
constexpr WORD CMD_BORDERLESS_OFF = 0x80E0, CMD_BORDERLESS_ON = 0x80E1;
constexpr WORD CMD_TOPMOST_OFF = 0x80F0, CMD_TOPMOST_ON = 0x80F1;
// The menu offers "turn on" while the window is opaque and "turn off" while it is transparent.
constexpr WORD CMD_TRANSPARENT_ON = 0x80F8, CMD_TRANSPARENT_OFF = 0x80F9;
constexpr WORD CMD_ADD_TAGS = 0x8120;          // the album menu's "タグを追加する"
constexpr WORD CMD_ALBUM_STARS_MENU = 0x8121;  // the album menu's rating sub-menu
// Star rating id - first (0 ... 5), as the digit keys.
constexpr WORD CMD_STARS_FIRST = 0x8130, CMD_STARS_LAST = 0x8135;
constexpr WORD CMD_STRIP_TO_POSITION = 0x8140;  // scroll the strip to the play position
// Seek to the beginning of skip range id - first (0 opening, 1 ending, 2 ... 11 commercials).
constexpr WORD CMD_MOVE_TO_SKIP_FIRST = 0x8146, CMD_MOVE_TO_SKIP_LAST = 0x8151;
// The strip menu's "お気に入りN に移動": seek to favourite id - first (0 ... 9).
constexpr WORD CMD_MOVE_TO_FAVORITE_FIRST = 0x8160, CMD_MOVE_TO_FAVORITE_LAST = 0x8169;
constexpr WORD CMD_USER_ACTIVITY = 0x8195;  // from the video window and the strip: not idle

// ---- The tool bar, the on-screen control bar and the keys ----
constexpr WORD CMD_PLAY_PAUSE = 0x8570;  // the P key
constexpr WORD CMD_STOP = 0x8571;        // the S key
constexpr WORD CMD_PREVIOUS = 0x8572;    // back by the skip step
constexpr WORD CMD_NEXT = 0x8573;        // forward by the skip step
constexpr WORD CMD_MUTE = 0x8574;        // the M key
constexpr WORD CMD_FULL_SCREEN = 0x8575;  // the F4 key
constexpr WORD CMD_VOLUME_STEP = 0x8576;  // lParam: the volume step, 0 ... 20 (others are clamped)
constexpr WORD CMD_VOLUME_KNOB = 0x8577;  // never sent: a press on the knob acts on the slider
constexpr WORD CMD_THUMBNAIL_STRIP = 0x8578;  // the F6 key
constexpr WORD CMD_SLOWER = 0x8579;       // the F7 key
constexpr WORD CMD_FASTER = 0x857A;       // the F8 key
constexpr WORD CMD_OPEN_FILE = 0x857C;
constexpr WORD CMD_CAPTURE = 0x857D;
constexpr WORD CMD_SHOW_HISTORY = 0x857E;    // Backspace
constexpr WORD CMD_SHOW_PLAY_LIST = 0x857F;  // Tab
constexpr WORD CMD_CLOSE = 0x8580;
constexpr WORD CMD_NO_ACTION = 0x8581;  // the control bar's logo: lit under the pointer, a click does nothing

// ---- Keys that have no menu or button: the key table runs them as commands too ----
constexpr WORD CMD_KEY_RESTART = 0x8590;        // T: play from the beginning
constexpr WORD CMD_KEY_VOLUME_UP = 0x8591;      // +, numpad +, the volume-up key
constexpr WORD CMD_KEY_VOLUME_DOWN = 0x8592;    // -, numpad -, the volume-down key
constexpr WORD CMD_KEY_CYCLE_RATIO = 0x8593;    // F1
constexpr WORD CMD_KEY_CYCLE_THUMB_SIZE = 0x8594;  // F3
constexpr WORD CMD_KEY_CYCLE_DIRECTION = 0x8595;   // F5
constexpr WORD CMD_KEY_CLOCK = 0x8596;          // F9
constexpr WORD CMD_KEY_CLICK = 0x8597;          // Enter: a click on the picture at the pointer
constexpr WORD CMD_KEY_STRIP_PREVIOUS = 0x8598;  // the media previous-track key
constexpr WORD CMD_KEY_STRIP_NEXT = 0x8599;      // the media next-track key
constexpr WORD CMD_GO_TO_TIME = 0x859A;          // Ctrl+G: go to a time typed in

constexpr WORD CMD_WORKER_IDLE = 0x8800;  // the thumbnail worker has stopped: a pending load may go

// ---- The list item menus of the history and play list dialogs ----
// These share numbers with the clear-favourite commands above. The dialogs take the choice
// from the menu they showed themselves and never pass it on to the main window.
constexpr WORD CMD_LIST_PLAY = 0x80A0;         // "再生する" / "テンポラリへ解凍後に再生する"
constexpr WORD CMD_LIST_EXTRACT = 0x80A1;      // "ファイルを指定したフォルダへ解凍する"
constexpr WORD CMD_LIST_OPEN_FOLDER = 0x80A2;  // "このファイルのあるフォルダを開く"
constexpr WORD CMD_LIST_DELETE = 0x80A6;       // "動画ファイルを削除する"


constexpr int kSkipRangeCommandCount = CMD_CLEAR_SKIP_LAST - CMD_CLEAR_SKIP_FIRST + 1;
constexpr int kFavoriteCommandCount = CMD_CLEAR_FAVORITE_LAST - CMD_CLEAR_FAVORITE_FIRST + 1;
static_assert(kSkipRangeCommandCount == 12, "opening, ending and ten commercials");
static_assert(kFavoriteCommandCount == 10, "ten favourites");
static_assert(CMD_MOVE_TO_SKIP_LAST - CMD_MOVE_TO_SKIP_FIRST + 1 == kSkipRangeCommandCount, "one per range");
static_assert(CMD_MOVE_TO_FAVORITE_LAST < CMD_USER_ACTIVITY, "the strip's favourite moves stay clear");
