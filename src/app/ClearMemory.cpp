#include "app/ClearMemory.h"

#include <malloc.h>

namespace app {

void ClearMemory() { malloc_trim(0); }

}  // namespace app
