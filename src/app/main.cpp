// Kestrava: the program entry. No command-line argument or environment variable is read.
#include <QApplication>

#include "app/Application.h"
#include "app/Desktop.h"
#include "app/PowerOff.h"
#include "app/Program.h"
#include "app/ProgramEnvironment.h"
#include "app/ProgramFolder.h"
#include "app/QtDialogs.h"
#include "app/QtMessageBoxes.h"

int main() {
    int argc = 1;
    char name[] = "kestrava";
    char* argv[] = {name, nullptr};
    QApplication application(argc, argv);
    SetUpApplication(application);

    QtMessageBoxes boxes;
    QtDesktop desktop;
    QtFolderBrowser folderBrowser;
    QtNamePrompt namePrompt;
    ImmediateExit exit;
    QtOpenFileDialog openDialog;
    LogindPowerOff power;
    TProgramEnvironment environment;
    environment.AppPath = ProgramFolder();
    environment.HomeFolder = HomeFolder();
    environment.Boxes = &boxes;
    environment.Desktop = &desktop;
    environment.FolderBrowser = &folderBrowser;
    environment.NamePrompt = &namePrompt;
    environment.Exit = &exit;
    environment.OpenDialog = &openDialog;
    environment.Power = &power;

    // The windows and objects live until the process ends.
    static TProgram* program = new TProgram(environment);
    if (!program->Start()) return 0;
    return QApplication::exec();
}
