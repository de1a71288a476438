#pragma once

#include <string>

#include "conversion/ProgressView.h"
#include "storage/Controls.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QStatusBar;

// The core's control interfaces over Qt widgets. Setting a value blocks the widget's signals.

class QtCheckBox : public ICheckBox {
public:
    explicit QtCheckBox(QCheckBox& box) : box_(box) {}
    bool Checked() const override;
    void SetChecked(bool checked) override;

private:
    QCheckBox& box_;
};

class QtLineEditText : public ITextBox {
public:
    explicit QtLineEditText(QLineEdit& edit) : edit_(edit) {}
    std::string Text() const override;
    void SetText(const std::string& text) override;

private:
    QLineEdit& edit_;
};

class QtLabelText : public ITextBox {
public:
    explicit QtLabelText(QLabel& label) : label_(label) {}
    std::string Text() const override;
    void SetText(const std::string& text) override;

private:
    QLabel& label_;
};

// The one-panel status bar: its text is the permanent message.
class QtStatusText : public ITextBox {
public:
    explicit QtStatusText(QStatusBar& bar) : bar_(bar) {}
    std::string Text() const override { return text_; }
    void SetText(const std::string& text) override;

private:
    QStatusBar& bar_;
    std::string text_;
};

// Keeps its own range and position: a QProgressBar whose range is empty (0 to 0) would show a
// busy animation, where an empty range means an empty bar here.
class QtProgressBar : public IProgressBar {
public:
    explicit QtProgressBar(QProgressBar& bar);
    int Position() const override { return position_; }
    int Maximum() const override { return maximum_; }
    void SetRange(int minimum, int maximum) override;
    void SetPosition(int position) override;

private:
    void Show();

    QProgressBar& bar_;
    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
};
