#include "store/FingerprintIndex_CL.h"

#include <algorithm>

#include "base/DataFolder_CL.h"
#include "base/LogFile_CL.h"
#include "base/LogSwitches.h"
#include "base/UniqueHandle_CL.h"
#include "store/AtomicRecordWriter_CL.h"
#include "store/ContentRecordKeys.h"
#include "store/ContentRecordNaming.h"
#include "store/Inifile_CL.h"

namespace {

constexpr size_t kCompactSlackLines = 1024;  // below this many dead lines a rewrite is not worth it

bool SameTime(const FILETIME& a, const FILETIME& b) {
    return a.dwLowDateTime == b.dwLowDateTime && a.dwHighDateTime == b.dwHighDateTime;
}

bool ParseDigits(const std::string& text, size_t count, int* value) {
    if (text.size() != count) return false;
    int result = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return false;
        result = result * 10 + (c - '0');
    }
    *value = result;
    return true;
}

// The MOVIE_INFO key of a record file as its bytes hold it; the profile functions only for the
// rare record that is not UTF-16 yet.
std::wstring FingerprintKeyOf(const std::wstring& path) {
    std::string bytes;
    if (FAILED(AtomicRecordWriter_CL::ReadBytes(path, &bytes))) return std::wstring();
    if (bytes.size() >= 2 && bytes.compare(0, 2, "\xFF\xFE", 2) == 0) {
        for (const IniEntry& entry : AtomicRecordWriter_CL::ParseUtf16Ini(bytes)) {
            if (::lstrcmpiW(entry.section.c_str(), kSectionMovieInfo) == 0 &&
                ::lstrcmpiW(entry.key.c_str(), kKeyFingerprint) == 0) {
                return entry.value;
            }
        }
        return std::wstring();
    }
    Inifile_CL file;
    file.Bind(path);
    return file.GetString(kSectionMovieInfo, kKeyFingerprint, L"");
}

}  // namespace

FingerprintIndex_CL::FingerprintIndex_CL(std::wstring contentsFolder)
    : m_contentsFolder(std::move(contentsFolder)), m_path(IndexPath(m_contentsFolder)) {}

std::wstring FingerprintIndex_CL::IndexPath(const std::wstring& contentsFolder) {
    return contentsFolder + L"\\fingerprints.idx";
}

std::string FingerprintIndex_CL::FormatLine(const Line& line) {
    std::wstring print = FormatFingerprint(line.fingerprint);
    std::string text(1, line.kind == LineKind::Add ? '+' : '-');
    text += ' ';
    for (wchar_t c : print) text += static_cast<char>(c);
    char refText[16];
    ::wsprintfA(refText, " %03d %05d", line.record.bucket, line.record.index);
    return text + refText;
}

bool FingerprintIndex_CL::ParseLine(const std::string& text, Line* line) {
    // "+ size:hash NNN IIIII": four fields, one blank between each.
    std::vector<std::string> fields;
    size_t start = 0;
    for (;;) {
        size_t blank = text.find(' ', start);
        fields.push_back(text.substr(start, blank == std::string::npos ? std::string::npos : blank - start));
        if (blank == std::string::npos) break;
        start = blank + 1;
    }
    if (fields.size() != 4 || fields[0].size() != 1) return false;
    if (fields[0][0] == '+') {
        line->kind = LineKind::Add;
    } else if (fields[0][0] == '-') {
        line->kind = LineKind::Remove;
    } else {
        return false;
    }
    std::wstring print(fields[1].begin(), fields[1].end());
    if (!ParseFingerprint(print, &line->fingerprint)) return false;
    if (!ParseDigits(fields[2], 3, &line->record.bucket) || line->record.bucket >= kContentBucketCount) return false;
    return ParseDigits(fields[3], 5, &line->record.index) && line->record.index < kRecordIndexCount;
}

FingerprintIndex_CL::FileState FingerprintIndex_CL::Stat() const {
    FileState state;
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExW(m_path.c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        return state;
    }
    state.exists = true;
    state.sizeBytes = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    state.created = data.ftCreationTime;
    return state;
}

void FingerprintIndex_CL::Apply(const Line& line) {
    std::vector<RecordRef>& records = m_byFingerprint[line.fingerprint];
    auto same = std::find(records.begin(), records.end(), line.record);
    if (line.kind == LineKind::Add) {
        if (same == records.end()) records.push_back(line.record);
    } else if (same != records.end()) {
        records.erase(same);
    }
    if (records.empty()) m_byFingerprint.erase(line.fingerprint);
}

bool FingerprintIndex_CL::ApplyLines(const std::string& bytes, size_t* consumed) {
    size_t start = 0;
    for (;;) {
        size_t end = bytes.find('\n', start);
        // A line without its end is still being written by another instance: taken next time.
        if (end == std::string::npos) break;
        std::string text = bytes.substr(start, end - start);
        if (!text.empty() && text.back() == '\r') text.pop_back();
        start = end + 1;
        *consumed = start;
        if (text.empty()) continue;
        Line line;
        if (!ParseLine(text, &line)) return false;
        Apply(line);
        ++m_lineCount;
    }
    return true;
}

bool FingerprintIndex_CL::LoadWhole(const FileState& state) {
    m_byFingerprint.clear();
    m_lineCount = 0;
    m_readBytes = 0;
    std::string bytes;
    if (FAILED(AtomicRecordWriter_CL::ReadBytes(m_path, &bytes))) return false;
    std::string header = std::string(Header()) + "\r\n";
    if (bytes.compare(0, header.size(), header) != 0) return false;
    size_t consumed = 0;
    if (!ApplyLines(bytes.substr(header.size()), &consumed)) return false;
    m_readBytes = header.size() + consumed;
    m_created = state.created;
    m_loaded = true;
    return true;
}

bool FingerprintIndex_CL::ReadTail(const FileState& state) {
    if (state.sizeBytes == m_readBytes) return true;
    FileHandle_CL file(::CreateFileW(m_path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return true;  // locked a moment: what memory holds still stands
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(m_readBytes);
    if (!::SetFilePointerEx(file.Get(), position, nullptr, FILE_BEGIN)) return true;
    std::string tail;
    char chunk[16384];
    DWORD got = 0;
    while (::ReadFile(file.Get(), chunk, sizeof(chunk), &got, nullptr) && got > 0) tail.append(chunk, got);
    size_t consumed = 0;
    bool ok = ApplyLines(tail, &consumed);
    m_readBytes += consumed;
    return ok;
}

bool FingerprintIndex_CL::Refresh() {
    if (!DataFolder_CL::IsAbsolutePath(m_contentsFolder)) return false;
    // The file could not be written in this run (a read-only data folder): a rebuild per lookup
    // would cost a scan of the whole store each time.
    if (m_memoryOnly) return true;
    FileState state = Stat();
    if (!state.exists) {
        Rebuild();
        return true;
    }
    bool ok;
    if (!m_loaded || !SameTime(state.created, m_created) || state.sizeBytes < m_readBytes) {
        ok = LoadWhole(state);  // first use, or another instance wrote the file afresh
    } else {
        ok = ReadTail(state);
    }
    if (!ok) {
        if (ProcessLogSwitches().log_detail_other) LogPrintf(L"指紋索引を作り直します = %ls", m_path.c_str());
        Rebuild();
    }
    return true;
}

std::vector<FingerprintIndex_CL::RecordRef> FingerprintIndex_CL::Candidates(const FileFingerprint& fingerprint) const {
    auto found = m_byFingerprint.find(fingerprint);
    return found == m_byFingerprint.end() ? std::vector<RecordRef>() : found->second;
}

bool FingerprintIndex_CL::Holds(const FileFingerprint& fingerprint, const RecordRef& record) const {
    auto found = m_byFingerprint.find(fingerprint);
    return found != m_byFingerprint.end() &&
           std::find(found->second.begin(), found->second.end(), record) != found->second.end();
}

void FingerprintIndex_CL::Forget() {
    m_byFingerprint.clear();
    m_loaded = false;
    m_memoryOnly = false;
    m_readBytes = 0;
    m_lineCount = 0;
}

size_t FingerprintIndex_CL::EntryCount() const {
    size_t count = 0;
    for (const auto& entry : m_byFingerprint) count += entry.second.size();
    return count;
}

void FingerprintIndex_CL::Append(const Line& line) {
    // OPEN_EXISTING: a missing file is rebuilt from the records, never started with one line.
    FileHandle_CL file(::CreateFileW(m_path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return;
    std::string text = FormatLine(line) + "\r\n";
    DWORD written = 0;
    if (::WriteFile(file.Get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
        written == text.size()) {
        ++m_lineCount;
    }
}

void FingerprintIndex_CL::Add(const FileFingerprint& fingerprint, const RecordRef& record) {
    Line line{LineKind::Add, fingerprint, record};
    Apply(line);
    Append(line);
}

void FingerprintIndex_CL::Remove(const FileFingerprint& fingerprint, const RecordRef& record) {
    Line line{LineKind::Remove, fingerprint, record};
    Apply(line);
    Append(line);
    CompactIfWorthIt();
}

void FingerprintIndex_CL::CompactIfWorthIt() {
    size_t entries = EntryCount();
    if (m_lineCount > 2 * entries + kCompactSlackLines) WriteAfresh();
}

void FingerprintIndex_CL::WriteAfresh() {
    std::string bytes = std::string(Header()) + "\r\n";
    size_t lines = 0;
    for (const auto& entry : m_byFingerprint) {
        for (const RecordRef& record : entry.second) {
            bytes += FormatLine(Line{LineKind::Add, entry.first, record}) + "\r\n";
            ++lines;
        }
    }
    AtomicRecordWriter_CL writer;
    if (FAILED(writer.WriteBytes(m_path, bytes))) {
        // A read-only data folder: the index lives in memory for this run.
        m_memoryOnly = true;
        m_loaded = false;
        return;
    }
    FileState state = Stat();
    m_created = state.created;
    m_readBytes = bytes.size();
    m_lineCount = lines;
    m_loaded = true;
    m_memoryOnly = false;
}

void FingerprintIndex_CL::Rebuild() {
    ++m_rebuildCount;
    m_byFingerprint.clear();
    for (int bucket = 0; bucket < kContentBucketCount; ++bucket) {
        std::wstring folder = RecordBucketFolder(m_contentsFolder, bucket);
        WIN32_FIND_DATAW found{};
        FindHandle_CL find(::FindFirstFileW((folder + L"\\*.ini").c_str(), &found));
        if (!find.IsValid()) continue;
        do {
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
            int index = ParseLocalRecordIndex(found.cFileName, bucket);
            if (index < 0) continue;
            FileFingerprint fingerprint;
            if (!ParseFingerprint(FingerprintKeyOf(folder + L"\\" + found.cFileName), &fingerprint)) continue;
            Apply(Line{LineKind::Add, fingerprint, RecordRef{bucket, index}});
        } while (::FindNextFileW(find.Get(), &found));
    }
    WriteAfresh();
}
