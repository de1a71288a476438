#include "media/AddSourceFiles.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "fakes/MemorySourceList.h"
#include "storage/Errors.h"

namespace {

// Durations by name; unknown names read as 0 (unreadable). Records every probe.
class FakeProbe : public IMediaProbe {
public:
    std::map<std::string, std::int64_t> durations;
    std::vector<std::string> probed;
    std::int64_t GetMediaDuration(const std::string& name) override {
        probed.push_back(name);
        const auto it = durations.find(name);
        return it == durations.end() ? 0 : it->second;
    }
};

// Only file sizes matter here; a name in `locked` cannot be opened for its size.
class SizeOnlyFileSystem : public IFileSystem {
public:
    std::map<std::string, std::int64_t> sizes;
    std::set<std::string> locked;

    std::int64_t FileSize(const std::string& path) const override {
        if (locked.count(path)) throw FileError("Cannot open file \"" + path + "\".");
        const auto it = sizes.find(path);
        if (it == sizes.end()) throw FileError("Cannot open file \"" + path + "\".");
        return it->second;
    }
    bool FileExists(const std::string& path) const override { return sizes.count(path) > 0; }
    bool DirectoryExists(const std::string&) const override { return false; }
    std::vector<Entry> ListFolder(const std::string&) const override { return {}; }
    void CreateDirectories(const std::string&) override {}
    bool RemoveDirectory(const std::string&) override { return false; }
    std::optional<std::string> ReadFile(const std::string&) const override { return {}; }
    void ReplaceFile(const std::string&, const std::string&) override {}
    void AppendFile(const std::string&, const std::string&) override {}
};

class RecordedBoxes : public IMessageBoxes {
public:
    struct Box {
        std::string text, caption;
        Icon icon;
        Buttons buttons;
    };
    std::vector<Box> shown;
    int Show(const std::string& text, const std::string& caption, Icon icon,
             Buttons buttons) override {
        shown.push_back({text, caption, icon, buttons});
        return kOk;
    }
    std::vector<std::string> Texts() const {
        std::vector<std::string> out;
        for (const Box& b : shown) out.push_back(b.text);
        return out;
    }
};

TEST(MediaSourceTypes, ExtensionOfTheNamePartDecides) {
    const struct {
        std::string name;
        bool accepted;
    } cases[] = {
        {"/v/MOVIE.AVI", true},       {"/v/movie.mkv", false},     {"/v/clip.Mp4", true},
        {"/v/a.3gp", true},           {"/v/a.3g2", true},          {"/v/a.m4v", true},
        {"/v/a.mpeg", true},          {"/v/a.mpg", true},          {"/v/a.asf", true},
        {"/v/a.mov", true},           {"/v/a.wmv", true},          {"/v/a.vob", true},
        {"/v/a.flv", true},           {"/v/a.swf", true},          {"/v/a.rm", true},
        {"/v/a.RMVB", true},          {"/v/a.avi.txt", false},     {"/v/avi", false},
        {"/v/my.videos/clip", false}, {"/v/my.avi/clip", false},   {"/v/my.dir/clip.avi", true},
        {"/v/.avi", true},            {"/v/clip.", false},         {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsAcceptedSourceType(c.name), c.accepted) << c.name;
    EXPECT_EQ(FileExtension("/a.b/c"), "");
    EXPECT_EQ(FileExtension("/a.b/c.tar.GZ"), ".GZ");
}

TEST(MediaRemoveDuplicateNames, KeepsFirstOfExactRepeatsInOrder) {
    EXPECT_EQ(RemoveDuplicateNames({"/b.avi", "/a.avi", "/b.avi", "/A.avi", "/a.avi", "/c.avi"}),
              (std::vector<std::string>{"/b.avi", "/a.avi", "/A.avi", "/c.avi"}));
    EXPECT_TRUE(RemoveDuplicateNames({}).empty());
}

TEST(MediaFormatFileSize, CutToTwoDecimals) {
    const struct {
        std::int64_t size;
        char separator;
        std::string text;
    } cases[] = {
        {0, '.', "0 B"},
        {1, '.', "1 B"},
        {1023, '.', "1023 B"},
        {1024, '.', "1 KB"},
        {1536, '.', "1.5 KB"},
        {1536, ',', "1,5 KB"},
        {1034, '.', "1 KB"},  // 1.0097... cuts to 1
        {1035, '.', "1.01 KB"},
        {1000000, '.', "976.56 KB"},
        {1000000, ',', "976,56 KB"},
        {1048575, '.', "1023.99 KB"},
        {1048576, '.', "1 MB"},
        {1073741823, '.', "1023.99 MB"},
        {1073741824, '.', "1 GB"},
        {5000000000LL, '.', "4.65 GB"},
        {1099511627776LL, '.', "1024 GB"},
        {9223372036854775807LL, '.', "8589934591.99 GB"},
        {-5, '.', "0 B"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatFileSize(c.size, c.separator), c.text) << c.size;
    }
}

TEST(MediaBusySpinner, StepsAndWrap) {
    const char* texts[] = {"Installing File...  |", "Installing File...  /",
                           "Installing File...  -", "Installing File...  \\"};
    for (int step = 1; step <= 4; ++step) EXPECT_EQ(BusySpinnerText(step), texts[step - 1]);
    EXPECT_EQ(NextSpinStep(1), 2);
    EXPECT_EQ(NextSpinStep(3), 4);
    EXPECT_EQ(NextSpinStep(4), 1);
}

class MediaAddSourceFiles : public ::testing::Test {
protected:
    MemorySourceList grid;
    FakeProbe probe;
    SizeOnlyFileSystem fs;
    RecordedBoxes boxes;
    int shown = 0;

    void File(const std::string& name, std::int64_t seconds, std::int64_t size = 2048) {
        probe.durations[name] = seconds;
        fs.sizes[name] = size;
    }
    void Add(const std::vector<std::string>& names, char separator = '.') {
        AddSourceFiles(grid, names, probe, fs, boxes, [this] {
            ++shown;
            EXPECT_TRUE(grid.IsSelected(0)) << "first row selected before the callback";
        }, separator);
    }
};

TEST_F(MediaAddSourceFiles, NewRowCellsAndFirstRowSelected) {
    File("/v/clip.avi", 3723, 1536);
    Add({"/v/clip.avi"}, ',');
    ASSERT_EQ(grid.RowCount(), 1);
    EXPECT_EQ(grid.rows[0].cells, (MemorySourceList::Cells{"True", "/v/clip.avi", "1,5 KB",
                                                           "01:02:03", "00:00:00", "01:02:03",
                                                           "01:02:03"}));
    EXPECT_TRUE(grid.IsSelected(0));
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(boxes.shown.empty());
}

TEST_F(MediaAddSourceFiles, DuplicatesExactCaseSkippedOtherCaseAdded) {
    File("/v/clip.avi", 10);
    File("/v/CLIP.avi", 10);
    Add({"/v/clip.avi", "/v/clip.avi", "/v/CLIP.avi"});
    Add({"/v/clip.avi"});
    EXPECT_EQ(grid.Paths(), (std::vector<std::string>{"/v/clip.avi", "/v/CLIP.avi"}));
    EXPECT_EQ(probe.probed, (std::vector<std::string>{"/v/clip.avi", "/v/CLIP.avi"}));
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(shown, 2);
}

TEST_F(MediaAddSourceFiles, OtherTypesSkippedSilentlyWithoutProbing) {
    File("/v/movie.mkv", 10);
    File("/v/folder.d", 10);
    Add({"/v/movie.mkv", "/v/folder.d"});
    EXPECT_EQ(grid.RowCount(), 0);
    EXPECT_TRUE(probe.probed.empty());
    EXPECT_TRUE(boxes.shown.empty());
    EXPECT_EQ(shown, 0);
}

TEST_F(MediaAddSourceFiles, WarningTextDependsOnWhetherTheListHadRows) {
    File("/v/good.avi", 10);
    Add({"/v/bad.avi", "/v/good.avi", "/v/bad2.avi"});
    ASSERT_EQ(boxes.shown.size(), 2u);
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{kReadErrorEmptyList, kReadErrorWithRows}));
    EXPECT_EQ(boxes.shown[0].text, "Files reading error! Please check your files.");
    EXPECT_EQ(boxes.shown[1].text,
              "Files reading error! Please check your files or install a new codec.");
    for (const auto& box : boxes.shown) {
        EXPECT_EQ(box.caption, "Kestrava");
        EXPECT_EQ(box.icon, IMessageBoxes::Icon::Warning);
        EXPECT_EQ(box.buttons, IMessageBoxes::Buttons::Ok);
    }
    EXPECT_EQ(grid.Paths(), (std::vector<std::string>{"/v/good.avi"}));
}

TEST_F(MediaAddSourceFiles, FiveFilesTwoUnreadableGiveThreeRowsAndTwoWarnings) {
    File("/v/1.avi", 60);
    File("/v/3.mp4", 1);
    File("/v/5.mov", 7200);
    File("/v/half.avi", 0);  // shorter than a second
    Add({"/v/1.avi", "/v/half.avi", "/v/3.mp4", "/v/4.wmv", "/v/5.mov"});
    EXPECT_EQ(grid.Paths(), (std::vector<std::string>{"/v/1.avi", "/v/3.mp4", "/v/5.mov"}));
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{kReadErrorWithRows, kReadErrorWithRows}));
    EXPECT_EQ(grid.SelectedRows(), (std::vector<int>{0}));
    EXPECT_EQ(shown, 1);
}

TEST_F(MediaAddSourceFiles, FileWhoseSizeCannotBeReadIsRefusedLikeAnUnreadableOne) {
    File("/v/locked.avi", 30);
    File("/v/ok.avi", 30);
    File("/v/locked2.avi", 30);
    fs.locked = {"/v/locked.avi", "/v/locked2.avi"};
    Add({"/v/locked.avi", "/v/ok.avi", "/v/locked2.avi"});
    EXPECT_EQ(grid.Paths(), (std::vector<std::string>{"/v/ok.avi"}));
    EXPECT_EQ(boxes.Texts(), (std::vector<std::string>{kReadErrorEmptyList, kReadErrorWithRows}));
    for (const auto& row : grid.rows) {
        for (const auto& cell : row.cells) EXPECT_FALSE(cell.empty()) << "half-filled row";
    }
}

TEST_F(MediaAddSourceFiles, NothingAddedIntoAListWithRowsStillSelectsItsFirstRow) {
    grid.AddFile("/v/old.avi");
    Add({});
    EXPECT_TRUE(grid.IsSelected(0));
    EXPECT_EQ(shown, 1);
}

}  // namespace
