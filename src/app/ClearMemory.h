#pragma once

namespace app {

// The memory trim of the main window's timer: gives the heap's free memory back to the system.
// Uses no program data and processes no messages.
void ClearMemory();

}  // namespace app
