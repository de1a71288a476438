#pragma once

#include <cstdint>
#include <string>

#include "conversion/ProcessTable.h"

// Looks running processes up by their executable's file name.
class TSysFunc {
public:
    explicit TSysFunc(IProcessTable& table) : table_(table) {}

    // The id of the last listed process whose executable file name equals `name` without
    // regard to the case of A-Z, or 0.
    std::uint32_t GetProcessIdByName(const std::string& name) const;

    IProcessTable& Table() const { return table_; }

private:
    IProcessTable& table_;
};
