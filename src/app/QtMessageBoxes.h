#pragma once

#include "storage/MessageBoxes.h"

// IMessageBoxes through QMessageBox: application-modal, owned by the active window, so every
// window of the program is disabled while a box is up.
class QtMessageBoxes : public IMessageBoxes {
public:
    int Show(const std::string& text, const std::string& caption, Icon icon,
             Buttons buttons) override;
};
