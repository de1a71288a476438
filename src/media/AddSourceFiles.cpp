#include "media/AddSourceFiles.h"

#include <algorithm>
#include <array>

#include "media/TimeCode.h"
#include "storage/Errors.h"

namespace {

constexpr std::array<const char*, 15> kAcceptedExtensions = {
    ".3gp", ".3g2", ".avi", ".m4v", ".mp4",  ".mpeg", ".mpg", ".asf",
    ".mov", ".wmv", ".vob", ".flv", ".swf",  ".rm",   ".rmvb"};

std::string LowerAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool IsListed(const ISourceList& grid, const std::string& name) {
    for (int row = 0; row < grid.RowCount(); ++row) {
        if (grid.Cell(row, colFileName) == name) return true;
    }
    return false;
}

}  // namespace

std::string FileExtension(const std::string& name) {
    const auto slash = name.find_last_of('/');
    const auto nameStart = slash == std::string::npos ? 0 : slash + 1;
    const auto dot = name.find_last_of('.');
    if (dot == std::string::npos || dot < nameStart) return "";
    return name.substr(dot);
}

bool IsAcceptedSourceType(const std::string& name) {
    const std::string ext = LowerAscii(FileExtension(name));
    return std::any_of(kAcceptedExtensions.begin(), kAcceptedExtensions.end(),
                       [&](const char* accepted) { return ext == accepted; });
}

std::vector<std::string> RemoveDuplicateNames(const std::vector<std::string>& names) {
    std::vector<std::string> out;
    for (const std::string& name : names) {
        if (std::find(out.begin(), out.end(), name) == out.end()) out.push_back(name);
    }
    return out;
}

std::string FormatFileSize(std::int64_t size, char decimalSeparator) {
    constexpr std::int64_t kKilo = 1024, kMega = kKilo * 1024, kGiga = kMega * 1024;
    if (size < 0) size = 0;
    std::int64_t unit = 1;
    const char* unitText = " B";
    if (size >= kGiga) {
        unit = kGiga, unitText = " GB";
    } else if (size >= kMega) {
        unit = kMega, unitText = " MB";
    } else if (size >= kKilo) {
        unit = kKilo, unitText = " KB";
    }
    // Hundredths of the unit, cut, in exact integers (no floating error can round up).
    const std::int64_t hundredths = (size / unit) * 100 + (size % unit) * 100 / unit;
    std::string text = std::to_string(hundredths / 100);
    const int fraction = static_cast<int>(hundredths % 100);
    if (fraction != 0) {
        text += decimalSeparator;
        text += static_cast<char>('0' + fraction / 10);
        if (fraction % 10 != 0) text += static_cast<char>('0' + fraction % 10);
    }
    return text + unitText;
}

std::string BusySpinnerText(int spinStep) {
    static constexpr char kSigns[] = {'|', '/', '-', '\\'};
    const int index = ((spinStep - 1) % 4 + 4) % 4;
    return std::string("Installing File...  ") + kSigns[index];
}

int NextSpinStep(int spinStep) { return spinStep >= 4 ? 1 : spinStep + 1; }

void AddSourceFiles(ISourceList& grid, const std::vector<std::string>& names, IMediaProbe& probe,
                    IFileSystem& fs, IMessageBoxes& boxes,
                    const std::function<void()>& showSelectedFile, char decimalSeparator) {
    for (const std::string& name : names) {
        const bool hadRows = grid.RowCount() > 0;
        if (hadRows && IsListed(grid, name)) continue;
        if (!IsAcceptedSourceType(name)) continue;

        const std::string duration = SecondsToTimeCode(probe.GetMediaDuration(name));
        const char* warning = hadRows ? kReadErrorWithRows : kReadErrorEmptyList;
        if (duration == "00:00:00") {
            ShowMessageBox(boxes, warning, 1);
            continue;
        }
        // The size is read before the row exists, so a file that cannot be opened for it is
        // refused like an unreadable one and never leaves a half-filled row.
        std::int64_t size = 0;
        try {
            size = fs.FileSize(name);
        } catch (const FileError&) {
            ShowMessageBox(boxes, warning, 1);
            continue;
        }
        const int row = grid.AppendRow();
        grid.SetCell(row, colCheckStatus, kChecked);
        grid.SetCell(row, colFileName, name);
        grid.SetCell(row, colFileSize, FormatFileSize(size, decimalSeparator));
        grid.SetCell(row, colDuration, duration);
        grid.SetCell(row, colStartTime, "00:00:00");
        grid.SetCell(row, colEndTime, duration);
        grid.SetCell(row, colCutTime, duration);
    }
    if (grid.RowCount() > 0) {
        grid.SetSelected(0, true);
        if (showSelectedFile) showSelectedFile();
    }
}
