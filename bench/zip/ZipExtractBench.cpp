// Archive extraction benchmark: a 200 MB movie-like entry deflated into an archive, unpacked by
// Zip_CL::ExtractEntry (with its CRC, size check and progress reports) against zlib's own
// raw-inflate loop writing the same file, in the same run, medians of 5 rounds in alternating
// order. Also measured: how often progress reaches the dialog while unpacking, and how long the
// dialog takes to close after "キャンセル" is pressed during a 1 GB unpack.
//
//   bench_zip_extract.exe [FOLDER]   keeps the archive in FOLDER (for unzip, run by the script)

#include <windows.h>
#include <zlib.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/archive/DialogZipProgress_CL.h"
#include "base/UniqueHandle_CL.h"
#include "intake/Zip_CL.h"
#include "tests/intake/ZipMaker.h"
#include "tests/support/TempFolder_CL.h"
#include "ui/CommonControls.h"

namespace {
constexpr uint32_t kMovieBytes = 200u << 20;
constexpr int kRounds = 5;
constexpr size_t kBaselineChunk = 256 * 1024;  // zlib's usual example loop, larger buffers

double NowMs() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Bytes that look like compressed video to deflate: mostly noise, some runs it can shorten.
std::string MovieLikeBytes(uint32_t bytes) {
    std::string data(bytes, '\0');
    uint32_t state = 12345;
    for (uint32_t i = 0; i < bytes; ++i) {
        state = state * 1664525u + 1013904223u;
        data[i] = (i & 0x3FF) < 0x80 ? static_cast<char>(i >> 10) : static_cast<char>(state >> 24);
    }
    return data;
}

// The baseline: zlib's raw inflate straight from the archive into the file, no checks.
bool InflateLikeZlibExample(const std::wstring& archive, uint64_t dataOffset, const std::wstring& target) {
    KernelHandle_CL in(::CreateFileW(archive.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    KernelHandle_CL out(::CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
    if (!in.IsValid() || !out.IsValid()) return false;
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(dataOffset);
    ::SetFilePointerEx(in.Get(), at, nullptr, FILE_BEGIN);
    z_stream z{};
    if (inflateInit2(&z, -MAX_WBITS) != Z_OK) return false;
    std::vector<Bytef> input(kBaselineChunk), output(kBaselineChunk);
    int status = Z_OK;
    while (status != Z_STREAM_END) {
        DWORD read = 0;
        if (!::ReadFile(in.Get(), input.data(), static_cast<DWORD>(input.size()), &read, nullptr) || read == 0) break;
        z.next_in = input.data();
        z.avail_in = read;
        do {
            z.next_out = output.data();
            z.avail_out = static_cast<uInt>(output.size());
            status = inflate(&z, Z_NO_FLUSH);
            if (status != Z_OK && status != Z_STREAM_END) {
                inflateEnd(&z);
                return false;
            }
            DWORD written = 0;
            const DWORD have = static_cast<DWORD>(output.size() - z.avail_out);
            if (have && (!::WriteFile(out.Get(), output.data(), have, &written, nullptr) || written != have)) {
                inflateEnd(&z);
                return false;
            }
        } while (z.avail_out == 0);
    }
    inflateEnd(&z);
    return status == Z_STREAM_END;
}

class CountingSink : public Zip_CL::ProgressSink {
public:
    void ReportProgress(int percent) override {
        ++reports;
        if (percent != last) ++changes;
        last = percent;
    }
    bool CancelRequested() const override { return false; }
    int reports = 0;
    int changes = 0;
    int last = -1;
};

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// The progress dialog over a 1 GB unpack, cancelled after delayMs: milliseconds from the
// button's click to the dialog's end.
double CancelToCloseMs(const std::wstring& archive, const std::wstring& target, DWORD delayMs) {
    auto zip = std::make_shared<Zip_CL>(archive);
    if (FAILED(zip->ScanArchive())) return -1;
    DialogZipProgress_CL dialog(DialogZipProgress_CL::kUnpackingText, zip, 0, target);
    std::atomic<double> clicked{0};
    std::thread presser([&] {
        HWND window = nullptr;
        for (int i = 0; i < 500 && !window; ++i) {
            window = ::FindWindowW(L"#32770", DialogZipProgress_CL::kUnpackingText);
            if (!window) ::Sleep(10);
        }
        ::Sleep(delayMs);  // the unpack runs meanwhile: the wait is the point, not a synchronisation
        HWND button = window ? ::FindWindowExW(window, nullptr, L"Button", nullptr) : nullptr;
        clicked = NowMs();
        if (button) ::PostMessageW(button, BM_CLICK, 0, 0);
    });
    dialog.Show(nullptr);
    const double closed = NowMs();
    presser.join();
    return dialog.Result() == Zip_CL::kExtractCancelled ? closed - clicked.load() : -1;
}
}  // namespace

int wmain(int argc, wchar_t** argv) {
    EnsureCommonControls();
    TempFolder_CL temp;
    const std::wstring folder = argc > 1 ? std::wstring(argv[1]) : temp.Path();
    const std::wstring archive = folder + L"\\movie.zip";
    const std::wstring bomb = temp.Join(L"zeros.zip");

    std::printf("making a %u MB movie-like entry and its archive...\n", kMovieBytes >> 20);
    {
        zipmaker::Entry entry;
        entry.name = "movie.avi";
        entry.data = MovieLikeBytes(kMovieBytes);
        const std::string bytes = zipmaker::Build({entry}).bytes;
        if (!WriteFileBytes(archive, bytes)) return 1;
        std::printf("archive %.1f MB\n", static_cast<double>(bytes.size()) / 1048576.0);
        zipmaker::Entry zeros;
        zeros.name = "zeros.avi";
        zeros.packed = zipmaker::Deflate(std::string(), 1ull << 30);
        uLong crc = crc32(0L, Z_NULL, 0);
        const std::vector<Bytef> block(1 << 20, 0);
        for (int i = 0; i < 1024; ++i) crc = crc32(crc, block.data(), static_cast<uInt>(block.size()));
        zeros.crc = static_cast<uint32_t>(crc);
        zeros.uncompressedSize = 1u << 30;
        if (!WriteFileBytes(bomb, zipmaker::Build({zeros}).bytes)) return 1;
    }
    Zip_CL zip(archive);
    if (FAILED(zip.ScanArchive()) || zip.CentralRecords().size() != 1) return 1;
    const uint64_t dataOffset = kZipLocalHeaderBytes + zip.CentralRecords()[0].rawName.size();
    const std::wstring ours = temp.Join(L"ours.avi"), theirs = temp.Join(L"zlib.avi");

    // One untimed pass of each: the archive comes into the file cache.
    CountingSink warm;
    if (zip.ExtractEntry(0, ours, &warm) != Zip_CL::kExtractOk || !InflateLikeZlibExample(archive, dataOffset, theirs)) {
        std::printf("unpacking failed\n");
        return 1;
    }
    std::vector<double> oursMs, theirsMs, ratios, reportsPerSecond;
    for (int round = 0; round < kRounds; ++round) {
        double a = 0, b = 0;
        CountingSink sink;
        for (int side = 0; side < 2; ++side) {
            const bool oursFirst = (round % 2) == 0;
            const bool runOurs = (side == 0) == oursFirst;
            const double start = NowMs();
            const bool ok = runOurs ? zip.ExtractEntry(0, ours, &sink) == Zip_CL::kExtractOk
                                    : InflateLikeZlibExample(archive, dataOffset, theirs);
            const double elapsed = NowMs() - start;
            if (!ok) return 1;
            (runOurs ? a : b) = elapsed;
        }
        oursMs.push_back(a);
        theirsMs.push_back(b);
        ratios.push_back((kMovieBytes / 1048576.0 / a * 1000.0) / (kMovieBytes / 1048576.0 / b * 1000.0));
        reportsPerSecond.push_back(sink.changes / (a / 1000.0));
        std::printf("round %d: ours %.0f ms (%.0f MB/s), zlib loop %.0f ms (%.0f MB/s), %d position changes\n",
                    round + 1, a, kMovieBytes / 1048576.0 / a * 1000.0, b, kMovieBytes / 1048576.0 / b * 1000.0,
                    sink.changes);
    }
    std::printf("extraction speed, ours against zlib's loop (MB/s ratio, median of %d): %.2fx (%.0f vs %.0f ms)\n",
                kRounds, Median(ratios), Median(oursMs), Median(theirsMs));
    std::printf("progress positions a second while unpacking (median): %.0f\n", Median(reportsPerSecond));

    std::vector<double> cancels;
    for (int round = 0; round < 3; ++round) {
        const double ms = CancelToCloseMs(bomb, temp.Join(L"zeros.avi"), 300);
        std::printf("cancel round %d: dialog closed %.0f ms after the click\n", round + 1, ms);
        cancels.push_back(ms);
    }
    std::printf("cancel to the dialog closing (median of 3): %.0f ms (aim 200 ms)\n", Median(cancels));
    std::printf("archive kept for unzip: %ls\n", archive.c_str());
    return 0;
}
