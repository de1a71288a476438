#include "app/KeyboardMap.h"

KeyCommand MatchKey(int key, Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    // The keypad flag tells where a key is, it is no modifier that the user holds.
    const Qt::KeyboardModifiers held = modifiers & ~Qt::KeypadModifier;
    const bool ctrlOnly = held == Qt::ControlModifier && buttons == Qt::NoButton;

    struct Row {
        int key;
        bool anyModifiers;
        KeyCommand command;
    };
    static const Row kRows[] = {
        {Qt::Key_O, false, KeyCommand::OpenFile},  {Qt::Key_R, false, KeyCommand::RemoveFile},
        {Qt::Key_L, false, KeyCommand::ClearFile}, {Qt::Key_I, false, KeyCommand::Options},
        {Qt::Key_P, false, KeyCommand::Play},      {Qt::Key_U, false, KeyCommand::Pause},
        {Qt::Key_T, false, KeyCommand::Stop},      {Qt::Key_S, false, KeyCommand::Convert},
        {Qt::Key_F1, true, KeyCommand::Help},      {Qt::Key_N, false, KeyCommand::Convert},
        {Qt::Key_B, false, KeyCommand::SelectOutputFolder},
    };
    for (const Row& row : kRows) {
        if (row.key == key && (row.anyModifiers || ctrlOnly)) return row.command;
    }
    return KeyCommand::None;
}
