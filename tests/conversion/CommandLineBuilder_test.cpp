#include <gtest/gtest.h>

#include <filesystem>

#include "conversion/CommandLineQuoting.h"
#include "fakes/ConversionRig.h"
#include "fakes/MemoryFileSystem.h"
#include "fakes/TempFolder.h"
#include "storage/Errors.h"

namespace {

const char* const kMp4Line =
    "C:\\Tools\\Conv\\favc.exe -y -i \"D:\\Video\\clip.avi\" -vcodec mpeg4 -acodec aac -b 128 "
    "-s 320x240 -r 15 -aspect 4:3 -ab 128 -vol 100 -ac 2 -ar 44100 -ss 00:00:10 -t 90 "
    "\"D:\\Out\\clip.mp4\"";

// The four worked command lines, character for character, under Windows naming.
class ConversionWorkedExamples : public ::testing::Test {
protected:
    ConversionWorkedExamples() : fs('\\'), rig("C:\\Tools\\Conv\\", WindowsNaming(), fs, "D:\\Out") {
        fs.AddFolder("C:\\Tools\\Conv");
        fs.AddFolder("D:\\Video");
        rig.SelectExampleOptions();
        rig.list.AddFile("D:\\Video\\clip.avi", "00:02:00", "00:00:10", "00:01:40");
        rig.list.AddFile("D:\\Video\\show.rmvb", "00:02:00", "00:00:10", "00:01:40");
    }
    std::string Build(int outputType, const std::string& file) {
        rig.sel.outputType.SetItemIndex(outputType);
        return rig.proc.BuildConvertParameter(file);
    }

    MemoryFileSystem fs;
    ConversionRig rig;
};

TEST_F(ConversionWorkedExamples, Mp4) {
    EXPECT_EQ(Build(0, "D:\\Video\\clip.avi"), kMp4Line);
    EXPECT_EQ(rig.proc.SegmentStart, "00:00:10");
    EXPECT_EQ(rig.proc.SegmentLength, "90");
    EXPECT_TRUE(fs.DirectoryExists("D:\\Out"));
    EXPECT_EQ(*fs.ReadFile("C:\\Tools\\Conv\\log.txt"),
              "Dunmarrow 2024-05-14 09:05:07|Output directory D:\\Out\\\r\n");
}

TEST_F(ConversionWorkedExamples, Mov) {
    EXPECT_EQ(Build(1, "D:\\Video\\clip.avi"),
              "C:\\Tools\\Conv\\favc.exe -y -i \"D:\\Video\\clip.avi\" -vcodec mpeg4 -acodec aac "
              "-b 128 -s 320x240 -r 15 -aspect 4:3 -ab 128 -vol 100 -ac 2 -ar 44100 -f mov "
              "-ss 00:00:10 -t 90 \"D:\\Out\\clip.mov\"");
}

TEST_F(ConversionWorkedExamples, Mp3) {
    EXPECT_EQ(Build(4, "D:\\Video\\clip.avi"),
              "C:\\Tools\\Conv\\favc.exe -y -i \"D:\\Video\\clip.avi\" -acodec mp3 -vn -ab 128 "
              "-vol 100 -ac 2 -ar 44100 -ss 00:00:10 -t 90 \"D:\\Out\\clip.mp3\"");
}

TEST_F(ConversionWorkedExamples, RealMediaGoesThroughTheScript) {
    EXPECT_EQ(Build(0, "D:\\Video\\show.rmvb"),
              "C:\\Tools\\Conv\\ravc.exe -y -i \"C:\\Tools\\Conv\\VideoFile.avs\" -vcodec mpeg4 "
              "-acodec aac -b 128 -s 320x240 -r 15 -aspect 4:3 -ab 128 -vol 100 -ac 2 -ar 44100 "
              "-ss 00:00:10 -t 90 \"D:\\Out\\show.mp4\"");
    EXPECT_EQ(*fs.ReadFile("C:\\Tools\\Conv\\VideoFile.avs"),
              "DirectShowSource(\"D:\\Video\\show.rmvb\", fps=29.9700898503294, convertfps=true)\r\n");
    EXPECT_EQ(rig.lib.ConvertParam.InputFile, "C:\\Tools\\Conv\\VideoFile.avs");
    EXPECT_EQ(rig.lib.ConvertParam.ExePath, "C:\\Tools\\Conv\\ravc.exe");
}

TEST_F(ConversionWorkedExamples, ScriptNamesEverySourceAndCapitalRmIsNotRealMedia) {
    rig.list.AddFile("D:\\Video\\old.RM", "00:02:00", "00:00:10", "00:01:40");
    const std::string line = Build(0, "D:\\Video\\old.RM");
    EXPECT_EQ(line.rfind("C:\\Tools\\Conv\\favc.exe -y -i \"D:\\Video\\old.RM\"", 0), 0u) << line;
    EXPECT_EQ(*fs.ReadFile("C:\\Tools\\Conv\\VideoFile.avs"),
              "DirectShowSource(\"D:\\Video\\old.RM\", fps=29.9700898503294, convertfps=true)\r\n");
}

TEST_F(ConversionWorkedExamples, SelectorsWithoutSelectionGiveTheDefaults) {
    for (ISelector* s : {(ISelector*)&rig.sel.videoBitrate, (ISelector*)&rig.sel.videoSize,
                         (ISelector*)&rig.sel.frameRate, (ISelector*)&rig.sel.aspect,
                         (ISelector*)&rig.sel.audioBitrate, (ISelector*)&rig.sel.volume,
                         (ISelector*)&rig.sel.channels, (ISelector*)&rig.sel.sampleRate})
        s->SetItemIndex(-1);
    EXPECT_EQ(Build(0, "D:\\Video\\clip.avi"),
              "C:\\Tools\\Conv\\favc.exe -y -i \"D:\\Video\\clip.avi\" -vcodec mpeg4 -acodec aac "
              "-b 512 -s 320x240 -r 25 -aspect 4:3 -ab 64  -ac 2 -ar 44100 -ss 00:00:10 -t 90 "
              "\"D:\\Out\\clip.mp4\"");
    // No output type: the built-in codec text and extension.
    EXPECT_EQ(Build(-1, "D:\\Video\\clip.avi"),
              "C:\\Tools\\Conv\\favc.exe -y -i \"D:\\Video\\clip.avi\" -vcodec xvid -acodec mp3 "
              "-b 512 -s 320x240 -r 25 -aspect 4:3 -ab 64  -ac 2 -ar 44100 -ss 00:00:10 -t 90 "
              "\"D:\\Out\\clip.avi\"");
}

TEST_F(ConversionWorkedExamples, SegmentFromTheLastMatchingRow) {
    struct Case {
        std::string start, end, segment;
    } cases[] = {
        {"00:00:30", "00:00:00", " -ss 00:00:30 -t -30"},  // negative, passed as it is
        {"00:01", "00:01:40", " -ss 00:01 -t 100"},         // two pieces count as 0
        {"01:00:00", "100:00:00", " -ss 01:00:00 -t 356400"},
    };
    for (const Case& c : cases) {
        rig.list.AddFile("d:\\video\\CLIP.AVI", "00:02:00", c.start, c.end);  // later, other case
        const std::string line = Build(0, "D:\\Video\\clip.avi");
        EXPECT_NE(line.find(c.segment + " \"D:\\Out\\clip.mp4\""), std::string::npos) << line;
    }
    // A file that is in no row is converted whole.
    const std::string whole = Build(0, "D:\\Video\\other.avi");
    EXPECT_NE(whole.find("-ar 44100 \"D:\\Out\\other.mp4\""), std::string::npos) << whole;
    EXPECT_EQ(rig.proc.SegmentStart, "");
    EXPECT_EQ(rig.proc.SegmentLength, "");
}

TEST_F(ConversionWorkedExamples, TheSelectedCustomProfileIsAppliedAgain) {
    fs.AddFile("C:\\Tools\\Conv\\Config\\UserProfileInfo.ini", "\r\n[Web]\r\nWeb=0|6|4|0|0|3\r\n");
    rig.sel.customProfile.SetItems({"Web"});
    rig.sel.customProfile.SetItemIndex(0);
    const std::string line = Build(0, "D:\\Video\\clip.avi");
    EXPECT_NE(line.find("-b 512 -s 320x240 -r 30 -aspect 4:3 -ab 16 -vol 100 -ac 1 -ar 48000"),
              std::string::npos)
        << line;
}

TEST_F(ConversionWorkedExamples, UncreatableOutputFolderIsLoggedAndTheBuildGoesOn) {
    fs.AddFile("D:\\Out", "a file where the folder should be");
    EXPECT_EQ(Build(0, "D:\\Video\\clip.avi"), std::string(kMp4Line));
    EXPECT_EQ(*fs.ReadFile("C:\\Tools\\Conv\\log.txt"),
              "Dunmarrow 2024-05-14 09:05:07|Output directory error. ->D:\\Out\\\r\n");
}

// The same builds under the program's own naming, in real folders.
class ConversionNativeNaming : public ::testing::Test {
protected:
    ConversionNativeNaming()
        : rig(tmp.Slash() + "prog/", NativeNaming(), DefaultFileSystem(), tmp / "out") {
        std::filesystem::create_directories(tmp.Path() / "prog");
        std::filesystem::create_directories(tmp.Path() / "src");
        rig.SelectExampleOptions();
    }
    std::string AddSource(const std::string& name) {
        const std::string path = tmp / ("src/" + name);
        TempFolder::Write(path, "x");
        rig.list.AddFile(path, "00:02:00", "00:00:10", "00:01:40");
        return path;
    }
    // The encoder's arguments after the program path.
    std::vector<std::string> Arguments(int outputType, const std::string& path) {
        rig.sel.outputType.SetItemIndex(outputType);
        const std::string line = rig.proc.BuildConvertParameter(path);
        const std::string program = tmp.Slash() + "prog/favc";
        EXPECT_EQ(line.rfind(program + " ", 0), 0u) << line;
        return SplitCommandLine(line.substr(program.size()));
    }

    TempFolder tmp;
    ConversionRig rig;
};

TEST_F(ConversionNativeNaming, OutputNamesSkipTakenBaseNames) {
    const std::string src = AddSource("clip.avi");
    auto args = Arguments(0, src);
    ASSERT_FALSE(args.empty());
    EXPECT_EQ(args.back(), tmp / "out/clip.mp4");  // the folder was created
    EXPECT_TRUE(std::filesystem::is_directory(tmp.Path() / "out"));

    TempFolder::Write(tmp / "out/CLIP.MP4", "");
    TempFolder::Write(tmp / "out/clip_1.wav", "");
    EXPECT_EQ(Arguments(0, src).back(), tmp / "out/clip_2.mp4");

    // The source itself in the output folder blocks its base name.
    rig.edtOutputFolder.SetText(tmp / "src");
    EXPECT_EQ(Arguments(0, src).back(), tmp / "src/clip_1.mp4");

    // A base name that holds "_" gets its own counter.
    rig.edtOutputFolder.SetText(tmp / "out");
    const std::string mine = AddSource("my_clip.avi");
    TempFolder::Write(tmp / "out/my_clip.mov", "");
    EXPECT_EQ(Arguments(0, mine).back(), tmp / "out/my_clip_1.mp4");
    // A folder named like the output does not block it.
    std::filesystem::create_directories(tmp.Path() / "out" / "show");
    EXPECT_EQ(Arguments(4, AddSource("show.avi")).back(), tmp / "out/show.mp3");
}

TEST_F(ConversionNativeNaming, OddFileNamesReachTheEncoderUnchanged) {
    for (const std::string name : {"two  blanks.avi", "say \"hi\".avi", "-dash.avi",
                                   "\xc3\xa9t\xc3\xa9.avi", "it's.avi"}) {
        const std::string src = AddSource(name);
        const auto args = Arguments(0, src);
        ASSERT_GE(args.size(), 4u) << name;
        EXPECT_EQ(args[0], "-y");
        EXPECT_EQ(args[2], src);
        EXPECT_EQ(args.back(), tmp / ("out/" + name.substr(0, name.size() - 4) + ".mp4"));
    }
}

TEST_F(ConversionNativeNaming, ScriptAndLogInTheProgramFolder) {
    const std::string src = AddSource("film.rm");
    rig.sel.outputType.SetItemIndex(0);
    const std::string line = rig.proc.BuildConvertParameter(src);
    EXPECT_EQ(line.rfind(tmp.Slash() + "prog/ravc -y -i \"" + tmp.Slash() + "prog/VideoFile.avs\"", 0),
              0u)
        << line;
    EXPECT_EQ(TempFolder::Read(tmp / "prog/VideoFile.avs"),
              "DirectShowSource(\"" + src + "\", fps=29.9700898503294, convertfps=true)\n");
    EXPECT_EQ(TempFolder::Read(tmp / "prog/log.txt"),
              "Dunmarrow 2024-05-14 09:05:07|Output directory " + tmp.Slash() + "out/\r\n");
}

}  // namespace
