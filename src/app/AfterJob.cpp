#include "app/AfterJob.h"

void TAfterJob::OpenFolder(const std::string& folder) {
    // The folder of no build yet (an all-unchecked first batch) opens nothing.
    if (!folder.empty()) desktop_.Open(folder);
}

void TAfterJob::ShutdownComputer() {
    if (power_) power_->PowerOff();
}

void TAfterJob::EndProgram() { exit_.EndProcess(0); }
