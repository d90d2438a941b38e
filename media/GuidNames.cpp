#include "media/GuidNames.h"

#include <dshow.h>
#include <dvdmedia.h>

#include "base/TextFormat.h"

namespace {
struct Known {
    const GUID* guid;
    const wchar_t* label;
};

// The four-character-code subtypes share the layout XXXXXXXX-0000-0010-8000-00AA00389B71.
GUID FourCcSubtype(DWORD code) {
    GUID guid = {code, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
    return guid;
}
}  // namespace

std::wstring GuidName(const GUID& g) {
    std::wstring text = FormatString(L"%08x-%04x-%04x-%02x%02x-%02x%02x%02x%02x%02x%02x", static_cast<unsigned>(g.Data1),
                                     g.Data2, g.Data3, g.Data4[0], g.Data4[1], g.Data4[2], g.Data4[3], g.Data4[4],
                                     g.Data4[5], g.Data4[6], g.Data4[7]);
    static const Known kKnown[] = {
        {&FORMAT_None, L"(FORMAT_None)"},
        {&FORMAT_DvInfo, L"(FORMAT_DvInfo)"},
        {&FORMAT_MPEGVideo, L"(FORMAT_MPEGVideo)"},
        {&FORMAT_MPEG2Video, L"(FORMAT_MPEG2Video)"},
        {&FORMAT_VideoInfo, L"(FORMAT_VideoInfo)"},
        {&FORMAT_VideoInfo2, L"(FORMAT_VideoInfo2)"},
        {&GUID_NULL, L"(GUID_NULL)"},
        {&MEDIASUBTYPE_RGB1, L"(MEDIASUBTYPE_RGB1)"},
        {&MEDIASUBTYPE_RGB4, L"(MEDIASUBTYPE_RGB4)"},
        {&MEDIASUBTYPE_RGB8, L"(MEDIASUBTYPE_RGB8)"},
        {&MEDIASUBTYPE_RGB555, L"(MEDIASUBTYPE_RGB555)"},
        {&MEDIASUBTYPE_RGB565, L"(MEDIASUBTYPE_RGB565)"},
        {&MEDIASUBTYPE_RGB24, L"(MEDIASUBTYPE_RGB24)"},
        {&MEDIASUBTYPE_RGB32, L"(MEDIASUBTYPE_RGB32)"},
        {&MEDIASUBTYPE_ARGB32, L"(MEDIASUBTYPE_ARGB32)"},
    };
    for (const Known& known : kKnown) {
        if (*known.guid == g) return text + known.label;
    }
    static const wchar_t* const kFourCcs[] = {L"AYUV", L"UYVY", L"Y411", L"Y41P", L"Y211", L"YUY2", L"YVYU",
                                              L"YUYV", L"IF09", L"IYUV", L"YV12", L"YVU9", L"NV12"};
    for (const wchar_t* name : kFourCcs) {
        DWORD code = static_cast<DWORD>(name[0]) | (static_cast<DWORD>(name[1]) << 8) |
                     (static_cast<DWORD>(name[2]) << 16) | (static_cast<DWORD>(name[3]) << 24);
        if (FourCcSubtype(code) == g) return text + L"(MEDIASUBTYPE_" + name + L")";
    }
    return text;
}
