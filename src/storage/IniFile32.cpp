#include "storage/IniFile32.h"

#include <utility>

#include "storage/IniText.h"

using namespace IniText;

TIniFile32::TIniFile32(std::string fileName, IFileSystem& fs)
    : FileName_(std::move(fileName)), Fs_(&fs) {
    LoadFile();
}

void TIniFile32::LoadFile() {
    if (const std::optional<std::string> bytes = Fs_->ReadFile(FileName_)) Lines_ = SplitLines(*bytes);
}

void TIniFile32::SaveFile() { Fs_->ReplaceFile(FileName_, JoinLines(Lines_)); }

int TIniFile32::FindSection(const std::string& section) const {
    const std::string header = "[" + section + "]";
    for (std::size_t i = 0; i < Lines_.size(); ++i)
        if (EqualsIgnoringCase(Lines_[i], header)) return static_cast<int>(i);
    return -1;
}

std::string TIniFile32::ReadString(const std::string& section, const std::string& key,
                                   const std::string& def) const {
    const int header = FindSection(section);
    if (header < 0) return def;
    for (std::size_t i = header + 1; i < Lines_.size() && !IsSectionLine(Lines_[i]); ++i) {
        if (KeyOfLine(Lines_[i]) != key) continue;
        const std::string value = ValueOfLine(Lines_[i], key);
        return value.empty() ? def : value;
    }
    return def;
}

int TIniFile32::ReadInteger(const std::string& section, const std::string& key, int def) const {
    std::string text = ReadString(section, key, "");
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.replace(0, 2, "$");
    return ParseInteger(text).value_or(def);
}

void TIniFile32::WriteString(const std::string& section, const std::string& key,
                             const std::string& value) {
    const int header = FindSection(section);
    if (header < 0) {
        Lines_.emplace_back();
        Lines_.push_back("[" + section + "]");
        if (!key.empty()) Lines_.push_back(key + "=" + value);
    } else if (!key.empty()) {
        std::size_t i = header + 1;
        while (i < Lines_.size() && !IsSectionLine(Lines_[i]) && KeyOfLine(Lines_[i]) != key) ++i;
        if (i < Lines_.size() && !IsSectionLine(Lines_[i]))
            Lines_[i] = key + "=" + value;
        else
            Lines_.insert(Lines_.begin() + static_cast<std::ptrdiff_t>(i), key + "=" + value);
    }
    SaveFile();
}

void TIniFile32::WriteInteger(const std::string& section, const std::string& key, int value) {
    WriteString(section, key, std::to_string(value));
}

void TIniFile32::EraseSection(const std::string& section) {
    const int header = FindSection(section);
    if (header < 0) return;
    const auto first = Lines_.begin() + header;
    auto last = first + 1;
    while (last != Lines_.end() && !IsSectionLine(*last)) ++last;
    Lines_.erase(first, last);
    if (header > 0) Lines_.insert(Lines_.begin() + header, std::string());
    SaveFile();
}

void TIniFile32::ReadSections(std::vector<std::string>& list) const {
    list.clear();
    for (const std::string& line : Lines_) {
        if (!IsSectionLine(line)) continue;
        const std::string trimmed = Trim(line);
        list.push_back(Trim(std::string_view(trimmed).substr(1, trimmed.size() - 2)));
    }
}
