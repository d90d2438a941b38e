#include "store/FileFingerprint.h"

#include <windows.h>
#include <shlwapi.h>

#include <cstring>
#include <vector>

#include "base/UniqueHandle_CL.h"

namespace {

constexpr uint64_t kMultiplierA = 0x9E3779B97F4A7C15ull;
constexpr uint64_t kMultiplierB = 0xC2B2AE3D27D4EB4Full;

inline uint64_t RotateLeft(uint64_t value, int bits) { return (value << bits) | (value >> (64 - bits)); }

// A multiplication carries a bit only upwards; the rotation brings the high bits back down, so
// two changed words cannot cancel each other in the top bits alone.
inline uint64_t Step(uint64_t hash, uint64_t word) {
    hash ^= word * kMultiplierA;
    return RotateLeft(hash, 29) * kMultiplierB;
}

inline uint64_t LoadLittleEndian(const unsigned char* bytes, size_t count) {
    uint64_t word = 0;
    for (size_t i = 0; i < count; ++i) word |= static_cast<uint64_t>(bytes[i]) << (8 * i);
    return word;
}

bool ReadAt(HANDLE file, uint64_t offset, unsigned char* buffer, uint32_t length) {
    LARGE_INTEGER position;
    position.QuadPart = static_cast<LONGLONG>(offset);
    if (!::SetFilePointerEx(file, position, nullptr, FILE_BEGIN)) return false;
    uint32_t done = 0;
    while (done < length) {
        DWORD got = 0;
        if (!::ReadFile(file, buffer + done, length - done, &got, nullptr) || got == 0) return false;
        done += got;
    }
    return true;
}

bool FileSize(HANDLE file, uint64_t* sizeBytes) {
    LARGE_INTEGER size;
    if (!::GetFileSizeEx(file, &size) || size.QuadPart < 0) return false;
    *sizeBytes = static_cast<uint64_t>(size.QuadPart);
    return true;
}

}  // namespace

FingerprintBlocks FingerprintBlocksOf(uint64_t sizeBytes) {
    FingerprintBlocks blocks;
    blocks.lengthBytes = sizeBytes < kFingerprintBlockBytes ? static_cast<uint32_t>(sizeBytes) : kFingerprintBlockBytes;
    blocks.offsets[0] = 0;
    blocks.offsets[1] = (sizeBytes - blocks.lengthBytes) / 2;
    blocks.offsets[2] = sizeBytes - blocks.lengthBytes;
    return blocks;
}

uint64_t HashBytes64(const void* data, size_t length, uint64_t seed) {
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    uint64_t hash = seed ^ (static_cast<uint64_t>(length) * kMultiplierB);
    size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        uint64_t word;
        std::memcpy(&word, bytes + i, 8);  // x86 and x64 are little-endian, as the text form assumes
        hash = Step(hash, word);
    }
    if (i < length) hash = Step(hash, LoadLittleEndian(bytes + i, length - i));
    hash ^= hash >> 32;
    hash *= kMultiplierA;
    hash ^= hash >> 29;
    hash *= kMultiplierB;
    hash ^= hash >> 32;
    return hash;
}

FileFingerprint FingerprintOfBlocks(uint64_t sizeBytes, const unsigned char* const blocks[kFingerprintBlockCount],
                                    uint32_t lengthBytes) {
    unsigned char size[8];
    for (int i = 0; i < 8; ++i) size[i] = static_cast<unsigned char>(sizeBytes >> (8 * i));
    uint64_t hash = HashBytes64(size, sizeof(size), 0);
    for (int block = 0; block < kFingerprintBlockCount; ++block) {
        hash = HashBytes64(blocks[block], lengthBytes, hash);
    }
    FileFingerprint fingerprint;
    fingerprint.sizeBytes = sizeBytes;
    fingerprint.hash = hash;
    return fingerprint;
}

bool ReadFileFingerprint(const std::wstring& path, FileFingerprint* fingerprint) {
    *fingerprint = FileFingerprint();
    if (path.empty()) return false;
    // Shared for everything: the player's own graph and other programs may hold the movie open.
    FileHandle_CL file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return false;
    uint64_t sizeBytes = 0;
    if (!FileSize(file.Get(), &sizeBytes) || sizeBytes == 0) return false;
    FingerprintBlocks layout = FingerprintBlocksOf(sizeBytes);
    std::vector<unsigned char> buffer(static_cast<size_t>(layout.lengthBytes) * kFingerprintBlockCount);
    const unsigned char* blocks[kFingerprintBlockCount];
    for (int block = 0; block < kFingerprintBlockCount; ++block) {
        unsigned char* target = buffer.data() + static_cast<size_t>(layout.lengthBytes) * block;
        if (!ReadAt(file.Get(), layout.offsets[block], target, layout.lengthBytes)) return false;
        blocks[block] = target;
    }
    // A file still being copied in grows while it is read; its print would match nothing later.
    uint64_t sizeAfter = 0;
    if (!FileSize(file.Get(), &sizeAfter) || sizeAfter != sizeBytes) return false;
    *fingerprint = FingerprintOfBlocks(sizeBytes, blocks, layout.lengthBytes);
    return true;
}

std::wstring FormatFingerprint(const FileFingerprint& fingerprint) {
    // Written out by hand: the C runtime's 64-bit printf forms differ between its versions.
    wchar_t size[21];
    int at = 20;
    size[at] = L'\0';
    uint64_t rest = fingerprint.sizeBytes;
    do {
        size[--at] = static_cast<wchar_t>(L'0' + rest % 10);
        rest /= 10;
    } while (rest != 0);
    static const wchar_t kHex[] = L"0123456789abcdef";
    wchar_t hash[17];
    for (int i = 0; i < 16; ++i) hash[i] = kHex[(fingerprint.hash >> (60 - 4 * i)) & 0xF];
    hash[16] = L'\0';
    return std::wstring(size + at) + L":" + hash;
}

bool ParseFingerprint(const std::wstring& text, FileFingerprint* fingerprint) {
    *fingerprint = FileFingerprint();
    size_t colon = text.find(L':');
    if (colon == 0 || colon == std::wstring::npos || colon > 20 || text.size() - colon - 1 != 16) return false;
    uint64_t size = 0;
    for (size_t i = 0; i < colon; ++i) {
        wchar_t c = text[i];
        if (c < L'0' || c > L'9') return false;
        uint64_t digit = static_cast<uint64_t>(c - L'0');
        if (size > (UINT64_MAX - digit) / 10) return false;
        size = size * 10 + digit;
    }
    uint64_t hash = 0;
    for (size_t i = colon + 1; i < text.size(); ++i) {
        wchar_t c = text[i];
        uint64_t digit;
        if (c >= L'0' && c <= L'9') {
            digit = static_cast<uint64_t>(c - L'0');
        } else if (c >= L'a' && c <= L'f') {
            digit = static_cast<uint64_t>(c - L'a' + 10);
        } else if (c >= L'A' && c <= L'F') {
            digit = static_cast<uint64_t>(c - L'A' + 10);
        } else {
            return false;
        }
        hash = (hash << 4) | digit;
    }
    if (size == 0) return false;
    fingerprint->sizeBytes = size;
    fingerprint->hash = hash;
    return true;
}

bool IsNetworkPath(const std::wstring& path) {
    if (path.empty()) return false;
    if (::PathIsUNCW(path.c_str())) return true;
    if (path.size() >= 2 && path[1] == L':') {
        wchar_t root[] = {path[0], L':', L'\\', L'\0'};
        return ::GetDriveTypeW(root) == DRIVE_REMOTE;
    }
    return false;
}
