#include "app/FileVersion.h"

#include "storage/ProductInfo.h"

std::string ProgramFileVersion() { return KESTRAVA_FILE_VERSION; }

std::string GetFileVersionText() { return VersionTextFromFileVersion(ProgramFileVersion()); }
