#pragma once

#include <string>
#include <vector>

// A drop-down list: items, one selected index (-1 for none) and, for the one box that accepts
// typed text (the custom-profile box), a text. Changes made through this interface are the
// program's own and never run the handlers bound to the user's changes. The window implements
// it over a QComboBox; tests use MemorySelector.
class ISelector {
public:
    virtual ~ISelector() = default;

    virtual int Count() const = 0;
    virtual std::string Item(int index) const = 0;  // empty outside 0..Count()-1
    virtual void AddItem(const std::string& text) = 0;
    // Replaces the items; the text stays as it was and no item is selected.
    virtual void SetItems(const std::vector<std::string>& items) = 0;
    // Removes every item and clears the text.
    virtual void Clear() = 0;

    virtual int ItemIndex() const = 0;
    // An index outside the items leaves no selection; selecting an item shows its text.
    virtual void SetItemIndex(int index) = 0;

    virtual std::string Text() const = 0;
    virtual void SetText(const std::string& text) = 0;

    // The text of the selected item, empty when none is selected.
    std::string SelectedText() const { return Item(ItemIndex()); }
};

// A selector held in memory.
class MemorySelector : public ISelector {
public:
    int Count() const override { return static_cast<int>(items_.size()); }
    std::string Item(int index) const override {
        return index >= 0 && index < Count() ? items_[static_cast<size_t>(index)] : std::string();
    }
    void AddItem(const std::string& text) override { items_.push_back(text); }
    void SetItems(const std::vector<std::string>& items) override {
        items_ = items;
        index_ = -1;
    }
    void Clear() override {
        items_.clear();
        index_ = -1;
        text_.clear();
    }
    int ItemIndex() const override { return index_; }
    void SetItemIndex(int index) override {
        index_ = index >= 0 && index < Count() ? index : -1;
        if (index_ >= 0) text_ = items_[static_cast<size_t>(index_)];
    }
    std::string Text() const override { return text_; }
    void SetText(const std::string& text) override { text_ = text; }

private:
    std::vector<std::string> items_;
    int index_ = -1;
    std::string text_;
};
