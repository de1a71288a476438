#pragma once

#include <string>

// Message boxes as the core asks for them; the window supplies the real ones (QMessageBox),
// tests a recording fake.
class IMessageBoxes {
public:
    enum class Icon { None, Error, Warning, Question, Information };
    enum class Buttons { Ok, YesNo, YesNoCancel };
    // Button codes returned by Show.
    static constexpr int kNone = 0, kOk = 1, kCancel = 2, kYes = 6, kNo = 7;

    virtual ~IMessageBoxes() = default;
    // Shows one modal box captioned `caption`; returns the code of the button pressed, kNone
    // when no box could be shown.
    virtual int Show(const std::string& text, const std::string& caption, Icon icon,
                     Buttons buttons) = 0;
};

// The application title that captions every message box.
inline constexpr const char* kApplicationTitle = "Kestrava";

// Kinds 0 error, 1 warning, 2 question, 3 information, each with OK. True when a box was shown
// and closed; any other kind shows nothing and gives false.
bool ShowMessageBox(IMessageBoxes& boxes, const std::string& text, int kind);

// Information icon; kind 1 OK, 2 Yes/No, 3 Yes/No/Cancel. The code of the button pressed; any
// other kind shows nothing and gives 0.
int AppMessageBox(IMessageBoxes& boxes, const std::string& text, int kind);

// The Yes/No questions of the progress dialog: no icon. True only for Yes.
bool AskYesNo(IMessageBoxes& boxes, const std::string& text);
