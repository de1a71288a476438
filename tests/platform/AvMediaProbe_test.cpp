#include "platform/AvMediaProbe.h"

#include "platform/TestFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>

namespace fs = std::filesystem;

namespace {

// Clips made once with the ffmpeg program for the whole suite.
class PlatformMediaProbe : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        folder_ = std::make_unique<TestFolder>("kestrava-probe");
        Make("clip3.avi", "-f lavfi -i testsrc=duration=3:size=160x120:rate=10 -c:v mpeg4");
        Make("half.avi", "-f lavfi -i testsrc=duration=0.5:size=160x120:rate=10 -c:v mpeg4");
        Make("clip 'quoted\" naïve 映像.mp4",
             "-f lavfi -i testsrc=duration=7.5:size=160x120:rate=10 "
             "-f lavfi -i sine=duration=7.5 -c:v mpeg4 -c:a aac");
        Make("tone.mp3", "-f lavfi -i sine=duration=2.9 -c:a libmp3lame");
        std::string text;
        for (int i = 0; i < 1000; ++i) {
            text += "some notes about a video, one line of text\n";
        }
        folder_->WriteFile("notes.txt", text);  // libav would show it as 6 s of text video
        folder_->WriteFile("notes.avi", text);
        folder_->WriteFile("empty.avi", "");
    }
    static void TearDownTestSuite() { folder_.reset(); }

    static void Make(const std::string& name, const std::string& arguments) {
        const fs::path target = folder_->Path() / name;
        std::string quoted = "'";
        for (char c : target.string()) {
            quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
        }
        quoted += "'";
        const std::string command =
            "ffmpeg -nostdin -v error -y " + arguments + " " + quoted + " </dev/null";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        ASSERT_TRUE(fs::exists(target)) << name;
    }

    static std::string In(const std::string& name) { return (folder_->Path() / name).string(); }

    static std::unique_ptr<TestFolder> folder_;
};

std::unique_ptr<TestFolder> PlatformMediaProbe::folder_;

TEST_F(PlatformMediaProbe, DurationsInWholeSecondsCut) {
    AvMediaProbe probe;
    const std::vector<std::pair<std::string, std::int64_t>> cases = {
        {In("clip3.avi"), 3},
        {In("half.avi"), 0},
        {In("clip 'quoted\" naïve 映像.mp4"), 7},
        {In("tone.mp3"), 2},
    };
    for (const auto& [name, seconds] : cases) {
        EXPECT_EQ(probe.GetMediaDuration(name), seconds) << name;
    }
}

TEST_F(PlatformMediaProbe, WhatIsNoMediaGivesZero) {
    AvMediaProbe probe;
    const std::vector<std::string> names = {
        In("notes.txt"),
        In("notes.avi"),
        In("empty.avi"),
        In("missing.avi"),
        folder_->Path().string(),
        "",
    };
    for (const auto& name : names) {
        EXPECT_EQ(probe.GetMediaDuration(name), 0) << name;
    }
}

TEST_F(PlatformMediaProbe, NamesThatLookLikeAddressesAreFileNames) {
    // "pipe:3.avi" would otherwise name descriptor 3; as a file it is a copy of the 3 s clip.
    fs::copy_file(In("clip3.avi"), In("pipe:3.avi"));
    const fs::path before = fs::current_path();
    fs::current_path(folder_->Path());
    AvMediaProbe probe;
    const auto relative = probe.GetMediaDuration("pipe:3.avi");
    fs::current_path(before);
    EXPECT_EQ(relative, 3);
    EXPECT_EQ(probe.GetMediaDuration(In("pipe:3.avi")), 3);
}

}  // namespace
