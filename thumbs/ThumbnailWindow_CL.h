#pragma once
// The thumbnail strip: a child window of the main window showing the movie as one row (or one
// column) of equal cells, cell i standing for i x interval. Each cell shows the worker's
// picture of that time (or grey), its time, the labels of the skip ranges and favourites that
// fall into it, and the selection. A click or Enter sends NM_THUMB_ACTIVATE to the parent;
// scrolling posts the user-activity command; a right click asks the owner for the strip menu.
//
// It is a "Static" control sub-classed to this object, with an ImageListViewBase_CL that sees
// every message first (scrolling, selection, keys, wheel, painting through the cell painter)
// and the ThumbnailThread_CL that decodes the pictures.
//
// Thread: UI only (the worker posts its results to the window).

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "thumbs/StripRules.h"
#include "thumbs/ThumbnailThread_CL.h"
#include "ui/ImageListViewBase_CL.h"
#include "ui/SubClassWindowBase_CL.h"

namespace Gdiplus {
class Font;
class FontFamily;
class Image;
}  // namespace Gdiplus

class ThumbnailWindow_CL : public SubClassWindowBase_CL {
public:
    // What the strip shows of the loaded movie; asked for at every paint.
    struct StripContent {
        bool loaded = false;     // a content is loaded
        bool soundOnly = false;  // the movie has no picture: cells show the sound-only picture
        StripMarks marks;        // its skip ranges and favourites
    };
    using ContentSource = std::function<StripContent()>;
    // A right click: show the strip menu at screenPoint (the owner marks its menu as open).
    using MenuRequest = std::function<void(POINT screenPoint)>;

    explicit ThumbnailWindow_CL(size_t cacheCapacity = ThumbRequestList_CL::kDefaultCapacity);
    // Stops the worker; destroys the window if it still lives.
    ~ThumbnailWindow_CL() override;

    // Thread: UI. Starts the worker and makes the window: a child of parent with id
    // kThumbnailWindowId, 640 x 480 until laid out. The fonts are made at the first paint, by
    // when GDI+ must be started.
    [[nodiscard]] HRESULT Create(HWND parent);

    void SetContentSource(ContentSource source) { m_contentSource = std::move(source); }
    void SetMenuRequest(MenuRequest request) { m_menuRequest = std::move(request); }

    // ---- layout ----
    // The strip runs horizontally (one row) or vertically (one column); see StripIsHorizontal.
    void SetHorizontal(bool horizontal);
    bool IsHorizontal() const { return m_horizontal; }
    void SetCellSize(int width, int height);
    SIZE CellSize() const { return m_cellSize; }

    // ---- interval, position and selection ----
    // justStore: only remember it (while a content loads). Otherwise the strip is rebuilt for
    // the new interval: the worker stops with code 1 (its parent then calls
    // PrefetchAllThumbnails and repaints) and the time of the first cell on view stays in view.
    void SetInterval(int64_t interval, bool justStore);
    int64_t Interval() const { return m_interval; }
    // Shows cell index (as little scrolling as needed) and selects it.
    void ScrollToIndex(int index);
    // Puts the cell of a time at the top-left (clamped to the content's end) and selects it.
    void ShowPosition(int64_t time);
    // The selected cells, first <= last; false when there are none (no cells).
    bool Selection(int* first, int* last) const;
    int Anchor() const { return m_view.Anchor(); }
    int Caret() const { return m_view.Caret(); }

    // ---- content ----
    // Starts the thumbnails for a movie: the worker builds its graph (asynchronously when the
    // setting thumbnail_async_graph_prepare is 1, the default). prefetchAll: ask for every
    // cell once the graph is ready (hidden_decode).
    HRESULT SetContentThumbnail(bool prefetchAll, const std::wstring& path);
    // The build of serial ended with hr (WM_THUMB_GRAPH_READY, or directly when synchronous):
    // for the latest serial, count the cells, become ready and prefetch when asked.
    HRESULT SetContentThumbnail(uint32_t serial, HRESULT hr);
    // Waits for the worker's latest build (see ThumbnailThread_CL).
    HRESULT WaitPrepareGraphBuildDone() { return m_worker.WaitPrepareGraphBuildDone(); }
    // The movie's seekable length: the cell count follows it.
    void SetSeekableLength(int64_t length);
    // Sound-only content has no thumbnail graph: the cells come from the playback graph's length.
    void SetSoundOnlyContent(int64_t length);
    // Asks the worker for the cells around the view, as many as its cache holds.
    void PrefetchAllThumbnails();
    void StopThumbnails(int code) { m_worker.StopThumbnails(code); }
    void SetPlaybackRunning(bool running) { m_worker.SetPlaybackRunning(running); }
    void ReleaseFilterGraph() { m_worker.ReleaseFilterGraph(); }

    int Count() const { return m_count; }
    bool Ready() const { return m_ready; }
    uint32_t LatestSerial() const { return m_latestSerial; }
    int64_t SeekableLength() const { return m_length; }
    ThumbnailThread_CL& Worker() { return m_worker; }
    ImageListViewBase_CL& View() { return m_view; }

protected:
    LRESULT OnSubClassMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void ApplyGrid();
    void UpdateVisibleRange();
    void PaintCell(HDC dc, const RECT& cell, int index);
    void SendActivate(int index);
    void ReleaseDrawing();
    void EnsureFonts();
    Gdiplus::Image* SoundOnlyPicture();

    ImageListViewBase_CL m_view;
    ThumbnailThread_CL m_worker;
    ContentSource m_contentSource;
    MenuRequest m_menuRequest;
    bool m_horizontal = true;
    SIZE m_cellSize{240, 135};
    int64_t m_position = -1;
    int64_t m_length = -1;
    int64_t m_interval = kStripDefaultInterval;
    int m_count = 0;
    bool m_ready = false;
    bool m_prefetchPending = false;
    uint32_t m_latestSerial = 0;
    std::unique_ptr<Gdiplus::FontFamily> m_fontFamily;
    std::unique_ptr<Gdiplus::Font> m_timeFont;   // 10 pt bold
    std::unique_ptr<Gdiplus::Font> m_labelFont;  // 24 pt
    bool m_fontsTried = false;
    std::unique_ptr<Gdiplus::Image> m_soundOnlyPicture;
    bool m_soundOnlyPictureTried = false;
    // Read once per paint: SETTING no_thumbnail and the content.
    bool m_paintPictures = true;
    StripContent m_paintContent;
};
