// How long a batch takes per row beyond its fixed waits (2000 ms before the start, 3000 ms before
// the first look) and beyond the encoder's own work. Run by hand:
//   batch_overhead_bench [ROWS]
// It converts a generated 1-second clip ROWS times through the real runner, process table and
// timers, then runs favc directly on the same job ROWS times, and prints the difference per row.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include "conversion/BatchConversion.h"
#include "conversion/CommandLineQuoting.h"
#include "fakes/ConversionRig.h"
#include "fakes/MemoryCheckBox.h"
#include "fakes/MemoryProgressBar.h"
#include "fakes/RecordingMessageBoxes.h"
#include "platform/PosixEncoderRunner.h"
#include "platform/ProcProcessTable.h"
#include "platform/RealTimeLoop.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

struct Windows : IBatchWindows {
    void ShowProgressDialog() override {}
    void HideProgressDialog() override {}
    void SetMainWindowEnabled(bool) override {}
};
struct AfterJob : IAfterJob {
    void OpenFolder(const std::string&) override {}
    void ShutdownComputer() override {}
    void EndProgram() override {}
};

double Seconds(Clock::duration d) { return std::chrono::duration<double>(d).count(); }

}  // namespace

int main(int argc, char** argv) {
    const int rows = argc > 1 ? std::atoi(argv[1]) : 5;
    const fs::path root = fs::temp_directory_path() / ("kestrava-batch-bench-" + std::to_string(::getpid()));
    const fs::path program = root / "program";
    fs::create_directories(program / "Config");
    TPathNaming naming = NativeNaming();
    naming.FavcName = "favc-bench-" + std::to_string(::getpid());
    fs::copy_file(KESTRAVA_FAVC, program / naming.FavcName);
    fs::permissions(program / naming.FavcName, fs::perms::owner_all);
    const std::string clip = (root / "clip.avi").string();
    const std::string make = "ffmpeg -v error -y -f lavfi -i testsrc=size=320x240:rate=25:duration=1 "
                             "-f lavfi -i sine=duration=1 -c:v mpeg4 -c:a pcm_s16le \"" + clip + "\"";
    if (std::system(make.c_str()) != 0) return 1;

    ConversionRig rig(program.string() + "/", naming, DefaultFileSystem(), (root / "out").string());
    for (int i = 0; i < rows; ++i)
        rig.list.Add({kChecked, clip, "1 KB", "00:00:01", "00:00:00", "00:00:01", "00:00:01"});
    MemoryProgressBar fileBar, totalBar;
    MemoryTextBox counter, info, fileName, status;
    TConvertingProgress progress(rig.proc, TProgressView{fileBar, totalBar, counter, info, fileName, status});
    auto loop = std::make_shared<RealTimeLoop>();
    PosixEncoderRunner runner(loop, program.string());
    ProcProcessTable table;
    TSysFunc sys(table);
    TEncoderStopper stopper(sys, rig.appFunc, *loop, naming);
    RecordingMessageBoxes boxes;
    Windows windows;
    AfterJob afterJob;
    MemoryCheckBox showFolder(false), shutdown(false);
    TBatchConversion batch(TBatchContext{rig.proc, progress, fileBar, runner, sys, stopper, *loop,
                                         boxes, windows, afterJob, showFolder, shutdown});

    const auto batchStart = Clock::now();
    batch.btnConvertClick();
    if (!loop->RunUntil([&] { return !batch.Running(); }, std::chrono::minutes(10))) return 2;
    const double batchSeconds = Seconds(Clock::now() - batchStart);

    // The encoder alone on the same job, with the same arguments.
    double encoderSeconds = 0;
    const std::string line = rig.proc.CommandLine;
    const std::string command = "\"" + (program / naming.FavcName).string() + "\"" +
                                line.substr((program / naming.FavcName).string().size()) +
                                " >/dev/null 2>&1";
    for (int i = 0; i < rows; ++i) {
        const auto start = Clock::now();
        if (std::system(command.c_str()) != 0) return 3;
        encoderSeconds += Seconds(Clock::now() - start);
    }

    const double fixed = rows * (TBatchConversion::kStartDelay + TBatchConversion::kFirstPollDelay) / 1000.0;
    std::printf("rows %d: batch %.2f s, fixed waits %.2f s, encoder alone %.2f s\n", rows,
                batchSeconds, fixed, encoderSeconds);
    // A short encoder finishes inside the 3000 ms wait, so its own work hides there; what is
    // left over is the runner's and the batch's own cost.
    std::printf("overhead per row beyond the fixed waits: %.3f s (encoder alone per row: %.3f s)\n",
                (batchSeconds - fixed) / rows, encoderSeconds / rows);
    std::printf("longest GUI-loop task: %.1f ms\n", Seconds(loop->longestTask) * 1000);
    fs::remove_all(root);
    return 0;
}
