// The one-pass INI reader held to the platform's profile functions: varied files are written,
// every name of them (and variants of the names) is read both ways, and the answers must be
// the same, for strings at several buffer sizes and for integers.

#include <gtest/gtest.h>

#include <windows.h>

#include <string>
#include <vector>

#include "store/IniSnapshot_CL.h"
#include "store/Inifile_CL.h"
#include "tests/support/TempFolder_CL.h"

namespace {

struct FileCase {
    const char* name;
    std::string bytes;
    std::vector<std::wstring> sections;  // as asked for; variants are added
    std::vector<std::wstring> keys;
};

std::string Utf8File(const std::string& utf8) { return "\xEF\xBB\xBF" + utf8; }

std::string Utf16BigEndianFile(const std::wstring& text) {
    std::string bytes("\xFE\xFF", 2);
    for (wchar_t c : text) {
        bytes.push_back(static_cast<char>(c >> 8));
        bytes.push_back(static_cast<char>(c & 0xFF));
    }
    return bytes;
}

std::wstring Repeat(wchar_t c, size_t count) { return std::wstring(count, c); }

std::wstring Upper(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(::towupper(c));
    return text;
}

std::wstring Lower(std::wstring text) {
    for (wchar_t& c : text) c = static_cast<wchar_t>(::towlower(c));
    return text;
}

// The names as given, in other cases, with white space around, and one that is nowhere.
std::vector<std::wstring> Variants(const std::vector<std::wstring>& names) {
    std::vector<std::wstring> all;
    for (const std::wstring& name : names) {
        all.push_back(name);
        all.push_back(Upper(name) == name ? Lower(name) : Upper(name));
        all.push_back(L"  " + name + L"\t");
    }
    all.push_back(L"nowhere");
    all.push_back(L"");
    return all;
}

const std::vector<std::wstring> kDefaults = {L"dflt", L"dflt   ", L"  ", L" ", L"", L"既定値", Repeat(L'd', 9000)};
const std::vector<DWORD> kBuffers = {IniSnapshot_CL::kStringUnits, 1, 2, 3, 8, 30};
const std::vector<int> kIntDefaults = {12345, -7, 0};

std::wstring ProfileString(const std::wstring& path, const std::wstring& section, const std::wstring& key,
                           const std::wstring& defaultValue, DWORD bufferUnits) {
    std::vector<wchar_t> buffer(bufferUnits + 1, L'\0');
    DWORD units = ::GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(), buffer.data(),
                                             bufferUnits, path.c_str());
    return std::wstring(buffer.data(), units);
}

// Reads every section and key of the case both ways; returns the number of reads compared.
int CompareEveryRead(const std::wstring& path, const FileCase& c) {
    const IniSnapshot_CL snapshot = IniSnapshot_CL::ReadFile(path);
    int reads = 0;
    for (const std::wstring& section : Variants(c.sections)) {
        for (const std::wstring& key : Variants(c.keys)) {
            SCOPED_TRACE(::testing::Message() << "[" << ::testing::PrintToString(section) << "] "
                                              << ::testing::PrintToString(key));
            // Held exactly when the file's value, not the default, comes back.
            EXPECT_EQ(snapshot.Holds(section, key),
                      ProfileString(path, section, key, L"\x01" L"a", 16) == ProfileString(path, section, key, L"\x01" L"b", 16));
            for (int defaultValue : kIntDefaults) {
                EXPECT_EQ(snapshot.GetInt(section, key, defaultValue),
                          static_cast<int>(::GetPrivateProfileIntW(section.c_str(), key.c_str(), defaultValue,
                                                                   path.c_str())))
                    << "integer, default " << defaultValue;
                ++reads;
            }
            for (DWORD buffer : kBuffers) {
                for (const std::wstring& defaultValue : kDefaults) {
                    // Every default in the player's buffer, every buffer with one default.
                    if (buffer != IniSnapshot_CL::kStringUnits && defaultValue != kDefaults.front()) continue;
                    const std::wstring expected = ProfileString(path, section, key, defaultValue, buffer);
                    const std::wstring got = snapshot.GetString(section, key, defaultValue, buffer);
                    if (expected != got) {
                        ADD_FAILURE() << "string, buffer " << buffer << ", default "
                                      << ::testing::PrintToString(defaultValue.substr(0, 12)) << ": profile "
                                      << ::testing::PrintToString(expected.substr(0, 80)) << " ("
                                      << expected.size() << "), snapshot "
                                      << ::testing::PrintToString(got.substr(0, 80)) << " (" << got.size() << ")";
                    }
                    ++reads;
                }
            }
        }
    }
    return reads;
}

std::vector<FileCase> Cases() {
    std::vector<FileCase> cases;
    cases.push_back({"settings as the player writes them",
                     Utf16File(L"[SETTING]\r\nduplicate_launch=1\r\nvolume=16\r\n[MOVIE]\r\nvolume=3\r\n"
                               L"[RESUME]\r\nlast_open_file_folder=C:\\動画\\アニメ\r\n"),
                     {L"SETTING", L"MOVIE", L"RESUME"},
                     {L"duplicate_launch", L"volume", L"last_open_file_folder"}});
    cases.push_back({"integer texts",
                     Utf16File(L"[I]\r\nletters=12abc\r\nspace= 7\r\nminus=-3\r\nplus=+5\r\nhex=0x10\r\n"
                               L"empty=\r\nblank=   \r\nword=abc\r\nmax32=4294967295\r\nwrap=4294967296\r\n"
                               L"big=99999999999\r\nmin=-2147483648\r\nover=2147483648\r\nsq='12'\r\n"
                               L"dq=\"-4\"\r\ngap=1 2\r\nwide=１２\r\ntab=\t9\r\nminusgap=- 5\r\nsigns=+-3\r\n"
                               L"zeros=00012\r\nlong=1234567890123456789012345678901234567890\r\n"
                               L"digits29=12345678901234567890123456789\r\ndigits30=123456789012345678901234567890\r\n"
                               L"quotedspace=' 8'\r\nbinary=0b11\r\noctal=0o17\r\ncontrol=\x01" L"5\r\n"
                               L"upperhex=0X10\r\nminushex=-0x10\r\nhexletters=0xfFz\r\nbadbinary=0b2\r\n"
                               L"justprefix=0x\r\nzero=0\r\nspacedhex= 0x1f\r\nhexover=0x100000001\r\n"),
                     {L"I"},
                     {L"letters", L"space", L"minus", L"plus", L"hex", L"empty", L"blank", L"word", L"max32",
                      L"wrap", L"big", L"min", L"over", L"sq", L"dq", L"gap", L"wide", L"tab", L"minusgap",
                      L"signs", L"zeros", L"long", L"digits29", L"digits30", L"quotedspace", L"binary", L"octal",
                      L"control", L"upperhex", L"minushex", L"hexletters", L"badbinary", L"justprefix", L"zero",
                      L"spacedhex", L"hexover"}});
    cases.push_back({"quotes and white space",
                     Utf16File(L"[Q]\r\nsingle='quoted'\r\ndouble=\"dq\"\r\nmixed='half\"\r\nlone='\r\n"
                               L"pair=''\r\ndpair=\"\"\r\nspaced=' inner '\r\ninner='a'b'\r\nopen='abc\r\n"
                               L"close=abc'\r\ntrail=value   \r\nlead=   value\r\ntabs=\tv\t\r\n"
                               L"equals=a=b=c\r\nsemi=x ; not a comment\r\njapanese=となりの映画　第１話\r\n"
                               L"ideographic=　全角　\r\nnbsp=\u00A0v\u00A0\r\nkey with spaces = v \r\n"
                               L"  indented  =  x  \r\nvt=\x0Bv\x0C\r\nfs=\x1Cv\x1F\r\nnel=\x85v\x85\r\n"
                               L"eof=\x1Av\x1A\r\nbom=\xFEFFv\r\nnul=a\x01z\r\n"),
                     {L"Q"},
                     {L"single", L"double", L"mixed", L"lone", L"pair", L"dpair", L"spaced", L"inner", L"open",
                      L"close", L"trail", L"lead", L"tabs", L"equals", L"semi", L"japanese", L"ideographic",
                      L"nbsp", L"key with spaces", L"indented", L"vt", L"fs", L"nel", L"eof", L"bom", L"nul"}});
    cases.push_back({"layout",
                     Utf16File(L"early=before any section\r\n[A]\r\nk=first\r\nk=second\r\nnoequals\r\n"
                               L";k2=commented\r\n#k3=hashed\r\n=novalue\r\n[B]\r\nb=1\r\n[A]\r\nk=third\r\n"
                               L"k4=only in the second A\r\n[ SPACED ]\r\ns=1\r\n[Mixed Case]\r\nm=2\r\n"
                               L"[BROKEN\r\nbroken=3\r\n[C]trailing\r\nc=4\r\n[D]]\r\nd=5\r\n[]\r\ne=6\r\n"
                               L"   \r\n\t\r\n[E] ; note\r\nf=7\r\nshadow\r\nshadow=8\r\n[\t TABBED\x0B]\r\nt=9\r\n"),
                     {L"A", L"B", L"SPACED", L" SPACED ", L"Mixed Case", L"BROKEN", L"C", L"D", L"D]", L"E",
                      L"E] ; note", L"TABBED"},
                     {L"early", L"k", L"noequals", L";k2", L"k2", L"#k3", L"k3", L"k4", L"b", L"s", L"m",
                      L"[BROKEN", L"broken", L"c", L"d", L"e", L"f", L"shadow", L"t"}});
    cases.push_back({"line ends",
                     Utf16File(L"[LF]\nlf=1\n[CR]\rcr=2\rcr2=3\r[END]\r\nlast=4\x1A"),
                     {L"LF", L"CR", L"END"},
                     {L"lf", L"cr", L"cr2", L"last"}});
    cases.push_back({"carriage returns only",
                     Utf16File(L"[CR]\rcr=2\rcr2=3\r"),
                     {L"CR"},
                     {L"cr", L"cr2"}});
    const std::wstring quotedLong = L"'" + Repeat(L'q', 8189) + L"'";
    cases.push_back({"long values",
                     Utf16File(L"[L]\r\nv8191=" + Repeat(L'a', 8191) + L"\r\nv8192=" + Repeat(L'b', 8192) +
                               L"\r\nv8193=" + Repeat(L'c', 8193) + L"\r\nv10000=" + Repeat(L'e', 10000) +
                               L"\r\nq8191=" + quotedLong + L"\r\nq8192=" + quotedLong + L"x'" + L"\r\nq8193='" +
                               Repeat(L'r', 8192) + L"'\r\nq8194='" + Repeat(L's', 8194) + L"'\r\n"),
                     {L"L"},
                     {L"v8191", L"v8192", L"v8193", L"v10000", L"q8191", L"q8192", L"q8193", L"q8194"}});
    cases.push_back({"UTF-8 with its mark",
                     Utf8File("[SETTING]\r\nvolume=9\r\n[RESUME]\r\nlast_open_file_folder="
                              "C:\\\xE5\x8B\x95\xE7\x94\xBB\r\n[\xE6\x97\xA5\xE6\x9C\xAC]\r\n"
                              "\xE3\x82\xAD\xE3\x83\xBC=\xE5\x80\xA4\r\n"),
                     {L"SETTING", L"RESUME", L"日本"},
                     {L"volume", L"last_open_file_folder", L"キー"}});
    cases.push_back({"UTF-16 big-endian",
                     Utf16BigEndianFile(L"[SETTING]\r\nvolume=11\r\ntitle=映画\r\n"),
                     {L"SETTING"},
                     {L"volume", L"title"}});
    // Shift-JIS bytes: read in the ANSI code page (932 on a Japanese system, as the tests run).
    cases.push_back({"single-byte",
                     std::string("[RESUME]\r\nlast_open_file_folder=C:\\\x83\x65\x83\x58\x83\x67\r\n"
                                 "[\x93\xfa\x96\x7b]\r\n\x83\x4c\x81\x5b=\x92\x6c\r\nvolume= 12 \r\n"),
                     {L"RESUME", L"日本"},
                     {L"last_open_file_folder", L"キー", L"volume"}});
    cases.push_back({"plain ASCII without a mark", std::string("[S]\nk=v\nn=42\n"), {L"S"}, {L"k", L"n"}});
    cases.push_back({"only the byte-order mark", std::string("\xFF\xFE", 2), {L"S"}, {L"k"}});
    cases.push_back({"empty", std::string(), {L"S"}, {L"k"}});
    return cases;
}

}  // namespace

TEST(IniSnapshot, GivesWhatTheProfileFunctionsGiveOnTheSameFiles) {
    TempFolder_CL folder;
    int fileIndex = 0;
    for (const FileCase& c : Cases()) {
        SCOPED_TRACE(c.name);
        // A file of its own per case: the profile functions keep what they read of a file.
        const std::wstring path = folder.Join(L"case" + std::to_wstring(fileIndex++) + L".ini");
        ASSERT_TRUE(WriteFileBytes(path, c.bytes));
        EXPECT_GT(CompareEveryRead(path, c), 0);
    }
}

TEST(IniSnapshot, AMissingFileGivesEveryDefault) {
    TempFolder_CL folder;
    const std::wstring path = folder.Join(L"missing.ini");
    const IniSnapshot_CL snapshot = IniSnapshot_CL::ReadFile(path);
    EXPECT_EQ(snapshot.GetInt(L"SETTING", L"volume", 16), 16);
    EXPECT_EQ(snapshot.GetString(L"SETTING", L"x", L"既定"), L"既定");
    EXPECT_FALSE(FileExists(path));  // reading creates nothing
    EXPECT_EQ(snapshot.GetString(L"SETTING", L"x", L"既定"),
              ProfileString(path, L"SETTING", L"x", L"既定", IniSnapshot_CL::kStringUnits));
}

TEST(IniSnapshot, ReadsBackWhatTheProfileFunctionsWrote) {
    TempFolder_CL folder;
    const std::wstring path = folder.Join(L"written.ini");
    Inifile_CL ini(path);
    const std::vector<std::wstring> texts = {L"plain", L"  padded  ", L"'quoted'", L"a=b", L"となりの映画　第１話",
                                             L"", L"-2147483648", L"; semicolon", Repeat(L'z', 9000)};
    for (size_t i = 0; i < texts.size(); ++i) ini.WriteString(L"WRITTEN", L"text" + std::to_wstring(i), texts[i]);
    ini.WriteInt(L"WRITTEN", L"negative", -17);
    ini.WriteHex64(L"WRITTEN", L"position", 0x123456789ALL);
    ini.Flush();

    const IniSnapshot_CL snapshot = IniSnapshot_CL::ReadFile(path);
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::wstring key = L"text" + std::to_wstring(i);
        SCOPED_TRACE(::testing::PrintToString(key));
        EXPECT_EQ(snapshot.GetString(L"WRITTEN", key, L"?"), ini.GetString(L"WRITTEN", key, L"?"));
    }
    EXPECT_EQ(snapshot.GetInt(L"WRITTEN", L"negative", 0), -17);
    EXPECT_EQ(Inifile_CL::ParseHex64(snapshot.GetString(L"WRITTEN", L"position", L""), 0), 0x123456789ALL);
}

TEST(IniSnapshot, IntegerTextsReadAsTheProfileFunctionsReadThem) {
    struct IntCase {
        const wchar_t* text;
        int value;
    };
    const IntCase cases[] = {
        {L"12abc", 12},       {L" 7", 7},         {L"-3", -3},        {L"+5", 5},
        {L"0x10", 16},        {L"0X10", 0},       {L"-0x10", -16},    {L"0b101", 5},
        {L"0o17", 15},        {L"0x", 0},         {L"0xfFz", 255},    {L"abc", 0},
        {L"4294967295", -1},  {L"4294967296", 0}, {L"- 5", 0},        {L"+-3", 0},
        {L"-2147483648", -2147483647 - 1},        {L"\t\x01 9", 9},
    };
    for (const IntCase& c : cases) {
        EXPECT_EQ(IniSnapshot_CL::ParseProfileInt(c.text), c.value) << ::testing::PrintToString(std::wstring(c.text));
    }
}
