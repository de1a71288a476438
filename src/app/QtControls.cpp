#include "app/QtControls.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QSignalBlocker>
#include <QStatusBar>

#include "app/QtText.h"

bool QtCheckBox::Checked() const { return box_.isChecked(); }

void QtCheckBox::SetChecked(bool checked) {
    const QSignalBlocker block(box_);
    box_.setChecked(checked);
}

std::string QtLineEditText::Text() const { return ToStd(edit_.text()); }

void QtLineEditText::SetText(const std::string& text) {
    const QSignalBlocker block(edit_);
    edit_.setText(ToQt(text));
    edit_.setCursorPosition(0);
}

std::string QtLabelText::Text() const { return ToStd(label_.text()); }

void QtLabelText::SetText(const std::string& text) { label_.setText(ToQt(text)); }

void QtStatusText::SetText(const std::string& text) {
    text_ = text;
    bar_.showMessage(ToQt(text));
}

QtProgressBar::QtProgressBar(QProgressBar& bar) : bar_(bar) { Show(); }

void QtProgressBar::SetRange(int minimum, int maximum) {
    minimum_ = minimum;
    maximum_ = maximum < minimum ? minimum : maximum;
    if (position_ < minimum_) position_ = minimum_;
    if (position_ > maximum_) position_ = maximum_;
    Show();
}

void QtProgressBar::SetPosition(int position) {
    position_ = position < minimum_ ? minimum_ : (position > maximum_ ? maximum_ : position);
    Show();
}

void QtProgressBar::Show() {
    if (maximum_ > minimum_) {
        bar_.setRange(minimum_, maximum_);
        bar_.setValue(position_);
    } else {
        bar_.setRange(0, 1);
        bar_.setValue(0);
    }
}
