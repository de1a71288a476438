#pragma once

#include "storage/Controls.h"

// A check box that only holds its state.
class MemoryCheckBox : public ICheckBox {
public:
    explicit MemoryCheckBox(bool checked = false) : Value(checked) {}
    bool Checked() const override { return Value; }
    void SetChecked(bool checked) override { Value = checked; }
    bool Value;
};
