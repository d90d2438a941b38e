#pragma once
// Writes zip archives for tests, honest or not: raw name bytes, any flags, methods and
// attributes, data descriptors, lying sizes, CRCs, offsets and name lengths, and the offsets of
// the records so that a test can cut the archive where it likes.

#include <zlib.h>

#include <algorithm>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zipmaker {

// Raw deflate data of `data` followed by zeroBytes zeros, fed a MiB at a time (never all at once).
inline std::string Deflate(const std::string& data, uint64_t zeroBytes = 0) {
    static const std::string zeros(1 << 20, '\0');
    z_stream z{};
    deflateInit2(&z, Z_DEFAULT_COMPRESSION, Z_DEFLATED, -MAX_WBITS, 8, Z_DEFAULT_STRATEGY);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(data.data()));
    z.avail_in = static_cast<uInt>(data.size());
    std::string packed;
    char out[1 << 16];
    for (int status = Z_OK; status == Z_OK;) {
        if (z.avail_in == 0 && zeroBytes > 0) {
            z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(zeros.data()));
            z.avail_in = static_cast<uInt>(std::min<uint64_t>(zeroBytes, zeros.size()));
            zeroBytes -= z.avail_in;
        }
        z.next_out = reinterpret_cast<Bytef*>(out);
        z.avail_out = sizeof(out);
        status = deflate(&z, zeroBytes == 0 ? Z_FINISH : Z_NO_FLUSH);
        packed.append(out, sizeof(out) - z.avail_out);
    }
    deflateEnd(&z);
    return packed;
}

inline uint32_t Crc(const std::string& data) {
    return static_cast<uint32_t>(crc32(0L, reinterpret_cast<const Bytef*>(data.data()), static_cast<uInt>(data.size())));
}

struct Entry {
    std::string name;              // raw bytes as stored
    std::string data;              // the content; deflated for method 8, else stored as is
    uint16_t method = 8;
    uint16_t flags = 0;
    uint32_t externalAttributes = 0x20;
    bool dataDescriptor = false;   // flag bit 3: zero CRC and sizes locally, a descriptor after the data
    uint16_t dosTime = (12 << 11) | (34 << 5) | (56 / 2);     // 12:34:56
    uint16_t dosDate = ((2021 - 1980) << 9) | (7 << 5) | 15;  // 2021-07-15
    std::optional<std::string> packed;                         // the bytes in the archive, as they are
    std::optional<uint32_t> crc, compressedSize, uncompressedSize;  // lies of both headers
    std::optional<uint32_t> localHeaderOffset;                 // a lie of the central record
    std::optional<uint16_t> localNameLength, centralNameLength;
};

struct Archive {
    std::string bytes;
    std::vector<size_t> localOffsets, centralOffsets;
    size_t centralOffset = 0;
};

// Little-endian fields of the given widths (2 or 4 bytes).
inline void Put(std::string& out, std::initializer_list<std::pair<int, uint32_t>> fields) {
    for (const auto& field : fields) {
        for (int i = 0; i < field.first; ++i) out.push_back(static_cast<char>((field.second >> (8 * i)) & 0xFF));
    }
}

// Local records, the central directory and, withEnd, the end record announcing endCount
// records (the true count by default).
inline Archive Build(const std::vector<Entry>& entries, bool withEnd = true, std::optional<uint16_t> endCount = {}) {
    Archive a;
    std::string& out = a.bytes;
    struct Sizes { uint32_t crc, packed, size; };
    std::vector<Sizes> sizes;
    for (const Entry& e : entries) {
        const std::string packed = e.packed ? *e.packed : (e.method == 8 ? Deflate(e.data) : e.data);
        Sizes s{e.crc.value_or(Crc(e.data)), e.compressedSize.value_or(static_cast<uint32_t>(packed.size())),
                e.uncompressedSize.value_or(static_cast<uint32_t>(e.data.size()))};
        sizes.push_back(s);
        a.localOffsets.push_back(out.size());
        const bool dd = e.dataDescriptor;
        Put(out, {{4, 0x04034B50}, {2, 20}, {2, e.flags | (dd ? 8u : 0u)}, {2, e.method}, {2, e.dosTime},
                  {2, e.dosDate}, {4, dd ? 0 : s.crc}, {4, dd ? 0 : s.packed}, {4, dd ? 0 : s.size},
                  {2, e.localNameLength.value_or(static_cast<uint16_t>(e.name.size()))}, {2, 0}});
        out += e.name + packed;
        if (dd) Put(out, {{4, 0x08074B50}, {4, s.crc}, {4, s.packed}, {4, s.size}});
    }
    a.centralOffset = out.size();
    for (size_t i = 0; i < entries.size(); ++i) {
        const Entry& e = entries[i];
        a.centralOffsets.push_back(out.size());
        Put(out, {{4, 0x02014B50}, {2, 0x0314}, {2, 20}, {2, e.flags | (e.dataDescriptor ? 8u : 0u)},
                  {2, e.method}, {2, e.dosTime}, {2, e.dosDate}, {4, sizes[i].crc}, {4, sizes[i].packed},
                  {4, sizes[i].size}, {2, e.centralNameLength.value_or(static_cast<uint16_t>(e.name.size()))},
                  {2, 0}, {2, 0}, {2, 0}, {2, 0}, {4, e.externalAttributes},
                  {4, e.localHeaderOffset.value_or(static_cast<uint32_t>(a.localOffsets[i]))}});
        out += e.name;
    }
    const uint32_t directoryBytes = static_cast<uint32_t>(out.size() - a.centralOffset);
    const uint16_t count = endCount.value_or(static_cast<uint16_t>(entries.size()));
    if (withEnd) {
        Put(out, {{4, 0x06054B50}, {2, 0}, {2, 0}, {2, count}, {2, count}, {4, directoryBytes},
                  {4, static_cast<uint32_t>(a.centralOffset)}, {2, 0}});
    }
    return a;
}

}  // namespace zipmaker
