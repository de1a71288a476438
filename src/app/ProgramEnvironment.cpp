#include "app/ProgramEnvironment.h"

#include <cstdio>
#include <cstdlib>

void ImmediateExit::EndProcess(int exitCode) {
    std::fflush(nullptr);
    std::_Exit(exitCode);
}
