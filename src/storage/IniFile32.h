#pragma once

#include <string>
#include <vector>

#include "storage/FileSystem.h"

// The program's own INI reader and writer. The whole file is held as lines; every change is
// saved at once, destruction never saves. Its rules are its own: a section is found only by
// its exact header line (letter case aside), keys are case-sensitive, there are no comments,
// and new keys go at the end of their section.
class TIniFile32 {
public:
    // Loads the file when it exists (FileError when it exists but cannot be read); a missing
    // file gives no lines and creates nothing.
    explicit TIniFile32(std::string fileName, IFileSystem& fs = DefaultFileSystem());

    std::string ReadString(const std::string& section, const std::string& key,
                           const std::string& def) const;
    // Decimal, or hexadecimal after "$" or "0x"; `def` when the value is no 32-bit integer.
    int ReadInteger(const std::string& section, const std::string& key, int def) const;
    // Changes the lines, then saves the whole file (also when nothing changed). A failed save
    // throws FileError; the change then stays in Lines() only.
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    void WriteInteger(const std::string& section, const std::string& key, int value);
    // Removes the section and saves; a missing section changes and saves nothing.
    void EraseSection(const std::string& section);
    // Clears `list` and fills it with every section name, in file order.
    void ReadSections(std::vector<std::string>& list) const;

    const std::vector<std::string>& Lines() const { return Lines_; }
    const std::string& FileName() const { return FileName_; }

private:
    int FindSection(const std::string& section) const;
    void LoadFile();
    void SaveFile();

    std::string FileName_;
    std::vector<std::string> Lines_;
    IFileSystem* Fs_;
};
