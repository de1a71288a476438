#include "app/HandlerGuard.h"

void ShowDefaultErrorReport(IMessageBoxes& boxes, const std::string& text) {
    boxes.Show(text, kApplicationTitle, IMessageBoxes::Icon::Error, IMessageBoxes::Buttons::Ok);
}
