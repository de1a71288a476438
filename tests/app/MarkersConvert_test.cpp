// As a new user would go: a file previews, the dragged markers move its cells, and Convert makes
// just that segment, lasting the cut length within one frame.
#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTest>
#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

#include "MarkerDrag.h"
#include "TestProgramFolder.h"
#include "app/BitmapButton.h"
#include "app/FrmMainForm.h"
#include "conversion/BatchConversion.h"
#include "fakes/TempFolder.h"
#include "media/PreviewPlayer.h"

namespace {

namespace fs = std::filesystem;

constexpr double kFrameRate = 25;

// What the ffprobe program reads as a number for the file, or a negative number.
double Probe(const std::string& arguments, const std::string& path) {
    const std::string command = "ffprobe -v error " + arguments + " -of default=nw=1:nk=1 '" + path + "'";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return -1;
    std::array<char, 128> line{};
    if (std::fgets(line.data(), line.size(), pipe.get()) == nullptr) return -1;
    return std::atof(line.data());
}

// One frame as 80 × 60 grey levels: the first of the file, or the one at `seconds`.
std::string GreyFrame(const std::string& path, double seconds = -1) {
    const std::string seek = seconds < 0 ? "" : "-ss " + std::to_string(seconds) + " ";
    const std::string command = "ffmpeg -nostdin -v error " + seek + "-i '" + path +
                                "' -frames:v 1 -vf scale=80:60 -pix_fmt gray -f rawvideo -";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    std::string bytes;
    if (!pipe) return bytes;
    std::array<char, 4096> chunk{};
    for (std::size_t n; (n = std::fread(chunk.data(), 1, chunk.size(), pipe.get())) > 0;) bytes.append(chunk.data(), n);
    return bytes;
}

// Sum of the differences of two grey frames of the same size.
long Difference(const std::string& a, const std::string& b) {
    long sum = 0;
    for (std::size_t i = 0; i < std::min(a.size(), b.size()); ++i)
        sum += std::abs(static_cast<unsigned char>(a[i]) - static_cast<unsigned char>(b[i]));
    return sum;
}

TEST(AppMarkersConvert, TheDraggedSegmentIsWhatConverts) {
    TempFolder clips, out;
    const std::string clip = clips / "ten seconds.mp4";
    const std::string make =
        "ffmpeg -nostdin -v error -y -f lavfi -i testsrc=size=160x120:rate=25:duration=10 "
        "-f lavfi -i sine=frequency=440:duration=10 -pix_fmt yuv420p -c:v mpeg4 -g 25 -c:a aac '" +
        clip + "'";
    ASSERT_EQ(std::system(make.c_str()), 0) << make;

    TestProgramFolder folder;
    TestProgram test{folder, "", folder.InstallEncoders()};
    ASSERT_TRUE(test.Start());
    TFrmMainForm& main = test.Main();
    main.edtOutputFolder->setText(QString::fromStdString(out.Path().string()));
    main.AddFiles({clip});
    TSourceGrid& grid = main.dxTreeSourceFileInfo();
    ASSERT_EQ(grid.RowCount(), 1);

    main.btnPlay->click();
    ASSERT_TRUE(main.PreviewPlayer()->IsPlaying());
    ASSERT_TRUE(QTest::qWaitFor([&] { return main.DSVideoWindowEx1->FrameCount() > 0; }, 5000));

    main.btnStop->click();

    DragMarker(main.Splitter1, 110);  // 50 percent
    DragMarker(main.Splitter2, -55);  // ((219 - 56) × 121) div 260 = 75 percent
    EXPECT_EQ(grid.Cell(0, colStartTime), "00:00:05");
    EXPECT_EQ(grid.Cell(0, colEndTime), "00:00:07");
    EXPECT_EQ(grid.Cell(0, colCutTime), "00:00:02");

    main.btnConvert->click();
    QElapsedTimer clock;
    clock.start();
    while (test.program->Batch()->Running() && clock.elapsed() < 60000)
        QApplication::processEvents(QEventLoop::AllEvents, 20);
    ASSERT_FALSE(test.program->Batch()->Running());

    const std::string output = out / "ten seconds.mp4";
    ASSERT_TRUE(fs::exists(output));
    const double video = Probe("-select_streams v:0 -show_entries stream=duration", output);
    EXPECT_NEAR(video, 2.0, 1.0 / kFrameRate) << output;
    // The output begins with the source's picture at 5 seconds, not at 4 or 6 (the test picture
    // changes every second).
    const std::string first = GreyFrame(output);
    ASSERT_EQ(first.size(), 80u * 60u);
    const long atStart = Difference(first, GreyFrame(clip, 5.0));
    EXPECT_LT(atStart, Difference(first, GreyFrame(clip, 4.0)));
    EXPECT_LT(atStart, Difference(first, GreyFrame(clip, 6.0)));
    EXPECT_TRUE(test.boxes.Shown.empty());
}

}  // namespace
