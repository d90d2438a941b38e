// The play list dialog's rules: which buttons may be pressed, what a header click sorts, what a
// dropped path becomes and which format a saved list takes.

#include <gtest/gtest.h>

#include "app/playlist/PlayListRules.h"
#include "app/playlist/PlayListSaving.h"

namespace {

struct ToolCase {
    const char* what;
    PlayListToolFacts facts;
    PlayListToolState expected;
};

std::string Describe(const PlayListToolState& s) {
    std::string text;
    for (bool b : {s.save, s.moveUp, s.moveDown, s.previous, s.play, s.next, s.shuffle, s.deleteChecked}) {
        text += b ? '1' : '0';
    }
    return text;
}

TEST(PlayListRules, ToolBarButtonsFollowRowsSelectionAndChecks) {
    //                 save up  down prev play next shuf del
    const ToolCase cases[] = {
        {"empty list", {0, -1, 0, 0, false}, {false, false, false, false, false, false, false, false}},
        {"one row, none selected", {1, -1, 0, 0, true}, {true, false, false, true, false, true, false, false}},
        {"one row selected", {1, 0, 1, 0, true}, {true, false, false, true, true, true, false, false}},
        {"first of three", {3, 0, 1, 0, true}, {true, false, true, true, true, true, true, false}},
        {"middle of three", {3, 1, 1, 0, true}, {true, true, true, true, true, true, true, false}},
        {"last of three", {3, 2, 1, 0, true}, {true, true, false, true, true, true, true, false}},
        {"two selected", {3, 1, 2, 0, true}, {true, false, false, true, false, true, true, false}},
        {"a checked row", {3, -1, 0, 1, true}, {true, false, false, true, false, true, true, true}},
        {"archive entries only", {2, 0, 1, 0, false}, {false, false, true, true, true, true, true, false}},
    };
    for (const ToolCase& c : cases) {
        EXPECT_EQ(Describe(PlayListToolStateOf(c.facts)), Describe(c.expected)) << c.what;
    }
}

TEST(PlayListRules, HeaderClicksToggleTheirColumnAndStartOthersAscending) {
    // Not sorted yet: the first click sorts upwards and clears no arrow.
    SortChoice c = SortChoiceOnClick(0, -1, 0);
    EXPECT_EQ(c.column, 0);
    EXPECT_EQ(c.direction, 1);
    EXPECT_EQ(c.clearArrowOf, -1);
    // The same column toggles.
    EXPECT_EQ(SortChoiceOnClick(0, 1, 0).direction, 2);
    EXPECT_EQ(SortChoiceOnClick(0, 2, 0).direction, 1);
    EXPECT_EQ(SortChoiceOnClick(0, 2, 0).clearArrowOf, -1);
    // Another column starts upwards and takes the arrow from the old one.
    c = SortChoiceOnClick(3, 2, 5);
    EXPECT_EQ(c.column, 5);
    EXPECT_EQ(c.direction, 1);
    EXPECT_EQ(c.clearArrowOf, 3);
}

TEST(PlayListRules, DroppedPathsAreTakenInWholeAppendedOrIgnored) {
    const std::vector<std::wstring> playable = {L".avi", L".mp4"};
    EXPECT_EQ(DialogDropActionOf(L".avi", false, playable), DialogDropAction::kAppend);
    EXPECT_EQ(DialogDropActionOf(L".mp4", false, playable), DialogDropAction::kAppend);
    for (const wchar_t* whole : {L".asx", L".wvx", L".wax", L".zip", L".playlist"}) {
        EXPECT_EQ(DialogDropActionOf(whole, false, playable), DialogDropAction::kTakeInWhole) << whole;
    }
    EXPECT_EQ(DialogDropActionOf(L"", true, playable), DialogDropAction::kTakeInWhole) << "a folder";
    EXPECT_EQ(DialogDropActionOf(L".2\\movies", true, playable), DialogDropAction::kTakeInWhole) << "a dotted folder";
    EXPECT_EQ(DialogDropActionOf(L".txt", false, playable), DialogDropAction::kIgnore);
    EXPECT_EQ(DialogDropActionOf(L"", false, playable), DialogDropAction::kIgnore);
}

TEST(PlayListRules, TheSavedFormatFollowsTheExtension) {
    EXPECT_EQ(SaveFormatOf(L"C:\\a\\list.playlist"), PlayListSaveFormat::kText);
    EXPECT_EQ(SaveFormatOf(L"C:\\a\\LIST.PlayList"), PlayListSaveFormat::kText);
    for (const wchar_t* path : {L"C:\\a.asx", L"C:\\a.WVX", L"C:\\b.wax"}) {
        EXPECT_EQ(SaveFormatOf(path), PlayListSaveFormat::kAsx) << path;
    }
    for (const wchar_t* path : {L"C:\\a.txt", L"C:\\a", L"C:\\a.asx.bak", L"C:\\v1.asx\\list"}) {
        EXPECT_EQ(SaveFormatOf(path), PlayListSaveFormat::kNone) << path;
    }
}

TEST(PlayListRules, TheSaveDialogOffersTheFourFormatsAndSaysWhatWasLeftOut) {
    const std::wstring filter = PlayListSaveFilter();
    const std::wstring expected(
        L"テキスト形式(*.playlist)\0*.playlist\0ＸＭＬ形式(*.asx)\0*.asx\0ＸＭＬ形式(*.wvx)\0*.wvx\0"
        L"ＸＭＬ形式(*.wax)\0*.wax\0\0",
        88);
    EXPECT_EQ(filter, expected);
    EXPECT_TRUE(SaveResultText(S_OK, 0).empty());
    EXPECT_NE(SaveResultText(S_OK, 3).find(L"3件"), std::wstring::npos);
    EXPECT_NE(SaveResultText(E_ACCESSDENIED, 0).find(L"保存できませんでした"), std::wstring::npos);
}

}  // namespace
