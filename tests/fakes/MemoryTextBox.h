#pragma once

#include <string>
#include <utility>

#include "storage/Controls.h"

// A text box that only holds its text.
class MemoryTextBox : public ITextBox {
public:
    explicit MemoryTextBox(std::string text = "") : Value(std::move(text)) {}
    std::string Text() const override { return Value; }
    void SetText(const std::string& text) override { Value = text; }
    std::string Value;
};
