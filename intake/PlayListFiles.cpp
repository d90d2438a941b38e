#include "intake/PlayListFiles.h"

#include "intake/PlayListFormats.h"
#include "intake/PlayList_CL.h"
#include "store/AtomicRecordWriter_CL.h"

size_t ReadTextListFile(const std::wstring& path, PlayList_CL& list, int* skipped) {
    if (skipped) *skipped = 0;
    std::string bytes;
    if (FAILED(AtomicRecordWriter_CL::ReadBytes(path, &bytes))) return list.Count();
    for (const std::wstring& entry : ParseTextList(bytes, skipped)) list.AppendPath(entry);
    if (list.Count() > 1) list.SetSeveralItems(true);
    list.SetChanged();
    return list.Count();
}

HRESULT WriteTextListFile(const std::wstring& path, const PlayList_CL& list, int* leftOut) {
    const TextListBytes text = MakeTextList(list.Items());
    if (leftOut) *leftOut = text.leftOut;
    AtomicRecordWriter_CL writer;
    return writer.WriteBytes(path, text.bytes);
}

HRESULT WriteAsxListFile(const std::wstring& path, const PlayList_CL& list) {
    AtomicRecordWriter_CL writer;
    return writer.WriteBytes(path, MakeAsxList(list.Items()));
}
