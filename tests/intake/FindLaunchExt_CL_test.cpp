// The launch-extension list from a registry given by the test (no test touches the real class
// root): which keys count, the handler remembered in EXT_INFO, and a rebuild that never
// overwrites a remembered handler with this program's name and leaves an unchanged file as
// it was.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "intake/FindLaunchExt_CL.h"
#include "store/AtomicRecordWriter_CL.h"
#include "store/Inifile_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {

ClassRootKey Key(const wchar_t* name, const wchar_t* handler, const wchar_t* contentType) {
    ClassRootKey key;
    key.name = name;
    key.hasHandler = handler != nullptr;
    if (handler) key.handler = handler;
    key.hasContentType = contentType != nullptr;
    if (contentType) key.contentType = contentType;
    return key;
}

FindLaunchExt_CL::KeySource SourceOf(std::vector<ClassRootKey> keys) {
    return [keys](const std::function<void(const ClassRootKey&)>& visit) {
        for (const ClassRootKey& key : keys) visit(key);
    };
}

const std::vector<ClassRootKey> kRegistry = {
    Key(L".avi", L"AviFile", L"video/avi"),
    Key(L"AviFile", L"Video Clip", nullptr),          // not an extension
    Key(L".txt", L"txtfile", L"text/plain"),          // neither video nor audio
    Key(L".mp3", L"Lumikino", L"audio/mpeg"),         // handled by this program now
    Key(L".mkv", nullptr, L"video/x-matroska"),       // no handler
    Key(L".wmv", L"WMVFile", nullptr),                // no content type
    Key(L".mp4", L"Lumikina", L"video/mp4"),
    Key(L".ogv", L"OggFile", L"Video/ogg"),           // the content type's case counts
    Key(L".flac", L"lumikino", L"audio/flac"),        // not this program: the name's case counts
};

TEST(LaunchExtensions, ExtensionsWithAHandlerAndAVideoOrAudioTypeInRegistryOrder) {
    const std::vector<LaunchExtension> list =
        FindLaunchExt_CL::Build(SourceOf(kRegistry), [](const std::wstring& extension) {
            return extension == L".mp3" ? std::wstring(L"mp3file") : std::wstring();
        });
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].extension, L".avi");
    EXPECT_EQ(list[0].contentType, L"video/avi");
    EXPECT_EQ(list[0].currentHandler, L"AviFile");
    EXPECT_FALSE(list[0].associated);
    EXPECT_EQ(list[1].extension, L".mp3");
    EXPECT_TRUE(list[1].associated);
    EXPECT_EQ(list[1].savedHandler, L"mp3file");
    EXPECT_EQ(list[2].extension, L".mp4");
    EXPECT_FALSE(list[2].associated);  // only "Lumikino" marks it as handled by this program
    EXPECT_EQ(list[3].extension, L".flac");
}

TEST(LaunchExtensions, OnlyHandlersOfOtherProgramsThatChangedAreRemembered) {
    std::vector<LaunchExtension> list(4);
    list[0] = {false, L".avi", L"video/avi", L"AviFile", L""};         // new: written
    list[1] = {true, L".mp3", L"audio/mpeg", L"Lumikino", L"mp3file"};  // ours: never written
    list[2] = {false, L".mp4", L"video/mp4", L"Lumikina", L""};         // ours too
    list[3] = {false, L".wav", L"audio/wav", L"WavFile", L"WavFile"};  // unchanged: not written
    const auto writes = FindLaunchExt_CL::ExtInfoWrites(list);
    ASSERT_EQ(writes.size(), 1u);
    EXPECT_EQ(writes[0].first, L".avi");
    EXPECT_EQ(writes[0].second, L"AviFile");
}

TEST(LaunchExtensions, ARebuildRemembersHandlersOnceAndLeavesAnUnchangedFileAsItWas) {
    TempFolder_CL folder;
    const std::wstring path = folder.Join(L"Lumikino.ini");
    Inifile_CL settings;
    settings.Bind(path);
    settings.WriteString(L"EXT_INFO", L".mp3", L"mp3file");  // remembered when this program took it

    std::vector<LaunchExtension> list = FindLaunchExt_CL::Rebuild(SourceOf(kRegistry), settings);
    EXPECT_EQ(settings.GetString(L"EXT_INFO", L".avi", L"-"), L"AviFile");
    EXPECT_EQ(settings.GetString(L"EXT_INFO", L".mp3", L"-"), L"mp3file");
    EXPECT_EQ(settings.GetString(L"EXT_INFO", L".mp4", L"-"), L"-");
    EXPECT_EQ(settings.GetString(L"EXT_INFO", L".flac", L"-"), L"lumikino");
    ASSERT_EQ(list.size(), 4u);
    EXPECT_EQ(list[0].savedHandler, L"AviFile");

    std::string before, after;
    ASSERT_EQ(AtomicRecordWriter_CL::ReadBytes(path, &before), S_OK);
    FindLaunchExt_CL::Rebuild(SourceOf(kRegistry), settings);
    ASSERT_EQ(AtomicRecordWriter_CL::ReadBytes(path, &after), S_OK);
    EXPECT_EQ(after, before);

    // Another program takes .avi: its name is remembered in place of the old one.
    std::vector<ClassRootKey> changed = kRegistry;
    changed[0].handler = L"OtherPlayer.avi";
    FindLaunchExt_CL::Rebuild(SourceOf(changed), settings);
    EXPECT_EQ(settings.GetString(L"EXT_INFO", L".avi", L"-"), L"OtherPlayer.avi");
}

}  // namespace
