#include "profiles/OptionTables.h"
