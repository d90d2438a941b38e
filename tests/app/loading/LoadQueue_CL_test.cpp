// The waiting loads and the rules of a load's attempts.

#include <gtest/gtest.h>

#include <windows.h>
#include <vfwmsgs.h>

#include <string>

#include "app/loading/LoadQueue_CL.h"
#include "media/DShowGraph_CL.h"

namespace {
LoadRequest Direct(const wchar_t* path) {
    LoadRequest request;
    request.direct = true;
    request.path = path;
    return request;
}
}  // namespace

TEST(LoadQueue, RequestsDuringALoadWaitAndTheNewestLoadsAfterIt) {
    LoadQueue_CL queue;
    LoadRequest taken;
    EXPECT_FALSE(queue.TakeNext(&taken));  // nothing waits

    EXPECT_TRUE(queue.Push(Direct(L"a.avi")));  // nothing runs: start one
    ASSERT_TRUE(queue.TakeNext(&taken));
    EXPECT_EQ(taken.path, L"a.avi");
    queue.Begin();

    // Ten switches while the load runs: none starts a load of its own, the last one is kept.
    for (int i = 0; i < 10; ++i) {
        EXPECT_FALSE(queue.Push(Direct((L"switch" + std::to_wstring(i) + L".avi").c_str())));
    }
    EXPECT_FALSE(queue.TakeNext(&taken));  // not while the load runs
    EXPECT_TRUE(queue.HasWaiting());
    queue.End();
    ASSERT_TRUE(queue.TakeNext(&taken));
    EXPECT_EQ(taken.path, L"switch9.avi");
    EXPECT_FALSE(queue.HasWaiting());
}

TEST(LoadQueue, ShareServerIsTheTwoBackslashesAndTheServerName) {
    struct Case {
        const wchar_t* path;
        const wchar_t* server;
        bool separator;
    };
    const Case cases[] = {
        {L"\\\\nas\\movies\\a.mp4", L"\\\\nas", true},
        {L"\\\\nas", L"\\\\nas", false},  // no separator: tried once
        {L"C:\\movies\\a.mp4", L"", false},
        {L"\\single\\a.mp4", L"", false},
        {L"", L"", false},
    };
    for (const Case& c : cases) {
        bool separator = !c.separator;
        EXPECT_EQ(LoadQueue_CL::ShareServerOf(c.path, &separator), c.server) << c.path;
        EXPECT_EQ(separator, c.separator) << c.path;
    }
}

TEST(LoadQueue, AttemptsStopWhereTheyCanNoLongerHelp) {
    EXPECT_TRUE(LoadQueue_CL::ShareAttemptAgain(1, true));
    EXPECT_TRUE(LoadQueue_CL::ShareAttemptAgain(29, true));
    EXPECT_FALSE(LoadQueue_CL::ShareAttemptAgain(30, true));  // thirty attempts in all
    EXPECT_FALSE(LoadQueue_CL::ShareAttemptAgain(1, false));

    EXPECT_TRUE(DShowGraph_CL::BuildAttemptAgain(E_FAIL, 1));
    EXPECT_TRUE(DShowGraph_CL::BuildAttemptAgain(VFW_E_UNSUPPORTED_STREAM, 5));
    EXPECT_FALSE(DShowGraph_CL::BuildAttemptAgain(E_FAIL, 6));  // the first build and five more
    EXPECT_FALSE(DShowGraph_CL::BuildAttemptAgain(VFW_E_NOT_FOUND, 1));
    EXPECT_FALSE(DShowGraph_CL::BuildAttemptAgain(S_OK, 1));
}

TEST(LoadQueue, PathKindDecidesBeforeAnyGraph) {
    EXPECT_EQ(LoadQueue_CL::KindOf(L"", INVALID_FILE_ATTRIBUTES), LoadPathKind::kEmpty);
    EXPECT_EQ(LoadQueue_CL::KindOf(L"gone.avi", INVALID_FILE_ATTRIBUTES), LoadPathKind::kMissing);
    EXPECT_EQ(LoadQueue_CL::KindOf(L"C:\\movies", FILE_ATTRIBUTE_DIRECTORY), LoadPathKind::kFolder);
    EXPECT_EQ(LoadQueue_CL::KindOf(L"a.avi", FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_READONLY), LoadPathKind::kFile);
    EXPECT_EQ(LoadQueue_CL::KindOf(L"a.avi", FILE_ATTRIBUTE_NORMAL), LoadPathKind::kFile);
}
