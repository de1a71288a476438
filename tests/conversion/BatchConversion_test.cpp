#include "conversion/BatchConversion.h"

#include <gtest/gtest.h>

#include "fakes/ConversionRig.h"
#include "fakes/FakeEncoders.h"
#include "fakes/ManualScheduler.h"
#include "fakes/MemoryCheckBox.h"
#include "fakes/MemoryFileSystem.h"
#include "fakes/MemoryProgressBar.h"
#include "fakes/RecordingMessageBoxes.h"
#include "storage/Errors.h"

namespace {

class RecordingWindows : public IBatchWindows {
public:
    explicit RecordingWindows(TConvertingProgress& progress) : progress_(progress) {}
    void ShowProgressDialog() override {
        if (!dialogShown) progress_.FormShow();
        dialogShown = true;
        ++shows;
    }
    void HideProgressDialog() override { dialogShown = false; }
    void SetMainWindowEnabled(bool enabled) override { mainEnabled = enabled; }
    bool dialogShown = false;
    bool mainEnabled = true;
    int shows = 0;

private:
    TConvertingProgress& progress_;
};

class RecordingAfterJob : public IAfterJob {
public:
    void OpenFolder(const std::string& folder) override { opened.push_back(folder); }
    void ShutdownComputer() override { ++powerOffs; }
    void EndProgram() override { ++ends; }
    std::vector<std::string> opened;
    int powerOffs = 0;
    int ends = 0;
};

class ConversionBatch : public ::testing::Test {
protected:
    ConversionBatch()
        : rig("/prog/", NativeNaming(), fs, "/out"),
          progress(rig.proc, TProgressView{fileBar, totalBar, counter, info, fileName, status}),
          runner(table),
          sys(table),
          stopper(sys, rig.appFunc, scheduler, NativeNaming()),
          windows(progress),
          batch(TBatchContext{rig.proc, progress, fileBar, runner, sys, stopper, scheduler, boxes,
                              windows, afterJob, chkShowOutputDirectory, chkShutdown}) {
        fs.AddFolder("/prog");
        fs.AddFolder("/videos");
    }

    void AddRow(const std::string& name, bool checked = true) {
        const int row = rig.list.AddFile("/videos/" + name, "00:01:40", "00:00:00", "00:01:30");
        rig.list.SetCell(row, colCheckStatus, checked ? kChecked : kUnchecked);
    }
    // The current encoder writes its output file and ends by itself.
    void EndEncoder() {
        if (!rig.proc.OutputFile.empty()) fs.AddFile(rig.proc.OutputFile, "converted");
        runner.EndLatest();
    }
    // Lets the current encoder run for `seconds` of virtual time, then end by itself.
    void FinishCurrentEncoder(int seconds = 4) {
        scheduler.RunFor(seconds * 1000);
        EndEncoder();
        scheduler.RunFor(200);
    }
    std::vector<std::string> LogLines() {
        std::vector<std::string> lines;
        const std::string log = fs.ReadFile("/prog/log.txt").value_or("");
        size_t begin = 0;
        for (size_t end; (end = log.find("\r\n", begin)) != std::string::npos; begin = end + 2)
            lines.push_back(log.substr(log.find('|', begin) + 1, end - log.find('|', begin) - 1));
        return lines;
    }
    int Count(const std::string& message) {
        int n = 0;
        for (const std::string& line : LogLines()) n += line == message;
        return n;
    }

    MemoryFileSystem fs;
    ConversionRig rig;
    MemoryProgressBar fileBar, totalBar;
    MemoryTextBox counter, info, fileName, status;
    TConvertingProgress progress;
    FakeProcessTable table;
    FakeEncoderRunner runner;
    TSysFunc sys;
    ManualScheduler scheduler;
    TEncoderStopper stopper;
    RecordingMessageBoxes boxes;
    RecordingWindows windows;
    RecordingAfterJob afterJob;
    MemoryCheckBox chkShowOutputDirectory{true}, chkShutdown{false};
    TBatchConversion batch;
};

TEST_F(ConversionBatch, ConvertsTheCheckedRowsInOrderWithTheFixedWaits) {
    AddRow("a.avi");
    AddRow("b.avi", false);
    AddRow("c.avi");
    batch.btnConvertClick();
    EXPECT_EQ(rig.proc.CheckedCount, 2);
    EXPECT_TRUE(windows.dialogShown);
    EXPECT_FALSE(windows.mainEnabled);
    EXPECT_EQ(counter.Value, "Current: 1, Total: 2");

    scheduler.RunFor(1999);
    EXPECT_TRUE(runner.started.empty());
    scheduler.RunFor(1);
    ASSERT_EQ(runner.started.size(), 1u);
    EXPECT_EQ(runner.started[0].commandLine, rig.proc.CommandLine);
    EXPECT_NE(runner.started[0].commandLine.find("\"/videos/a.avi\""), std::string::npos);

    // The encoder's text reaches the dialog; the banner is not parsed.
    runner.started[0].onOutput("favc banner");
    runner.started[0].onOutput("frame=1 q=2 size=1kB time=45.00 bitrate=1");
    EXPECT_EQ(fileBar.position, 45);
    EXPECT_EQ(counter.Value, "Current: 1 , Total: 2.");

    // The first look for encoder processes comes 3000 ms after the start.
    EndEncoder();
    const int snapshotsBefore = table.snapshots;
    scheduler.RunFor(2999);
    EXPECT_EQ(table.snapshots, snapshotsBefore);
    scheduler.RunFor(1);
    EXPECT_GT(table.snapshots, snapshotsBefore);
    EXPECT_EQ(runner.freed, 1);
    EXPECT_EQ(rig.proc.ConvertedCount, 1);
    // A finished row moves the overall bar to its share, though the refresh trails behind.
    EXPECT_EQ(totalBar.position, 100);
    EXPECT_EQ(totalBar.maximum, 200);

    scheduler.RunFor(2000);
    ASSERT_EQ(runner.started.size(), 2u);
    EXPECT_NE(runner.started[1].commandLine.find("\"/videos/c.avi\""), std::string::npos);
    EXPECT_EQ(fileBar.position, 0);  // reset for the new row
    FinishCurrentEncoder();

    EXPECT_TRUE(scheduler.Idle());
    EXPECT_EQ(rig.proc.ConvertedCount, 2);
    EXPECT_EQ(totalBar.position, 200);
    EXPECT_EQ(fileBar.position, fileBar.maximum);
    EXPECT_EQ(runner.freed, 2);
    EXPECT_FALSE(windows.dialogShown);
    EXPECT_TRUE(windows.mainEnabled);
    EXPECT_EQ(windows.shows, 2);
    EXPECT_EQ(afterJob.opened, std::vector<std::string>{"/out/"});
    EXPECT_EQ(afterJob.powerOffs, 0);
    EXPECT_EQ(Count("parameter: " + runner.started[0].commandLine), 1);
    EXPECT_EQ(Count("parameter: " + runner.started[1].commandLine), 1);
}

TEST_F(ConversionBatch, WaitsWhileAnyEncoderRunsAndUntilTheRunHasEnded) {
    AddRow("a.avi");
    table.Add(77, "FAVC");  // somebody else's encoder, named in capitals
    runner.finished = false;
    batch.btnConvertClick();
    FinishCurrentEncoder(6);
    EXPECT_EQ(rig.proc.ConvertedCount, 0);
    table.Terminate(77);
    scheduler.RunFor(1000);
    EXPECT_EQ(rig.proc.ConvertedCount, 0);  // the run has not finished yet
    EXPECT_EQ(runner.freed, 0);
    runner.finished = true;
    scheduler.RunFor(200);
    EXPECT_EQ(rig.proc.ConvertedCount, 1);
    EXPECT_TRUE(windows.mainEnabled);
}

TEST_F(ConversionBatch, StopDuringTheFirstRowEndsTheBatchWithoutAfterJob) {
    AddRow("a.avi");
    AddRow("b.avi");
    chkShutdown.SetChecked(true);
    batch.btnConvertClick();
    scheduler.RunFor(2500);
    ASSERT_EQ(runner.started.size(), 1u);

    boxes.Answers = {IMessageBoxes::kYes};
    batch.btnStop1Click();
    ASSERT_EQ(boxes.Shown.size(), 1u);
    EXPECT_EQ(boxes.Shown[0].text, "Are you sure you want to stop the work ? ");
    EXPECT_EQ(boxes.Shown[0].icon, IMessageBoxes::Icon::None);
    EXPECT_EQ(boxes.Shown[0].buttons, IMessageBoxes::Buttons::YesNo);
    EXPECT_FALSE(windows.dialogShown);
    EXPECT_TRUE(windows.mainEnabled);
    EXPECT_EQ(table.terminated, std::vector<std::uint32_t>{runner.started[0].pid});

    // Convert is held back until the stopped row has ended; what the ending encoder still
    // writes does not reach the dialog.
    batch.btnConvertClick();
    scheduler.RunUntilIdle();
    runner.started[0].onOutput("frame=9 q=2 size=1kB time=12.00 bitrate=1");
    EXPECT_EQ(runner.started.size(), 1u);
    EXPECT_EQ(rig.proc.ConvertedCount, 1);
    EXPECT_TRUE(afterJob.opened.empty());
    EXPECT_EQ(afterJob.powerOffs, 0);
    EXPECT_FALSE(rig.proc.StopRequested);
    EXPECT_EQ(counter.Value, "Current: 1, Total: ...");
    EXPECT_EQ(totalBar.maximum, 0);
    EXPECT_GE(Count("Get Process id error."), 1);

    // The next batch applies its after-job actions again.
    chkShutdown.SetChecked(false);
    batch.btnConvertClick();
    for (int row = 0; row < 2; ++row) {
        scheduler.RunFor(2000);  // the row's encoder starts
        EndEncoder();
        scheduler.RunFor(3100);  // the first look finds it gone
    }
    EXPECT_TRUE(scheduler.Idle());
    EXPECT_EQ(runner.started.size(), 3u);
    EXPECT_EQ(afterJob.opened.size(), 1u);
}

TEST_F(ConversionBatch, StopBeforeTheEncoderStartedStillRunsThatRowOnly) {
    AddRow("a.avi");
    AddRow("b.avi");
    batch.btnConvertClick();
    scheduler.RunFor(500);
    boxes.Answers = {IMessageBoxes::kYes};
    batch.btnStop1Click();
    EXPECT_TRUE(windows.mainEnabled);
    scheduler.RunFor(1500);
    ASSERT_EQ(runner.started.size(), 1u);
    FinishCurrentEncoder();
    scheduler.RunUntilIdle();
    EXPECT_EQ(runner.started.size(), 1u);
    EXPECT_TRUE(afterJob.opened.empty());
    EXPECT_FALSE(batch.Running());
}

TEST_F(ConversionBatch, AnsweringNoChangesNothing) {
    AddRow("a.avi");
    batch.btnConvertClick();
    scheduler.RunFor(2500);
    boxes.DefaultAnswer = IMessageBoxes::kNo;
    batch.btnStop1Click();
    EXPECT_FALSE(batch.FormCloseQuery());
    EXPECT_EQ(boxes.Shown[1].text, "Are you sure to stop processing ?");
    EXPECT_TRUE(windows.dialogShown);
    EXPECT_FALSE(windows.mainEnabled);
    EXPECT_TRUE(table.terminated.empty());
    EXPECT_FALSE(rig.proc.StopRequested);
}

TEST_F(ConversionBatch, CloseRequestStopsButKeepsTheAfterJobActions) {
    AddRow("a.avi");
    AddRow("b.avi");
    chkShutdown.SetChecked(true);
    batch.btnConvertClick();
    scheduler.RunFor(2500);
    boxes.Answers = {IMessageBoxes::kYes};
    EXPECT_TRUE(batch.FormCloseQuery());
    EXPECT_FALSE(windows.dialogShown);
    scheduler.RunUntilIdle();
    EXPECT_EQ(runner.started.size(), 1u);
    EXPECT_EQ(afterJob.opened, std::vector<std::string>{"/out/"});
    EXPECT_EQ(afterJob.powerOffs, 1);
    EXPECT_EQ(afterJob.ends, 1);
}

TEST_F(ConversionBatch, ShutdownAfterTheLastRowEndsTheProgram) {
    AddRow("a.avi");
    chkShowOutputDirectory.SetChecked(false);
    chkShutdown.SetChecked(true);
    batch.btnConvertClick();
    FinishCurrentEncoder(6);
    EXPECT_TRUE(afterJob.opened.empty());
    EXPECT_EQ(afterJob.powerOffs, 1);
    EXPECT_EQ(afterJob.ends, 1);
}

TEST_F(ConversionBatch, FailedRowsAreListedInOneWarningBeforeTheAfterJob) {
    struct Case {
        const char* name;
        int exitCode;
        bool writesOutput;
        std::vector<std::string> output;  // pieces the encoder writes
        std::string expected;             // the row's line in the report; empty: not failed
    };
    const std::vector<Case> cases = {
        {"ok.avi", 0, true, {"banner", "frame=1 time=1.00\r"}, ""},
        {"code.avi", 1, false, {"banner", "Input #0\nbad.avi: Invalid data found\r\n\n"},
         "bad.avi: Invalid data found"},
        {"silent.avi", 3, false, {}, "The encoder ended with code 3."},
        {"no-output.avi", 0, false, {"banner", "all done  "}, "all done"},
        {"no-output-quiet.avi", 0, false, {}, "No output file was written."},
        {"not-started.avi", IEncoderRun::kNoExitCode, false, {}, "The encoder could not be started."},
        {"signalled.avi", IEncoderRun::kNoExitCode, false, {"frame=9 time=2.00"}, "frame=9 time=2.00"},
    };
    for (const Case& c : cases) AddRow(c.name);
    chkShutdown.SetChecked(true);
    batch.btnConvertClick();
    for (const Case& c : cases) {
        scheduler.RunFor(2000);
        ASSERT_FALSE(runner.started.empty()) << c.name;
        for (const std::string& piece : c.output) runner.started.back().onOutput(piece);
        runner.exitCode = c.exitCode;
        if (c.writesOutput) fs.AddFile(rig.proc.OutputFile, "converted");
        runner.EndLatest();
        scheduler.RunFor(3100);
    }
    EXPECT_FALSE(batch.Running());

    std::string report = "6 files could not be converted:";
    for (const Case& c : cases)
        if (!c.expected.empty()) report += std::string("\n\n/videos/") + c.name + "\n" + c.expected;
    ASSERT_EQ(boxes.Texts(), std::vector<std::string>{report});
    EXPECT_EQ(boxes.Shown[0].icon, IMessageBoxes::Icon::Warning);
    EXPECT_EQ(batch.FailedRows().size(), 6u);
    EXPECT_EQ(Count("Convert failure: /videos/silent.avi -> The encoder ended with code 3."), 1);
    // The after-job actions still follow.
    EXPECT_EQ(afterJob.opened.size(), 1u);
    EXPECT_EQ(afterJob.powerOffs, 1);
}

TEST_F(ConversionBatch, ABatchWithoutFailuresOrAStoppedOneShowsNoReport) {
    AddRow("a.avi");
    batch.btnConvertClick();
    FinishCurrentEncoder(6);
    ASSERT_FALSE(batch.Running());
    EXPECT_TRUE(boxes.Shown.empty());
    EXPECT_TRUE(batch.FailedRows().empty());

    // Stopped mid-row: the unfinished row left no output, and that is no failure.
    runner.exitCode = IEncoderRun::kNoExitCode;
    batch.btnConvertClick();
    scheduler.RunFor(2500);
    boxes.Answers = {IMessageBoxes::kYes};
    batch.btnStop1Click();
    runner.EndLatest();
    scheduler.RunFor(10000);
    EXPECT_FALSE(batch.Running());
    EXPECT_EQ(boxes.Texts(), std::vector<std::string>{"Are you sure you want to stop the work ? "});
    EXPECT_TRUE(batch.FailedRows().empty());
}

TEST_F(ConversionBatch, EmptyListWarnsAndUncheckedListStillRunsAfterJob) {
    batch.btnConvertClick();
    EXPECT_EQ(boxes.Texts(),
              std::vector<std::string>{"Please add media files you want to convert into the list."});
    EXPECT_EQ(boxes.Shown[0].icon, IMessageBoxes::Icon::Warning);
    EXPECT_TRUE(windows.mainEnabled);
    EXPECT_FALSE(windows.dialogShown);
    EXPECT_TRUE(afterJob.opened.empty());

    AddRow("a.avi", false);
    batch.btnConvertClick();
    EXPECT_TRUE(runner.started.empty());
    EXPECT_EQ(afterJob.opened.size(), 1u);  // the folder of the most recent build: none yet
    EXPECT_FALSE(batch.Running());
}

TEST_F(ConversionBatch, AFailingBuildEndsTheBatchAndReachesTheCaller) {
    AddRow("a.avi");
    fs.ReadOnlyFolders.insert("/prog");  // neither the log nor the script can be written
    EXPECT_THROW(batch.btnConvertClick(), FileError);
    EXPECT_TRUE(windows.mainEnabled);
    EXPECT_FALSE(windows.dialogShown);
    EXPECT_FALSE(batch.Running());
    EXPECT_TRUE(runner.started.empty());
}

TEST_F(ConversionBatch, StopperFindsAndEndsProcessesByName) {
    table.Add(10, "favc", "/prog/favc");
    table.Add(11, "other", "/usr/bin/other");
    table.Add(12, "Favc", "/elsewhere/Favc");
    EXPECT_EQ(stopper.FindProcessByName("FAVC"), 12u);  // the later one wins
    EXPECT_EQ(stopper.FindProcessByName("ravc"), 0u);
    EXPECT_EQ(Count("Get Process id error."), 1);

    EXPECT_TRUE(stopper.KillProcessByName("/USR/BIN/OTHER"));  // the whole path also matches
    EXPECT_EQ(table.terminated, std::vector<std::uint32_t>{11});
    EXPECT_FALSE(stopper.KillProcessByName("ravc"));
    EXPECT_EQ(Count("Terminate process error."), 1);

    bool done = false;
    stopper.StopEncoder("/prog/favc", [&] { done = true; });
    scheduler.RunUntilIdle();
    EXPECT_TRUE(done);
    EXPECT_FALSE(table.Has(10));
    EXPECT_FALSE(table.Has(12));
}

TEST_F(ConversionBatch, StopperGivesUpOnAProcessThatWillNotEnd) {
    table.Add(20, "ravc");
    table.refuseToEnd = {20};
    bool done = false;
    stopper.StopEncoder("/prog/ravc", [&] { done = true; });
    scheduler.RunUntilIdle();
    EXPECT_TRUE(done);
    EXPECT_EQ(table.terminated.size(), size_t(TEncoderStopper::kMaxPasses));
    EXPECT_EQ(scheduler.now, TEncoderStopper::kMaxPasses * TEncoderStopper::kPassMilliseconds);
}

}  // namespace
