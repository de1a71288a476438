#include "storage/FileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>

#include "fakes/TempFolder.h"
#include "storage/Errors.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> NamesIn(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// The message names the file, so the user knows which one failed.
void ExpectFileErrorNaming(const std::function<void()>& action, const std::string& path) {
    try {
        action();
        ADD_FAILURE() << "no FileError for " << path;
    } catch (const FileError& error) {
        EXPECT_NE(std::string(error.what()).find("\"" + path + "\""), std::string::npos)
            << error.what();
    }
}

TEST(StorageStdFileSystem, ReplaceFileWritesExactBytesAndLeavesNoTemporaryFile) {
    TempFolder folder;
    StdFileSystem files;
    const std::string path = folder / "-a \"b\" ü.ini";
    const std::string contents[] = {std::string("x\0y\r\n\xff", 6), "", "short"};
    TempFolder::Write(path, std::string(10000, 'o'));
    fs::permissions(path, fs::perms::owner_read | fs::perms::owner_write);
    for (const std::string& bytes : contents) {
        files.ReplaceFile(path, bytes);
        EXPECT_EQ(TempFolder::Read(path), bytes);
        EXPECT_EQ(NamesIn(folder.Path()), std::vector<std::string>{"-a \"b\" ü.ini"});
    }
    EXPECT_EQ(fs::status(path).permissions(), fs::perms::owner_read | fs::perms::owner_write);
}

TEST(StorageStdFileSystem, ReplaceFileFailureNamesTheFileAndLeavesNothingBehind) {
    TempFolder folder;
    StdFileSystem files;
    TempFolder::Write(folder / "plain", "keep");
    fs::create_directory(folder / "dir.ini");
    TempFolder::Write(folder / "dir.ini/inside", "keep too");
    const std::string targets[] = {folder / "Config/UserSettings.ini",  // missing folder
                                   folder / "plain/UserSettings.ini",   // parent is a file
                                   folder / "dir.ini"};                 // target is a folder
    for (const std::string& target : targets)
        ExpectFileErrorNaming([&] { files.ReplaceFile(target, "new"); }, target);
    EXPECT_EQ(NamesIn(folder.Path()), (std::vector<std::string>{"dir.ini", "plain"}));
    EXPECT_EQ(NamesIn(folder.Path() / "dir.ini"), std::vector<std::string>{"inside"});
    EXPECT_EQ(TempFolder::Read(folder / "plain"), "keep");
}

TEST(StorageStdFileSystem, AppendFileCreatesThenAppends) {
    TempFolder folder;
    StdFileSystem files;
    const std::string path = folder / "log.txt";
    files.AppendFile(path, "one\r\n");
    files.AppendFile(path, std::string("t\0o\r\n", 5));
    EXPECT_EQ(TempFolder::Read(path), std::string("one\r\nt\0o\r\n", 10));
    ExpectFileErrorNaming([&] { files.AppendFile(folder / "missing/log.txt", "x"); },
                          folder / "missing/log.txt");
}

TEST(StorageStdFileSystem, ReadFileTellsMissingFromUnreadable) {
    TempFolder folder;
    StdFileSystem files;
    TempFolder::Write(folder / "f", std::string("a\0b", 3));
    EXPECT_EQ(files.ReadFile(folder / "f"), std::string("a\0b", 3));
    EXPECT_EQ(files.ReadFile(folder / "none"), std::nullopt);
    ExpectFileErrorNaming([&] { (void)files.ReadFile(folder.Path().string()); },
                          folder.Path().string());
}

TEST(StorageStdFileSystem, FoldersAndEntries) {
    TempFolder folder;
    StdFileSystem files;
    files.CreateDirectories(folder / "a/b c/d");
    files.CreateDirectories(folder / "a/b c/d");  // existing: no error
    TempFolder::Write(folder / "a/file", "12345");
    fs::create_directory_symlink(folder / "a/b c", folder / "a/link");

    EXPECT_TRUE(files.DirectoryExists(folder / "a/b c/d"));
    EXPECT_FALSE(files.DirectoryExists(folder / "a/file"));
    EXPECT_TRUE(files.FileExists(folder / "a/file"));
    EXPECT_FALSE(files.FileExists(folder / "a"));
    EXPECT_FALSE(files.FileExists(folder / "none"));
    EXPECT_EQ(files.FileSize(folder / "a/file"), 5);
    EXPECT_THROW((void)files.FileSize(folder / "none"), FileError);
    ExpectFileErrorNaming([&] { files.CreateDirectories(folder / "a/file/sub"); },
                          folder / "a/file/sub");

    auto entries = files.ListFolder(folder / "a");
    std::sort(entries.begin(), entries.end(),
              [](const auto& x, const auto& y) { return x.name < y.name; });
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].name, "b c");
    EXPECT_TRUE(entries[0].plainDirectory);
    EXPECT_EQ(entries[1].name, "file");
    EXPECT_FALSE(entries[1].plainDirectory);
    EXPECT_EQ(entries[2].name, "link");
    EXPECT_FALSE(entries[2].plainDirectory);
    EXPECT_TRUE(files.ListFolder(folder / "none").empty());

    EXPECT_FALSE(files.RemoveDirectory(folder / "a/b c"));  // not empty
    EXPECT_FALSE(files.RemoveDirectory(folder / "a/file"));
    EXPECT_FALSE(files.RemoveDirectory(folder / "a/link"));
    EXPECT_TRUE(files.RemoveDirectory(folder / "a/b c/d"));
    EXPECT_FALSE(files.DirectoryExists(folder / "a/b c/d"));
    EXPECT_FALSE(files.RemoveDirectory(folder / "a/b c/d"));
}

}  // namespace
