#pragma once

#include <memory>
#include <string>

#include "app/Program.h"
#include "fakes/RecordingMessageBoxes.h"
#include "fakes/TempFolder.h"
#include "AppFakes.h"

// A temporary program folder laid out like the build's: Config/, librec.so, libuse.so and
// Help.html copied from the program folder of the build.
class TestProgramFolder {
public:
    TestProgramFolder();
    std::string AppPath() const { return folder_.Slash(); }
    std::string File(const std::string& name) const { return folder_ / name; }
    void Remove(const std::string& name) const;
    void ReplaceRecLibrary(const std::string& source) const;
    void WriteConfig(const std::string& name, const std::string& bytes) const;
    std::string ReadConfig(const std::string& name) const;
    // Copies the build's favc and ravc in under names of this folder's own, so that stopping a
    // batch ends only the encoders this test started; the naming to give the program.
    TPathNaming InstallEncoders() const;

private:
    TempFolder folder_;
};

// A program over a test folder with recording fakes and fast splash timers.
struct TestProgram {
    // `home` defaults to a folder inside the test folder, so nothing is made outside it.
    explicit TestProgram(const TestProgramFolder& folder, std::string home = "",
                         TPathNaming naming = NativeNaming());
    ~TestProgram();

    // Start-up as the real entry runs it; false when the program is to end.
    bool Start() { return program->Start(); }
    TFrmMainForm& Main() { return program->FrmMainForm(); }
    TfrmOption& Options() { return program->frmOption(); }

    RecordingMessageBoxes boxes;
    RecordingDesktop desktop;
    ScriptedFolderBrowser browser;
    ScriptedNamePrompt prompt;
    RecordingExit exit;
    ScriptedOpenDialog openDialog;
    RecordingPowerOff power;
    std::unique_ptr<TProgram> program;
};

class QComboBox;
// What a user's pick does: the box selects the item and reports it as activated.
void UserPicks(QComboBox& box, int index);
