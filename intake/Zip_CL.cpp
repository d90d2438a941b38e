#include "intake/Zip_CL.h"

#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <cwchar>
#include <memory>
#include <new>
#include <utility>

#include "base/UniqueHandle_CL.h"

namespace {

uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
uint32_t U32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

// The longest archive comment the end record can announce.
constexpr size_t kMaxCommentBytes = 0xFFFF;
// Japanese archives made without the UTF-8 flag carry their names in Shift-JIS, whatever the
// code page of the machine reading them.
constexpr UINT kLegacyNameCodePage = 932;

FileHandle_CL OpenForReading(const std::wstring& path) {
    // Others may keep reading or even writing the archive; every length is checked anyway.
    return FileHandle_CL(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                       nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

bool SeekTo(HANDLE file, uint64_t offset) {
    LARGE_INTEGER distance;
    distance.QuadPart = static_cast<LONGLONG>(offset);
    return ::SetFilePointerEx(file, distance, nullptr, FILE_BEGIN) != FALSE;
}

enum class ReadResult { kOk, kEndOfFile, kFailed };

// Reads exactly count bytes from the current position.
ReadResult ReadExact(HANDLE file, uint8_t* out, size_t count) {
    while (count > 0) {
        DWORD want = static_cast<DWORD>(std::min<size_t>(count, 0x40000000));
        DWORD got = 0;
        if (!::ReadFile(file, out, want, &got, nullptr)) return ReadResult::kFailed;
        if (got == 0) return ReadResult::kEndOfFile;
        out += got;
        count -= got;
    }
    return ReadResult::kOk;
}

bool WriteAll(HANDLE file, const uint8_t* data, size_t count) {
    while (count > 0) {
        DWORD want = static_cast<DWORD>(std::min<size_t>(count, 0x40000000));
        DWORD written = 0;
        if (!::WriteFile(file, data, want, &written, nullptr) || written == 0) return false;
        data += written;
        count -= written;
    }
    return true;
}

// Positioned, buffered reads of the archive that never reach past its end: every offset and
// length read from the file is checked here against the file's size before it is used.
class ArchiveReader {
public:
    static constexpr size_t kBufferBytes = 0x10000;

    ArchiveReader(HANDLE file, uint64_t size) : m_file(file), m_size(size), m_buffer(kBufferBytes) {}

    uint64_t Size() const { return m_size; }

    // Copies count bytes at offset; false when they do not all lie inside the file or cannot
    // be read.
    bool ReadAt(uint64_t offset, void* out, size_t count) {
        if (offset > m_size || count > m_size - offset) return false;
        uint8_t* target = static_cast<uint8_t*>(out);
        while (count > 0) {
            const uint8_t* data = nullptr;
            size_t available = View(offset, 1, &data);
            if (available == 0) return false;
            size_t take = std::min(available, count);
            std::memcpy(target, data, take);
            target += take;
            offset += take;
            count -= take;
        }
        return true;
    }

    // The bytes from offset on, as far as the buffer reaches, at least minBytes of them unless
    // the file ends first. 0 at the end of the file or when reading fails.
    size_t View(uint64_t offset, size_t minBytes, const uint8_t** data) {
        if (offset >= m_size) return 0;
        size_t wanted = static_cast<size_t>(std::min<uint64_t>(minBytes, m_size - offset));
        if (offset < m_start || offset - m_start + wanted > m_length) {
            if (!Load(offset)) return 0;
        }
        size_t skip = static_cast<size_t>(offset - m_start);
        *data = m_buffer.data() + skip;
        return m_length - skip;
    }

private:
    bool Load(uint64_t offset) {
        m_start = offset;
        m_length = 0;
        size_t want = static_cast<size_t>(std::min<uint64_t>(m_buffer.size(), m_size - offset));
        if (!SeekTo(m_file, offset)) return false;
        DWORD got = 0;
        if (!::ReadFile(m_file, m_buffer.data(), static_cast<DWORD>(want), &got, nullptr)) return false;
        m_length = got;
        return got > 0;
    }

    HANDLE m_file;
    uint64_t m_size;
    std::vector<uint8_t> m_buffer;
    uint64_t m_start = 0;   // file offset of m_buffer[0]
    size_t m_length = 0;    // valid bytes in m_buffer
};

std::wstring DecodeEntryName(const std::string& raw, bool utf8) {
    if (raw.empty()) return std::wstring();
    const UINT codePage = utf8 ? CP_UTF8 : kLegacyNameCodePage;
    const int rawLength = static_cast<int>(raw.size());
    int units = ::MultiByteToWideChar(codePage, 0, raw.data(), rawLength, nullptr, 0);
    if (units <= 0) return std::wstring();
    std::wstring name(static_cast<size_t>(units), L'\0');
    units = ::MultiByteToWideChar(codePage, 0, raw.data(), rawLength, &name[0], units);
    name.resize(units > 0 ? static_cast<size_t>(units) : 0);
    std::replace(name.begin(), name.end(), L'/', L'\\');
    return name;
}

// Reads the central record whose signature is at offset; the whole record (name, extra field
// and comment included) must end at or before limit. *next is where the record ends.
bool ReadCentralRecord(ArchiveReader& reader, uint64_t offset, uint64_t limit, ZipCentralRecord* record,
                       uint64_t* next) {
    uint8_t h[kZipCentralHeaderBytes];
    if (offset > limit || limit - offset < sizeof(h)) return false;
    if (!reader.ReadAt(offset, h, sizeof(h)) || U32(h) != kZipCentralSignature) return false;
    const uint16_t nameBytes = U16(h + 28);
    const uint64_t end = offset + sizeof(h) + nameBytes + U16(h + 30) + U16(h + 32);
    if (end > limit) return false;

    ZipCentralRecord r;
    r.versionMadeBy = U16(h + 4);
    r.versionNeeded = U16(h + 6);
    r.flags = U16(h + 8);
    r.method = U16(h + 10);
    r.dosTime = U16(h + 12);
    r.dosDate = U16(h + 14);
    r.crc32 = U32(h + 16);
    r.compressedSize = U32(h + 20);
    r.uncompressedSize = U32(h + 24);
    r.diskStart = U16(h + 34);
    r.internalAttributes = U16(h + 36);
    r.externalAttributes = U32(h + 38);
    r.localHeaderOffset = U32(h + 42);
    r.rawName.resize(nameBytes);
    if (nameBytes > 0 && !reader.ReadAt(offset + sizeof(h), &r.rawName[0], nameBytes)) return false;
    r.name = DecodeEntryName(r.rawName, (r.flags & kZipFlagUtf8Name) != 0);
    *record = std::move(r);
    *next = end;
    return true;
}

// The central directory as the end record describes it. False, leaving records alone, when
// there is no end record or no candidate describes a directory that holds together: inside
// the file before the end record, exactly the announced number of whole central records.
bool ReadThroughEndRecord(ArchiveReader& reader, std::vector<ZipCentralRecord>* records) {
    const uint64_t size = reader.Size();
    if (size < kZipEndRecordBytes) return false;
    const size_t tailBytes = static_cast<size_t>(std::min<uint64_t>(size, kZipEndRecordBytes + kMaxCommentBytes));
    const uint64_t tailStart = size - tailBytes;
    std::vector<uint8_t> tail(tailBytes);
    if (!reader.ReadAt(tailStart, tail.data(), tailBytes)) return false;

    // From the end backwards: the last end record is the real one, unless a comment imitates
    // one; a candidate that does not hold together is passed over.
    for (size_t i = tailBytes - kZipEndRecordBytes + 1; i-- > 0;) {
        const uint8_t* e = tail.data() + i;
        if (U32(e) != kZipEndSignature) continue;
        if (i + kZipEndRecordBytes + U16(e + 20) > tailBytes) continue;
        const uint16_t disk = U16(e + 4), directoryDisk = U16(e + 6);
        const uint16_t entriesHere = U16(e + 8), entries = U16(e + 10);
        const uint64_t directoryBytes = U32(e + 12), directoryOffset = U32(e + 16);
        const uint64_t endOffset = tailStart + i;
        if (disk != 0 || directoryDisk != 0 || entriesHere != entries) continue;
        if (directoryOffset + directoryBytes > endOffset) continue;
        if (static_cast<uint64_t>(entries) * kZipCentralHeaderBytes > directoryBytes) continue;

        std::vector<ZipCentralRecord> found;
        found.reserve(entries);
        uint64_t offset = directoryOffset;
        const uint64_t limit = directoryOffset + directoryBytes;
        bool whole = true;
        for (uint32_t k = 0; k < entries && whole; ++k) {
            ZipCentralRecord record;
            whole = ReadCentralRecord(reader, offset, limit, &record, &offset);
            if (whole) found.push_back(std::move(record));
        }
        if (!whole) continue;
        *records = std::move(found);
        return true;
    }
    return false;
}

// The next local, central or end signature at or after offset, byte by byte, so that records
// behind data of unknown length (data descriptors) are found as well.
bool FindSignature(ArchiveReader& reader, uint64_t offset, uint64_t* at, uint32_t* signature) {
    while (offset < reader.Size() && reader.Size() - offset >= 4) {
        const uint8_t* data = nullptr;
        size_t available = reader.View(offset, 4, &data);
        if (available < 4) return false;
        for (size_t i = 0; i + 4 <= available; ++i) {
            if (data[i] != 'P' || data[i + 1] != 'K') continue;
            uint32_t value = U32(data + i);
            if (value == kZipLocalSignature || value == kZipCentralSignature || value == kZipEndSignature) {
                *at = offset + i;
                *signature = value;
                return true;
            }
        }
        offset += available - 3;
    }
    return false;
}

// The fallback when the central directory cannot be found through the end record: the file is
// walked from its start, local records are stepped over with their data, central records are
// kept, the end record (or a record cut short) ends the walk.
void ScanForward(ArchiveReader& reader, std::vector<ZipCentralRecord>* records) {
    const uint64_t size = reader.Size();
    uint64_t offset = 0, at = 0;
    uint32_t signature = 0;
    while (FindSignature(reader, offset, &at, &signature)) {
        if (signature == kZipEndSignature) break;
        if (signature == kZipCentralSignature) {
            ZipCentralRecord record;
            if (!ReadCentralRecord(reader, at, size, &record, &offset)) break;
            records->push_back(std::move(record));
            continue;
        }
        uint8_t h[kZipLocalHeaderBytes];
        if (!reader.ReadAt(at, h, sizeof(h))) break;
        const uint64_t dataStart = at + sizeof(h) + U16(h + 26) + U16(h + 28);
        if (dataStart > size) break;
        const uint64_t dataBytes = U32(h + 18);
        // With a data descriptor the size in the header may be zero; otherwise a size that
        // would run past the end is a lie, and the walk goes on right after the header.
        const bool sizeKnown = (U16(h + 6) & kZipFlagDataDescriptor) == 0 && dataBytes <= size - dataStart;
        offset = sizeKnown ? dataStart + dataBytes : dataStart;
    }
}

bool IsDeviceName(const std::wstring& fileName) {
    // The platform treats a device name as the device whatever extension follows it, and
    // ignores spaces before the extension.
    std::wstring base = fileName.substr(0, fileName.find(L'.'));
    while (!base.empty() && base.back() == L' ') base.pop_back();
    for (wchar_t& c : base) {
        if (c >= L'a' && c <= L'z') c = static_cast<wchar_t>(c - L'a' + L'A');
    }
    static const wchar_t* const kDevices[] = {L"CON", L"PRN", L"AUX", L"NUL", L"CONIN$", L"CONOUT$"};
    for (const wchar_t* device : kDevices) {
        if (base == device) return true;
    }
    if (base.size() == 4 && (base.compare(0, 3, L"COM") == 0 || base.compare(0, 3, L"LPT") == 0)) {
        const wchar_t digit = base[3];
        // Superscript one, two and three count as digits here too.
        return (digit >= L'0' && digit <= L'9') || digit == L'\u00B9' || digit == L'\u00B2' ||
               digit == L'\u00B3';
    }
    return false;
}

// zlib's inflate state, ended on every way out.
class InflateStream {
public:
    InflateStream() { std::memset(&m_stream, 0, sizeof(m_stream)); }
    ~InflateStream() {
        if (m_live) inflateEnd(&m_stream);
    }
    InflateStream(const InflateStream&) = delete;
    InflateStream& operator=(const InflateStream&) = delete;

    // Raw deflate data: no zlib header, 32 KiB window.
    bool Init() {
        m_live = inflateInit2(&m_stream, -MAX_WBITS) == Z_OK;
        return m_live;
    }
    // inflateEnd's own answer, for the successful path.
    bool End() {
        m_live = false;
        return inflateEnd(&m_stream) == Z_OK;
    }
    z_stream* Get() { return &m_stream; }

private:
    z_stream m_stream;
    bool m_live = false;
};

std::unique_ptr<uint8_t[]> AllocateBuffer(size_t bytes) {
    return std::unique_ptr<uint8_t[]>(new (std::nothrow) uint8_t[bytes]);
}

// Unpacks one entry whose data starts at the archive's current position into output,
// checking the size and CRC-32 the central record declares.
int CopyEntryData(HANDLE archive, HANDLE output, const ZipCentralRecord& record, Zip_CL::ProgressSink* sink) {
    const bool stored = record.method == kZipMethodStored;
    const uint64_t declared = record.uncompressedSize;
    uint64_t inputLeft = record.compressedSize;

    // Buffers no bigger than the entry needs. The output
    // block holds one byte more than declared, so that a lying size shows.
    const size_t inputBytes = static_cast<size_t>(std::max<uint64_t>(1, std::min<uint64_t>(Zip_CL::kReadChunkBytes, inputLeft)));
    const size_t outputBytes = static_cast<size_t>(std::min<uint64_t>(Zip_CL::kWriteBlockBytes, declared + 1));
    std::unique_ptr<uint8_t[]> input = AllocateBuffer(inputBytes);
    std::unique_ptr<uint8_t[]> outputBlock = AllocateBuffer(outputBytes);
    if (!input || !outputBlock) return Zip_CL::kExtractReadWriteFailed;

    InflateStream inflater;
    if (!stored && !inflater.Init()) return Zip_CL::kExtractInflateInitFailed;

    if (sink) {
        sink->ReportProgress(0);
        if (sink->CancelRequested()) return Zip_CL::kExtractCancelled;
    }

    uint64_t produced = 0;
    uint32_t crc = crc32(0L, Z_NULL, 0);
    size_t inputOffset = 0, inputAvailable = 0, outputFill = 0;
    bool ended = false;
    while (!ended) {
        if (inputAvailable == 0 && inputLeft > 0) {
            const size_t want = static_cast<size_t>(std::min<uint64_t>(inputBytes, inputLeft));
            ReadResult read = ReadExact(archive, input.get(), want);
            if (read == ReadResult::kFailed) return Zip_CL::kExtractReadWriteFailed;
            if (read == ReadResult::kEndOfFile) return Zip_CL::kExtractBadData;
            inputLeft -= want;
            inputOffset = 0;
            inputAvailable = want;
        }
        // At most one progress step, what is left of the block, and one byte past the declared size.
        const size_t step = static_cast<size_t>(std::min<uint64_t>(
            std::min(Zip_CL::kProgressStepBytes, outputBytes - outputFill), declared + 1 - produced));
        uint8_t* out = outputBlock.get() + outputFill;
        size_t made = 0;
        if (stored) {
            made = std::min(step, inputAvailable);
            std::memcpy(out, input.get() + inputOffset, made);
            inputOffset += made;
            inputAvailable -= made;
            ended = inputAvailable == 0 && inputLeft == 0;
        } else {
            z_stream* z = inflater.Get();
            z->next_in = input.get() + inputOffset;
            z->avail_in = static_cast<uInt>(inputAvailable);
            z->next_out = out;
            z->avail_out = static_cast<uInt>(step);
            const int status = inflate(z, Z_NO_FLUSH);
            made = step - z->avail_out;
            const size_t consumed = inputAvailable - z->avail_in;
            inputOffset += consumed;
            inputAvailable = z->avail_in;
            if (status == Z_STREAM_END) {
                ended = true;
            } else if (status == Z_BUF_ERROR || (status == Z_OK && made == 0 && consumed == 0)) {
                // No progress possible: only more input could help, and the entry has none left.
                if (inputAvailable > 0 || inputLeft == 0) return Zip_CL::kExtractBadData;
            } else if (status == Z_MEM_ERROR) {
                return Zip_CL::kExtractInflateInitFailed;
            } else if (status != Z_OK) {
                return Zip_CL::kExtractBadData;  // Z_DATA_ERROR, Z_NEED_DICT, Z_STREAM_ERROR
            }
        }
        crc = crc32(crc, out, static_cast<uInt>(made));
        outputFill += made;
        produced += made;
        // A bomb stops here: nothing past its declared size is ever written.
        if (produced > declared) return Zip_CL::kExtractBadData;
        if (outputFill == outputBytes) {
            if (!WriteAll(output, outputBlock.get(), outputFill)) return Zip_CL::kExtractReadWriteFailed;
            outputFill = 0;
        }
        if (sink) {
            sink->ReportProgress(declared == 0 ? 100 : static_cast<int>(static_cast<double>(produced) * 100.0 / static_cast<double>(declared)));
            if (sink->CancelRequested()) return Zip_CL::kExtractCancelled;
        }
    }
    if (outputFill > 0 && !WriteAll(output, outputBlock.get(), outputFill)) return Zip_CL::kExtractReadWriteFailed;
    if (produced != declared || crc != record.crc32) return Zip_CL::kExtractBadData;
    if (!stored && !inflater.End()) return Zip_CL::kExtractNoInflateState;
    if (sink) sink->ReportProgress(100);
    return Zip_CL::kExtractOk;
}

}  // namespace

Zip_CL::Zip_CL(std::wstring archivePath) : m_archivePath(std::move(archivePath)) {}

HRESULT Zip_CL::ScanArchive() {
    m_centralRecords.clear();
    FileHandle_CL file = OpenForReading(m_archivePath);
    if (!file.IsValid()) return E_FAIL;
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file.Get(), &size)) return E_FAIL;
    ArchiveReader reader(file.Get(), static_cast<uint64_t>(size.QuadPart));
    if (!ReadThroughEndRecord(reader, &m_centralRecords)) ScanForward(reader, &m_centralRecords);
    return S_OK;
}

int Zip_CL::ExtractEntry(size_t centralIndex, const std::wstring& destination, ProgressSink* sink) {
    if (centralIndex >= m_centralRecords.size()) return kExtractNoLocalRecord;
    const ZipCentralRecord& record = m_centralRecords[centralIndex];
    // Everything that makes the entry unreadable is found before the destination is touched.
    if (record.flags & kZipFlagEncrypted) return kExtractBadData;
    if (record.method != kZipMethodStored && record.method != kZipMethodDeflated) return kExtractBadData;
    if (record.compressedSize == kZip64Marker || record.uncompressedSize == kZip64Marker ||
        record.localHeaderOffset == kZip64Marker) {
        return kExtractBadData;
    }
    if (record.method == kZipMethodStored && record.compressedSize != record.uncompressedSize) return kExtractBadData;

    FileHandle_CL archive = OpenForReading(m_archivePath);
    if (!archive.IsValid()) return kExtractReadWriteFailed;
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(archive.Get(), &size)) return kExtractReadWriteFailed;
    const uint64_t archiveBytes = static_cast<uint64_t>(size.QuadPart);

    // The local record: its own name and extra lengths say where the data starts.
    uint8_t h[kZipLocalHeaderBytes];
    const uint64_t localOffset = record.localHeaderOffset;
    if (localOffset > archiveBytes || archiveBytes - localOffset < sizeof(h)) return kExtractNoLocalRecord;
    if (!SeekTo(archive.Get(), localOffset)) return kExtractReadWriteFailed;
    ReadResult read = ReadExact(archive.Get(), h, sizeof(h));
    if (read == ReadResult::kFailed) return kExtractReadWriteFailed;
    if (read != ReadResult::kOk || U32(h) != kZipLocalSignature) return kExtractNoLocalRecord;
    if ((U16(h + 6) & kZipFlagEncrypted) || U16(h + 8) != record.method) return kExtractBadData;
    const uint64_t dataStart = localOffset + sizeof(h) + U16(h + 26) + U16(h + 28);
    if (dataStart > archiveBytes || archiveBytes - dataStart < record.compressedSize) return kExtractBadData;
    if (!SeekTo(archive.Get(), dataStart)) return kExtractReadWriteFailed;

    FileHandle_CL output(::CreateFileW(destination.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!output.IsValid()) return kExtractReadWriteFailed;
    int result = CopyEntryData(archive.Get(), output.Get(), record, sink);
    if (result != kExtractOk) {
        // A cut-off movie at the chosen path would look whole: nothing is left behind.
        output.Reset();
        ::DeleteFileW(destination.c_str());
    }
    return result;
}

std::wstring Zip_CL::UnpackFileName(const std::wstring& entryName) {
    size_t separator = entryName.find_last_of(L"\\/");
    return separator == std::wstring::npos ? entryName : entryName.substr(separator + 1);
}

bool Zip_CL::IsListableFileName(const std::wstring& fileName, size_t folderLength) {
    if (fileName.empty() || fileName == L"." || fileName == L"..") return false;
    for (wchar_t c : fileName) {
        if (c < 0x20 || c == 0x7F) return false;
        if (std::wcschr(L"<>:\"|?*\\/", c) != nullptr) return false;
    }
    if (fileName.back() == L'.' || fileName.back() == L' ') return false;
    if (IsDeviceName(fileName)) return false;
    // The unpack path is the folder, a separator and the name, and must fit MAX_PATH with its
    // terminator.
    return folderLength + 1 + fileName.size() < MAX_PATH;
}

bool Zip_CL::IsRelativeEntryName(const std::wstring& entryName) {
    if (entryName.empty()) return false;
    if (entryName[0] == L'\\' || entryName[0] == L'/') return false;
    if (entryName.find(L':') != std::wstring::npos) return false;
    size_t start = 0;
    while (start <= entryName.size()) {
        size_t end = entryName.find_first_of(L"\\/", start);
        if (end == std::wstring::npos) end = entryName.size();
        if (entryName.compare(start, end - start, L"..") == 0) return false;
        start = end + 1;
    }
    return true;
}

uint64_t Zip_CL::DosToFileTime(uint16_t dosDate, uint16_t dosTime) {
    SYSTEMTIME local = {};
    local.wYear = static_cast<WORD>((dosDate >> 9) + 1980);
    local.wMonth = static_cast<WORD>((dosDate >> 5) & 15);
    local.wDay = static_cast<WORD>(dosDate & 31);
    local.wHour = static_cast<WORD>(dosTime >> 11);
    local.wMinute = static_cast<WORD>((dosTime >> 5) & 63);
    local.wSecond = static_cast<WORD>((dosTime & 31) * 2);
    FILETIME check;
    if (!::SystemTimeToFileTime(&local, &check)) return 0;  // month 0, day 0, hour 25 ...
    SYSTEMTIME utc;
    if (!::TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc)) return 0;
    FILETIME fileTime;
    if (!::SystemTimeToFileTime(&utc, &fileTime)) return 0;
    return (static_cast<uint64_t>(fileTime.dwHighDateTime) << 32) | fileTime.dwLowDateTime;
}
