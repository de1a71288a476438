// The keyboard map: the rows in order, exactly-Ctrl, F1 with any modifiers, the key passed on.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include "TestProgramFolder.h"
#include "app/BitmapButton.h"
#include "app/FrmMainForm.h"
#include "app/FrmOption.h"
#include "app/KeyboardMap.h"

TEST(AppKeyboardMap, MatchesEveryRowOnlyWithCtrlAlone) {
    struct Case {
        int key;
        Qt::KeyboardModifiers modifiers;
        Qt::MouseButtons buttons;
        KeyCommand expected;
    };
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    const Case cases[] = {
        {Qt::Key_O, ctrl, Qt::NoButton, KeyCommand::OpenFile},
        {Qt::Key_R, ctrl, Qt::NoButton, KeyCommand::RemoveFile},
        {Qt::Key_L, ctrl, Qt::NoButton, KeyCommand::ClearFile},
        {Qt::Key_I, ctrl, Qt::NoButton, KeyCommand::Options},
        {Qt::Key_P, ctrl, Qt::NoButton, KeyCommand::Play},
        {Qt::Key_U, ctrl, Qt::NoButton, KeyCommand::Pause},
        {Qt::Key_T, ctrl, Qt::NoButton, KeyCommand::Stop},
        {Qt::Key_S, ctrl, Qt::NoButton, KeyCommand::Convert},
        {Qt::Key_N, ctrl, Qt::NoButton, KeyCommand::Convert},
        {Qt::Key_B, ctrl, Qt::NoButton, KeyCommand::SelectOutputFolder},
        {Qt::Key_S, ctrl | Qt::KeypadModifier, Qt::NoButton, KeyCommand::Convert},
        {Qt::Key_S, ctrl | Qt::ShiftModifier, Qt::NoButton, KeyCommand::None},
        {Qt::Key_S, ctrl | Qt::AltModifier, Qt::NoButton, KeyCommand::None},
        {Qt::Key_S, ctrl | Qt::MetaModifier, Qt::NoButton, KeyCommand::None},
        {Qt::Key_S, ctrl, Qt::LeftButton, KeyCommand::None},
        {Qt::Key_S, Qt::NoModifier, Qt::NoButton, KeyCommand::None},
        {Qt::Key_O, Qt::AltModifier, Qt::NoButton, KeyCommand::None},
        {Qt::Key_F1, Qt::NoModifier, Qt::NoButton, KeyCommand::Help},
        {Qt::Key_F1, ctrl, Qt::NoButton, KeyCommand::Help},
        {Qt::Key_F1, Qt::ShiftModifier | Qt::AltModifier, Qt::LeftButton, KeyCommand::Help},
        {Qt::Key_A, ctrl, Qt::NoButton, KeyCommand::None},
        {Qt::Key_F2, Qt::NoModifier, Qt::NoButton, KeyCommand::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key | int(c.modifiers)).toString().toStdString());
        EXPECT_EQ(MatchKey(c.key, c.modifiers, c.buttons), c.expected);
    }
}

namespace {

class AppKeyboard : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(test.Start());
        focused = test.Main().edtOutputFolder;
        focused->setFocus();
        TFrmMainForm& m = test.Main();
        buttons = {{"btnOpenFile", m.btnOpenFile},   {"btnRemoveFile", m.btnRemoveFile},
                   {"btnClearFile", m.btnClearFile}, {"btnOptions", m.btnOptions},
                   {"btnPlay", m.btnPlay},           {"btnPause", m.btnPause},
                   {"btnStop", m.btnStop},           {"btnConvert", m.btnConvert}};
        for (auto& [name, button] : buttons)
            spies.emplace(name, std::make_unique<QSignalSpy>(button, &QAbstractButton::clicked));
        focused->installEventFilter(&counter);
    }

    // The buttons clicked since the last call.
    std::vector<std::string> Clicked() {
        std::vector<std::string> clicked;
        for (auto& [name, spy] : spies) {
            if (spy->count() > 0) clicked.push_back(name);
            spy->clear();
        }
        return clicked;
    }

    struct KeyCounter : QObject {
        int keys = 0;
        // Key presses other than the modifier keys themselves (a click with Ctrl held
        // presses Ctrl first).
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() != QEvent::KeyPress) return false;
            const int key = static_cast<QKeyEvent*>(e)->key();
            if (key != Qt::Key_Control && key != Qt::Key_Shift && key != Qt::Key_Alt) ++keys;
            return false;
        }
    } counter;

    TestProgramFolder folder;
    TestProgram test{folder};
    QWidget* focused = nullptr;
    std::map<std::string, QAbstractButton*> buttons;
    std::map<std::string, std::unique_ptr<QSignalSpy>> spies;
};

}  // namespace

TEST_F(AppKeyboard, EachShortcutClicksItsButtonAndTheKeyStillReachesTheFocusedControl) {
    const std::pair<Qt::Key, const char*> rows[] = {
        {Qt::Key_O, "btnOpenFile"}, {Qt::Key_R, "btnRemoveFile"}, {Qt::Key_L, "btnClearFile"},
        {Qt::Key_I, "btnOptions"},  {Qt::Key_P, "btnPlay"},       {Qt::Key_U, "btnPause"},
        {Qt::Key_T, "btnStop"},     {Qt::Key_S, "btnConvert"},    {Qt::Key_N, "btnConvert"},
    };
    int keys = 0;
    for (const auto& [key, button] : rows) {
        SCOPED_TRACE(button);
        QTest::keyClick(focused, key, Qt::ControlModifier);
        EXPECT_EQ(Clicked(), std::vector<std::string>{button});
        EXPECT_EQ(counter.keys, ++keys);
    }
    EXPECT_TRUE(test.Options().isVisible());  // Ctrl+I opened it, not modal
    EXPECT_FALSE(test.Options().isModal());
}

TEST_F(AppKeyboard, CtrlWithShiftOrAltRunsNothing) {
    QTest::keyClick(focused, Qt::Key_S, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(focused, Qt::Key_S, Qt::ControlModifier | Qt::AltModifier);
    QTest::keyClick(focused, Qt::Key_B, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_TRUE(Clicked().empty());
    EXPECT_TRUE(test.browser.Titles.empty());
    EXPECT_EQ(counter.keys, 3);
}

TEST_F(AppKeyboard, F1WithAnyModifiersOpensTheHelpOfTheProgramFolder) {
    QTest::keyClick(focused, Qt::Key_F1);
    QTest::keyClick(focused, Qt::Key_F1, Qt::ControlModifier);
    QTest::keyClick(focused, Qt::Key_F1, Qt::ShiftModifier);
    const std::string help = folder.AppPath() + "Help.html";
    EXPECT_EQ(test.desktop.Opened, (std::vector<std::string>{help, help, help}));
    EXPECT_TRUE(Clicked().empty());
}

TEST_F(AppKeyboard, CtrlBChoosesTheOutputFolder) {
    TempFolder chosen;
    test.browser.Answers = {chosen.Path().string()};
    QTest::keyClick(focused, Qt::Key_B, Qt::ControlModifier);
    EXPECT_EQ(test.browser.Titles, std::vector<std::string>{"Please select output folder:"});
    EXPECT_EQ(test.Main().edtOutputFolder->text().toStdString(), chosen.Path().string());
}

TEST_F(AppKeyboard, KeysOfAnotherWindowAreNotTheMainWindowsConcern) {
    test.Main().btnOptions->click();
    Clicked();
    QTest::keyClick(static_cast<QWidget*>(test.Options().cbbFramerate), Qt::Key_S, Qt::ControlModifier);
    EXPECT_TRUE(Clicked().empty());
}
