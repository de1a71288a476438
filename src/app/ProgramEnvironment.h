#pragma once

#include <string>

#include "app/Desktop.h"
#include "app/OpenFileDialog.h"
#include "app/PowerOff.h"
#include "profiles/QualityProfiles.h"
#include "storage/FileSystem.h"
#include "storage/MessageBoxes.h"
#include "storage/OutputFolderChooser.h"
#include "storage/PathNaming.h"

// Ends the process with an exit code, at once, without closing anything one by one.
class IProcessExit {
public:
    virtual ~IProcessExit() = default;
    virtual void EndProcess(int exitCode) = 0;
};

// The real one: standard streams flushed, then _Exit.
class ImmediateExit : public IProcessExit {
public:
    void EndProcess(int exitCode) override;
};

// The splash's two timers, in milliseconds.
struct TSplashTimings {
    int InitDelay = 250;  // Timer1: runs InitProgram once
    int Tick = 1000;      // Timer2: the splash closes after two ticks at the earliest
};

// Everything the program takes from outside itself. The real entry fills it from the
// executable's folder, the password database and the desktop; tests inject a temporary program
// folder and recording fakes.
struct TProgramEnvironment {
    std::string AppPath;     // the program folder, with its trailing "/"
    std::string HomeFolder;  // the user's home folder, with its trailing "/"
    IMessageBoxes* Boxes = nullptr;
    IDesktop* Desktop = nullptr;
    IFolderBrowser* FolderBrowser = nullptr;
    INamePrompt* NamePrompt = nullptr;
    IProcessExit* Exit = nullptr;
    IOpenFileDialog* OpenDialog = nullptr;  // dlgOpenSourceFile
    IPowerOff* Power = nullptr;             // none: "shut down when done" only ends the program
    // The encoders' file names in the program folder; tests give them names of their own so
    // that stopping a batch never reaches another program's encoder.
    TPathNaming Naming = NativeNaming();
    IFileSystem* Fs = &DefaultFileSystem();
    TSplashTimings Splash;
    // The preview's sound output (libmpv's "ao"); empty: the desktop's default. Tests use "null".
    std::string PreviewAudioOutput;
};
