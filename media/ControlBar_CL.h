#pragma once
// The on-screen control bar: which items there are, which picture of "player_image.png"
// each shows for the player's state, where it stands on the video window, its colour,
// tool-tip text and main-window command. Pure logic: the presenter draws the items with
// its sprite, the video window hit-tests them and turns clicks into commands.
// Thread: not synchronised. The owner serialises every call (the renderer's frame lock):
// the presenter lays the bar out while drawing, and the video window hit-tests and
// recolours it on mouse input.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "base/CommandIds.h"
#include "media/ControlBarAtlas.h"

// The player's state as far as the bar shows it.
struct ControlBarState {
    bool contentLoaded = false;
    bool playbackStarted = false;   // a play has begun and no stop has followed
    bool paused = false;
    bool muted = false;
    int volumeStep = 0;             // 0..20; other values are clamped
    bool thumbnailsShown = true;
    bool fullScreen = false;
};

struct ControlBarItem {
    UINT command = 0;               // main-window command (WM_COMMAND low word)
    AtlasSprite sprite = AtlasSprite::Logo;     // the picture while the item's state is off
    AtlasSprite spriteOn = AtlasSprite::Logo;   // the picture while it is on (same for one-state items)
    bool on = false;                // the item's state from the last Layout
    float left = 0.0f;              // position on the video window, pixels
    float top = 0.0f;
    uint32_t colourArgb = 0;
    bool hidden = false;
    std::wstring tip;               // empty: the item gets no tool tip
};

// What a press or drag at a point did to the volume.
struct ControlBarVolumeHit {
    int index = -1;                 // the item hit (the knob reports the slider), -1 none
    bool setsVolume = false;        // true: send CMD_VOLUME_STEP with volumeStep as lParam
    int volumeStep = 0;
};

class ControlBar_CL {
public:
    static constexpr uint32_t kDefaultColourArgb = 0xDCFFFFFF;
    static constexpr uint32_t kIdleColourArgb = 0xC8FFFFFF;   // every item after a hover update
    static constexpr uint32_t kLitColourArgb = 0xFFFFFFFF;    // the item under the pointer; the shown logo
    static constexpr int kVolumeSteps = 20;
    static constexpr int kVolumeSpanPx = 94;                  // slider pixels from step 0 to step 20

    // Builds the items at the origin with skip tips for 10 seconds; call Layout before use.
    ControlBar_CL();

    // Places every item for the client rectangle and picks the pictures for the state.
    // Keeps each item's colour, except that the shown logo is opaque white.
    void Layout(const RECT& client, const ControlBarState& state);

    // Rebuilds the two skip tips, e.g. "１０秒戻る" and "３０秒進む".
    void SetSkipSeconds(int backSeconds, int forwardSeconds);

    // Index of the visible item under the point, -1 none; of overlapping items the one
    // drawn later (higher index) wins.
    int HitTest(POINT pt) const;

    // The volume part of a press: like HitTest, but a hit on the knob counts as the slider
    // (which is lit), and a hit on the slider gives the volume step under the point.
    ControlBarVolumeHit HitVolume(POINT pt);

    // The hover update: every item idle-coloured, then the item under the point lit.
    // volumeDrag (left button down, no window drag) makes it a volume hit, so dragging
    // along the slider changes the volume on every move; *volume receives that result.
    // Returns the lit item, -1 none.
    int UpdateHover(POINT pt, bool volumeDrag, ControlBarVolumeHit* volume);

    size_t Count() const { return m_items.size(); }
    const ControlBarItem& Item(size_t index) const { return m_items[index]; }
    void SetColour(size_t index, uint32_t colourArgb) { m_items[index].colourArgb = colourArgb; }
    int IndexOf(UINT command) const;

    // The picture an item shows now, as a rectangle of the atlas (for the sprite's source).
    RECT SourceRect(size_t index) const;
    // The item's rectangle on the video window (for hit tests and tool tips).
    RECT WindowRect(size_t index) const;

    // Volume step for a point x on a slider whose left edge is sliderLeft, 0..20.
    static int VolumeStepAt(LONG x, LONG sliderLeft);
    // "%d秒" with full-width digits, then "戻る" or "進む".
    static std::wstring SkipTip(int seconds, bool forward);

private:
    int Add(UINT command, AtlasSprite sprite, AtlasSprite spriteOn, const wchar_t* tip);

    std::vector<ControlBarItem> m_items;
    int m_logo = -1;
    int m_slider = -1;
    int m_knob = -1;
    int m_skipBack = -1;
    int m_skipForward = -1;
};
