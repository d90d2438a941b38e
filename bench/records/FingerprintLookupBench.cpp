// Fingerprint lookup benchmark: a movie that was moved, whose path finds no record, found by its
// fingerprint among 100,000 records, against today's lookup missing by path, in the same run.
//
// The store is made here in a temporary folder: 100,000 full records written as UTF-16 bytes
// (as in bench_record_lookup), each with a fingerprint key, and the fingerprint index naming all
// of them. One record belongs to a real 200 MB movie file that now lies at a path of another
// name; its record still names the old path, which no longer exists.
//
// Figures, each the median of several rounds:
//   - cold: a new store object (no bucket index and no fingerprint index in memory, as at the
//     first load of a run): LocateRecord of the new path (a miss, which builds the bucket's
//     index) against the same miss followed by the fingerprint read of the movie (three 64 KiB
//     reads of the 200 MB file) and FindMovedRecord (reading the 100,000-entry index file and
//     confirming the hit by the record's own key);
//   - warm: the same two on a store whose indexes were just built.
// The movie file's blocks come from the system's file cache in both (it was written just before
// and read once untimed), so the figures compare the lookups rather than the disk; a cold disk
// adds three seeks. Taking the record over (the move itself: one atomic rewrite and a delete)
// and rebuilding the index from the records are timed once each, for information.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "base/DataFolder_CL.h"
#include "base/TextFormat.h"
#include "base/UniqueHandle_CL.h"
#include "store/ContentInfo.h"
#include "store/ContentRecordKeys.h"
#include "store/ContentRecordNaming.h"
#include "store/ContentRecordStore_CL.h"
#include "store/ContentRecords_CL.h"
#include "store/FileFingerprint.h"
#include "store/FingerprintIndex_CL.h"
#include "store/IniEntry.h"
#include "store/RecordFailureNotice_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {
constexpr int kRecords = 100000;
constexpr int kRounds = 5;
constexpr int kWarmRepeats = 20;
constexpr uint64_t kMovieBytes = 200ull * 1000 * 1000;
constexpr int kMovedSerial = 4321;
constexpr int64_t kFirstAddDateSeconds = 1600000000;

double NowMs() {
    LARGE_INTEGER frequency, counter;
    ::QueryPerformanceFrequency(&frequency);
    ::QueryPerformanceCounter(&counter);
    return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

std::wstring RecordText(const std::vector<IniEntry>& entries) {
    std::vector<std::wstring> sections;
    for (const IniEntry& entry : entries) {
        if (std::find(sections.begin(), sections.end(), entry.section) == sections.end()) {
            sections.push_back(entry.section);
        }
    }
    std::wstring text(1, L'\xFEFF');
    for (const std::wstring& section : sections) {
        if (text.size() > 1) text += L"\r\n";
        text += L"[" + section + L"]\r\n";
        for (const IniEntry& entry : entries) {
            if (entry.section == section) text += entry.key + L"=" + entry.value + L"\r\n";
        }
    }
    return text;
}

bool WriteBytes(const std::wstring& path, const void* data, size_t size) {
    FileHandle_CL file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                     nullptr));
    if (!file.IsValid()) return false;
    DWORD written = 0;
    return ::WriteFile(file.Get(), data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

// A movie file of kMovieBytes whose every megabyte differs.
bool WriteMovie(const std::wstring& path) {
    FileHandle_CL file(::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                     nullptr));
    if (!file.IsValid()) return false;
    std::vector<uint32_t> chunk(1 << 18);  // 1 MiB
    uint32_t state = 12345;
    for (uint64_t done = 0; done < kMovieBytes;) {
        for (uint32_t& word : chunk) word = state = state * 1664525u + 1013904223u;
        DWORD want = static_cast<DWORD>(std::min<uint64_t>(chunk.size() * 4, kMovieBytes - done));
        DWORD written = 0;
        if (!::WriteFile(file.Get(), chunk.data(), want, &written, nullptr) || written != want) return false;
        done += want;
    }
    return true;
}

class NoNotice : public RecordFailureNotice_CL {
public:
    void ShowShareWriteFailure() override {}
};

struct Bench {
    TempFolder_CL folder;
    std::wstring contents, movies, oldMovie, newMovie;
    FileFingerprint moviePrint;

    bool Prepare() {
        if (!DataFolder_CL::IsAbsolutePath(folder.Path())) return false;
        contents = folder.Join(L"contents");
        movies = folder.Join(L"movies");
        if (!::CreateDirectoryW(contents.c_str(), nullptr) || !::CreateDirectoryW(movies.c_str(), nullptr)) return false;
        for (int bucket = 0; bucket < kContentBucketCount; ++bucket) {
            if (!::CreateDirectoryW(RecordBucketFolder(contents, bucket).c_str(), nullptr)) return false;
        }
        oldMovie = movies + L"\\旧シリーズ\\第04321話.mp4";
        newMovie = movies + L"\\新しい名前 第4321話.mp4";
        double start = NowMs();
        if (!WriteMovie(newMovie) || !ReadFileFingerprint(newMovie, &moviePrint)) return false;
        std::printf("200 MB movie written in %.1f s\n", (NowMs() - start) / 1000.0);
        return true;
    }

    bool WriteStore() {
        std::vector<int> nextIndex(kContentBucketCount, 0);
        std::string index = std::string(FingerprintIndex_CL::Header()) + "\r\n";
        ContentInfo info;
        for (int serial = 0; serial < kRecords; ++serial) {
            std::wstring moviePath = serial == kMovedSerial
                                         ? oldMovie
                                         : FormatString(L"%ls\\シリーズ%03d\\第%06d話.mp4", movies.c_str(),
                                                        serial % 500, serial);
            uint32_t hash = HashPath(moviePath);
            int bucket = BucketOfHash(hash);
            int recordIndex = nextIndex[bucket]++;
            std::wstring recordPath = LocalRecordPath(contents, bucket, recordIndex);
            info.hash = hash;
            info.ini_name = recordPath;
            info.link_name = moviePath;
            info.content_name = ContentNameFromPath(moviePath);
            info.play_count = 1 + serial % 7;
            info.last_play_frame = 10000000LL * (serial % 5400);
            info.add_date = kFirstAddDateSeconds + serial * 60LL;
            info.play_date_time = info.add_date + 3600;
            FileFingerprint print = moviePrint;
            if (serial != kMovedSerial) {
                print.sizeBytes = 100000000ull + static_cast<uint64_t>(serial) * 977;
                print.hash = HashBytes64(&serial, sizeof(serial), 7);
            }
            std::vector<IniEntry> entries = info.RewriteEntries();
            entries.push_back(IniEntry{kSectionMovieInfo, kKeyFingerprint, FormatFingerprint(print)});
            std::wstring text = RecordText(entries);
            if (!WriteBytes(recordPath, text.data(), text.size() * sizeof(wchar_t))) return false;
            index += FingerprintIndex_CL::FormatLine(
                         FingerprintIndex_CL::Line{FingerprintIndex_CL::LineKind::Add, print, {bucket, recordIndex}}) +
                     "\r\n";
        }
        return WriteBytes(FingerprintIndex_CL::IndexPath(contents), index.data(), index.size());
    }

    ContentRecordStore_CL::Options Options() const {
        ContentRecordStore_CL::Options options;
        options.contentsFolder = contents;
        return options;
    }
};

// The miss by path that today's load makes first.
double TimedMiss(ContentRecordStore_CL& store, const std::wstring& movie, bool* correct) {
    double start = NowMs();
    std::wstring found = store.LocateRecord(movie, false, false);
    double ms = NowMs() - start;
    *correct &= found.empty();
    return ms;
}

// The same miss, then the fingerprint read and the lookup by fingerprint.
double TimedFingerprintLookup(ContentRecordStore_CL& store, const Bench& bench, bool* correct) {
    double start = NowMs();
    std::wstring found = store.LocateRecord(bench.newMovie, false, false);
    FileFingerprint print;
    bool read = ReadFileFingerprint(bench.newMovie, &print);
    ContentRecordStore_CL::MovedRecord moved = store.FindMovedRecord(print, bench.newMovie);
    double ms = NowMs() - start;
    *correct &= found.empty() && read && moved.oldMoviePath == bench.oldMovie;
    return ms;
}

}  // namespace

int wmain(int, wchar_t**) {
    std::printf("fingerprint lookup among %d records: a miss by path found by fingerprint, against today's miss, "
                "same run; median of %d rounds (warm: median of %d lookups a round)\n",
                kRecords, kRounds, kWarmRepeats);
    std::fflush(stdout);
    bool correct = true;
    {
        Bench bench;
        if (!bench.Prepare()) {
            std::printf("cannot prepare the folders or the movie\n");
            return 1;
        }
        double start = NowMs();
        if (!bench.WriteStore()) {
            std::printf("cannot write the store\n");
            return 1;
        }
        std::printf("store of %d records and its index written in %.1f s\n", kRecords, (NowMs() - start) / 1000.0);
        std::fflush(stdout);

        // Untimed: the bucket's records, the index file and the movie's blocks come into the
        // file cache, so both sides read from it.
        {
            ContentRecordStore_CL store(bench.Options());
            bool ignored = true;
            (void)TimedFingerprintLookup(store, bench, &ignored);
        }

        std::vector<double> coldMiss, coldPrint, warmMiss, warmPrint, coldRatio, warmRatio;
        for (int round = 0; round < kRounds; ++round) {
            double miss, print;
            std::unique_ptr<ContentRecordStore_CL> missStore, printStore;
            // The order alternates, so neither side always follows the other.
            for (int step = 0; step < 2; ++step) {
                if ((step + round) % 2 == 0) {
                    missStore = std::make_unique<ContentRecordStore_CL>(bench.Options());
                    miss = TimedMiss(*missStore, bench.newMovie, &correct);
                } else {
                    printStore = std::make_unique<ContentRecordStore_CL>(bench.Options());
                    print = TimedFingerprintLookup(*printStore, bench, &correct);
                }
            }
            coldMiss.push_back(miss);
            coldPrint.push_back(print);
            coldRatio.push_back(print / miss);
            std::vector<double> missTimes, printTimes;
            for (int i = 0; i < kWarmRepeats; ++i) {
                missTimes.push_back(TimedMiss(*missStore, bench.newMovie, &correct));
                printTimes.push_back(TimedFingerprintLookup(*printStore, bench, &correct));
            }
            warmMiss.push_back(Median(missTimes));
            warmPrint.push_back(Median(printTimes));
            warmRatio.push_back(warmPrint.back() / warmMiss.back());
            std::printf("round %d: cold miss %.1f ms, cold fingerprint lookup %.1f ms; warm miss %.2f ms, warm "
                        "fingerprint lookup %.2f ms\n",
                        round + 1, miss, print, warmMiss.back(), warmPrint.back());
            std::fflush(stdout);
        }

        // Parts of the warm fingerprint lookup alone.
        std::vector<double> readTimes;
        for (int i = 0; i < kWarmRepeats; ++i) {
            FileFingerprint print;
            double t = NowMs();
            correct &= ReadFileFingerprint(bench.newMovie, &print) && print == bench.moviePrint;
            readTimes.push_back(NowMs() - t);
        }

        // The move itself, once: the load that takes the record over.
        double loadMs = 0.0;
        {
            ContentRecordStore_CL store(bench.Options());
            NoNotice notice;
            ContentRecords_CL records(store, notice);
            ContentInfo info;
            std::wstring movedFrom;
            double t = NowMs();
            correct &= records.LoadContent(info, bench.newMovie, false, &movedFrom);
            loadMs = NowMs() - t;
            correct &= movedFrom == bench.oldMovie && info.link_name == bench.newMovie;
        }
        // The rebuild of a lost index, once.
        double rebuildMs = 0.0;
        size_t rebuiltEntries = 0;
        {
            ::DeleteFileW(FingerprintIndex_CL::IndexPath(bench.contents).c_str());
            FingerprintIndex_CL index(bench.contents);
            double t = NowMs();
            index.Refresh();
            rebuildMs = NowMs() - t;
            rebuiltEntries = index.EntryCount();
            correct &= index.RebuildCount() == 1 && rebuiltEntries == static_cast<size_t>(kRecords);
        }

        double cm = Median(coldMiss), cp = Median(coldPrint), wm = Median(warmMiss), wp = Median(warmPrint);
        double cr = Median(coldRatio), wr = Median(warmRatio);
        std::printf("\n%d records               fingerprint lookup   miss by path   ratio   aim\n", kRecords);
        std::printf("cold (first lookup)         %10.1f ms   %10.1f ms   %5.2f   <= 2: %s\n", cp, cm, cr,
                    cr <= 2.0 ? "met" : "NOT met");
        std::printf("warm (indexes built)        %10.2f ms   %10.2f ms   %5.2f   <= 2: %s\n", wp, wm, wr,
                    wr <= 2.0 ? "met" : "NOT met");
        std::printf("fingerprint read of the 200 MB movie (cached): %.3f ms\n", Median(readTimes));
        std::printf("load taking the record over (first load of a new run, cold): %.1f ms\n", loadMs);
        std::printf("index rebuilt from %zu records: %.1f s\n", rebuiltEntries, rebuildMs / 1000.0);
        std::printf("removing the store...%s\n", correct ? "" : " SOME LOOKUPS GAVE WRONG ANSWERS.");
        std::fflush(stdout);
    }
    return correct ? 0 : 1;
}
