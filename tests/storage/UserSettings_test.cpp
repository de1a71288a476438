#include "storage/UserSettings.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/MemoryCheckBox.h"
#include "fakes/MemoryFileSystem.h"
#include "fakes/MemoryTextBox.h"
#include "fakes/TempFolder.h"
#include "storage/Errors.h"

namespace {

const std::string kDefaultOutput = "/home/u/Kestrava Output Folder";

// A program folder with its Config folder, as the build makes it.
class StorageUserSettings : public ::testing::Test {
protected:
    StorageUserSettings() { std::filesystem::create_directory(Folder / "Config"); }
    std::string Ini() const { return Folder / "Config/UserSettings.ini"; }

    TempFolder Folder;
    MemoryCheckBox Show{true};  // the window's own design ticks it
    MemoryCheckBox Shutdown{true};
    MemoryTextBox Output{kDefaultOutput};
};

TEST_F(StorageUserSettings, FirstStartGivesTheDefaults) {
    const TUserSettings settings(Folder.Slash());
    settings.LoadUserSettings(Show, Shutdown, Output);
    EXPECT_FALSE(Show.Value);
    EXPECT_FALSE(Shutdown.Value);
    EXPECT_EQ(Output.Value, kDefaultOutput);
    EXPECT_EQ(settings.ReadInitDir("/home/u/"), "/home/u/");
    EXPECT_FALSE(std::filesystem::exists(Ini()));
}

TEST_F(StorageUserSettings, OnlyTheValueOneTicksABox) {
    struct Case {
        const char* value;
        bool ticked;
    };
    const Case cases[] = {{"1", true},   {" 1 ", true}, {"true", false}, {"01", false},
                          {"0", false},  {"", false},   {"yes", false}};
    for (const Case& c : cases) {
        TempFolder::Write(Ini(), std::string("[USRInfo]\r\nSHWDDir=") + c.value +
                                     "\r\nSHUTDOWN=" + c.value + "\r\n");
        Show.Value = Shutdown.Value = !c.ticked;
        TUserSettings(Folder.Slash()).LoadUserSettings(Show, Shutdown, Output);
        EXPECT_EQ(Show.Value, c.ticked) << c.value;
        EXPECT_EQ(Shutdown.Value, c.ticked) << c.value;
    }
    EXPECT_EQ(Output.Value, kDefaultOutput);  // no OutDir: the box keeps its text
}

TEST_F(StorageUserSettings, FirstCloseWritesTheThreeKeysAndRoundTrips) {
    TUserSettings settings(Folder.Slash());
    Shutdown.Value = false;
    Output.Value = "/media/d/Out 'x' ü";
    settings.SaveUserSettings(Show, Shutdown, Output);
    EXPECT_EQ(TempFolder::Read(Ini()),
              "\r\n[USRInfo]\r\nSHWDDir=1\r\nSHUTDOWN=0\r\nOutDir=/media/d/Out 'x' ü\r\n");

    MemoryCheckBox show, shutdown(true);
    MemoryTextBox output(kDefaultOutput);
    TUserSettings(Folder.Slash()).LoadUserSettings(show, shutdown, output);
    EXPECT_TRUE(show.Value);
    EXPECT_FALSE(shutdown.Value);
    EXPECT_EQ(output.Value, "/media/d/Out 'x' ü");
}

TEST_F(StorageUserSettings, InitDirComesFirstWhenFilesWereAddedBeforeClosing) {
    TUserSettings settings(Folder.Slash());
    settings.SaveInitDir("/media/clips/a b.mp4");
    settings.SaveInitDir("/media/clips/a b.mp4");  // written twice after an add, same value
    settings.SaveInitDir("no folder part.mp4");     // stores nothing
    Show.Value = false;
    settings.SaveUserSettings(Show, Shutdown, Output);
    EXPECT_EQ(TempFolder::Read(Ini()),
              "\r\n[USRInfo]\r\nInitDir=/media/clips/\r\nSHWDDir=0\r\nSHUTDOWN=1\r\nOutDir=" +
                  kDefaultOutput + "\r\n");
    EXPECT_EQ(settings.ReadInitDir("/home/u/"), "/media/clips/");
}

TEST_F(StorageUserSettings, EachWriteSavesTheWholeFile) {
    MemoryFileSystem files;
    files.AddFolder("/opt/kestrava/Config");
    TUserSettings settings("/opt/kestrava/", files);
    settings.SaveUserSettings(Show, Shutdown, Output);
    EXPECT_EQ(files.ReplaceCount, 3);
    settings.SaveInitDir("");  // no file chosen yet: nothing written
    EXPECT_EQ(files.ReplaceCount, 3);
    settings.SaveInitDir("D:\\Clips\\x.avi", '\\');
    EXPECT_EQ(files.ReplaceCount, 4);
    EXPECT_EQ(settings.ReadInitDir("/"), "D:\\Clips\\");
}

TEST_F(StorageUserSettings, MissingConfigFolderMakesSaveFailAndIsNeverCreated) {
    std::filesystem::remove(Folder / "Config");
    TUserSettings settings(Folder.Slash());
    EXPECT_THROW(settings.SaveUserSettings(Show, Shutdown, Output), FileError);
    EXPECT_THROW(settings.SaveInitDir("/media/a.mp4"), FileError);
    EXPECT_FALSE(std::filesystem::exists(Folder / "Config"));
}

TEST_F(StorageUserSettings, CorruptFileLoadsWhatItCanAndSaveKeepsTheRest) {
    TempFolder::Write(Ini(), std::string("garbage\r[USRInfo]\nOutDir = /x \0[rest", 40));
    TUserSettings settings(Folder.Slash());
    settings.LoadUserSettings(Show, Shutdown, Output);
    EXPECT_EQ(Output.Value, "/x");
    settings.SaveUserSettings(Show, Shutdown, Output);
    EXPECT_EQ(TempFolder::Read(Ini()),
              "garbage\r\n[USRInfo]\r\nOutDir=/x\r\nSHWDDir=0\r\nSHUTDOWN=0\r\n");
}

}  // namespace
