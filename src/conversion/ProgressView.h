#pragma once

#include <string>

#include "storage/Controls.h"

// A progress bar as the progress dialog drives it.
class IProgressBar {
public:
    virtual ~IProgressBar() = default;
    virtual int Position() const = 0;
    virtual int Maximum() const = 0;
    virtual void SetRange(int minimum, int maximum) = 0;
    // Callers pass values already inside the range.
    virtual void SetPosition(int position) = 0;
};

// The controls of the progress dialog that its handlers change.
struct TProgressView {
    IProgressBar& ProgressBar1;  // current file, in seconds
    IProgressBar& pbTotal;       // whole batch, 100 per file
    ITextBox& lblPersent;        // counter line
    ITextBox& lblInfo;           // spinner line
    ITextBox& lblCurFileName;    // the job's input file
    ITextBox& statState;         // the encoder's latest status text
};
