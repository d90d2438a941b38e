#pragma once
// What the video renderer draws through. The renderer owns one presenter and calls its drawing
// functions only under its frame lock: Draw from its streaming thread (new frames) and from the
// UI thread (resize, repaint); InitializeD3D9, ResetDevice, Maintain and ReleaseDevice from the
// UI thread only, which owns whatever device the presenter draws with. The overlay and colour
// setters at the end are called from the UI thread without that lock; a presenter that has an
// overlay guards them itself.

#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>

#include "media/ColourAdjust_CL.h"
#include "media/OverlayModel.h"

class VideoPresenter_CL {
public:
    virtual ~VideoPresenter_CL() = default;

    // Prepares drawing into the window; false when that is impossible.
    virtual bool InitializeD3D9(HWND window) = 0;
    // The window's size changed; false when drawing cannot go on at the new size.
    virtual bool ResetDevice() = 0;
    // Draws a YUY2 frame of the current format, or the last picture again when frame is null.
    virtual void Draw(const uint8_t* frame) = 0;
    // Frees what drawing holds (devices, surfaces); InitializeD3D9 may follow.
    virtual void ReleaseDevice() = 0;
    // Draw found something only the UI thread may mend (a lost device, a new window or frame
    // size). Thread: any.
    virtual bool MaintenanceWanted() const { return false; }
    // Thread: UI. Mends what Draw found; false when drawing cannot go on yet.
    virtual bool Maintain() { return true; }

    virtual void SetFrameFormat(int width, int height, int aspectX, int aspectY) = 0;
    virtual void SetSourceSize(int width, int height) = 0;
    virtual void SetFrameBufferCapacity(uint32_t bytes) = 0;
    // The overlay's play position and the movie's duration, in reference time.
    virtual void SetPosition(int64_t position, int64_t duration) = 0;
    virtual void SetStillImagePath(const std::wstring& path) = 0;

    // The overlay and the colour adjustment. Thread: UI; they take effect at the next Draw.
    // A presenter without an overlay (the GDI one) draws the bare picture and ignores them.
    virtual void SetZoomMode(int /*mode*/) {}
    virtual void SetMessageText(const std::wstring& /*text*/) {}
    virtual void SetTitleText(const std::wstring& /*text*/) {}
    virtual void SetStarCount(int /*count*/) {}
    // zoom true cuts the picture to the selection; false frames it. A left of -1 is no selection.
    virtual void SetSelection(bool /*zoom*/, const RECT& /*selection*/) {}
    virtual void SetShowTitle(bool /*show*/) {}
    virtual void SetShowTime(bool /*show*/) {}
    // corner bit 0: right-aligned, bit 1: bottom-aligned.
    virtual void SetShowClock(bool /*show*/, int /*corner*/) {}
    // The player's two state flags: the picture is drawn only while both are set.
    virtual void SetPlaybackShown(bool /*contentLoaded*/, bool /*started*/) {}
    // The whole overlay at once (see OverlayModel). Thread: UI. This default hands it to the
    // single setters; a presenter that draws an overlay takes it under one lock instead.
    virtual void SetOverlay(const OverlayModel& model) {
        SetTitleText(model.title);
        SetStarCount(model.starCount);
        SetShowTitle(model.showTitle);
        SetShowTime(model.showTime);
        SetShowClock(model.showClock, model.clockCorner);
        SetZoomMode(model.zoomMode);
        SetPlaybackShown(model.bar.contentLoaded, model.bar.playbackStarted);
    }
    // Colour controls by mask (1 brightness, 2 contrast, 4 hue, 8 saturation), raw 16.16.
    virtual ProcAmpRange GetProcAmpRange(int mask) { return NominalProcAmpRange(mask); }
    virtual void SetProcAmpValue(int /*mask*/, int32_t /*raw*/) {}
};

// Makes the presenter a new renderer draws through. Thread: UI, before graphs are built.
using PresenterFactory = std::unique_ptr<VideoPresenter_CL> (*)();
void SetPresenterFactory(PresenterFactory factory);
std::unique_ptr<VideoPresenter_CL> CreatePresenter();
// Whether a renderer sets its presenter up on the video window at once (the default), or asks
// the UI thread for it with WM_PRESENTER_MAINTAIN and lets the graph build and start meanwhile:
// the program's choice, so that making the device overlaps the wait for the first picture.
// Thread: UI, before graphs are built.
void SetPresenterSetUpDeferred(bool deferred);
bool PresenterSetUpDeferred();
