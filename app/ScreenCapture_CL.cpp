#include "app/ScreenCapture_CL.h"

#include <objbase.h>
#include <gdiplus.h>
#include <wrl/client.h>

#include <cwchar>
#include <memory>
#include <new>

#include "app/CaptureNaming.h"
#include "base/DataFolder_CL.h"
#include "base/LogFile_CL.h"
#include "base/UniqueHandle_CL.h"
#include "media/CMyRenderer.h"
#include "media/ColourConversion.h"

using Microsoft::WRL::ComPtr;

namespace {

constexpr wchar_t kPngMimeType[] = L"image/png";

CaptureResult Result(CaptureStatus status, HRESULT hr, const std::wstring& path = std::wstring()) {
    CaptureResult result;
    result.status = status;
    result.hr = hr;
    result.path = path;
    return result;
}

CaptureResult NoPicture() { return Result(CaptureStatus::kNoPicture, S_FALSE); }

HRESULT FromGdiplus(Gdiplus::Status status) {
    switch (status) {
    case Gdiplus::Ok: return S_OK;
    case Gdiplus::OutOfMemory: return E_OUTOFMEMORY;
    case Gdiplus::InvalidParameter: return E_INVALIDARG;
    case Gdiplus::NotImplemented: return E_NOTIMPL;
    case Gdiplus::Win32Error: {
        DWORD error = ::GetLastError();
        return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
    }
    case Gdiplus::GdiplusNotInitialized: return CO_E_NOTINITIALIZED;
    default: return E_FAIL;
    }
}

HRESULT FindPngEncoder(CLSID* clsid) {
    UINT count = 0, bytes = 0;
    Gdiplus::Status status = Gdiplus::GetImageEncodersSize(&count, &bytes);
    if (status != Gdiplus::Ok) return FromGdiplus(status);
    if (count == 0 || bytes < count * sizeof(Gdiplus::ImageCodecInfo)) return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
    // The codec records and the strings they point to share one block.
    std::unique_ptr<uint64_t[]> block(new (std::nothrow) uint64_t[bytes / sizeof(uint64_t) + 1]);
    if (!block) return E_OUTOFMEMORY;
    auto* codecs = reinterpret_cast<Gdiplus::ImageCodecInfo*>(block.get());
    status = Gdiplus::GetImageEncoders(count, bytes, codecs);
    if (status != Gdiplus::Ok) return FromGdiplus(status);
    for (UINT i = 0; i < count; ++i) {
        if (codecs[i].MimeType && std::wcscmp(codecs[i].MimeType, kPngMimeType) == 0) {
            *clsid = codecs[i].Clsid;
            return S_OK;
        }
    }
    return HRESULT_FROM_WIN32(ERROR_NOT_FOUND);
}

// The picture at the displayed size, encoded as PNG into memory. Encoding first and writing
// afterwards means a failed encoding leaves no empty file behind, and the file can be made
// with CREATE_NEW, which is what keeps an earlier capture from being overwritten.
HRESULT EncodePng(HBITMAP frame, SIZE displaySize, std::string* png) {
    CLSID encoder{};
    HRESULT hr = FindPngEncoder(&encoder);
    if (FAILED(hr)) {
        LogPrintf(L"ScreenCapture: no PNG encoder: 0x%08x", static_cast<unsigned>(hr));
        return hr;
    }

    std::unique_ptr<Gdiplus::Bitmap> source(Gdiplus::Bitmap::FromHBITMAP(frame, nullptr));
    if (!source) return E_OUTOFMEMORY;
    if (source->GetLastStatus() != Gdiplus::Ok) return FromGdiplus(source->GetLastStatus());
    const INT sourceWidth = static_cast<INT>(source->GetWidth());
    const INT sourceHeight = static_cast<INT>(source->GetHeight());
    if (sourceWidth <= 0 || sourceHeight <= 0) return E_INVALIDARG;

    INT width = displaySize.cx > 0 ? displaySize.cx : sourceWidth;
    INT height = displaySize.cy > 0 ? displaySize.cy : sourceHeight;
    if (width > kMaxFrameSide) width = kMaxFrameSide;
    if (height > kMaxFrameSide) height = kMaxFrameSide;

    Gdiplus::Bitmap scaled(width, height, PixelFormat32bppRGB);
    if (scaled.GetLastStatus() != Gdiplus::Ok) return FromGdiplus(scaled.GetLastStatus());
    {
        Gdiplus::Graphics graphics(&scaled);
        if (graphics.GetLastStatus() != Gdiplus::Ok) return FromGdiplus(graphics.GetLastStatus());
        graphics.SetInterpolationMode(Gdiplus::InterpolationModeHighQualityBicubic);
        graphics.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
        // Without mirrored edges the filter blends in transparent black around the border.
        Gdiplus::ImageAttributes attributes;
        attributes.SetWrapMode(Gdiplus::WrapModeTileFlipXY);
        Gdiplus::Status status = graphics.DrawImage(source.get(), Gdiplus::Rect(0, 0, width, height), 0, 0,
                                                    sourceWidth, sourceHeight, Gdiplus::UnitPixel, &attributes);
        if (status != Gdiplus::Ok) return FromGdiplus(status);
    }

    ComPtr<IStream> stream;
    hr = ::CreateStreamOnHGlobal(nullptr, TRUE, &stream);
    if (FAILED(hr)) return hr;
    Gdiplus::Status status = scaled.Save(stream.Get(), &encoder, nullptr);
    if (status != Gdiplus::Ok) return FromGdiplus(status);

    STATSTG stat{};
    hr = stream->Stat(&stat, STATFLAG_NONAME);
    if (FAILED(hr)) return hr;
    HGLOBAL memory = nullptr;
    hr = ::GetHGlobalFromStream(stream.Get(), &memory);
    if (FAILED(hr)) return hr;
    const SIZE_T size = static_cast<SIZE_T>(stat.cbSize.QuadPart);
    if (size == 0 || size > ::GlobalSize(memory)) return E_UNEXPECTED;
    const void* data = ::GlobalLock(memory);
    if (!data) return HRESULT_FROM_WIN32(::GetLastError());
    png->assign(static_cast<const char*>(data), size);
    ::GlobalUnlock(memory);
    return S_OK;
}

// Writes the bytes under the first free name of the second; never replaces a file.
CaptureResult WriteNewFile(const std::wstring& folder, const SYSTEMTIME& localTime, const std::string& bytes) {
    for (int sequence = kFirstCaptureSequence; sequence <= kLastCaptureSequence; ++sequence) {
        const std::wstring path = folder + L"\\" + CaptureFileName(localTime, sequence);
        FileHandle_CL file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                                         nullptr));
        if (!file.IsValid()) {
            const DWORD error = ::GetLastError();
            if (error == ERROR_FILE_EXISTS || error == ERROR_ALREADY_EXISTS) continue;
            LogPrintf(L"ScreenCapture: \"%ls\" not created: 0x%08x", path.c_str(),
                      static_cast<unsigned>(HRESULT_FROM_WIN32(error)));
            return Result(CaptureStatus::kFolderUnusable, HRESULT_FROM_WIN32(error), folder);
        }
        DWORD written = 0;
        const BOOL ok = ::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        const DWORD error = ::GetLastError();
        file.Reset();
        if (!ok || written != bytes.size()) {
            // A cut PNG is worse than none: it would look like a capture that does not open.
            ::DeleteFileW(path.c_str());
            const HRESULT hr = !ok && error ? HRESULT_FROM_WIN32(error) : HRESULT_FROM_WIN32(ERROR_WRITE_FAULT);
            LogPrintf(L"ScreenCapture: \"%ls\" not written: 0x%08x", path.c_str(), static_cast<unsigned>(hr));
            return Result(CaptureStatus::kNotSaved, hr, path);
        }
        return Result(CaptureStatus::kSaved, S_OK, path);
    }
    LogPrintf(L"ScreenCapture: every name of the second is taken in \"%ls\"", folder.c_str());
    return Result(CaptureStatus::kNotSaved, HRESULT_FROM_WIN32(ERROR_FILE_EXISTS), folder);
}

}  // namespace

HRESULT ScreenCapture_CL::EnsureCaptureFolder(const std::wstring& dataRoot, std::wstring* folder) {
    // An empty or relative root would put captures wherever the current folder happens to be.
    if (dataRoot.empty() || !DataFolder_CL::IsAbsolutePath(dataRoot)) return E_INVALIDARG;
    *folder = CaptureFolderPath(dataRoot);
    DWORD attributes = ::GetFileAttributesW(folder->c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        // The data folder is made at start-up; it may have been removed since.
        ::CreateDirectoryW(dataRoot.c_str(), nullptr);
        if (!::CreateDirectoryW(folder->c_str(), nullptr)) {
            const DWORD error = ::GetLastError();
            if (error != ERROR_ALREADY_EXISTS) return HRESULT_FROM_WIN32(error);
        }
        attributes = ::GetFileAttributesW(folder->c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return HRESULT_FROM_WIN32(::GetLastError());
    }
    if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) return HRESULT_FROM_WIN32(ERROR_DIRECTORY);
    return S_OK;
}

CaptureResult ScreenCapture_CL::CaptureBitmap(HBITMAP frame, const CaptureTarget& target) {
    if (!frame) return NoPicture();
    std::wstring folder;
    HRESULT hr = EnsureCaptureFolder(target.dataRoot, &folder);
    if (FAILED(hr)) {
        LogPrintf(L"ScreenCapture: capture folder \"%ls\" unusable: 0x%08x", folder.c_str(), static_cast<unsigned>(hr));
        return Result(CaptureStatus::kFolderUnusable, hr, folder.empty() ? target.dataRoot : folder);
    }
    std::string png;
    hr = EncodePng(frame, target.displaySize, &png);
    if (FAILED(hr)) {
        LogPrintf(L"ScreenCapture: PNG not made: 0x%08x", static_cast<unsigned>(hr));
        return Result(CaptureStatus::kNotSaved, hr);
    }
    return WriteNewFile(folder, target.localTime, png);
}

CaptureResult ScreenCapture_CL::CaptureYuy2(const std::vector<uint8_t>& frame, int width, int height,
                                            const CaptureTarget& target) {
    if (frame.empty()) return NoPicture();
    const uint64_t bytes = Yuy2FrameBytes(width, height);
    if (bytes == 0 || frame.size() < bytes) return Result(CaptureStatus::kNotSaved, E_INVALIDARG);

    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, as the frame
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    GdiObject_CL bitmap(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bitmap.IsValid() || !bits) return Result(CaptureStatus::kNotSaved, E_OUTOFMEMORY);
    ConvertYuy2ToRgb32(frame.data(), width, height, static_cast<uint8_t*>(bits));
    return CaptureBitmap(static_cast<HBITMAP>(bitmap.Get()), target);
}

CaptureResult ScreenCapture_CL::CaptureRenderer(CMyRenderer* renderer, const CaptureTarget& target) {
    if (!renderer) return NoPicture();
    std::vector<uint8_t> frame = renderer->CopyFrame();
    if (frame.empty()) return NoPicture();
    int width = 0, height = 0;
    renderer->GetVideoSize(&width, &height);
    // The type may have changed since the frame was taken; a frame of another size is not
    // converted, it could be read past its end.
    const uint64_t bytes = Yuy2FrameBytes(width, height);
    if (bytes == 0 || frame.size() < bytes) return Result(CaptureStatus::kNotSaved, E_UNEXPECTED);
    GdiObject_CL bitmap(renderer->CreateFrameBitmap(frame.data(), width, height, false));
    if (!bitmap.IsValid()) return Result(CaptureStatus::kNotSaved, E_OUTOFMEMORY);
    return CaptureBitmap(static_cast<HBITMAP>(bitmap.Get()), target);
}

const wchar_t* ScreenCapture_CL::StatusText(const CaptureResult& result) {
    switch (result.status) {
    case CaptureStatus::kSaved: return kCaptureSavedText;
    case CaptureStatus::kNoPicture: return kCaptureNoPictureText;
    case CaptureStatus::kFolderUnusable: return kCaptureFolderUnusableText;
    case CaptureStatus::kNotSaved: break;
    }
    return kCaptureNotSavedText;
}
