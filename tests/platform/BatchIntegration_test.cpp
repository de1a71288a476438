// One batch end to end: the real favc, the real runner and process table, real timers.
#include <gtest/gtest.h>

extern "C" {
#include <libavformat/avformat.h>
}

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "conversion/BatchConversion.h"
#include "fakes/ConversionRig.h"
#include "fakes/MemoryCheckBox.h"
#include "fakes/MemoryProgressBar.h"
#include "fakes/RecordingMessageBoxes.h"
#include "platform/AvMediaProbe.h"
#include "platform/PosixEncoderRunner.h"
#include "platform/ProcProcessTable.h"
#include "platform/RealTimeLoop.h"
#include "platform/TestFolder.h"
#include "media/TimeCode.h"

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

class ShownWindows : public IBatchWindows {
public:
    explicit ShownWindows(TConvertingProgress& progress) : progress_(progress) {}
    void ShowProgressDialog() override {
        if (!shown) progress_.FormShow();
        shown = true;
    }
    void HideProgressDialog() override { shown = false; }
    void SetMainWindowEnabled(bool enabled) override { mainEnabled = enabled; }
    bool shown = false;
    bool mainEnabled = true;

private:
    TConvertingProgress& progress_;
};

class RecordingAfterJob : public IAfterJob {
public:
    void OpenFolder(const std::string& folder) override { opened.push_back(folder); }
    void ShutdownComputer() override { ++powerOffs; }
    void EndProgram() override { ++ends; }
    std::vector<std::string> opened;
    int powerOffs = 0, ends = 0;
};

// Codec names of an output's streams, in stream order, and its duration in seconds.
struct Probed {
    std::string format;
    std::vector<std::string> codecs;
    double seconds = 0;
};

Probed ProbeOutput(const std::string& path) {
    Probed result;
    AVFormatContext* context = nullptr;
    if (avformat_open_input(&context, path.c_str(), nullptr, nullptr) < 0) return result;
    if (avformat_find_stream_info(context, nullptr) >= 0) {
        result.format = context->iformat->name;
        for (unsigned i = 0; i < context->nb_streams; ++i)
            result.codecs.push_back(avcodec_get_name(context->streams[i]->codecpar->codec_id));
        result.seconds = context->duration / double(AV_TIME_BASE);
    }
    avformat_close_input(&context);
    return result;
}

TEST(PlatformBatchIntegration, ConvertsTwoClipsToMp4AndThenToMp3) {
    TestFolder folder("kestrava batch");
    const fs::path program = folder.MakeFolder("Program Folder");
    fs::create_directories(program / "Config");
    // The real encoder under a name of this test's own, so that encoders of other tests
    // running at the same time do not keep this batch waiting.
    TPathNaming naming = NativeNaming();
    naming.FavcName = UniqueProgramName("favc");
    fs::copy_file(KESTRAVA_FAVC, program / naming.FavcName);
    fs::permissions(program / naming.FavcName, fs::perms::owner_all);

    const fs::path sources = folder.MakeFolder("clips");
    for (const std::string name : {"first clip", "second 'clip'"}) {
        const std::string command =
            "ffmpeg -v error -y -f lavfi -i testsrc=size=320x240:rate=25:duration=3 -f lavfi "
            "-i sine=frequency=440:duration=3 -c:v mpeg4 -c:a pcm_s16le \"" +
            (sources / (name + ".avi")).string() + "\"";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    const std::string output = (folder.Path() / "out put").string();
    ConversionRig rig(program.string() + "/", naming, DefaultFileSystem(), output);
    AvMediaProbe probe;
    for (const std::string name : {"first clip", "second 'clip'"}) {
        const std::string path = (sources / (name + ".avi")).string();
        const std::string duration = SecondsToTimeCode(probe.GetMediaDuration(path));
        ASSERT_EQ(duration, "00:00:03");
        rig.list.Add({kChecked, path, "1 MB", duration, "00:00:00", duration, duration});
    }

    MemoryProgressBar fileBar, totalBar;
    MemoryTextBox counter, info, fileName, status;
    TConvertingProgress progress(rig.proc,
                                 TProgressView{fileBar, totalBar, counter, info, fileName, status});
    auto loop = std::make_shared<RealTimeLoop>();
    PosixEncoderRunner runner(loop, program.string());
    ProcProcessTable table;
    TSysFunc sys(table);
    TEncoderStopper stopper(sys, rig.appFunc, *loop, naming);
    RecordingMessageBoxes boxes;
    ShownWindows windows(progress);
    RecordingAfterJob afterJob;
    MemoryCheckBox showFolder(true), shutdown(false);
    TBatchConversion batch(TBatchContext{rig.proc, progress, fileBar, runner, sys, stopper, *loop,
                                         boxes, windows, afterJob, showFolder, shutdown});

    struct Pass {
        int outputType;
        const char* suffix;  // the MP4 outputs take the base names, so the MP3s get "_1"
        std::vector<std::string> codecs;
    } passes[] = {{0, ".mp4", {"mpeg4", "aac"}}, {4, "_1.mp3", {"mp3"}}};
    for (const Pass& pass : passes) {
        rig.sel.outputType.SetItemIndex(pass.outputType);
        rig.proc.ApplyQualityProfile();
        batch.btnConvertClick();
        ASSERT_TRUE(loop->RunUntil([&] { return !batch.Running(); }, 90s));
        EXPECT_EQ(rig.proc.ConvertedCount, 2);
        EXPECT_TRUE(windows.mainEnabled);
        EXPECT_FALSE(windows.shown);
        EXPECT_FALSE(status.Value.empty());
        for (const std::string name : {"first clip", "second 'clip'"}) {
            const std::string path = output + "/" + name + pass.suffix;
            const Probed out = ProbeOutput(path);
            EXPECT_EQ(out.codecs, pass.codecs) << path;
            EXPECT_NEAR(out.seconds, 3.0, 0.15) << path;
        }
    }
    EXPECT_EQ(afterJob.opened, (std::vector<std::string>{output + "/", output + "/"}));
    EXPECT_TRUE(boxes.Shown.empty());
    // The GUI thread never waited on the worker or slept.
    EXPECT_LT(loop->longestTask, 200ms);
}

}  // namespace
