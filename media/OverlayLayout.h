#pragma once
// Where the overlay's parts stand on the video window and how they look: fonts, colours,
// DrawText formats and the rectangles each text is laid out in. Pure geometry, shared by the
// painter's text back-ends so that GDI text and D3DX text land in the same places.
// Thread: any (no state).

#include <windows.h>

#include <cstdint>

// The overlay's four fonts, by index: the status message, the title, the play time (and the
// stars) and the large clock.
enum OverlayFont : int { kMessageFont = 0, kTitleFont = 1, kTimeFont = 2, kClockFont = 3, kOverlayFontCount = 4 };

// Cell heights in pixels (a positive LOGFONT height, as D3DX passes it on) and weights.
constexpr int kOverlayFontHeights[kOverlayFontCount] = {45, 16, 13, 104};
constexpr UINT kOverlayFontWeights[kOverlayFontCount] = {900, 700, 700, 700};

// Colours, ARGB.
constexpr uint32_t kOverlayMessageColour = 0xDC00FF00;
constexpr uint32_t kOverlayTitleBoxColour = 0xB4787878;
constexpr uint32_t kOverlayWhite = 0xFFFFFFFF;
constexpr uint32_t kOverlayStarColour = 0xFFFFFF00;
constexpr uint32_t kOverlayClockColour = 0xDC00FF00;
constexpr uint32_t kOverlayBandColour = 0x50787878;
constexpr uint32_t kOverlayBandLineColour = 0xC87878FF;

// DrawText formats of the texts (the clock's depends on its corner, see ClockFormat).
constexpr UINT kMessageFormat = DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;
constexpr UINT kTitleFormat = DT_WORDBREAK;
constexpr UINT kTimeFormat = DT_NOCLIP;

// The title box is at least this wide, so that the time line fits even under a short title.
constexpr LONG kTitleBoxLeastWidth = 260;
// The stars stand this far right of the play time's left edge.
constexpr LONG kStarOffsetX = 180;
// The band behind the control bar: its height above the window's bottom edge.
constexpr LONG kBandHeight = 54;
// Frames (title box, selection) are this many pixels wide.
constexpr int kOverlayFrameWidth = 2;

// The whole client area: the message is centred in it.
RECT MessageArea(SIZE client);
// The area the title is measured in (DT_CALCRECT with kTitleFormat) for the title box.
RECT TitleMeasureArea(SIZE client);
// The area the title is drawn in: the measuring area moved 6 pixels in, just as wide.
RECT TitleTextArea(SIZE client);
// The title box for the measured title (width and height of its DT_CALCRECT rectangle; zero
// when the title itself is not shown), taller when the play time is shown in it.
RECT TitleBoxRect(SIZE titleExtent, bool timeShown);
// The play time's area: under the title when the title shows, else near the top.
RECT TimeArea(SIZE client, bool showTitle, LONG titleExtentHeight);
RECT StarArea(SIZE client, bool showTitle, LONG titleExtentHeight);
// The clock's area and format for a corner (bit 0 right, bit 1 bottom).
RECT ClockArea(SIZE client);
UINT ClockFormat(int corner);

// Where DrawText puts the top-left corner of a text of the given extent in an area under a
// format: left, centred (DT_CENTER) or right (DT_RIGHT); for single lines also top, centred
// (DT_VCENTER) or bottom (DT_BOTTOM). Centring rounds towards the area's top-left, as
// DrawText's integer halving does.
POINT TextOrigin(const RECT& area, SIZE extent, UINT format);
