// The strip in a real window under Wine: it paints the worker's pictures into its cells with
// their labels, sends NM_THUMB_ACTIVATE on a click, rebuilds for a new interval, and paints
// grey without cells.

#include <gtest/gtest.h>

#include <objbase.h>

#include <memory>

#include "tests/support/TempFolder_CL.h"
#include "tests/thumbs/ThumbTestSupport.h"
#include "thumbs/ThumbIds.h"
#include "thumbs/ThumbnailWindow_CL.h"

namespace {
constexpr int64_t kSecond = 10'000'000;
constexpr int kCellWidth = 160, kCellHeight = 90;
constexpr DWORD kWaitMs = 30000;

bool IsGreen(const uint8_t* bgrx) { return bgrx[1] > 200 && bgrx[2] < 90 && bgrx[0] < 90; }
bool IsYellow(const uint8_t* bgrx) { return bgrx[2] > 200 && bgrx[1] > 200 && bgrx[0] < 90; }
int CountPixels(const BgrxPicture& picture, bool (*test)(const uint8_t*)) {
    int count = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) count += test(picture.At(x, y)) ? 1 : 0;
    }
    return count;
}

class StripTest : public ::testing::Test {
protected:
    void SetUp() override {
        ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
        EnsureGdiplus();
        m_host = std::make_unique<RecordingWindow_CL>(nullptr, RECT{40, 40, 900, 400}, true);
        m_strip = std::make_unique<ThumbnailWindow_CL>();
        ASSERT_EQ(m_strip->Create(m_host->Get()), S_OK);
        ::MoveWindow(m_strip->Window(), 0, 0, 5 * kCellWidth + 40, 200, TRUE);
        m_strip->SetHorizontal(true);
        m_strip->SetCellSize(kCellWidth, kCellHeight);
        m_strip->SetInterval(kSecond, true);
        m_strip->SetContentSource([this] { return m_content; });
        m_content.loaded = true;
    }
    void TearDown() override {
        m_strip.reset();
        m_host.reset();
        ::CoUninitialize();
    }

    // Loads a 10 s movie at 5 frames a second and waits until the strip is ready.
    void LoadMovie() {
        m_spec = NumberedMovieSpec(5, 10);
        const std::wstring path = WriteNumberedMovie(m_folder.Path(), L"numbers.avi", m_spec);
        ASSERT_EQ(m_strip->SetContentThumbnail(true, path), S_OK);
        ASSERT_TRUE(PumpUntil([&] { return m_strip->Ready(); }, kWaitMs));
        ASSERT_EQ(m_strip->Count(), 10);
    }
    // Waits until the cells have pictures and the strip has painted them.
    void WaitPainted(const std::vector<int>& cells) {
        const int64_t interval = m_strip->Interval();
        ASSERT_TRUE(PumpUntil([&] {
            for (int index : cells) {
                if (!m_strip->Worker().RequestThumbnail(index, index * interval)) return false;
            }
            return true;
        }, kWaitMs));
        // Painted now, before the pixels are read.
        ::RedrawWindow(m_strip->Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    }
    BgrxPicture Cell(int index) {
        RECT cell = m_strip->View().CellClientRect(index);
        return ReadWindowPixels(m_strip->Window(), cell);
    }
    void Click(int index, WPARAM keys = 0) {
        RECT cell = m_strip->View().CellClientRect(index);
        LPARAM at = MAKELPARAM(cell.left + kCellWidth / 2, cell.top + kCellHeight / 2);
        ::SendMessageW(m_strip->Window(), WM_LBUTTONDOWN, MK_LBUTTON | keys, at);
        ::SendMessageW(m_strip->Window(), WM_LBUTTONUP, keys, at);
    }

    TempFolder_CL m_folder;
    AviMovieSpec m_spec;
    ThumbnailWindow_CL::StripContent m_content;
    std::unique_ptr<RecordingWindow_CL> m_host;
    std::unique_ptr<ThumbnailWindow_CL> m_strip;
};

TEST_F(StripTest, CellsShowTheirDecodedFrames) {
    LoadMovie();
    WaitPainted({1, 2, 4});
    // The time label covers the top-left corner of each cell.
    const std::vector<RECT> label = {RECT{0, 0, 90, 30}};
    FrameNumberReader_CL reader(m_spec);
    EXPECT_EQ(reader.Read(Cell(1), label), 5);
    EXPECT_EQ(reader.Read(Cell(2), label), 10);
    EXPECT_EQ(reader.Read(Cell(4), label), 20);
}

TEST_F(StripTest, SkipRangeAndFavouriteLabelTheirCells) {
    m_content.marks.skips[0] = {3 * kSecond, 4 * kSecond};  // the opening, cell 3 only
    m_content.marks.favorites[0] = 4 * kSecond + kSecond / 2;
    LoadMovie();
    WaitPainted({2, 3, 4});
    EXPECT_GT(CountPixels(Cell(3), IsGreen), 20);
    EXPECT_EQ(CountPixels(Cell(2), IsGreen), 0);
    EXPECT_GT(CountPixels(Cell(4), IsYellow), 20);
    EXPECT_EQ(CountPixels(Cell(3), IsYellow), 0);
}

TEST_F(StripTest, ClickActivatesTheCellAndShiftClickSelectsARange) {
    LoadMovie();
    Click(2);
    EXPECT_EQ(m_host->Activations(), std::vector<int>{2});
    EXPECT_EQ(::GetFocus(), m_strip->Window());
    int first = -1, last = -1;
    ASSERT_TRUE(m_strip->Selection(&first, &last));
    EXPECT_EQ(first, 2);
    EXPECT_EQ(last, 2);

    Click(4, MK_SHIFT);
    ASSERT_TRUE(m_strip->Selection(&first, &last));
    EXPECT_EQ(first, 2);
    EXPECT_EQ(last, 4);
    EXPECT_EQ(m_strip->Anchor(), 4);
    // Enter activates the anchor.
    ::SendMessageW(m_strip->Window(), WM_KEYDOWN, VK_RETURN, 0);
    EXPECT_EQ(m_host->Activations().back(), 4);
}

TEST_F(StripTest, IntervalChangeStopsTheWorkerWithOneAndKeepsTheTimeInView) {
    LoadMovie();
    m_strip->ShowPosition(6 * kSecond);
    const int first = m_strip->View().FirstVisibleIndex();
    ASSERT_GT(first, 0);
    m_host->Clear();
    m_strip->SetInterval(2 * kSecond, false);
    ASSERT_TRUE(PumpUntil([&] { return !m_host->CommandParams(IDC_THUMB_STOPPED).empty(); }, kWaitMs));
    EXPECT_EQ(m_host->CommandParams(IDC_THUMB_STOPPED), std::vector<LPARAM>{kThumbStopInterval});
    EXPECT_EQ(m_strip->Count(), 5);
    const int sameTime = CellIndexForTime(CellTime(first, kSecond), 2 * kSecond, 5);
    EXPECT_TRUE(m_strip->View().CellTouchesView(sameTime));
    EXPECT_EQ(m_strip->Anchor(), sameTime);
    // The owner prefetches again: the cells come back at the new interval.
    m_strip->PrefetchAllThumbnails();
    WaitPainted({1});
    EXPECT_EQ(FrameNumberReader_CL(m_spec).Read(Cell(1), {RECT{0, 0, 90, 30}}), 10);
}

TEST_F(StripTest, WithoutCellsTheStripIsGreyAndStaleResultsAreIgnored) {
    ASSERT_EQ(m_strip->SetContentThumbnail(0u, E_FAIL), E_FAIL);  // the build of the latest serial failed
    EXPECT_EQ(m_strip->Count(), 0);
    EXPECT_EQ(m_strip->SetContentThumbnail(7u, S_OK), S_OK);  // not the latest: nothing changes
    EXPECT_FALSE(m_strip->Ready());
    ::RedrawWindow(m_strip->Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    BgrxPicture client = ReadWindowPixels(m_strip->Window(), RECT{10, 10, 60, 60});
    ASSERT_FALSE(client.IsEmpty());
    const uint8_t* pixel = client.At(20, 20);
    EXPECT_EQ(pixel[0], 0xC0);
    EXPECT_EQ(pixel[1], 0xC0);
    EXPECT_EQ(pixel[2], 0xC0);
    int first = 0, last = 0;
    EXPECT_FALSE(m_strip->Selection(&first, &last));
}

TEST_F(StripTest, SoundOnlyCellsShowTheSoundPicture) {
    m_content.soundOnly = true;
    m_strip->SetSoundOnlyContent(4 * kSecond);
    ASSERT_EQ(m_strip->Count(), 4);
    ::RedrawWindow(m_strip->Window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    // The speaker of the picture (light on a dark panel) sits left of the cell's middle.
    BgrxPicture cell = Cell(1);
    ASSERT_FALSE(cell.IsEmpty());
    const uint8_t* speaker = cell.At(55, 45);
    EXPECT_GT(speaker[0], 200);
    EXPECT_GT(speaker[1], 200);
    const uint8_t* panel = cell.At(20, 70);
    EXPECT_LT(panel[1], 80);
}

TEST_F(StripTest, DestroyingTheStripStopsTheWorkerWithZero) {
    LoadMovie();
    ::DestroyWindow(m_strip->Window());
    ASSERT_TRUE(PumpUntil([&] { return !m_host->CommandParams(IDC_THUMB_STOPPED).empty(); }, kWaitMs));
    EXPECT_EQ(m_host->CommandParams(IDC_THUMB_STOPPED), std::vector<LPARAM>{kThumbStopDestroy});
    EXPECT_EQ(m_strip->Worker().State(), ThumbGraphState::Idle);
    EXPECT_EQ(m_strip->Worker().LiveBitmapCount(), 0);
}
}  // namespace
