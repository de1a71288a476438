#include "conversion/SysFunc.h"

#include "media/SourceList.h"

std::uint32_t TSysFunc::GetProcessIdByName(const std::string& name) const {
    const std::string wanted = UpperAscii(name);
    std::uint32_t found = 0;
    for (const IProcessTable::Entry& entry : table_.Snapshot()) {
        if (UpperAscii(entry.ExeName) == wanted) found = entry.Pid;
    }
    return found;
}
