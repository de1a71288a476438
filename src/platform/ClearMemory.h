#pragma once

// Gives the heap's free memory back to the system. Processes no messages.
void ClearMemory();
