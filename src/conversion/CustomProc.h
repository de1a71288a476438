#pragma once

#include <string>

#include "conversion/CommonLib.h"
#include "media/SourceList.h"
#include "profiles/QualityProfiles.h"
#include "storage/Controls.h"

// The driver object: fills and presets the selectors (through TQualityProfiles), builds the
// encoder command line of a row, and carries the batch's counters.
class TCustomProc : public TQualityProfiles {
public:
    TCustomProc(TSelectors selectors, TProfileFiles& profiles, TCommonLib& lib,
                ISourceList& sourceList, ITextBox& edtOutputFolder);

    // Batch state.
    int ConvertedCount = 0;
    int CheckedCount = 0;
    int RefreshCount = 0;
    int CurrentRow = 0;
    std::string CommandLine;
    bool StopRequested = false;
    // Preview state.
    bool IsPlaying = false;

    // Set by every build, read by the progress dialog.
    std::string SegmentStart;   // the row's start time code
    std::string SegmentLength;  // end minus start in whole seconds, decimal text
    std::string OutputFile;     // the file the command line writes; empty without a command line

    // The command line for the row whose path is `FileName`; empty when the codec arguments
    // have no known shape. Fills the job record, writes the script file, creates the output
    // folder and logs.
    std::string BuildConvertParameter(const std::string& FileName);

    // The start cell of the last row with that path (A-Z compared without case); re-applies the
    // selected custom profile for every matching row. Empty when no row matches.
    std::string GetSegmentStart(const std::string& FileName);
    // End minus start of the last matching row, as decimal text, not clamped; `current` when
    // no row matches.
    std::string GetSegmentLength(const std::string& FileName, const std::string& current) const;
    // The output folder box's text with a trailing separator; the folder is created.
    std::string GetOutputFolder();

    // The script that names the source for the RealMedia encoder.
    static constexpr const char* kScriptName = "VideoFile.avs";

    TCommonLib& Lib() { return lib_; }
    ISourceList& SourceList() { return sourceList_; }

private:
    TCommonLib& lib_;
    ISourceList& sourceList_;
    ITextBox& edtOutputFolder_;
};
