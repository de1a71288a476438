// QtSelector keeps the selector contract of MemorySelector, and never reports its own changes.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <functional>

#include "app/QtSelector.h"

namespace {

struct Step {
    const char* name;
    std::function<void(ISelector&)> run;
};

struct State {
    int count, index;
    std::string text, selected;
    bool operator==(const State&) const = default;
};

State Read(const ISelector& s) { return {s.Count(), s.ItemIndex(), s.Text(), s.SelectedText()}; }

std::ostream& operator<<(std::ostream& out, const State& s) {
    return out << "{count " << s.count << ", index " << s.index << ", text '" << s.text
               << "', selected '" << s.selected << "'}";
}

}  // namespace

TEST(AppQtSelector, BehavesLikeTheMemorySelector) {
    const Step steps[] = {
        {"add first", [](ISelector& s) { s.AddItem("Low"); }},
        {"add second", [](ISelector& s) { s.AddItem("High"); }},
        {"select 1", [](ISelector& s) { s.SetItemIndex(1); }},
        {"add third keeps selection", [](ISelector& s) { s.AddItem("Top"); }},
        {"select past the end", [](ISelector& s) { s.SetItemIndex(7); }},
        {"select 0", [](ISelector& s) { s.SetItemIndex(0); }},
        {"select -1", [](ISelector& s) { s.SetItemIndex(-1); }},
        {"replace items", [](ISelector& s) { s.SetItems({"A", "B"}); }},
        {"select 1 again", [](ISelector& s) { s.SetItemIndex(1); }},
        {"clear", [](ISelector& s) { s.Clear(); }},
        {"add after clear", [](ISelector& s) { s.AddItem("Z"); }},
    };
    for (bool editable : {false, true}) {
        SCOPED_TRACE(editable ? "editable" : "drop-down list");
        QComboBox box;
        box.setEditable(editable);
        QtSelector qt(box);
        MemorySelector memory;
        QSignalSpy activated(&box, &QComboBox::activated);
        QSignalSpy changed(&box, &QComboBox::currentIndexChanged);
        for (const Step& step : steps) {
            SCOPED_TRACE(step.name);
            step.run(qt);
            step.run(memory);
            State expected = Read(memory);
            // A list that cannot be typed into shows only the selected item's text.
            if (!editable) expected.text = expected.selected;
            EXPECT_EQ(Read(qt), expected);
        }
        EXPECT_EQ(activated.count(), 0);
        EXPECT_EQ(changed.count(), 0);
    }
}

TEST(AppQtSelector, TheEditableBoxKeepsTypedTextWhenItsItemsAreReplaced) {
    QComboBox box;
    box.setEditable(true);
    QtSelector selector(box);
    selector.SetItems({"Travel", "Home"});
    selector.SetText("Phone");
    selector.SetItems({"Travel", "Home", "Phone"});
    EXPECT_EQ(selector.Text(), "Phone");
    EXPECT_EQ(selector.ItemIndex(), -1);
    selector.SetItemIndex(-1);
    EXPECT_EQ(selector.Text(), "Phone");
    selector.SetItemIndex(0);
    EXPECT_EQ(selector.Text(), "Travel");
}

TEST(AppQtSelector, TextOfADropDownListSelectsTheItemOfThatText) {
    QComboBox box;
    QtSelector selector(box);
    selector.SetItems({"Low", "Normal"});
    selector.SetText("Normal");
    EXPECT_EQ(selector.ItemIndex(), 1);
    selector.SetText("None of them");
    EXPECT_EQ(selector.ItemIndex(), -1);
    EXPECT_EQ(selector.Text(), "");
}
