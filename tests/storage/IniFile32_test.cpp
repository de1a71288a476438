#include "storage/IniFile32.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "storage/Errors.h"
#include "fakes/TempFolder.h"

namespace {

using Lines = std::vector<std::string>;

// One change applied to a file that starts with `before`; the file must then hold `after`.
struct WriteCase {
    const char* name;
    std::string before;  // kMissing: no file at all
    std::function<void(TIniFile32&)> change;
    std::string after;
};

const std::string kMissing = "<missing>";

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.name; }

class StorageIniWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(StorageIniWrite, WritesExactBytes) {
    const WriteCase& c = GetParam();
    TempFolder folder;
    const std::string file = folder / "UserSettings.ini";
    if (c.before != kMissing) TempFolder::Write(file, c.before);
    TIniFile32 ini(file);
    c.change(ini);
    EXPECT_EQ(TempFolder::Read(file), c.after);
    // What was written reads back as the same lines.
    EXPECT_EQ(TIniFile32(file).Lines(), ini.Lines());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StorageIniWrite,
    ::testing::Values(
        WriteCase{"NewFileGetsEmptyLineHeaderAndKey", kMissing,
                  [](TIniFile32& ini) { ini.WriteString("USRInfo", "OutDir", "D:\\Out"); },
                  "\r\n[USRInfo]\r\nOutDir=D:\\Out\r\n"},
        WriteCase{"SecondKeyGoesAfterTheFirst", "\r\n[USRInfo]\r\nOutDir=D:\\Out\r\n",
                  [](TIniFile32& ini) { ini.WriteString("USRInfo", "SHUTDOWN", "1"); },
                  "\r\n[USRInfo]\r\nOutDir=D:\\Out\r\nSHUTDOWN=1\r\n"},
        WriteCase{"NewSectionAppendedAfterEmptyLine", "\r\n[USRInfo]\r\nOutDir=D:\\Out\r\n",
                  [](TIniFile32& ini) { ini.WriteString("Other", "k", "v"); },
                  "\r\n[USRInfo]\r\nOutDir=D:\\Out\r\n\r\n[Other]\r\nk=v\r\n"},
        WriteCase{"NewKeyGoesDirectlyBeforeNextHeader", "\r\n[A]\r\nA=1\r\n\r\n[B]\r\nB=2\r\n",
                  [](TIniFile32& ini) { ini.WriteString("A", "C", "3"); },
                  "\r\n[A]\r\nA=1\r\n\r\nC=3\r\n[B]\r\nB=2\r\n"},
        WriteCase{"ExistingKeyLineReplacedWhole", "[A]\r\n  k = old \r\nz=1\r\n",
                  [](TIniFile32& ini) { ini.WriteString("A", "k", " new "); },
                  "[A]\r\nk= new \r\nz=1\r\n"},
        WriteCase{"HeaderFoundWithoutCaseKeyNotFound", "[usrinfo]\r\noutdir=x\r\n",
                  [](TIniFile32& ini) { ini.WriteString("USRInfo", "OutDir", "y"); },
                  "[usrinfo]\r\noutdir=x\r\nOutDir=y\r\n"},
        WriteCase{"BlankBeforeHeaderMeansNewSection", " [USRInfo]\r\nOutDir=x\r\n",
                  [](TIniFile32& ini) { ini.WriteString("USRInfo", "OutDir", "y"); },
                  " [USRInfo]\r\nOutDir=x\r\n\r\n[USRInfo]\r\nOutDir=y\r\n"},
        WriteCase{"EmptyKeyToMissingSectionWritesOnlyHeader", kMissing,
                  [](TIniFile32& ini) { ini.WriteString("S", "", "v"); }, "\r\n[S]\r\n"},
        WriteCase{"EmptyKeyToExistingSectionStillSaves", "[S]\nk=v",
                  [](TIniFile32& ini) { ini.WriteString("S", "", "v"); }, "[S]\r\nk=v\r\n"},
        WriteCase{"CommentLikeLineIsAKey", "[S]\r\n;x=1\r\n",
                  [](TIniFile32& ini) { ini.WriteString("S", ";x", "2"); }, "[S]\r\n;x=2\r\n"},
        WriteCase{"WriteIntegerIsDecimal", kMissing,
                  [](TIniFile32& ini) { ini.WriteInteger("S", "n", -42); }, "\r\n[S]\r\nn=-42\r\n"},
        WriteCase{"EraseExample", "\r\n[A]\r\nA=1\r\n\r\n[B]\r\nB=2\r\n",
                  [](TIniFile32& ini) { ini.EraseSection("A"); }, "\r\n\r\n[B]\r\nB=2\r\n"},
        WriteCase{"EraseOnlySectionAtTopLeavesEmptyFile", "[A]\r\nA=1\r\n\r\nnoise\r\n",
                  [](TIniFile32& ini) { ini.EraseSection("a"); }, ""},
        WriteCase{"EraseLastSectionKeepsOneEmptyLine", "[A]\r\nA=1\r\n[B]\r\nB=2\r\n",
                  [](TIniFile32& ini) { ini.EraseSection("B"); }, "[A]\r\nA=1\r\n\r\n"},
        WriteCase{"EraseMissingSectionSavesNothing", "[A]\nA=1",
                  [](TIniFile32& ini) { ini.EraseSection("B"); }, "[A]\nA=1"}),
    [](const ::testing::TestParamInfo<WriteCase>& info) { return std::string(info.param.name); });

TEST(StorageIniRead, SplitsAtEveryLineBreakAndStopsAtNul) {
    struct Case {
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {"a"}},
        {"a\r\nb\r\n", {"a", "b"}},
        {"a\rb\nc\r\n\r\nd", {"a", "b", "c", "", "d"}},
        {"\n\r", {"", ""}},
        {"\r\r\n", {"", ""}},
        {std::string("[S]\r\nk=1\0\r\nj=2\r\n", 16), {"[S]", "k=1"}},
        {std::string("\0abc", 4), {}},
    };
    TempFolder folder;
    const std::string file = folder / "a.ini";
    for (const Case& c : cases) {
        TempFolder::Write(file, c.bytes);
        EXPECT_EQ(TIniFile32(file).Lines(), c.lines) << testing::PrintToString(c.bytes);
    }
}

TEST(StorageIniRead, ValuesFollowTheEngineRules) {
    TempFolder folder;
    const std::string file = folder / "a.ini";
    TempFolder::Write(file,
                      "top=0\r\n"
                      "[usrinfo]\r\n"
                      "  OutDir =  D:\\Out  \r\n"
                      "OutDir=second\r\n"
                      "Empty=\r\n"
                      "   \r\n"
                      "noequals\r\n"
                      "ü=umlaut \xE2\x80\x83\r\n"
                      "[Next]\r\n"
                      "Next=1\r\n");
    const TIniFile32 ini(file);
    struct Case {
        const char* section;
        const char* key;
        const char* expected;
    };
    const Case cases[] = {
        {"USRInfo", "OutDir", "D:\\Out"},     // header without case, first key line only
        {"USRInfo", "outdir", "def"},         // keys keep their case
        {"USRInfo", "Empty", "def"},          // empty value reads as the default
        {"USRInfo", "", "def"},               // an empty key never yields a value
        {"USRInfo", "Next", "def"},           // the next section is not scanned
        {"USRInfo", "ü", "umlaut \xE2\x80\x83"},  // bytes above 127 are not trimmed
        {"Next", "Next", "1"},
        {"Missing", "Next", "def"},
        {"", "top", "def"},  // lines before the first header belong to no section
    };
    for (const Case& c : cases)
        EXPECT_EQ(ini.ReadString(c.section, c.key, "def"), c.expected)
            << c.section << "/" << c.key;
}

TEST(StorageIniRead, BlankPaddedHeaderIsListedButNeverFound) {
    TempFolder folder;
    const std::string file = folder / "a.ini";
    TempFolder::Write(file, " [USRInfo]\r\nOutDir=x\r\n[ Two ]\r\n[]\r\n   \r\n[Two]\r\n\t[USRInfo] \r\n");
    const TIniFile32 ini(file);
    EXPECT_EQ(ini.ReadString("USRInfo", "OutDir", "def"), "def");
    std::vector<std::string> sections{"stale"};
    ini.ReadSections(sections);
    EXPECT_EQ(sections, (Lines{"USRInfo", "Two", "", "Two", "USRInfo"}));
}

TEST(StorageIniRead, ReadIntegerAcceptsDecimalAndHexOnly) {
    struct Case {
        const char* line;
        int expected;
    };
    const Case cases[] = {
        {"n=0x1A", 26},           {"n = 0x1A ", 26},        {"n=0X1a", 26},
        {"n=$ff", 255},           {"n=-$10", -16},          {"n=+7", 7},
        {"n=-12", -12},           {"n=007", 7},             {"n=2147483647", 2147483647},
        {"n=-2147483648", -2147483647 - 1},                 {"n=0x7FFFFFFF", 2147483647},
        {"n=12abc", -5},          {"n=", -5},               {"n=2147483648", -5},
        {"n=-2147483649", -5},    {"n=0x80000000", -5},     {"n=0x", -5},
        {"n=$", -5},              {"n=-", -5},              {"n=1 2", -5},
        {"n=1.5", -5},            {"n=-0x10", -5},          {"n=99999999999999999999", -5},
    };
    TempFolder folder;
    const std::string file = folder / "a.ini";
    for (const Case& c : cases) {
        TempFolder::Write(file, std::string("[S]\r\n") + c.line + "\r\n");
        EXPECT_EQ(TIniFile32(file).ReadInteger("S", "n", -5), c.expected) << c.line;
    }
}

TEST(StorageIniRead, MissingFileReadsAsEmptyAndCreatesNothing) {
    TempFolder folder;
    const std::string file = folder / "none.ini";
    const TIniFile32 ini(file);
    EXPECT_TRUE(ini.Lines().empty());
    EXPECT_EQ(ini.ReadString("S", "k", "def"), "def");
    EXPECT_EQ(ini.ReadInteger("S", "k", 3), 3);
    std::vector<std::string> sections{"stale"};
    ini.ReadSections(sections);
    EXPECT_TRUE(sections.empty());
    EXPECT_FALSE(std::filesystem::exists(file));
}

TEST(StorageIniRead, UnreadableFileFailsTheConstructor) {
    TempFolder folder;
    std::filesystem::create_directory(folder / "dir.ini");
    EXPECT_THROW(TIniFile32(folder / "dir.ini"), FileError);
}

// The save goes through a temporary file renamed over the old one.
TEST(StorageIniSave, LeavesOnlyTheFileWithExactBytes) {
    TempFolder folder;
    const std::string file = folder / "p q 'x' -ü.ini";
    TempFolder::Write(file, std::string(5000, 'x'));
    TIniFile32 ini(file);
    ini.WriteString("S", "k", "v");
    EXPECT_EQ(TempFolder::Read(file), std::string(5000, 'x') + "\r\n\r\n[S]\r\nk=v\r\n");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
        names.push_back(entry.path().filename().string());
    EXPECT_EQ(names, Lines{"p q 'x' -ü.ini"});
}

TEST(StorageIniSave, FailureReachesCallerAndKeepsTheChangeInMemory) {
    TempFolder folder;
    TempFolder::Write(folder / "file", "not a folder");
    const std::string paths[] = {folder / "Config/UserSettings.ini",
                                 folder / "file/UserSettings.ini"};
    for (const std::string& path : paths) {
        TIniFile32 ini(path);
        try {
            ini.WriteString("USRInfo", "OutDir", "x");
            ADD_FAILURE() << "no error for " << path;
        } catch (const FileError& error) {
            EXPECT_NE(std::string(error.what()).find("\"" + path + "\""), std::string::npos)
                << error.what();
        }
        EXPECT_EQ(ini.Lines(), (Lines{"", "[USRInfo]", "OutDir=x"}));
        EXPECT_EQ(ini.ReadString("USRInfo", "OutDir", ""), "x");
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "Config"));
    EXPECT_EQ(TempFolder::Read(folder / "file"), "not a folder");
}

}  // namespace
