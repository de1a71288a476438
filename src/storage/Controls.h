#pragma once

#include <string>

// The two kinds of main-window control the core reads and writes: the after-job check boxes and
// the read-only output-folder box. Setting them from the program runs no user handler.
class ICheckBox {
public:
    virtual ~ICheckBox() = default;
    virtual bool Checked() const = 0;
    virtual void SetChecked(bool checked) = 0;
};

class ITextBox {
public:
    virtual ~ITextBox() = default;
    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& text) = 0;
};
