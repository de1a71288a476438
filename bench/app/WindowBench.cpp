// How long the GUI thread stalls while the window adds files and while it converts, and how much
// memory the program holds with a long list. Run by hand:
//   window_bench [FILES]
// It adds FILES (default 200) generated clips through the open dialog and the busy window, then
// converts three of them, and prints the longest gap between ticks of a 1 ms timer in each phase
// (the longest time the event loop could not serve anything) with the GUI thread's CPU time in
// that gap, then the resident memory of a fresh
// program with 100 rows. The window runs on Qt's offscreen platform unless a display is set.
#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include <time.h>
#include <unistd.h>

#include "TestProgramFolder.h"
#include "app/Application.h"
#include "app/BitmapButton.h"
#include "app/FrmMainForm.h"
#include "conversion/BatchConversion.h"
#include "fakes/TempFolder.h"

namespace fs = std::filesystem;

namespace {

// The longest gap between two ticks of a 1 ms timer while it runs, and how much of that gap the
// GUI thread spent on the CPU: near the whole gap means work on the thread, far less means it
// waited (blocked, or its core was busy elsewhere).
class StallMeter {
public:
    struct Stall {
        double wallMs = 0;
        double cpuMs = 0;
    };

    StallMeter() {
        timer_.setInterval(1);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            const double cpu = ThreadCpuMs();
            const double wall = static_cast<double>(now - last_) / 1e6;
            if (wall > longest_.wallMs) longest_ = {wall, cpu - lastCpu_};
            last_ = now;
            lastCpu_ = cpu;
        });
    }
    void Start() {
        longest_ = {};
        clock_.start();
        last_ = 0;
        lastCpu_ = ThreadCpuMs();
        timer_.start();
    }
    Stall Stop() {
        timer_.stop();
        return longest_;
    }

private:
    static double ThreadCpuMs() {
        timespec now{};
        ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return static_cast<double>(now.tv_sec) * 1e3 + static_cast<double>(now.tv_nsec) / 1e6;
    }

    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
    double lastCpu_ = 0;
    Stall longest_;
};

bool ServeUntil(const std::function<bool()>& done, int timeoutMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done()) {
        if (clock.elapsed() > timeoutMs) return false;
        QApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents, 20);
    }
    return true;
}

long ResidentKb() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmRSS:") {
            long kb = 0;
            status >> kb;
            return kb;
        }
        status.ignore(4096, '\n');
    }
    return -1;
}

void Make(const std::string& path) {
    const std::string command =
        "ffmpeg -nostdin -v error -y -f lavfi -i testsrc=duration=2:size=160x120:rate=25 -f lavfi "
        "-i sine=duration=2 -pix_fmt yuv420p -c:v mpeg4 -c:a aac '" + path + "'";
    if (std::system(command.c_str()) != 0) {
        std::fprintf(stderr, "cannot make %s\n", path.c_str());
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const int files = argc > 1 ? std::max(3, std::atoi(argv[1])) : 200;
    if (std::getenv("DISPLAY") == nullptr) ::setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int qtArgc = 1;
    char name[] = "window_bench";
    char* qtArgv[] = {name, nullptr};
    QApplication application(qtArgc, qtArgv);
    SetUpApplication(application);

    TempFolder clips;
    const std::string first = clips / "clip 0.mp4";
    Make(first);
    std::vector<std::string> names{first};
    for (int i = 1; i < files; ++i) {
        names.push_back(clips / ("clip " + std::to_string(i) + ".mp4"));
        fs::copy_file(first, names.back());
    }
    TempFolder out;
    StallMeter meter;

    StallMeter::Stall addStall, convertStall;
    double addSeconds = 0, convertSeconds = 0;
    {
        TestProgramFolder folder;
        TestProgram test(folder, "", folder.InstallEncoders());
        if (!test.Start()) return 1;
        TFrmMainForm& main = test.Main();
        main.edtOutputFolder->setText(QString::fromStdString(out.Path().string()));

        test.openDialog.Answers.push_back(names);
        QElapsedTimer clock;
        meter.Start();
        clock.start();
        // The open path: dialog, busy window, every file read; the click returns when done.
        QTimer::singleShot(0, [&] { main.btnOpenFile->click(); });
        ServeUntil([&] { return main.dxTreeSourceFileInfo().RowCount() == files; }, 600000);
        addSeconds = clock.elapsed() / 1000.0;
        addStall = meter.Stop();

        for (int row = 3; row < files; ++row)
            main.dxTreeSourceFileInfo().SetCell(row, colCheckStatus, kUnchecked);
        meter.Start();
        clock.start();
        main.btnConvert->click();
        ServeUntil([&] { return !test.program->Batch()->Running(); }, 600000);
        convertSeconds = clock.elapsed() / 1000.0;
        convertStall = meter.Stop();
    }
    int outputs = 0;
    for (const auto& entry : fs::directory_iterator(out.Path())) outputs += entry.is_regular_file();

    long before = 0, after = 0;
    {
        TestProgramFolder folder;
        TestProgram test(folder);
        if (!test.Start()) return 1;
        ServeUntil([] { return false; }, 500);
        before = ResidentKb();
        test.Main().AddFiles(std::vector<std::string>(names.begin(), names.begin() + std::min(files, 100)));
        ServeUntil([] { return false; }, 500);
        after = ResidentKb();
    }

    std::printf("files added            %d in %.1f s\n", files, addSeconds);
    std::printf("longest stall, adding  %.1f ms, %.1f ms of it on the CPU (goal <= 50 ms)\n",
                addStall.wallMs, addStall.cpuMs);
    std::printf("3 rows converted in    %.1f s, %d output files\n", convertSeconds, outputs);
    std::printf("longest stall, convert %.1f ms, %.1f ms of it on the CPU (goal <= 50 ms)\n",
                convertStall.wallMs, convertStall.cpuMs);
    std::printf("resident, empty list   %.1f MB\n", before / 1024.0);
    std::printf("resident, %d rows     %.1f MB (goal <= 150 MB)\n", std::min(files, 100), after / 1024.0);
    return 0;
}
