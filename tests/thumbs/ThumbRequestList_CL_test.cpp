// The worker's request list as pure bookkeeping: builds and serials, requests, the decode
// cycle, stops and flushes, the cache bound, and that every picture is let go exactly once.

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "thumbs/ThumbRequestList_CL.h"

namespace {
using Answer = ThumbRequestList_CL::Answer;
using Next = ThumbRequestList_CL::Next;

// Stand-ins for bitmaps: the list never looks behind them.
HBITMAP Picture(int n) { return reinterpret_cast<HBITMAP>(static_cast<uintptr_t>(0x1000 + n)); }

class RequestList : public ::testing::Test {
protected:
    explicit RequestList(size_t capacity = ThumbRequestList_CL::kDefaultCapacity) : list(capacity) {}
    void MakeReady() {
        list.QueueBuild(L"C:\\movie.avi", true);
        ThumbRequestList_CL::Build build;
        ASSERT_TRUE(list.TakeBuild(&build));
        list.ResetForBuild(&released);
        list.SetBuildResult(build.serial, S_OK);
        list.ExchangeState(ThumbGraphState::Ready);
    }
    // One worker step that decodes the front entry and gets picture n for it.
    int DecodeOne(int picture, bool* stored = nullptr) {
        ThumbRequest entry;
        int code = 0;
        if (list.TakeNext(&entry, &code, &released) != Next::Decode) return -1;
        entry.bitmap = picture >= 0 ? Picture(picture) : nullptr;
        if (picture >= 0) made.push_back(entry.bitmap);
        bool kept = list.Finish(entry, &released);
        if (stored) *stored = kept;
        return entry.index;
    }
    // Every picture made was either let go once or is still cached, never both, never twice.
    void ExpectEachPictureHasOneOwner() {
        std::multiset<HBITMAP> owners(released.begin(), released.end());
        for (const ThumbRequest& entry : list.Entries()) {
            if (entry.bitmap) owners.insert(entry.bitmap);
        }
        for (HBITMAP bitmap : made) EXPECT_EQ(owners.count(bitmap), 1u) << bitmap;
        EXPECT_EQ(owners.size(), made.size());
    }

    ThumbRequestList_CL list;
    std::vector<HBITMAP> released;
    std::vector<HBITMAP> made;
};

TEST_F(RequestList, TwoQuickBuildRequestsBuildOnceForTheLatestPath) {
    EXPECT_EQ(list.QueueBuild(L"C:\\first.avi", true), 1u);
    EXPECT_EQ(list.QueueBuild(L"C:\\second.avi", false), 2u);
    ThumbRequestList_CL::Build build;
    ASSERT_TRUE(list.TakeBuild(&build));
    EXPECT_EQ(build.serial, 2u);
    EXPECT_EQ(build.path, L"C:\\second.avi");
    EXPECT_FALSE(build.async);
    EXPECT_FALSE(list.TakeBuild(&build));  // the second message finds nothing new
    EXPECT_FALSE(list.LatestBuildDone());
    list.SetBuildResult(2, S_OK);
    EXPECT_TRUE(list.LatestBuildDone());
}

TEST_F(RequestList, NoRequestAcceptedWhileNotReady) {
    EXPECT_EQ(list.Request(0, 0).answer, Answer::Refused);  // Idle
    list.QueueBuild(L"C:\\movie.avi", true);
    list.ExchangeState(ThumbGraphState::Preparing);
    ThumbRequestList_CL::RequestAnswer answer = list.Request(3, 30);
    EXPECT_EQ(answer.answer, Answer::Refused);
    EXPECT_FALSE(answer.wakeWorker);
    EXPECT_TRUE(list.Entries().empty());
    EXPECT_FALSE(list.Accepting());
}

TEST_F(RequestList, RequestsQueueNewestFirstAndWakeTheWorkerOnce) {
    MakeReady();
    EXPECT_TRUE(list.Request(1, 10).wakeWorker);
    EXPECT_FALSE(list.Request(2, 20).wakeWorker);
    EXPECT_FALSE(list.Request(1, 10).wakeWorker);  // asked again: moves to the front, not doubled
    ASSERT_EQ(list.Entries().size(), 2u);
    EXPECT_EQ(list.Entries().front().index, 1);
    EXPECT_EQ(DecodeOne(0), 1);
    EXPECT_EQ(DecodeOne(1), 2);
    ThumbRequest entry;
    int code = 0;
    EXPECT_EQ(list.TakeNext(&entry, &code, &released), Next::Idle);
    EXPECT_FALSE(list.WorkerRunning());
    EXPECT_TRUE(list.Request(5, 50).wakeWorker);  // the worker rested: wake it again
}

TEST_F(RequestList, CellBeingDecodedIsNotQueuedTwiceAndShowsOnceDone) {
    MakeReady();
    list.Request(4, 40);
    ThumbRequest entry;
    int code = 0;
    ASSERT_EQ(list.TakeNext(&entry, &code, &released), Next::Decode);
    EXPECT_EQ(list.Request(4, 40).answer, Answer::Decoding);
    EXPECT_TRUE(list.Entries().empty());
    entry.bitmap = Picture(4);
    made.push_back(entry.bitmap);
    EXPECT_TRUE(list.Finish(entry, &released));
    // The paint that follows the decoded message finds the picture at once.
    ThumbRequestList_CL::RequestAnswer answer = list.Request(4, 40);
    EXPECT_EQ(answer.answer, Answer::Cached);
    EXPECT_EQ(answer.bitmap, Picture(4));
    ExpectEachPictureHasOneOwner();
}

TEST_F(RequestList, CellWithoutPictureIsAskedForAgainButNotRetriedByItself) {
    MakeReady();
    list.Request(2, 20);
    bool stored = true;
    EXPECT_EQ(DecodeOne(-1, &stored), 2);  // no frame came in time
    EXPECT_FALSE(stored);
    ThumbRequest entry;
    int code = 0;
    EXPECT_EQ(list.TakeNext(&entry, &code, &released), Next::Idle);  // kept, but not decoded again and again
    EXPECT_EQ(list.Request(2, 20).answer, Answer::Queued);
    EXPECT_EQ(list.Entries().size(), 1u);
    EXPECT_EQ(DecodeOne(7), 2);
    EXPECT_EQ(list.Request(2, 20).answer, Answer::Cached);
}

TEST_F(RequestList, StopWhileDecodingDropsThePictureAndAnswersAfterTheDecode) {
    MakeReady();
    for (int i = 0; i < 4; ++i) list.Request(i, i * 10);
    DecodeOne(0);
    ThumbRequest entry;
    int code = 0;
    ASSERT_EQ(list.TakeNext(&entry, &code, &released), Next::Decode);
    EXPECT_FALSE(list.Stop(1, &released));  // the interval changed mid-decode
    EXPECT_EQ(list.Request(9, 90).answer, Answer::Refused);
    entry.bitmap = Picture(1);
    made.push_back(entry.bitmap);
    EXPECT_FALSE(list.Finish(entry, &released));
    ASSERT_EQ(list.TakeNext(&entry, &code, &released), Next::Stopped);
    EXPECT_EQ(code, 1);
    EXPECT_TRUE(list.Entries().empty());
    EXPECT_EQ(list.TakeNext(&entry, &code, &released), Next::Idle);  // answered once only
    ExpectEachPictureHasOneOwner();
    EXPECT_EQ(released.size(), made.size());
    EXPECT_EQ(list.Request(0, 0).answer, Answer::Queued);  // afterwards the strip may ask again
}

TEST_F(RequestList, FlushDuringAPendingStopKeepsTheStop) {
    MakeReady();
    list.Request(0, 0);
    ThumbRequest entry;
    int code = 0;
    ASSERT_EQ(list.TakeNext(&entry, &code, &released), Next::Decode);
    EXPECT_FALSE(list.Stop(0, &released));
    list.BeginFlush(&released);
    list.EndFlush();
    EXPECT_EQ(list.Request(3, 30).answer, Answer::Refused);
    list.Finish(entry, &released);
    EXPECT_EQ(list.TakeNext(&entry, &code, &released), Next::Stopped);
    EXPECT_EQ(code, 0);
}

class BoundedRequestList : public RequestList {
protected:
    BoundedRequestList() : RequestList(3) {}
};

TEST_F(BoundedRequestList, CellsFarthestFromTheViewGoFirst) {
    MakeReady();
    list.SetView(3, 5);
    for (int index : {0, 9, 4, 5}) list.Request(index, index);  // decoded 5, 4, 9, 0
    for (int i = 0; i < 4; ++i) DecodeOne(i);
    EXPECT_EQ(list.BitmapCount(), 3u);
    EXPECT_EQ(list.Request(9, 9).answer, Answer::Queued);  // 4 cells from the view, 0 only 3: 9 went
    EXPECT_EQ(list.Request(0, 0).answer, Answer::Cached);
    EXPECT_EQ(list.Request(4, 4).answer, Answer::Cached);
    EXPECT_EQ(list.Request(5, 5).answer, Answer::Cached);
    ExpectEachPictureHasOneOwner();
}

TEST_F(BoundedRequestList, CellsLeftBehindByAScrollAreDroppedForTheNewView) {
    MakeReady();
    list.SetView(0, 2);
    for (int index : {2, 1, 0}) list.Request(index, index);
    for (int i = 0; i < 3; ++i) DecodeOne(i);
    list.SetView(50, 52);  // scrolled far away
    list.Request(50, 50);
    bool stored = false;
    DecodeOne(3, &stored);
    EXPECT_TRUE(stored);
    EXPECT_EQ(list.BitmapCount(), 3u);
    EXPECT_EQ(list.Request(0, 0).answer, Answer::Queued);  // the farthest went: decoded again when shown
    ExpectEachPictureHasOneOwner();
}

TEST_F(BoundedRequestList, APictureFartherThanAllCachedIsNotKept) {
    MakeReady();
    list.SetView(0, 2);
    for (int index : {2, 1, 0}) list.Request(index, index);
    for (int i = 0; i < 3; ++i) DecodeOne(i);
    list.Request(90, 90);
    bool stored = true;
    EXPECT_EQ(DecodeOne(3, &stored), 90);
    EXPECT_FALSE(stored);  // the strip is told there is nothing to show, and does not repaint for it
    EXPECT_EQ(list.Request(90, 90).answer, Answer::Queued);
    EXPECT_EQ(list.BitmapCount(), 3u);
    for (int index : {0, 1, 2}) EXPECT_EQ(list.Request(index, index).answer, Answer::Cached);
    ExpectEachPictureHasOneOwner();
}

TEST(Prefetch, OddCellsFromTheTopThenEvenOnesSoTheWorkerFillsEveryOtherFirst) {
    EXPECT_EQ(ThumbRequestList_CL::PrefetchOrder(6, 0, 2, 100), (std::vector<int>{5, 3, 1, 4, 2, 0}));
    EXPECT_EQ(ThumbRequestList_CL::PrefetchOrder(5, 0, 2, 100), (std::vector<int>{3, 1, 4, 2, 0}));
    EXPECT_EQ(ThumbRequestList_CL::PrefetchOrder(1, 0, 0, 100), std::vector<int>{0});
    EXPECT_TRUE(ThumbRequestList_CL::PrefetchOrder(0, 0, 0, 100).empty());
}

TEST(Prefetch, StopsAtTheCacheBoundAroundTheView) {
    // 3 hours at 1 s with the view at cell 5000: the 1,165 cells around it, none beyond.
    std::vector<int> order = ThumbRequestList_CL::PrefetchOrder(10800, 5000, 5004, 1165);
    ASSERT_EQ(order.size(), 1165u);
    auto [low, high] = std::minmax_element(order.begin(), order.end());
    EXPECT_EQ(*high - *low, 1164);
    EXPECT_LE(*low, 5000);
    EXPECT_GE(*high, 5004);
    EXPECT_EQ(std::set<int>(order.begin(), order.end()).size(), order.size());
    // At the start the window starts at cell 0, at the end it ends at the last cell.
    std::vector<int> atStart = ThumbRequestList_CL::PrefetchOrder(10800, 0, 4, 1165);
    EXPECT_EQ(*std::min_element(atStart.begin(), atStart.end()), 0);
    std::vector<int> atEnd = ThumbRequestList_CL::PrefetchOrder(10800, 10795, 10799, 1165);
    EXPECT_EQ(*std::max_element(atEnd.begin(), atEnd.end()), 10799);
}
}  // namespace
