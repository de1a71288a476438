#include "fakes/MemoryFileSystem.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

std::vector<std::string> Names(const std::vector<IFileSystem::Entry>& entries) {
    std::vector<std::string> names;
    for (const auto& entry : entries) names.push_back(entry.name + (entry.plainDirectory ? "/" : ""));
    std::sort(names.begin(), names.end());
    return names;
}

TEST(StorageMemoryFileSystem, WindowsNamingFoldersAndFiles) {
    MemoryFileSystem files('\\');
    files.CreateDirectories("C:\\Out\\Sub\\");
    files.AddFile("C:\\Out\\clip.mp4", "12345");
    EXPECT_TRUE(files.DirectoryExists("C:\\"));
    EXPECT_TRUE(files.DirectoryExists("C:\\Out"));
    EXPECT_TRUE(files.DirectoryExists("C:\\Out\\"));
    EXPECT_FALSE(files.DirectoryExists("C:\\Out\\clip.mp4"));
    EXPECT_TRUE(files.FileExists("C:\\Out\\clip.mp4"));
    EXPECT_FALSE(files.FileExists("C:\\Out\\Sub"));
    EXPECT_EQ(files.FileSize("C:\\Out\\clip.mp4"), 5);
    EXPECT_EQ(Names(files.ListFolder("C:\\Out\\")), (std::vector<std::string>{"Sub/", "clip.mp4"}));
    EXPECT_EQ(Names(files.ListFolder("C:")), std::vector<std::string>{"Out/"});
    EXPECT_THROW(files.CreateDirectories("C:\\Out\\clip.mp4\\x"), FileError);

    EXPECT_FALSE(files.RemoveDirectory("C:\\Out"));  // not empty
    EXPECT_TRUE(files.RemoveDirectory("C:\\Out\\Sub"));
    EXPECT_FALSE(files.DirectoryExists("C:\\Out\\Sub"));
}

TEST(StorageMemoryFileSystem, WritesNeedAnExistingWritableFolder) {
    MemoryFileSystem files;
    files.AddFolder("/p");
    files.ReplaceFile("/p/a.ini", "one");
    files.ReplaceFile("/p/a.ini", "two");
    files.AppendFile("/p/log.txt", "a");
    files.AppendFile("/p/log.txt", "b");
    EXPECT_EQ(files.ReadFile("/p/a.ini"), "two");
    EXPECT_EQ(files.ReadFile("/p/log.txt"), "ab");
    EXPECT_EQ(files.ReadFile("/p/none"), std::nullopt);
    EXPECT_THROW((void)files.ReadFile("/p"), FileError);
    EXPECT_THROW(files.ReplaceFile("/q/a.ini", "x"), FileError);
    EXPECT_THROW(files.AppendFile("/q/log.txt", "x"), FileError);
    EXPECT_THROW(files.ReplaceFile("/p", "x"), FileError);

    files.ReadOnlyFolders.insert("/p");
    EXPECT_THROW(files.ReplaceFile("/p/a.ini", "x"), FileError);
    EXPECT_THROW(files.CreateDirectories("/p/test"), FileError);
    files.AppendFile("/p/log.txt", "c");  // an existing file stays writable
    EXPECT_THROW(files.AppendFile("/p/new.txt", "x"), FileError);
    EXPECT_EQ(files.ReadFile("/p/a.ini"), "two");
    EXPECT_EQ(files.ReadFile("/p/log.txt"), "abc");
    EXPECT_EQ(Names(files.ListFolder("/")), std::vector<std::string>{"p/"});
}

}  // namespace
