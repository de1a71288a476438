#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "media/MediaProbe.h"
#include "media/SourceList.h"
#include "storage/FileSystem.h"
#include "storage/MessageBoxes.h"

// Warnings for a file whose duration (or size) cannot be read, by whether the list had rows.
inline constexpr const char* kReadErrorEmptyList = "Files reading error! Please check your files.";
inline constexpr const char* kReadErrorWithRows =
    "Files reading error! Please check your files or install a new codec.";

// The extension of the name part, from its last dot on (dot included; "" without a dot).
std::string FileExtension(const std::string& name);

// True when the lower-cased extension is one of the fifteen accepted media types.
bool IsAcceptedSourceType(const std::string& name);

// The names in order, each later exact repeat (letter case included) left out.
std::vector<std::string> RemoveDuplicateNames(const std::vector<std::string>& names);

// Size text: B, KB or MB below 2^30 bytes, GB from there on; the number cut (never rounded) to
// two decimals, without trailing zeros. A negative size counts as 0.
std::string FormatFileSize(std::int64_t size, char decimalSeparator = '.');

// The busy window's spinner: 1 "Installing File...  |", 2 "/", 3 "-", 4 "\".
std::string BusySpinnerText(int spinStep);
// The following spinner step, 4 wrapping to 1.
int NextSpinStep(int spinStep);

// Appends a row for every accepted, not yet listed name whose duration and size can be read, in
// order; an unreadable file gets a warning box and no row. Then selects the first row, if any,
// and runs showSelectedFile.
void AddSourceFiles(ISourceList& grid, const std::vector<std::string>& names, IMediaProbe& probe,
                    IFileSystem& fs, IMessageBoxes& boxes,
                    const std::function<void()>& showSelectedFile, char decimalSeparator = '.');
