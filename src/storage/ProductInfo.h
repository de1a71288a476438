#pragma once

#include <string>
#include <vector>

// The product information read once at start-up from the resource library and the program's
// own version.
struct TRecSoftInfo {
    std::string MakerName;     // string 0
    std::string ProductName;   // string 1
    std::string ProductText2;  // string 2
    std::string Version;       // major.minor of the program's file version
    std::string HomePage;      // string 4
    std::string EMail;         // string 5
    std::string ProductText7;  // string 7
    std::string AppPath;       // program folder with its trailing separator
};

// Empties `list`, then adds every non-empty piece of `text` between separators, in order.
void SplitString(const std::string& text, char separator, std::vector<std::string>& list);

// "1.4.0.0" gives "1.4": the first two pieces of a file version joined by "."; empty when the
// version has fewer than two pieces.
std::string VersionTextFromFileVersion(const std::string& fileVersion);

// The main window's caption and title label: product name, one blank, version.
std::string MakeWindowTitle(const TRecSoftInfo& info);
