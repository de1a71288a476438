#pragma once

#include <exception>
#include <string>
#include <utility>

#include "storage/MessageBoxes.h"

// The application's default error report: the error's text in a box with the error icon,
// captioned with the application title.
void ShowDefaultErrorReport(IMessageBoxes& boxes, const std::string& text);

// Runs one event handler so that no exception leaves it: an error is shown as the default error
// report and the program goes back to idle. True when the handler returned normally.
template <class Handler>
bool Guarded(IMessageBoxes& boxes, Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (const std::exception& error) {
        ShowDefaultErrorReport(boxes, error.what());
    } catch (...) {
        ShowDefaultErrorReport(boxes, "Unknown error.");
    }
    return false;
}
