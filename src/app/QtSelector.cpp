#include "app/QtSelector.h"

#include <QComboBox>
#include <QSignalBlocker>

#include "app/QtText.h"

QtSelector::QtSelector(QComboBox& box) : box_(box) {}

int QtSelector::Count() const { return box_.count(); }

std::string QtSelector::Item(int index) const {
    if (index < 0 || index >= box_.count()) return {};
    return ToStd(box_.itemText(index));
}

void QtSelector::AddItem(const std::string& text) {
    const QSignalBlocker block(box_);
    const int index = box_.currentIndex();
    const QString typed = box_.currentText();
    box_.addItem(ToQt(text));
    // A combo box selects its first item by itself; a selector does not.
    if (box_.currentIndex() != index) box_.setCurrentIndex(index);
    if (box_.isEditable() && box_.currentText() != typed) box_.setEditText(typed);
}

void QtSelector::SetItems(const std::vector<std::string>& items) {
    const QSignalBlocker block(box_);
    const QString typed = box_.currentText();
    box_.clear();
    for (const std::string& item : items) box_.addItem(ToQt(item));
    box_.setCurrentIndex(-1);
    if (box_.isEditable()) box_.setEditText(typed);
}

void QtSelector::Clear() {
    const QSignalBlocker block(box_);
    box_.clear();
    box_.setCurrentIndex(-1);
    if (box_.isEditable()) box_.clearEditText();
}

int QtSelector::ItemIndex() const { return box_.currentIndex(); }

void QtSelector::SetItemIndex(int index) {
    const QSignalBlocker block(box_);
    if (index >= 0 && index < box_.count()) {
        box_.setCurrentIndex(index);
        return;
    }
    const QString typed = box_.currentText();
    box_.setCurrentIndex(-1);
    if (box_.isEditable()) box_.setEditText(typed);
}

std::string QtSelector::Text() const { return ToStd(box_.currentText()); }

void QtSelector::SetText(const std::string& text) {
    const QSignalBlocker block(box_);
    if (box_.isEditable()) {
        box_.setEditText(ToQt(text));
        return;
    }
    // A list that cannot be typed into shows only its items: the text selects the item of that
    // text, and no item when there is none.
    box_.setCurrentIndex(text.empty() ? -1 : box_.findText(ToQt(text), Qt::MatchExactly));
}
