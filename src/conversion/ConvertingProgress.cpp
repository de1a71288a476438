#include "conversion/ConvertingProgress.h"

#include <algorithm>
#include <exception>

#include "media/TimeCode.h"
#include "storage/IniText.h"
#include "storage/Errors.h"

namespace {

constexpr const char* kUnknownTime = "10000000000";

bool StartsWith(const std::string& text, const std::string& prefix) {
    return text.rfind(prefix, 0) == 0;
}

void SetClamped(IProgressBar& bar, int minimum, int value) {
    bar.SetPosition(std::clamp(value, minimum, std::max(minimum, bar.Maximum())));
}

}  // namespace

TConvertingProgress::TConvertingProgress(TCustomProc& proc, TProgressView view)
    : proc_(proc), view_(view) {}

void TConvertingProgress::FormShow() {
    SpinnerStep = 0;
    view_.lblCurFileName.SetText(proc_.Lib().ConvertParam.InputFile);
    view_.lblPersent.SetText("Current: 1, Total: " + std::to_string(proc_.CheckedCount));
    view_.ProgressBar1.SetRange(0, 1);
    view_.ProgressBar1.SetPosition(0);
    view_.pbTotal.SetRange(0, 1);
    view_.pbTotal.SetPosition(0);
}

std::string TConvertingProgress::SpinnerText(int step, bool converting) {
    static const char* const kSigns[] = {"|", "/", "-", "\\", "|"};
    const char* sign = kSigns[std::clamp(step, 1, 5) - 1];
    return std::string(converting ? "Converting  " : "Installing convert information  ") + sign;
}

void TConvertingProgress::tmrChangingTimer() {
    if (++SpinnerStep > 5) SpinnerStep = 1;
    view_.lblInfo.SetText(SpinnerText(SpinnerStep, view_.ProgressBar1.Position() >= 3));
}

void TConvertingProgress::actRefreshProgressExecute() {
    if (++proc_.RefreshCount <= 1) return;

    // The overall bar uses the file bar of the previous refresh, so it trails by one refresh;
    // the + 1 keeps a finished file below its hundred.
    const int checked = proc_.CheckedCount;
    const int converted = proc_.ConvertedCount;
    view_.pbTotal.SetRange(0, std::max(0, checked * 100));
    const int overall = view_.ProgressBar1.Position() * 100 / (view_.ProgressBar1.Maximum() + 1) +
                        converted * 100;
    SetClamped(view_.pbTotal, 0, overall);
    view_.lblPersent.SetText("Current: " + std::to_string(converted + 1) +
                             " , Total: " + std::to_string(checked) + ".");

    // A negative segment (end before start) gives the file bar the range 0 to 0.
    int length = 0;
    try {
        length = StrToIntStrict(proc_.SegmentLength);
    } catch (const ConvertError&) {
        length = 0;
    }
    view_.ProgressBar1.SetRange(0, std::max(0, length));

    const std::string status = view_.statState.Text();
    if (status.empty()) return;
    const std::vector<std::string> pieces = SplitText(status, '=');
    const TConvertParameterStruct& job = proc_.Lib().ConvertParam;
    const bool audioOnly = StartsWith(IniText::Trim(job.CodecParam), "-acodec") && job.OutputExt != ".3gp";
    std::string field;
    if (audioOnly) {
        if (pieces.size() < 4) return;
        field = pieces[2];
    } else {
        if (pieces.size() < 5) return;
        field = pieces[4];
    }
    const std::vector<std::string> parts = SplitText(field, '.');
    if (parts.empty() || parts[0] == kUnknownTime) return;
    double seconds = 0;
    try {
        seconds = TextToNumber(parts[0]);
    } catch (const ConvertError&) {
        return;
    }
    const double limited = std::clamp(seconds, -2147483648.0, 2147483647.0);
    SetClamped(view_.ProgressBar1, 0, static_cast<int>(limited));
}

void TConvertingProgress::ShowConvertOutput(const std::string& text) {
    view_.statState.SetText(text);
    view_.lblCurFileName.SetText(proc_.Lib().ConvertParam.InputFile);
    actRefreshProgressExecute();
}

void TConvertingProgress::ResetAfterStop() {
    view_.ProgressBar1.SetPosition(0);
    view_.pbTotal.SetRange(0, 0);
    view_.pbTotal.SetPosition(0);
    view_.lblPersent.SetText("Current: 1, Total: ...");
}

void TConvertingProgress::RowFinished() {
    view_.ProgressBar1.SetPosition(view_.ProgressBar1.Maximum());
    view_.pbTotal.SetRange(0, std::max(0, proc_.CheckedCount * 100));
    SetClamped(view_.pbTotal, 0, proc_.ConvertedCount * 100);
}
