#include "intake/AsxListReader.h"

#include <windows.h>
#include <objbase.h>
#include <shlwapi.h>
#include <wrl/client.h>
#include <xmllite.h>

#include "base/LogFile_CL.h"
#include "base/Platform.h"

using Microsoft::WRL::ComPtr;

namespace {
// IXmlReader, named here: the toolchain has no import library for XmlLite.
constexpr IID kXmlReaderIid = {0x7279FC81, 0x709D, 0x4095, {0xB6, 0x3D, 0x69, 0xFE, 0x4B, 0x0D, 0x90, 0x30}};
constexpr UINT kMaxDepth = 64;
using CreateXmlReaderFn = HRESULT(WINAPI*)(REFIID, void**, IMalloc*);

bool SameName(const wchar_t* name, const wchar_t* lower) {
    return name && ::CompareStringOrdinal(name, -1, lower, -1, TRUE) == CSTR_EQUAL;
}

HRESULT MakeReader(const std::wstring& path, ComPtr<IXmlReader>* reader) {
    static const CreateXmlReaderFn create =
        LibraryEntry<CreateXmlReaderFn>(LoadTrustedLibrary(L"xmllite.dll", LibraryFolders::kSystemOnly), "CreateXmlReader");
    if (!create) return E_NOINTERFACE;
    ComPtr<IStream> stream;
    HRESULT hr = ::SHCreateStreamOnFileW(path.c_str(), STGM_READ | STGM_SHARE_DENY_WRITE, &stream);
    if (FAILED(hr)) return hr;
    hr = create(kXmlReaderIid, reinterpret_cast<void**>(reader->ReleaseAndGetAddressOf()), nullptr);
    if (FAILED(hr)) return hr;
    IXmlReader* r = reader->Get();
    if (FAILED(hr = r->SetProperty(XmlReaderProperty_DtdProcessing, DtdProcessing_Prohibit))) return hr;
    if (FAILED(hr = r->SetProperty(XmlReaderProperty_MaxElementDepth, kMaxDepth))) return hr;
    return r->SetInput(stream.Get());
}

// The first ref's href, when the reader stands on a ref element.
bool RefHref(IXmlReader* reader, std::wstring* href) {
    for (HRESULT hr = reader->MoveToFirstAttribute(); hr == S_OK; hr = reader->MoveToNextAttribute()) {
        const wchar_t* name = nullptr;
        const wchar_t* value = nullptr;
        if (SUCCEEDED(reader->GetLocalName(&name, nullptr)) && SameName(name, L"href") &&
            SUCCEEDED(reader->GetValue(&value, nullptr))) {
            *href = value ? value : L"";
            reader->MoveToElement();
            return true;
        }
    }
    reader->MoveToElement();
    return false;
}
}  // namespace

bool ReadAsxList(const std::wstring& path, std::vector<std::wstring>* paths) {
    paths->clear();
    ComPtr<IXmlReader> reader;
    HRESULT hr = MakeReader(path, &reader);
    if (FAILED(hr)) {
        LogPrintf(L"ASXを読めません (0x%08x) \"%ls\"", static_cast<unsigned>(hr), path.c_str());
        return false;
    }
    std::vector<std::wstring> found;
    // depth: elements open around the node read; the root must be asx, its entry children
    // count, and in each the first ref child.
    int depth = 0;
    bool rootIsAsx = false, inEntry = false, refSeen = false;
    XmlNodeType type = XmlNodeType_None;
    while ((hr = reader->Read(&type)) == S_OK) {
        if (type == XmlNodeType_EndElement) {
            --depth;
            if (depth == 1) inEntry = false;
            continue;
        }
        if (type != XmlNodeType_Element) continue;
        const wchar_t* name = nullptr;
        reader->GetLocalName(&name, nullptr);
        const bool empty = reader->IsEmptyElement() != FALSE;
        if (depth == 0) {
            rootIsAsx = SameName(name, L"asx");
        } else if (depth == 1 && rootIsAsx && SameName(name, L"entry")) {
            inEntry = !empty;
            refSeen = false;
        } else if (depth == 2 && inEntry && !refSeen && SameName(name, L"ref")) {
            refSeen = true;
            std::wstring href;
            if (RefHref(reader.Get(), &href)) found.push_back(std::move(href));
        }
        if (!empty) ++depth;
    }
    // An element left open at the end is a list cut short (the reader does not always say so).
    if (FAILED(hr) || depth != 0) {
        LogPrintf(L"ASXの形式が正しくありません (0x%08x) \"%ls\"", static_cast<unsigned>(hr), path.c_str());
        return false;
    }
    *paths = std::move(found);
    return true;
}
