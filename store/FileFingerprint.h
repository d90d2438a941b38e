#pragma once
// The fingerprint of a movie file: its size and a 64-bit hash of three blocks of 64 KiB (its
// start, its middle and its end). It lets a record find its movie again after the file was
// renamed or moved to another folder, where the path no longer leads to it. Reading three
// blocks costs three seeks; the hash itself takes a small fraction of a millisecond.
//
// A file shorter than three blocks is read as three blocks of min(64 KiB, size) bytes at the
// start, the middle ((size - length) / 2) and the end (size - length); they overlap, and a
// file of 64 KiB or less is read three times whole. Zero-length and unreadable files have no
// fingerprint.
// Thread: any.

#include <cstddef>
#include <cstdint>
#include <string>

constexpr uint32_t kFingerprintBlockBytes = 64 * 1024;
constexpr int kFingerprintBlockCount = 3;

struct FileFingerprint {
    uint64_t sizeBytes = 0;
    uint64_t hash = 0;

    bool IsValid() const { return sizeBytes != 0; }
    bool operator==(const FileFingerprint& other) const {
        return sizeBytes == other.sizeBytes && hash == other.hash;
    }
    bool operator!=(const FileFingerprint& other) const { return !(*this == other); }
};

// Pure: where the three blocks of a file of this size start, and how long each is.
struct FingerprintBlocks {
    uint64_t offsets[kFingerprintBlockCount] = {};
    uint32_t lengthBytes = 0;
};
FingerprintBlocks FingerprintBlocksOf(uint64_t sizeBytes);

// Pure: a fast 64-bit hash, eight bytes a step, with a final mix so that every input bit
// reaches every output bit. Chained through seed.
uint64_t HashBytes64(const void* data, size_t length, uint64_t seed);

// Pure: the fingerprint of a file of sizeBytes whose three blocks (each lengthBytes long, in
// the order start, middle, end) are given.
FileFingerprint FingerprintOfBlocks(uint64_t sizeBytes, const unsigned char* const blocks[kFingerprintBlockCount],
                                    uint32_t lengthBytes);

// Reads the file's three blocks once, without retries or waits. False, with no fingerprint,
// for a missing, locked, unreadable or zero-length file, and for one that changed size while
// it was read.
bool ReadFileFingerprint(const std::wstring& path, FileFingerprint* fingerprint);

// Pure: the record's text form "size:hash", the size in decimal and the hash in 16 lower-case
// hex digits ("209715200:00c0ffee12345678").
std::wstring FormatFingerprint(const FileFingerprint& fingerprint);
// Pure: reads that text back; false for anything else (an empty size, a zero size, a hash of
// another length, stray characters).
bool ParseFingerprint(const std::wstring& text, FileFingerprint* fingerprint);

// True for a movie reached over the network: a UNC path or a drive letter the platform maps
// to a network share. Such movies are not fingerprinted: reading three blocks of a file on a
// share may take seconds, and the load must not wait for it.
bool IsNetworkPath(const std::wstring& path);

// For unordered containers keyed by fingerprint.
struct FileFingerprintHasher {
    size_t operator()(const FileFingerprint& fingerprint) const {
        return static_cast<size_t>(fingerprint.hash ^ (fingerprint.sizeBytes * 0x9E3779B97F4A7C15ull));
    }
};
