#pragma once
// Where each picture of the control bar lies in "player_image.png". The build draws that
// image with tools/make_player_image.py, which reads the rows of kAtlasRects below, so the
// table is the one place that says where a picture is: move or resize a picture here and
// the image follows. Keep one row per line in the form {AtlasSprite::Name, left, top,
// width, height}, in the order of the enum; the script depends on that shape.

#include <cstddef>

enum class AtlasSprite : int {
    Logo,
    Play,
    Pause,
    Stop,
    SkipBack,
    SkipForward,
    Slow,
    FrameBack,
    Fast,
    FrameForward,
    SoundOn,
    Muted,
    OpenFile,
    Capture,
    PlayList,
    History,
    ThumbnailsShow,
    ThumbnailsHide,
    FullScreen,
    WindowMode,
    Exit,
    VolumeTrack,
    VolumeKnob,
    Count
};

struct AtlasRect {
    AtlasSprite sprite;
    int left;
    int top;
    int width;
    int height;
};

// The texture loader rounds sizes up to powers of two and stretches the picture to fit;
// a power-of-two image keeps every rectangle where this table says it is.
constexpr int kAtlasWidthPx = 512;
constexpr int kAtlasHeightPx = 256;

// Pictures are 48 x 48 buttons on a 50-pixel pitch: the transparent gutter keeps texture
// filtering from pulling a neighbour's edge into a button.
constexpr AtlasRect kAtlasRects[] = {
    {AtlasSprite::Logo, 0, 0, 256, 131},
    {AtlasSprite::Play, 260, 0, 48, 48},
    {AtlasSprite::Pause, 310, 0, 48, 48},
    {AtlasSprite::Stop, 360, 0, 48, 48},
    {AtlasSprite::SkipBack, 410, 0, 48, 48},
    {AtlasSprite::SkipForward, 460, 0, 48, 48},
    {AtlasSprite::Slow, 260, 50, 48, 48},
    {AtlasSprite::FrameBack, 310, 50, 48, 48},
    {AtlasSprite::Fast, 360, 50, 48, 48},
    {AtlasSprite::FrameForward, 410, 50, 48, 48},
    {AtlasSprite::SoundOn, 460, 50, 48, 48},
    {AtlasSprite::Muted, 260, 100, 48, 48},
    {AtlasSprite::OpenFile, 310, 100, 48, 48},
    {AtlasSprite::Capture, 360, 100, 48, 48},
    {AtlasSprite::PlayList, 410, 100, 48, 48},
    {AtlasSprite::History, 460, 100, 48, 48},
    {AtlasSprite::ThumbnailsShow, 0, 150, 48, 48},
    {AtlasSprite::ThumbnailsHide, 50, 150, 48, 48},
    {AtlasSprite::FullScreen, 100, 150, 48, 48},
    {AtlasSprite::WindowMode, 150, 150, 48, 48},
    {AtlasSprite::Exit, 200, 150, 48, 48},
    {AtlasSprite::VolumeTrack, 260, 160, 100, 12},
    {AtlasSprite::VolumeKnob, 370, 150, 16, 32},
};

constexpr size_t kAtlasSpriteCount = static_cast<size_t>(AtlasSprite::Count);
static_assert(sizeof(kAtlasRects) / sizeof(kAtlasRects[0]) == kAtlasSpriteCount,
              "one atlas row per sprite");

constexpr bool AtlasRowsFollowTheEnum() {
    for (size_t i = 0; i < kAtlasSpriteCount; ++i) {
        if (static_cast<size_t>(kAtlasRects[i].sprite) != i) return false;
    }
    return true;
}
static_assert(AtlasRowsFollowTheEnum(), "row i of kAtlasRects must describe sprite i");
static_assert((kAtlasWidthPx & (kAtlasWidthPx - 1)) == 0 && (kAtlasHeightPx & (kAtlasHeightPx - 1)) == 0,
              "the atlas must keep power-of-two sizes");

constexpr const AtlasRect& AtlasRectOf(AtlasSprite sprite) {
    return kAtlasRects[static_cast<size_t>(sprite)];
}
