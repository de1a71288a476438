#include "storage/AppFunc.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/FakeLogClock.h"
#include "fakes/MemoryFileSystem.h"
#include "fakes/TempFolder.h"
#include "storage/Errors.h"

namespace {

TEST(StorageWriteLog, CreatesThenAppendsLinesInTheLogLayout) {
    TempFolder folder;
    FakeLogClock clock("14.05.2024", "9:05:07 PM");
    const TAppFunc app(folder.Slash(), DefaultFileSystem(), clock);
    EXPECT_EQ(app.GetAppPath(), folder.Slash());
    const std::string log = folder / "log.txt";
    ASSERT_FALSE(std::filesystem::exists(log));

    app.WriteLog("parameter: a|b \"c\" ü");
    EXPECT_EQ(TempFolder::Read(log), "Dunmarrow 14.05.2024 9:05:07 PM|parameter: a|b \"c\" ü\r\n");
    clock.Time = "9:05:08 PM";
    app.WriteLog("");
    EXPECT_EQ(TempFolder::Read(log),
              "Dunmarrow 14.05.2024 9:05:07 PM|parameter: a|b \"c\" ü\r\n"
              "Dunmarrow 14.05.2024 9:05:08 PM|\r\n");
    EXPECT_EQ(clock.DateReads, 2);
    EXPECT_EQ(clock.TimeReads, 2);
}

TEST(StorageWriteLog, NeverEmptiesAnExistingLog) {
    TempFolder folder;
    FakeLogClock clock("d", "t");
    TempFolder::Write(folder / "log.txt", "old line without break");
    TAppFunc(folder.Path().string(), DefaultFileSystem(), clock).WriteLog("new");
    EXPECT_EQ(TempFolder::Read(folder / "log.txt"), "old line without breakDunmarrow d t|new\r\n");
}

TEST(StorageWriteLog, FailureReachesTheCaller) {
    TempFolder folder;
    FakeLogClock clock;
    const TAppFunc missing(folder / "gone/", DefaultFileSystem(), clock);
    EXPECT_THROW(missing.WriteLog("x"), FileError);
    std::filesystem::create_directory(folder / "log.txt");  // the log's name taken by a folder
    EXPECT_THROW(TAppFunc(folder.Slash(), DefaultFileSystem(), clock).WriteLog("x"), FileError);
}

TEST(StorageWriteLog, OneAppendPerLineUnderAnyNaming) {
    MemoryFileSystem files('\\');
    files.AddFolder("C:\\Tools\\Conv\\");
    FakeLogClock clock("d", "t");
    const TAppFunc app("C:\\Tools\\Conv\\", files, clock);
    app.WriteLog("one");
    app.WriteLog("two");
    EXPECT_EQ(files.AppendCount, 2);
    EXPECT_EQ(files.Files.at("C:\\Tools\\Conv\\log.txt"), "Dunmarrow d t|one\r\nDunmarrow d t|two\r\n");
}

TEST(StorageLocaleLogClock, GivesNonEmptyDateAndTime) {
    const LocaleLogClock clock;
    EXPECT_FALSE(clock.ShortDate().empty());
    EXPECT_FALSE(clock.LongTime().empty());
    EXPECT_EQ(clock.LongTime().find('|'), std::string::npos);
}

}  // namespace
