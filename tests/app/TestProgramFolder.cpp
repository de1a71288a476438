#include "TestProgramFolder.h"

#include <QComboBox>
#include <filesystem>

namespace fs = std::filesystem;

TestProgramFolder::TestProgramFolder() {
    fs::create_directories(folder_.Path() / "Config");
    for (const char* name : {"librec.so", "libuse.so", "Help.html"})
        fs::copy_file(fs::path(KESTRAVA_TEST_PROGRAM_DIR) / name, folder_.Path() / name);
}

void TestProgramFolder::Remove(const std::string& name) const { fs::remove_all(folder_.Path() / name); }

void TestProgramFolder::ReplaceRecLibrary(const std::string& source) const {
    fs::copy_file(source, folder_.Path() / "librec.so", fs::copy_options::overwrite_existing);
}

void TestProgramFolder::WriteConfig(const std::string& name, const std::string& bytes) const {
    TempFolder::Write((folder_.Path() / "Config" / name).string(), bytes);
}

std::string TestProgramFolder::ReadConfig(const std::string& name) const {
    return TempFolder::Read((folder_.Path() / "Config" / name).string());
}

TestProgram::TestProgram(const TestProgramFolder& folder, std::string home) {
    TProgramEnvironment env;
    env.AppPath = folder.AppPath();
    env.HomeFolder = home.empty() ? folder.AppPath() + "home/" : std::move(home);
    env.Boxes = &boxes;
    env.Desktop = &desktop;
    env.FolderBrowser = &browser;
    env.NamePrompt = &prompt;
    env.Exit = &exit;
    env.OpenDialog = &openDialog;
    env.Splash = TSplashTimings{1, 5};
    program = std::make_unique<TProgram>(env);
}

TestProgram::~TestProgram() = default;

void UserPicks(QComboBox& box, int index) {
    box.setCurrentIndex(index);
    emit box.activated(index);
}
