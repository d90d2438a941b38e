#pragma once
// Tells which frame of a test movie a picture shows. Every frame of the writer's movies shows
// its own number in large white digits (AviWriter_CL); the player shows the frame scaled into
// its video window, maybe between black bars, and draws its coloured on-screen texts on top.
// The reader finds the picture between the bars and compares it, at a grid of sample points,
// with every frame of the movie as the writer draws it; the frame that disagrees at the fewest
// points wins. Points that are neither clearly white nor clearly dark (coloured texts,
// blurred edges) count against no frame.
//
// The player's overlay draws white and grey over the picture in fixed places of the video
// window: the title box at the top left, the band and control bar along the bottom. Areas the
// caller names as covered (PlayerOverlayAreas gives those) are left out: their pixels do not
// count when the picture is found, and their sample points count against no frame.
//
// Pure: no windows, no files. Thread: an instance is used by one thread at a time (it keeps
// the frames it has drawn).

#include <windows.h>

#include <cstdint>
#include <vector>

#include "tests/support/AviWriter_CL.h"

// A captured picture: 4 bytes per pixel (B, G, R, unused), rows top-down.
struct BgrxPicture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> bgrx;

    bool IsEmpty() const { return width <= 0 || height <= 0 || bgrx.size() < size_t(width) * size_t(height) * 4; }
    const uint8_t* At(int x, int y) const { return &bgrx[(size_t(y) * size_t(width) + size_t(x)) * 4]; }
};

class FrameNumberReader_CL {
public:
    explicit FrameNumberReader_CL(const AviMovieSpec& movieSpec);

    // The frame shown, or -1 when nothing matches closely enough (no picture yet, a picture
    // torn between two frames, another movie).
    int Read(const BgrxPicture& picture) const;
    // The same with parts of the picture covered by something drawn over it (rectangles in the
    // picture's pixels).
    int Read(const BgrxPicture& picture, const std::vector<RECT>& covered) const;

    // The part of a picture that is not black bars: the rows and columns of which more than
    // half the pixels are lit. False for an empty or all-black picture.
    static bool FindPictureRect(const BgrxPicture& picture, RECT* rect);
    // The same, judging each row and column by its pixels outside the covered areas. A row
    // covered from end to end cannot be judged; where the lit rows run into such rows, the
    // picture's edge there is taken to mirror its other edge, as the player centres the picture
    // between its bars.
    static bool FindPictureRect(const BgrxPicture& picture, const std::vector<RECT>& covered, RECT* rect);

    // Where the player's overlay draws in a video window of the given client size, generously:
    // the title box with its white frame, title and play time at the top left, and the
    // translucent band with the control bar over the bottom 54 pixels. (The clock and the
    // message line are green and never read as white or dark.)
    static std::vector<RECT> PlayerOverlayAreas(int clientWidth, int clientHeight);

private:
    enum Sample : uint8_t { kDark = 0, kWhite = 1, kUnknown = 2 };
    static constexpr int kGridColumns = 96;
    static constexpr int kGridRows = 72;
    // At most this share of the compared points may disagree with the winning frame.
    static constexpr double kMaxMismatchShare = 0.03;

    static Sample Classify(const uint8_t* bgrx);
    const std::vector<uint8_t>& FrameSamples(int frameIndex) const;

    AviMovieSpec m_movieSpec;
    mutable std::vector<std::vector<uint8_t>> m_frameSamples;  // per frame, drawn on first use
};
