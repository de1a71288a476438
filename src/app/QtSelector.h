#pragma once

#include <string>
#include <vector>

#include "profiles/Selector.h"

class QComboBox;

// ISelector over a QComboBox. Every change made through it blocks the box's signals, so the
// handlers bound to the user's picks (QComboBox::activated, the line edit's textEdited) never
// run for the program's own changes. Keeps the contract of MemorySelector: adding items never
// selects one, SetItems and SetItemIndex(-1) keep the typed text of an editable box.
class QtSelector : public ISelector {
public:
    explicit QtSelector(QComboBox& box);

    int Count() const override;
    std::string Item(int index) const override;
    void AddItem(const std::string& text) override;
    void SetItems(const std::vector<std::string>& items) override;
    void Clear() override;
    int ItemIndex() const override;
    void SetItemIndex(int index) override;
    std::string Text() const override;
    void SetText(const std::string& text) override;

    QComboBox& Box() { return box_; }

private:
    QComboBox& box_;
};
