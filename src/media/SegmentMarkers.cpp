#include "media/SegmentMarkers.h"

#include <algorithm>
#include <cfenv>
#include <cmath>
#include <exception>

#include "media/TimeCode.h"
#include "storage/Errors.h"

namespace {

// The whole part of a double, toward zero, kept within the 64-bit range (NaN gives 0).
std::int64_t CutToInteger(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kLimit = 9.0e18;
    return static_cast<std::int64_t>(std::trunc(std::clamp(value, -kLimit, kLimit)));
}

// Nearest integer, halves to the even neighbour, kept within the int range.
int RoundHalfEven(double value) {
    if (std::isnan(value)) return 0;
    const int saved = std::fegetround();
    std::fesetround(FE_TONEAREST);
    const double rounded = std::nearbyint(std::clamp(value, -1.0e9, 1.0e9));
    std::fesetround(saved);
    return static_cast<int>(rounded);
}

// A time code read leniently: at least three pieces, each through TextToNumber cut to whole.
// Fewer pieces keep the value read before.
void ReadLenientTimeCode(const std::string& text, std::int64_t& seconds) {
    const auto pieces = SplitText(text, ':');
    if (pieces.size() < 3) return;
    seconds = CutToInteger(TextToNumber(pieces[0])) * 3600 +
              CutToInteger(TextToNumber(pieces[1])) * 60 + CutToInteger(TextToNumber(pieces[2]));
}

// A cell that must hold a time code: exactly three strict integer pieces, any hour width.
std::int64_t ReadCellTimeCode(const std::string& text) {
    std::int64_t seconds = 0;
    if (!ReadTimeCode(text, seconds)) {
        throw ConvertError("'" + text + "' is not a valid time code");
    }
    return seconds;
}

// Fraction `part` of `whole` (0 for a whole of 0, which no readable file has).
double Fraction(std::int64_t part, std::int64_t whole) {
    return whole == 0 ? 0.0 : static_cast<double>(part) / static_cast<double>(whole);
}

}  // namespace

std::int64_t GetCutLength(const ISourceList& grid, const std::string& path) {
    const std::string wanted = UpperAscii(path);
    std::int64_t start = 0, end = 0, result = 0;
    for (int row = 0; row < grid.RowCount(); ++row) {
        if (UpperAscii(grid.Cell(row, colFileName)) != wanted) continue;
        ReadTimeCode(grid.Cell(row, colStartTime), start);
        ReadTimeCode(grid.Cell(row, colEndTime), end);
        result = end - start;
    }
    return result;
}

TSegmentMarkers::TSegmentMarkers(ISourceList& grid, ISegmentBar& bar, IPreview& preview,
                                 IMessagePump& pump)
    : grid_(grid), bar_(bar), preview_(preview), pump_(pump) {}

int TSegmentMarkers::StartMarkerLeft() const { return bar_.LeftStripWidth(); }

int TSegmentMarkers::EndMarkerLeft() const {
    return kBarWidth - bar_.RightStripWidth() - kMarkerWidth;
}

void TSegmentMarkers::ShowSelectedFile() {
    bar_.SetBarWidth(kBarWidth);
    std::int64_t duration = 0, start = 0, end = 0;
    for (int row = 0; row < grid_.RowCount(); ++row) {
        if (!grid_.IsSelected(row)) continue;
        if (grid_.Cell(row, colFileName) == preview_.PreviewFile()) continue;
        preview_.StopVideo();

        ReadLenientTimeCode(grid_.Cell(row, colDuration), duration);
        ReadLenientTimeCode(grid_.Cell(row, colStartTime), start);
        ReadLenientTimeCode(grid_.Cell(row, colEndTime), end);
        DurationSeconds = duration;
        MarkersPlaced = false;

        const int leftRoom = kBarWidth - 2 - 2 * kMarkerWidth;
        const int w2 = RoundHalfEven(Fraction(start, DurationSeconds) * leftRoom) + 1;
        if (std::abs(w2 - bar_.LeftStripWidth()) > kLeftTolerance) {
            bar_.SetLeftStripWidth(std::max(0, w2));
        }
        const int rightRoom = kBarWidth - 2 - kMarkerWidth - kMarkerWidth;
        const int w3 = rightRoom - RoundHalfEven(Fraction(end, DurationSeconds) * rightRoom) + 1;
        if (std::abs(w3 - bar_.RightStripWidth()) > kRightTolerance) {
            bar_.SetRightStripWidth(std::max(0, w3));
        }
        MarkersPlaced = true;
    }
}

void TSegmentMarkers::SetStartTimeAndPlay() {
    pump_.ProcessMessages();
    bar_.SetBarWidth(kBarWidth);
    if (EndMarkerLeft() - StartMarkerLeft() < kMinMarkerDistance) {
        bar_.SetLeftStripWidth(std::max(0, bar_.LeftStripWidth() - 1));
    }
    const int percent =
        ((StartMarkerLeft() + kMarkerWidth - kPercentOffset) * kPercentFactor) / kBarWidth;
    // A strip stepped back to nothing gives -1 percent; a start is never before the file.
    PlayStartSeconds = std::max<std::int64_t>(0, (percent * DurationSeconds) / kPercent);

    for (int row = 0; row < grid_.RowCount(); ++row) {
        if (!grid_.IsSelected(row)) continue;
        grid_.SetCell(row, colStartTime, SecondsToTimeCode(PlayStartSeconds));
        grid_.SetCell(row, colCutTime,
                      SecondsToTimeCode(GetCutLength(grid_, grid_.Cell(row, colFileName))));
        if (MarkersPlaced && preview_.IsActive()) {
            try {
                preview_.SetPlayPosition(PlayStartSeconds * 1000);
            } catch (...) {
                // The seek is a courtesy to the preview; the cells are what counts.
            }
        }
        grid_.Refresh();
    }
}

void TSegmentMarkers::Splitter2Moved() {
    pump_.ProcessMessages();
    bar_.SetBarWidth(kBarWidth);
    if (EndMarkerLeft() - StartMarkerLeft() < kMinMarkerDistance) {
        bar_.SetRightStripWidth(std::max(0, bar_.RightStripWidth() - 1));
    }
    const int percent =
        ((EndMarkerLeft() + kMarkerWidth - kMarkerWidth - kPercentOffset) * kPercentFactor) /
        kBarWidth;
    const std::int64_t end = (percent * DurationSeconds) / kPercent;

    for (int row = 0; row < grid_.RowCount(); ++row) {
        if (!grid_.IsSelected(row)) continue;
        grid_.SetCell(row, colEndTime, SecondsToTimeCode(end));
        StopAtTime = SecondsToTimeCode(end);
        grid_.SetCell(row, colCutTime,
                      SecondsToTimeCode(GetCutLength(grid_, grid_.Cell(row, colFileName))));
        grid_.Refresh();
    }
    bar_.RepaintEndMarker();
}

int TSegmentMarkers::NudgeStep(const MouseState& m) {
    const bool onlyLeftButton = m.leftButton && !m.rightButton && !m.middleButton && !m.alt;
    if (onlyLeftButton && m.ctrl && !m.shift) return kFineStep;
    if (onlyLeftButton && m.shift && !m.ctrl) return kCoarseStep;
    return kPlainStep;
}

void TSegmentMarkers::Panel2MouseDown(const MouseState& mouse) {
    if (!mouse.leftButton) return;
    const int step = NudgeStep(mouse);
    const int w2 = bar_.LeftStripWidth();
    if (w2 > step && w2 + bar_.RightStripWidth() + kFreeRoom <= kBarWidth) {
        bar_.SetLeftStripWidth(w2 - step);
        SetStartTimeAndPlay();
    }
}

void TSegmentMarkers::Panel3MouseDown(const MouseState& mouse) {
    if (!mouse.leftButton) return;
    const int step = NudgeStep(mouse);
    const int w3 = bar_.RightStripWidth();
    if (w3 > step && bar_.LeftStripWidth() + w3 + kFreeRoom <= kBarWidth) {
        bar_.SetRightStripWidth(w3 - step);
        Splitter2Moved();
    }
}

void TSegmentMarkers::ResetMarkers() {
    bar_.SetLeftStripWidth(kResetStripWidth);
    bar_.SetRightStripWidth(kResetStripWidth);
}

void TSegmentMarkers::ValidateEditedCells() {
    // A failing seek is reported only after every selected row's cells were checked, so that
    // no row is left half corrected.
    std::exception_ptr seekError;
    for (int row = 0; row < grid_.RowCount(); ++row) {
        if (!grid_.IsSelected(row)) continue;
        const std::string dur = grid_.Cell(row, colDuration);
        std::string st = grid_.Cell(row, colStartTime);
        std::string en = grid_.Cell(row, colEndTime);
        if (st.empty()) {
            st = "00:00:00";
            grid_.SetCell(row, colStartTime, st);
        }
        if (en.empty()) {
            en = dur;
            grid_.SetCell(row, colEndTime, en);
        }
        // Read by splitting at ":", so codes of 100 hours and more are read as well.
        const std::int64_t durS = ReadCellTimeCode(dur);
        const std::int64_t stS = ReadCellTimeCode(st);
        const std::int64_t enS = ReadCellTimeCode(en);

        if (stS >= durS) grid_.SetCell(row, colStartTime, dur);
        // The end follows the start as it now stands: a start beyond the duration was cut back
        // to the duration above, and the end must not be left beyond it.
        if (stS >= enS) grid_.SetCell(row, colEndTime, grid_.Cell(row, colStartTime));
        if (MarkersPlaced && preview_.IsActive()) {
            const std::int64_t startNow = ReadCellTimeCode(grid_.Cell(row, colStartTime));
            try {
                preview_.SetPlayPosition(startNow * 1000);
            } catch (...) {
                if (!seekError) seekError = std::current_exception();
            }
        }
        if (enS >= durS) grid_.SetCell(row, colEndTime, dur);
        grid_.SetCell(row, colCutTime, SecondsToTimeCode(std::min(durS, enS) - stS));
    }
    if (seekError) std::rethrow_exception(seekError);
}

void TSegmentMarkers::CommitStartCell() {
    for (int row = 0; row < grid_.RowCount(); ++row) {
        if (grid_.IsSelected(row) && grid_.FocusedRow() == row) grid_.SetFocusedRow(-1);
    }
    ValidateEditedCells();
}
