// The extension rule and the small path rules of the play list rows.

#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "intake/FileExtension.h"

namespace {

struct ExtCase {
    const wchar_t* path;
    const wchar_t* extension;       // as the path spells it
    const wchar_t* lowerExtension;  // what comparisons use
};

void PrintTo(const ExtCase& c, std::ostream* os) { *os << ::testing::PrintToString(std::wstring(c.path)); }

class ExtensionRule : public ::testing::TestWithParam<ExtCase> {};

TEST_P(ExtensionRule, TextFromTheLastDotOfTheWholePath) {
    const ExtCase& c = GetParam();
    EXPECT_EQ(ExtensionOf(c.path), c.extension);
    EXPECT_EQ(LowerExtensionOf(c.path), c.lowerExtension);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, ExtensionRule,
    ::testing::Values(ExtCase{L"D:\\Movies\\a.mp4", L".mp4", L".mp4"},
                      ExtCase{L"D:\\Movies\\a.MP4", L".MP4", L".mp4"},
                      ExtCase{L"D:\\Movies\\a.Mp4", L".Mp4", L".mp4"},
                      ExtCase{L"D:\\v1.2\\movie", L".2\\movie", L".2\\movie"},   // only dot in a folder
                      ExtCase{L"D:\\v1.2\\Movie", L".2\\Movie", L".2\\movie"},
                      ExtCase{L"D:\\movies\\movie", L"", L""},                   // no dot at all
                      ExtCase{L"", L"", L""},
                      ExtCase{L"D:\\a.b.c.AVI", L".AVI", L".avi"},              // the last dot wins
                      ExtCase{L"D:\\x\\name.", L".", L"."},
                      ExtCase{L"D:\\動画\\第１話.ＭＰ４", L".ＭＰ４", L".ｍｐ４"},  // full-width letters lower too
                      ExtCase{L"D:\\動画\\第1話.PlayList", L".PlayList", L".playlist"}));

TEST(PathRules, ClassifiesListAndArchiveExtensions) {
    struct {
        const wchar_t* lowerExtension;
        IntakeKind kind;
    } cases[] = {
        {L".asx", IntakeKind::AsxList},   {L".wvx", IntakeKind::AsxList},
        {L".wax", IntakeKind::AsxList},   {L".playlist", IntakeKind::TextList},
        {L".zip", IntakeKind::Archive},   {L".mp4", IntakeKind::Movie},
        {L"", IntakeKind::Movie},         {L".zipx", IntakeKind::Movie},
        {L".2\\movie", IntakeKind::Movie}, {L".ASX", IntakeKind::Movie},  // callers lower first
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IntakeKindOfExtension(c.lowerExtension), c.kind) << c.lowerExtension;
        EXPECT_EQ(IsListOrArchiveExtension(c.lowerExtension), c.kind != IntakeKind::Movie)
            << c.lowerExtension;
    }
}

TEST(PathRules, NameFolderAndDisplayName) {
    struct {
        const wchar_t* path;
        const wchar_t* fileName;
        const wchar_t* folder;
        const wchar_t* displayName;
    } cases[] = {
        {L"D:\\Movies\\ep1.mp4", L"ep1.mp4", L"D:\\Movies", L"ep1"},
        {L"D:\\v1.2\\movie", L"movie", L"D:\\v1.2", L"movie"},  // the folder's dot is not the name's
        {L"D:\\動画\\第1話.part.mkv", L"第1話.part.mkv", L"D:\\動画", L"第1話.part"},
        {L"movie.avi", L"movie.avi", L"", L"movie"},
        {L"http://host/dir/clip.wmv", L"clip.wmv", L"http://host/dir", L"clip"},
        {L"\\\\server\\share\\a.mp4", L"a.mp4", L"\\\\server\\share", L"a"},
        {L"D:\\folder\\", L"", L"D:\\folder", L""},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FileNameOf(c.path), c.fileName) << c.path;
        EXPECT_EQ(FolderOf(c.path), c.folder) << c.path;
        EXPECT_EQ(DisplayNameOf(c.path), c.displayName) << c.path;
    }
}

}  // namespace
