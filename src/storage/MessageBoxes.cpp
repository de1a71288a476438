#include "storage/MessageBoxes.h"

bool ShowMessageBox(IMessageBoxes& boxes, const std::string& text, int kind) {
    IMessageBoxes::Icon icon;
    switch (kind) {
        case 0: icon = IMessageBoxes::Icon::Error; break;
        case 1: icon = IMessageBoxes::Icon::Warning; break;
        case 2: icon = IMessageBoxes::Icon::Question; break;
        case 3: icon = IMessageBoxes::Icon::Information; break;
        default: return false;
    }
    return boxes.Show(text, kApplicationTitle, icon, IMessageBoxes::Buttons::Ok) !=
           IMessageBoxes::kNone;
}

int AppMessageBox(IMessageBoxes& boxes, const std::string& text, int kind) {
    IMessageBoxes::Buttons buttons;
    switch (kind) {
        case 1: buttons = IMessageBoxes::Buttons::Ok; break;
        case 2: buttons = IMessageBoxes::Buttons::YesNo; break;
        case 3: buttons = IMessageBoxes::Buttons::YesNoCancel; break;
        default: return IMessageBoxes::kNone;
    }
    return boxes.Show(text, kApplicationTitle, IMessageBoxes::Icon::Information, buttons);
}

bool AskYesNo(IMessageBoxes& boxes, const std::string& text) {
    return boxes.Show(text, kApplicationTitle, IMessageBoxes::Icon::None,
                      IMessageBoxes::Buttons::YesNo) == IMessageBoxes::kYes;
}
