#include "platform/ClearMemory.h"

#include <malloc.h>

void ClearMemory() {
    // The result only says whether anything was released; either way there is nothing to do.
    (void)::malloc_trim(0);
}
