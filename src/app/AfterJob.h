#pragma once

#include <string>

#include "app/Desktop.h"
#include "app/PowerOff.h"
#include "app/ProgramEnvironment.h"
#include "conversion/BatchConversion.h"

// What follows the last row of a batch, through the program's outside world: the desktop opens
// the output folder, the system is asked to power off, the process ends. Without a power-off
// service (none injected) the request does nothing.
class TAfterJob : public IAfterJob {
public:
    TAfterJob(IDesktop& desktop, IPowerOff* power, IProcessExit& exit)
        : desktop_(desktop), power_(power), exit_(exit) {}

    void OpenFolder(const std::string& folder) override;
    void ShutdownComputer() override;
    void EndProgram() override;

private:
    IDesktop& desktop_;
    IPowerOff* power_;
    IProcessExit& exit_;
};
