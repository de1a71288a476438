#include "storage/OutputFolderChooser.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "fakes/MemoryFileSystem.h"
#include "fakes/RecordingMessageBoxes.h"
#include "fakes/TempFolder.h"

namespace {

namespace fs = std::filesystem;

class ScriptedBrowser : public IFolderBrowser {
public:
    explicit ScriptedBrowser(std::optional<std::string> answer) : Answer(std::move(answer)) {}
    std::optional<std::string> BrowseForFolder(const std::string& title) override {
        Titles.push_back(title);
        return Answer;
    }
    std::optional<std::string> Answer;
    std::vector<std::string> Titles;
};

class StorageSelectOutputFolder : public ::testing::Test {
protected:
    std::string Select(const std::string& current, std::optional<std::string> chosen) {
        ScriptedBrowser browser(std::move(chosen));
        const std::string result = SelectOutputFolder(current, browser, Files, Boxes);
        EXPECT_EQ(browser.Titles, std::vector<std::string>{"Please select output folder:"});
        return result;
    }
    void ExpectWarnings(const std::vector<std::string>& texts) {
        EXPECT_EQ(Boxes.Texts(), texts);
        for (const auto& box : Boxes.Shown) {
            EXPECT_EQ(box.caption, "Kestrava");
            EXPECT_EQ(box.icon, IMessageBoxes::Icon::Warning);
            EXPECT_EQ(box.buttons, IMessageBoxes::Buttons::Ok);
        }
    }

    TempFolder Folder;
    StdFileSystem Files;
    RecordingMessageBoxes Boxes;
};

TEST_F(StorageSelectOutputFolder, WritableFolderIsAcceptedAndTheProbeLeavesNothing) {
    const std::string chosen = Folder / "-Out \"x\" ü";
    fs::create_directory(chosen);
    EXPECT_EQ(Select(Folder / "current", chosen), chosen);
    EXPECT_TRUE(fs::is_empty(chosen));
    EXPECT_FALSE(fs::exists(Folder / "current"));  // the old folder is not made
    ExpectWarnings({});
}

TEST_F(StorageSelectOutputFolder, ExistingTestFolderIsLeftAloneEmptyOrNot) {
    for (const bool empty : {false, true}) {
        TempFolder folder;
        fs::create_directory(folder / "test");
        if (!empty) TempFolder::Write(folder / "test/keep.txt", "mine");
        EXPECT_EQ(Select("/unused", folder.Path().string()), folder.Path().string());
        EXPECT_TRUE(fs::is_directory(folder / "test")) << "empty: " << empty;
        if (!empty) {
            EXPECT_EQ(TempFolder::Read(folder / "test/keep.txt"), "mine");
        }
    }
    ExpectWarnings({});
}

TEST_F(StorageSelectOutputFolder, RefusedOrCancelledKeepsTheCurrentFolderAndMakesIt) {
    TempFolder::Write(Folder / "blocked", "");
    fs::create_directory(Folder / "ro");
    TempFolder::Write(Folder / "ro/test", "a file where the probe wants a folder");
    struct Case {
        std::optional<std::string> chosen;
        std::vector<std::string> warnings;
    };
    const Case cases[] = {
        {std::nullopt, {}},
        {Folder / "no such folder", {"The path is invalid."}},
        {Folder / "blocked", {"The path is invalid."}},
        {std::string(), {"The path is invalid."}},
        {Folder / "ro", {"This is a read-only path."}},
    };
    int n = 0;
    for (const Case& c : cases) {
        Boxes.Shown.clear();
        const std::string current = Folder / ("cur " + std::to_string(n++) + "/deep");
        EXPECT_EQ(Select(current, c.chosen), current);
        EXPECT_TRUE(fs::is_directory(current));
        ExpectWarnings(c.warnings);
    }
    EXPECT_EQ(TempFolder::Read(Folder / "ro/test"), "a file where the probe wants a folder");
    EXPECT_FALSE(fs::exists(Folder / "no such folder"));
}

TEST_F(StorageSelectOutputFolder, CurrentFolderThatCannotBeMadeIsStillReturned) {
    TempFolder::Write(Folder / "file", "");
    EXPECT_EQ(Select(Folder / "file/out", std::nullopt), Folder / "file/out");
    ExpectWarnings({});
}

// A read-only medium, in memory: the probe fails, the warning shows, no "test" is left behind.
TEST(StorageSelectOutputFolderMemory, ReadOnlyFolderUnderWindowsNaming) {
    MemoryFileSystem files('\\');
    files.AddFolder("E:\\");
    files.AddFolder("D:\\Out");
    files.ReadOnlyFolders.insert("E:");
    RecordingMessageBoxes boxes;
    ScriptedBrowser readOnly("E:\\");
    EXPECT_EQ(SelectOutputFolder("C:\\Kestrava Output Folder", readOnly, files, boxes, '\\'),
              "C:\\Kestrava Output Folder");
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"This is a read-only path."});
    EXPECT_TRUE(files.DirectoryExists("C:\\Kestrava Output Folder"));
    EXPECT_TRUE(files.ListFolder("E:\\").empty());

    ScriptedBrowser writable("D:\\Out");
    EXPECT_EQ(SelectOutputFolder("C:\\Kestrava Output Folder", writable, files, boxes, '\\'),
              "D:\\Out");
    EXPECT_TRUE(files.ListFolder("D:\\Out").empty());
}

}  // namespace
