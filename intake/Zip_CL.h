#pragma once
// A zip archive the player lists movies from: its central records, read once, and the
// extraction of one entry to a file of the caller's choosing. The archive is opened afresh by
// every scan and every extraction; nothing holds it open in between.
// Only what a movie archive needs is read: stored (method 0) and deflated (method 8) entries,
// no encryption, no zip64, no spanned archives.

#include <windows.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// One central directory entry, as read.
struct ZipCentralRecord {
    uint16_t versionMadeBy = 0, versionNeeded = 0, flags = 0, method = 0, dosTime = 0, dosDate = 0;
    uint32_t crc32 = 0, compressedSize = 0, uncompressedSize = 0;
    uint16_t diskStart = 0, internalAttributes = 0;
    uint32_t externalAttributes = 0, localHeaderOffset = 0;
    std::string rawName;   // bytes as stored
    std::wstring name;     // decoded (UTF-8 with flag bit 11, else code page 932), '/' -> '\'
};

// Record signatures and layout of the archive format (little-endian throughout).
constexpr uint32_t kZipLocalSignature = 0x04034B50;
constexpr uint32_t kZipCentralSignature = 0x02014B50;
constexpr uint32_t kZipEndSignature = 0x06054B50;
constexpr size_t kZipLocalHeaderBytes = 30;    // signature included, name and extra follow
constexpr size_t kZipCentralHeaderBytes = 46;  // signature included, name, extra, comment follow
constexpr size_t kZipEndRecordBytes = 22;      // signature included, the archive comment follows
constexpr uint16_t kZipFlagEncrypted = 0x0001;
constexpr uint16_t kZipFlagDataDescriptor = 0x0008;  // sizes and CRC follow the data
constexpr uint16_t kZipFlagUtf8Name = 0x0800;
constexpr uint16_t kZipMethodStored = 0;
constexpr uint16_t kZipMethodDeflated = 8;
constexpr uint32_t kZipAttributeArchive = 0x20;  // the DOS archive bit: set on files, not folders
constexpr uint32_t kZip64Marker = 0xFFFFFFFF;    // a 32-bit field whose value lives in zip64 extra data

class Zip_CL {
public:
    // Results of ExtractEntry.
    static constexpr int kExtractOk = 0;
    static constexpr int kExtractInflateInitFailed = -1;
    // Corrupt deflate data, encryption, an unknown method, zip64, a size or CRC mismatch,
    // output past the declared size, entry data cut short.
    static constexpr int kExtractBadData = -2;
    static constexpr int kExtractReadWriteFailed = -3;  // also: the destination cannot be opened
    static constexpr int kExtractNoInflateState = -4;
    static constexpr int kExtractCancelled = -5;
    static constexpr int kExtractNoLocalRecord = -6;

    // Compressed data is read in chunks of 256 KiB and output written in blocks of 256 KiB (one
    // write per full block): few system calls (800 for a 200 MB movie), and buffers that stay
    // in the processor's cache between the read, the inflate, the CRC and the write. Chunks of
    // 20 MiB and blocks of 22 MiB unpacked at 0.80x of zlib's own loop, these at 0.97x.
    // Progress and cancel are looked at after every block (and at least every MiB).
    static constexpr size_t kReadChunkBytes = 0x40000;
    static constexpr size_t kWriteBlockBytes = 0x40000;
    static constexpr size_t kProgressStepBytes = 0x100000;

    // Thread: UI. Nothing is read until ScanArchive.
    explicit Zip_CL(std::wstring archivePath);

    // Thread: UI. Reads the records: the central directory found through the end record (its
    // offset, size and count checked against the file), or, when that is missing or does not
    // hold together, a forward scan of the file for local and central records. A record cut
    // short ends the scan; the records before it stay. E_FAIL when the archive cannot be opened.
    [[nodiscard]] HRESULT ScanArchive();

    // Thread: any.
    const std::wstring& ArchivePath() const { return m_archivePath; }
    // Thread: any; the records change only in ScanArchive.
    const std::vector<ZipCentralRecord>& CentralRecords() const { return m_centralRecords; }

    // Where progress goes and where cancel comes from during ExtractEntry.
    class ProgressSink {
    public:
        virtual ~ProgressSink() = default;
        // Thread: the extraction worker. 0 first, 100 last on success.
        virtual void ReportProgress(int percent) = 0;
        // Thread: the extraction worker.
        virtual bool CancelRequested() const = 0;
    };

    // Thread: the extraction worker. The object is not shared with another extraction.
    // Unpacks the entry of central record centralIndex into destination (created or
    // overwritten) and checks its size and CRC-32. Returns one of the kExtract results; any
    // result but kExtractOk deletes what was written, and an entry found unreadable before
    // the destination is opened leaves the destination untouched. sink may be null.
    int ExtractEntry(size_t centralIndex, const std::wstring& destination, ProgressSink* sink);

    // Pure: the name an entry unpacks to: its name after the last separator. All entries of an
    // archive unpack side by side, their folders dropped.
    static std::wstring UnpackFileName(const std::wstring& entryName);
    // Pure: whether a file name from an archive may be created in a folder of folderLength
    // characters: not empty, "." or "..", no ':' or any of <>"|?*\/ or a control character, not
    // a device name (CON, NUL, COM1, also with an extension), not ending in a dot or a space,
    // and the whole path shorter than MAX_PATH.
    static bool IsListableFileName(const std::wstring& fileName, size_t folderLength);
    // Pure: whether an entry's whole name is one an archive of movies may honestly carry: not
    // absolute ("\x", "C:x", "C:\x"), and no ".." among its parts. Such names mark a hostile or
    // broken archive even though only their last part is ever used.
    static bool IsRelativeEntryName(const std::wstring& entryName);
    // The DOS date and time of an entry, taken as local time, as a UTC FILETIME in one number;
    // 0 when the fields do not make a valid date.
    static uint64_t DosToFileTime(uint16_t dosDate, uint16_t dosTime);

private:
    std::wstring m_archivePath;
    std::vector<ZipCentralRecord> m_centralRecords;
};
