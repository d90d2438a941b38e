#pragma once
// Saves the picture now shown as a PNG file in the data folder's "capture" folder: the latest
// frame of the renderer, scaled with GDI+ to the size the picture is displayed at, encoded with
// the "image/png" encoder. The file is named after the local time of the capture
// (CaptureNaming.h); a name that exists already is never overwritten, the next free one is taken.
//
// The result says what happened in a form the main window can show as a status text: nothing
// is saved when there is no picture yet, and a capture folder that cannot be made or written
// is reported rather than skipped in silence.
//
// Thread: UI (the renderer's CopyFrame and CreateFrameBitmap are UI-thread calls). GDI+ must
// have been started by the process.

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

class CMyRenderer;

// Status texts of a capture, shown on the picture by the main window.
constexpr wchar_t kCaptureSavedText[] = L"画面をキャプチャーしました";
constexpr wchar_t kCaptureNoPictureText[] = L"キャプチャーする画像がありません";
constexpr wchar_t kCaptureFolderUnusableText[] = L"キャプチャーフォルダーに保存できません";
constexpr wchar_t kCaptureNotSavedText[] = L"キャプチャー画像を保存できませんでした";

enum class CaptureStatus {
    kSaved,           // path names the new file
    kNoPicture,       // no frame yet (nothing loaded, or sound only): nothing written
    kFolderUnusable,  // the capture folder is missing and cannot be made, or a file is in its place
    kNotSaved,        // the picture could not be made, encoded or written (hr says why)
};

struct CaptureResult {
    CaptureStatus status = CaptureStatus::kNotSaved;
    HRESULT hr = E_FAIL;  // S_OK when saved; S_FALSE for no picture; the failing call's code otherwise
    std::wstring path;    // the file written (kSaved), or the folder or file that failed
};

// What the main window knows at the moment of a capture.
struct CaptureTarget {
    std::wstring dataRoot;  // the data folder (Documents + "\Lumikino"), DataFolder_CL::Root()
    SYSTEMTIME localTime{};  // GetLocalTime at the command
    // The size the picture is displayed at (the renderer's DisplaySize). Zero or negative
    // sides take the frame's own size.
    SIZE displaySize{0, 0};
};

class ScreenCapture_CL {
public:
    // Thread: UI. The renderer's latest frame (CopyFrame, then CreateFrameBitmap with raw = 0).
    // A null renderer or one without a frame gives kNoPicture.
    static CaptureResult CaptureRenderer(CMyRenderer* renderer, const CaptureTarget& target);

    // Thread: UI. A YUY2 frame (top-down, width even), as CopyFrame returns it. An empty frame
    // gives kNoPicture; one shorter than width x height x 2 bytes gives kNotSaved (E_INVALIDARG).
    static CaptureResult CaptureYuy2(const std::vector<uint8_t>& frame, int width, int height,
                                     const CaptureTarget& target);

    // Thread: UI. A 32-bit DIB section of the picture; the caller keeps and deletes it.
    static CaptureResult CaptureBitmap(HBITMAP frame, const CaptureTarget& target);

    // The status text for a result.
    static const wchar_t* StatusText(const CaptureResult& result);

    // Makes the capture folder under the data folder when it is missing. Fails with
    // HRESULT_FROM_WIN32(ERROR_DIRECTORY) when a file stands in its place.
    [[nodiscard]] static HRESULT EnsureCaptureFolder(const std::wstring& dataRoot, std::wstring* folder);
};
