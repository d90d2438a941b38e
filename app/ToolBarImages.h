#pragma once
// The tool bars' picture strip (the main window's and the play list dialog's): its resource id and the order of its pictures. The build
// draws the strip with tools/make_toolbar_image.py, which reads the ToolBarImage enum, the
// cell size and the mask colour below, so this header is the one place that says which
// picture sits at which index. Keep one enum name per line, in strip order, ending with
// Count; the script paints each name and stops the build on a name it cannot paint.
//
// Lumikino.rc includes this header too: the resource compiler sees only the #define.

#define IDB_MAIN_TOOLBAR 201

#ifndef RC_INVOKED

enum class ToolBarImage : int {
    OpenFolder,
    PlayPause,
    Stop,
    Previous,
    Next,
    Mute,
    FullScreen,
    ThumbnailStrip,
    Slower,
    Faster,
    Capture,
    History,
    PlayList,
    Close,
    Save,
    MoveUp,
    MoveDown,
    Shuffle,
    Count
};

constexpr int kToolBarImageCount = static_cast<int>(ToolBarImage::Count);

// Pictures are square cells side by side in one row. 24 pixels rather than 16: the program
// declares itself DPI-aware, so the system never scales the strip up, and pictograms such as
// the thumbnail strip or the history clock need the room to stay legible.
constexpr int kToolBarImageSizePx = 24;

// The strip is a 32-bit bitmap with alpha, which a 32-bit image list draws by. Fully
// transparent pixels also carry this colour (0xRRGGBB), which a list without alpha keys out.
constexpr unsigned kToolBarMaskColourRgb = 0xFF00FF;

#endif  // RC_INVOKED
