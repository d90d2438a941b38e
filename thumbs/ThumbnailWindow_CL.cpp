#include "thumbs/ThumbnailWindow_CL.h"

#include <objbase.h>
#include <gdiplus.h>

#include <algorithm>
#include <climits>

#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "base/UniqueHandle_CL.h"
#include "media/Direct3DLibrary_CL.h"
#include "store/AppSettings.h"
#include "thumbs/StripTexts.h"
#include "thumbs/ThumbIds.h"

namespace {
constexpr DWORD kStripStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL |
                              SS_GRAYFRAME;
static_assert(kStripStyle == 0x56300008, "the strip's creation style");
constexpr int kCreateWidth = 640, kCreateHeight = 480;
constexpr float kTimeFontPoints = 10.0f;
constexpr float kLabelFontPoints = 24.0f;
constexpr COLORREF kEmptyCellColour = RGB(0xC8, 0xC8, 0xC8);  // ARGB 0xFFC8C8C8
constexpr Gdiplus::ARGB kSkipLabelColour = 0xFF00FF00;
constexpr Gdiplus::ARGB kFavoriteLabelColour = 0xFFFFFF00;
constexpr Gdiplus::ARGB kTimeBoxColour = 0x32000000;
constexpr Gdiplus::ARGB kTimeTextColour = 0xFFFFFFFF;
constexpr Gdiplus::ARGB kSelectionTint = 0x320000C8;
constexpr Gdiplus::ARGB kMarkerColour = 0xC800FF00;
constexpr float kMarkerWidth = 4.0f;

bool ThumbLog() { return ProcessLogSwitches().log_detail_other; }

bool ReadAsyncSetting() {
    return AppSettings::Process().File().GetInt(L"SETTING", L"thumbnail_async_graph_prepare", 1) != 0;
}
// SETTING no_thumbnail (not the idle setting of the same name in NOP): no pictures at all.
bool ReadNoThumbnailSetting() { return AppSettings::Process().File().GetInt(L"SETTING", L"no_thumbnail", 0) != 0; }

std::wstring ProgramFolderFile(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    DWORD units = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, units);
    size_t slash = folder.find_last_of(L'\\');
    return (slash == std::wstring::npos ? std::wstring() : folder.substr(0, slash)) + L"\\" + name;
}

// "MS UI Gothic" where it is installed; else a face with Japanese glyphs (the labels are
// full-width text); else the generic sans-serif family.
std::unique_ptr<Gdiplus::FontFamily> MakeStripFontFamily() {
    for (const wchar_t* face : {static_cast<const wchar_t*>(kStripFontFace), OverlayFontFace()}) {
        auto family = std::make_unique<Gdiplus::FontFamily>(face);
        if (family->GetLastStatus() == Gdiplus::Ok && family->IsAvailable()) return family;
    }
    const Gdiplus::FontFamily* generic = Gdiplus::FontFamily::GenericSansSerif();
    return std::unique_ptr<Gdiplus::FontFamily>(generic ? generic->Clone() : nullptr);
}

Gdiplus::RectF ToRectF(const RECT& rect) {
    return Gdiplus::RectF(static_cast<Gdiplus::REAL>(rect.left), static_cast<Gdiplus::REAL>(rect.top),
                          static_cast<Gdiplus::REAL>(rect.right - rect.left),
                          static_cast<Gdiplus::REAL>(rect.bottom - rect.top));
}
}  // namespace

ThumbnailWindow_CL::ThumbnailWindow_CL(size_t cacheCapacity) : m_worker(cacheCapacity) {
    m_view.SetCellPainter([this](HDC dc, const RECT& cell, int index) { PaintCell(dc, cell, index); });
    m_view.SetActivateHandler([this](int index) { SendActivate(index); });
}

ThumbnailWindow_CL::~ThumbnailWindow_CL() {
    HWND window = Window();
    if (window && ::IsWindow(window)) ::DestroyWindow(window);
    m_worker.Stop();
    ReleaseDrawing();
}

void ThumbnailWindow_CL::EnsureFonts() {
    // Made at the first paint: the program starts GDI+ once its window shows, after the strip
    // is created.
    if (m_fontsTried) return;
    m_fontsTried = true;
    m_fontFamily = MakeStripFontFamily();
    if (!m_fontFamily) return;
    m_timeFont = std::make_unique<Gdiplus::Font>(m_fontFamily.get(), kTimeFontPoints, Gdiplus::FontStyleBold,
                                                 Gdiplus::UnitPoint);
    m_labelFont = std::make_unique<Gdiplus::Font>(m_fontFamily.get(), kLabelFontPoints, Gdiplus::FontStyleRegular,
                                                  Gdiplus::UnitPoint);
}

HRESULT ThumbnailWindow_CL::Create(HWND parent) {
    if (Window()) return HRESULT_FROM_WIN32(ERROR_ALREADY_EXISTS);
    if (!m_worker.Start()) return E_FAIL;
    HWND window = ::CreateWindowExW(0, L"Static", L"", kStripStyle, 0, 0, kCreateWidth, kCreateHeight, parent,
                                    reinterpret_cast<HMENU>(static_cast<UINT_PTR>(kThumbnailWindowId)),
                                    ::GetModuleHandleW(nullptr), nullptr);
    if (!window) return HRESULT_FROM_WIN32(::GetLastError());
    LONG_PTR style = ::GetWindowLongPtrW(window, GWL_STYLE);
    ::SetWindowLongPtrW(window, GWL_STYLE, (style & ~static_cast<LONG_PTR>(WS_DISABLED)) | WS_THICKFRAME);
    ::SetWindowLongPtrW(window, GWL_EXSTYLE, ::GetWindowLongPtrW(window, GWL_EXSTYLE) | WS_EX_ACCEPTFILES);
    HRESULT hr = SubClass(window);
    if (FAILED(hr)) {
        ::DestroyWindow(window);
        return hr;
    }
    ::SetWindowPos(window, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_FRAMECHANGED);
    m_worker.SetStripWindow(window);
    m_view.Attach(window);
    ApplyGrid();
    return S_OK;
}

// ---- layout ----

void ThumbnailWindow_CL::ApplyGrid() {
    ContentPoint extent = StripContentExtent(m_horizontal, m_cellSize.cx, m_cellSize.cy, m_count);
    m_view.SetGrid(m_cellSize.cx, m_cellSize.cy, m_count, extent.x, extent.y);
}

void ThumbnailWindow_CL::SetHorizontal(bool horizontal) {
    if (horizontal == m_horizontal) return;
    const int first = m_view.FirstVisibleIndex();
    m_horizontal = horizontal;
    ApplyGrid();
    m_view.ScrollIndexToTopLeft(first);
}

void ThumbnailWindow_CL::SetCellSize(int width, int height) {
    const int first = m_view.FirstVisibleIndex();
    m_cellSize = SIZE{std::max(width, 1), std::max(height, 1)};
    ApplyGrid();
    m_view.ScrollIndexToTopLeft(first);
    m_view.Repaint();
}

// ---- interval, position and selection ----

void ThumbnailWindow_CL::SetInterval(int64_t interval, bool justStore) {
    if (justStore) {
        m_interval = interval;
        return;
    }
    const int64_t firstTime = CellTime(m_count > 0 ? m_view.FirstVisibleIndex() : 0, EffectiveInterval(m_interval));
    m_worker.StopThumbnails(kThumbStopInterval);
    m_interval = interval;
    m_count = ThumbCellCount(m_length, m_interval);
    ApplyGrid();
    if (m_count > 0) m_view.ScrollToIndex(CellIndexForTime(firstTime, m_interval, m_count));
    m_view.Repaint();
}

void ThumbnailWindow_CL::ScrollToIndex(int index) {
    if (m_count <= 0) return;
    m_view.ScrollToIndex(std::clamp(index, 0, m_count - 1));
}

void ThumbnailWindow_CL::ShowPosition(int64_t time) {
    const int index = CellIndexForTime(time, m_interval, m_count);
    if (index < 0) return;
    m_view.ShowIndex(index);
}

bool ThumbnailWindow_CL::Selection(int* first, int* last) const {
    if (m_count <= 0) return false;
    const CellSelection selection = m_view.Selection();
    *first = std::clamp(std::min(selection.anchor, selection.caret), 0, m_count - 1);
    *last = std::clamp(std::max(selection.anchor, selection.caret), 0, m_count - 1);
    return true;
}

// ---- content ----

HRESULT ThumbnailWindow_CL::SetContentThumbnail(bool prefetchAll, const std::wstring& path) {
    const bool async = ReadAsyncSetting();
    m_prefetchPending = prefetchAll;
    m_ready = false;
    const uint32_t serial = m_worker.QueueGraph(path, async);
    m_latestSerial = serial;
    if (ThumbLog()) LogPrintf(L"SetContentThumbnail(queue) enqueueSerial=%u async=%d", serial, async ? 1 : 0);
    if (async) return S_OK;
    HRESULT hr = m_worker.WaitPrepareGraphBuildDone();
    if (FAILED(hr)) {
        if (ThumbLog()) {
            LogPrintf(L"SetContentThumbnail(sync) WaitPrepareGraphBuildDone failed hr=0x%08x", static_cast<unsigned>(hr));
        }
        return E_FAIL;
    }
    uint32_t builtSerial = 0;
    HRESULT built = E_FAIL;
    m_worker.LastBuild(&builtSerial, &built);
    return SetContentThumbnail(builtSerial, built);
}

HRESULT ThumbnailWindow_CL::SetContentThumbnail(uint32_t serial, HRESULT hr) {
    const bool log = ThumbLog();
    if (serial != m_latestSerial) {
        if (log) {
            LogPrintf(L"SetContentThumbnail(ignore stale) serial=%u latest=%u hr=0x%08x", serial, m_latestSerial,
                      static_cast<unsigned>(hr));
        }
        return S_OK;
    }
    if (log) LogPrintf(L"SetContentThumbnail(graph-ready) serial=%u hResult = 0x%08x", serial, static_cast<unsigned>(hr));
    if (FAILED(hr)) {
        m_count = 0;
        ApplyGrid();
        if (log) LogPrintf(L"SetContentThumbnail(graph-ready fail) hResult = 0x%08x", static_cast<unsigned>(hr));
        m_prefetchPending = false;
        m_view.Repaint();
        return E_FAIL;
    }
    LONGLONG earliest = 0, latest = 0;
    HRESULT result = m_worker.BuildAvailability(serial, &earliest, &latest);
    if (log) LogPrintf(L"SetContentThumbnail(3) hResult = 0x%08x", static_cast<unsigned>(result));
    if (result == S_OK) {
        m_position = earliest;
        m_length = latest;
        m_count = ThumbCellCount(m_length, m_interval);
    } else if (result == E_NOTIMPL) {
        if (log) LogPrintf(L"%ls", L"SetContentThumbnail(4) hResult = S_OK");
        m_count = 0;
        result = S_OK;
    } else {
        if (log) LogPrintf(L"SetContentThumbnail(5) hResult = 0x%08x", static_cast<unsigned>(result));
        m_count = 0;
    }
    if (log) LogPrintf(L"SetContentThumbnail(6) hResult = 0x%08x", static_cast<unsigned>(result));
    ApplyGrid();
    m_ready = true;
    if (m_prefetchPending) {
        m_prefetchPending = false;
        PrefetchAllThumbnails();
    }
    m_view.Repaint();
    return result;
}

void ThumbnailWindow_CL::SetSeekableLength(int64_t length) {
    m_length = length;
    m_count = ThumbCellCount(m_length, m_interval);
    ApplyGrid();
}

void ThumbnailWindow_CL::SetSoundOnlyContent(int64_t length) {
    m_prefetchPending = false;
    SetSeekableLength(length);
    m_ready = true;
    m_view.Repaint();
}

void ThumbnailWindow_CL::UpdateVisibleRange() {
    if (m_count <= 0) return;
    const CellGrid& grid = m_view.Grid();
    const CellSpan span = grid.CellsMeeting(m_view.VisibleRect());
    if (span.IsEmpty()) return;
    const int64_t columns = grid.Columns();
    const int first = grid.Clamp(span.firstRow * columns + span.firstColumn);
    const int last = grid.Clamp(span.lastRow * columns + span.lastColumn);
    m_worker.SetVisibleRange(first, last);
}

void ThumbnailWindow_CL::PrefetchAllThumbnails() {
    if (m_count <= 0) return;
    if (m_contentSource && m_contentSource().soundOnly) return;
    UpdateVisibleRange();
    const CellGrid& grid = m_view.Grid();
    const CellSpan span = grid.CellsMeeting(m_view.VisibleRect());
    int first = 0, last = 0;
    if (!span.IsEmpty()) {
        first = grid.Clamp(span.firstRow * grid.Columns() + span.firstColumn);
        last = grid.Clamp(span.lastRow * grid.Columns() + span.lastColumn);
    }
    const int64_t interval = EffectiveInterval(m_interval);
    for (int index : ThumbRequestList_CL::PrefetchOrder(m_count, first, last, m_worker.CacheCapacity())) {
        m_worker.RequestThumbnail(index, CellTime(index, interval));
    }
}

// ---- drawing ----

Gdiplus::Image* ThumbnailWindow_CL::SoundOnlyPicture() {
    if (!m_soundOnlyPictureTried) {
        m_soundOnlyPictureTried = true;
        auto picture = std::make_unique<Gdiplus::Image>(ProgramFolderFile(kSoundOnlyPictureName).c_str());
        if (picture->GetLastStatus() == Gdiplus::Ok) m_soundOnlyPicture = std::move(picture);
    }
    return m_soundOnlyPicture.get();
}

void ThumbnailWindow_CL::PaintCell(HDC dc, const RECT& cell, int index) {
    EnsureFonts();
    const int64_t interval = EffectiveInterval(m_interval);
    const StripContent& content = m_paintContent;
    const bool inCount = index >= 0 && index < m_count;

    // The picture, or an empty grey cell.
    bool drawn = false;
    if (m_paintPictures && m_ready && content.loaded && !content.soundOnly && inCount) {
        drawn = m_worker.DrawThumbnail(index, CellTime(index, interval), [&](HBITMAP bitmap) {
            MemoryDC_CL source(::CreateCompatibleDC(dc));
            if (!source.IsValid()) return;
            HGDIOBJ old = ::SelectObject(source.Get(), bitmap);
            const int oldMode = ::SetStretchBltMode(dc, HALFTONE);
            ::SetBrushOrgEx(dc, 0, 0, nullptr);
            ::StretchBlt(dc, cell.left, cell.top, cell.right - cell.left, cell.bottom - cell.top, source.Get(), 0, 0,
                         ThumbRequestList_CL::kDecodeWidth, ThumbRequestList_CL::kDecodeHeight, SRCCOPY);
            ::SetStretchBltMode(dc, oldMode);
            ::SelectObject(source.Get(), old);
        });
    }
    if (!drawn) {
        GdiObject_CL brush(::CreateSolidBrush(kEmptyCellColour));
        ::FillRect(dc, &cell, static_cast<HBRUSH>(brush.Get()));
    }
    if (!inCount) return;

    Gdiplus::Graphics graphics(dc);
    graphics.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAlias);
    const Gdiplus::RectF cellRect = ToRectF(cell);

    // The sound-only picture comes under the labels, so that they stay readable.
    if (content.soundOnly) {
        if (Gdiplus::Image* picture = SoundOnlyPicture()) {
            graphics.DrawImage(picture, cellRect, 0.0f, 0.0f, static_cast<Gdiplus::REAL>(picture->GetWidth()),
                               static_cast<Gdiplus::REAL>(picture->GetHeight()), Gdiplus::UnitPixel);
        }
    }

    if (m_labelFont) {
        Gdiplus::StringFormat centred;
        centred.SetAlignment(Gdiplus::StringAlignmentCenter);
        centred.SetLineAlignment(Gdiplus::StringAlignmentCenter);
        Gdiplus::SolidBrush skipBrush{Gdiplus::Color(kSkipLabelColour)};
        for (int range : SkipLabelsForCell(content.marks, index, interval)) {
            graphics.DrawString(kSkipLabels[range], -1, m_labelFont.get(), cellRect, &centred, &skipBrush);
        }
        const int favorite = FavoriteLabelForCell(content.marks, index, interval);
        if (favorite >= 0) {
            Gdiplus::SolidBrush favoriteBrush{Gdiplus::Color(kFavoriteLabelColour)};
            graphics.DrawString(kFavoriteLabels[favorite], -1, m_labelFont.get(), cellRect, &centred, &favoriteBrush);
        }
    }

    if (m_timeFont) {
        const std::wstring text = CellTimeText(index, interval);
        Gdiplus::RectF bounds;
        graphics.MeasureString(text.c_str(), -1, m_timeFont.get(), cellRect, &bounds);
        Gdiplus::SolidBrush box{Gdiplus::Color(kTimeBoxColour)};
        graphics.FillRectangle(&box, cellRect.X + 4, cellRect.Y + 4, bounds.Width + 4, bounds.Height);
        Gdiplus::SolidBrush white{Gdiplus::Color(kTimeTextColour)};
        graphics.DrawString(text.c_str(), -1, m_timeFont.get(), Gdiplus::PointF(cellRect.X + 6, cellRect.Y + 6), &white);
    }

    Gdiplus::Pen marker{Gdiplus::Color(kMarkerColour), kMarkerWidth};
    const Gdiplus::RectF inset(cellRect.X + 2, cellRect.Y + 2, cellRect.Width - 4, cellRect.Height - 4);
    if (m_view.IsSelected(index)) {
        Gdiplus::SolidBrush tint{Gdiplus::Color(kSelectionTint)};
        graphics.FillRectangle(&tint, cellRect);
        graphics.DrawRectangle(&marker, inset);
    }
    if (index == m_view.Anchor()) graphics.DrawRectangle(&marker, inset);
}

void ThumbnailWindow_CL::SendActivate(int index) {
    HWND window = Window();
    HWND parent = window ? ::GetParent(window) : nullptr;
    if (!parent || index < 0 || index >= m_count) return;
    ThumbActivateNotify notify{};
    notify.header.hwndFrom = window;
    notify.header.idFrom = static_cast<UINT_PTR>(::GetDlgCtrlID(window));
    notify.header.code = static_cast<UINT>(NM_THUMB_ACTIVATE);
    notify.index = index;
    ::SendMessageW(parent, WM_NOTIFY, notify.header.idFrom, reinterpret_cast<LPARAM>(&notify));
}

void ThumbnailWindow_CL::ReleaseDrawing() {
    m_soundOnlyPicture.reset();
    m_labelFont.reset();
    m_timeFont.reset();
    m_fontFamily.reset();
    m_fontsTried = false;
}

// ---- the window procedure ----

LRESULT ThumbnailWindow_CL::OnSubClassMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    HWND window = Window();
    if (message == WM_PAINT) {
        // What every cell of this paint needs, read once.
        m_paintPictures = !ReadNoThumbnailSetting();
        m_paintContent = m_contentSource ? m_contentSource() : StripContent{true, false, StripMarks()};
        UpdateVisibleRange();
    }
    LRESULT viewResult = 0;
    const bool viewActed = m_view.HandleMessage(window, message, wParam, lParam, &viewResult);

    switch (message) {
        case WM_ERASEBKGND:
            if (m_count == 0) {
                RECT client{};
                ::GetClientRect(window, &client);
                ::FillRect(reinterpret_cast<HDC>(wParam), &client, static_cast<HBRUSH>(::GetStockObject(LTGRAY_BRUSH)));
            }
            SetHandled();
            return 0;
        case WM_THUMB_DECODED:
            if (lParam != 0 && m_count > 0 && m_view.CellTouchesView(static_cast<int>(wParam))) {
                ::InvalidateRect(window, nullptr, FALSE);
            }
            SetHandled();
            return 0;
        case WM_THUMB_GRAPH_READY:
            SetContentThumbnail(static_cast<uint32_t>(wParam), static_cast<HRESULT>(lParam));
            SetHandled();
            return 0;
        case WM_LBUTTONDOWN:
            ::SetFocus(window);
            SetHandled();
            return 0;
        case WM_RBUTTONUP: {
            POINT point{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ::ClientToScreen(window, &point);
            if (m_menuRequest) m_menuRequest(point);
            SetHandled();
            return 0;
        }
        case WM_HSCROLL:
        case WM_VSCROLL:
            if (HWND parent = ::GetParent(window)) {
                ::PostMessageW(parent, WM_COMMAND, MAKEWPARAM(CMD_USER_ACTIVITY, 0), 0);
            }
            break;
        case WM_COMMAND:
            if (HWND parent = ::GetParent(window)) {
                SetHandled();
                return ::SendMessageW(parent, WM_COMMAND, wParam, lParam);
            }
            break;
        case WM_DESTROY:
            m_worker.StopThumbnails(kThumbStopDestroy);
            m_worker.ReleaseFilterGraph();
            ReleaseDrawing();
            m_view.Detach();
            return 0;
        default:
            break;
    }
    if (viewActed) {
        SetHandled();
        return viewResult;
    }
    return 0;
}
