#include "TestProgramFolder.h"

#include <QComboBox>
#include <atomic>
#include <filesystem>
#include <unistd.h>

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

TPathNaming TestProgramFolder::InstallEncoders() const {
    static std::atomic<int> counter{0};
    const std::string tag = std::to_string(::getpid()) + "-" + std::to_string(counter.fetch_add(1));
    TPathNaming naming = NativeNaming();
    naming.FavcName = "kestrava-favc-" + tag;
    naming.RavcName = "kestrava-ravc-" + tag;
    fs::copy_file(fs::path(KESTRAVA_TEST_PROGRAM_DIR) / "favc", folder_.Path() / naming.FavcName);
    fs::copy_file(fs::path(KESTRAVA_TEST_PROGRAM_DIR) / "ravc", folder_.Path() / naming.RavcName);
    return naming;
}

TestProgram::TestProgram(const TestProgramFolder& folder, std::string home, TPathNaming naming) {
    TProgramEnvironment env;
    env.AppPath = folder.AppPath();
    env.HomeFolder = home.empty() ? folder.AppPath() + "home/" : std::move(home);
    env.Boxes = &boxes;
    env.Desktop = &desktop;
    env.FolderBrowser = &browser;
    env.NamePrompt = &prompt;
    env.Exit = &exit;
    env.OpenDialog = &openDialog;
    env.Power = &power;
    env.Naming = std::move(naming);
    env.Splash = TSplashTimings{1, 5};
    env.PreviewAudioOutput = "null";  // no sound device is needed or touched
    program = std::make_unique<TProgram>(env);
}

TestProgram::~TestProgram() = default;

void UserPicks(QComboBox& box, int index) {
    box.setCurrentIndex(index);
    emit box.activated(index);
}
