#include "assoc/helper/AssocRules.h"

#include <gtest/gtest.h>

namespace {
struct SplitCase {
    const wchar_t* raw;
    bool split;
    const wchar_t* extension;
    const wchar_t* handler;
};
class AssocItemSplit : public ::testing::TestWithParam<SplitCase> {};
}  // namespace

TEST_P(AssocItemSplit, SplitsAtTheFirstCommaAndRefusesItemsWithoutOne) {
    std::wstring extension = L"unchanged", handler = L"unchanged";
    EXPECT_EQ(SplitAssocItem(GetParam().raw, &extension, &handler), GetParam().split) << GetParam().raw;
    EXPECT_EQ(extension, GetParam().extension);
    EXPECT_EQ(handler, GetParam().handler);
}
INSTANTIATE_TEST_SUITE_P(Items, AssocItemSplit,
                         ::testing::Values(SplitCase{L".avi,Lumikino", true, L".avi", L"Lumikino"},
                                           SplitCase{L".mkv,", true, L".mkv", L""},
                                           SplitCase{L".mp4,a,b", true, L".mp4", L"a,b"},
                                           SplitCase{L",Lumikino", true, L"", L"Lumikino"},
                                           SplitCase{L".avi", false, L"unchanged", L"unchanged"},
                                           SplitCase{L"", false, L"unchanged", L"unchanged"}));

namespace {
struct NameCase {
    const wchar_t* name;
    bool allowed;
};
class AssocExtensionRule : public ::testing::TestWithParam<NameCase> {};
class AssocHandlerRule : public ::testing::TestWithParam<NameCase> {};
class AssocIconRule : public ::testing::TestWithParam<NameCase> {};
}  // namespace

TEST_P(AssocExtensionRule, OnlyDottedNamesThatAreNotProgramTypesOrSubKeys) {
    EXPECT_EQ(IsAllowedExtension(GetParam().name), GetParam().allowed) << GetParam().name;
}
INSTANTIATE_TEST_SUITE_P(
    Extensions, AssocExtensionRule,
    ::testing::Values(NameCase{L".avi", true}, NameCase{L".MP4", true}, NameCase{L".tar.gz", true},
                      NameCase{L".動画", true}, NameCase{L".exe1", true}, NameCase{L".jsx", true},
                      NameCase{L"", false}, NameCase{L".", false}, NameCase{L"avi", false},
                      NameCase{L"exefile\\shell\\open\\command", false}, NameCase{L".avi\\shell", false},
                      NameCase{L".a\tb", false}, NameCase{L".exe", false}, NameCase{L".EXE", false},
                      NameCase{L".Com", false}, NameCase{L".bat", false}, NameCase{L".lnk", false},
                      NameCase{L".ps1", false}, NameCase{L".js", false}, NameCase{L".hta", false},
                      NameCase{L".reg", false}, NameCase{L".dll", false}, NameCase{L".SYS", false}));

TEST_P(AssocHandlerRule, AnyClassNameWithoutASubKeyOrControlCharacter) {
    EXPECT_EQ(IsAllowedHandler(GetParam().name), GetParam().allowed) << GetParam().name;
}
INSTANTIATE_TEST_SUITE_P(Handlers, AssocHandlerRule,
                         ::testing::Values(NameCase{L"", true}, NameCase{L"Lumikino", true},
                                           NameCase{L"WMP11.AssocFile.MP4", true}, NameCase{L"a b", true},
                                           NameCase{L"exefile\\shell\\open\\command", false},
                                           NameCase{L"a\nb", false}));

TEST_P(AssocIconRule, EmptyOrACommaAndAnIndex) {
    EXPECT_EQ(IsAllowedIconSuffix(GetParam().name), GetParam().allowed) << GetParam().name;
}
INSTANTIATE_TEST_SUITE_P(Icons, AssocIconRule,
                         ::testing::Values(NameCase{L",0", true}, NameCase{L"", true}, NameCase{L",12", true},
                                           NameCase{L",-107", true}, NameCase{L",", false}, NameCase{L",-", false},
                                           NameCase{L"0", false}, NameCase{L",0 ", false},
                                           NameCase{L",0\" \"C:\\evil.exe", false}));

TEST(AssocItemAccept, EmptyRefusedAndWellFormedItemsAreTellApart) {
    AssocItem item{L"kept", L"kept"};
    EXPECT_FALSE(AcceptAssocItem(L"", &item));
    EXPECT_FALSE(AcceptAssocItem(L".avi", &item));  // no comma: not taken as both halves
    EXPECT_FALSE(AcceptAssocItem(L".exe,Lumikino", &item));
    EXPECT_FALSE(AcceptAssocItem(L"exefile\\shell\\open\\command", &item));
    EXPECT_FALSE(AcceptAssocItem(L".avi,exefile\\shell", &item));
    EXPECT_EQ(item, (AssocItem{L"kept", L"kept"}));
    EXPECT_TRUE(AcceptAssocItem(L".avi,AVIFile", &item));
    EXPECT_EQ(item, (AssocItem{L".avi", L"AVIFile"}));
    EXPECT_TRUE(AcceptAssocItem(L".mkv,", &item));
    EXPECT_EQ(item, (AssocItem{L".mkv", L""}));
}

TEST(AssocFolders, SameFolderIgnoresCaseAndTrailingSeparators) {
    EXPECT_TRUE(SameFolder(L"C:\\Program Files\\Lumikino", L"c:\\PROGRAM FILES\\lumikino\\"));
    EXPECT_TRUE(SameFolder(L"Z:\\work\\動画", L"z:\\WORK\\動画"));
    EXPECT_FALSE(SameFolder(L"C:\\Program Files\\Lumikino", L"C:\\Program Files\\Lumikino2"));
    EXPECT_FALSE(SameFolder(L"C:\\Program Files\\Lumikino\\sub", L"C:\\Program Files\\Lumikino"));
    EXPECT_FALSE(SameFolder(L"", L""));
    EXPECT_EQ(FolderPart(L"C:\\a\\b.exe"), L"C:\\a");
    EXPECT_EQ(FolderPart(L"b.exe"), L"");
}

TEST(AssocCommand, QuotesThePlayerAndTheOpenedFile) {
    EXPECT_EQ(OpenCommandFor(L"C:\\Program Files\\Lumikino\\Lumikino.exe"),
              L"\"C:\\Program Files\\Lumikino\\Lumikino.exe\" \"%1\"");
}
