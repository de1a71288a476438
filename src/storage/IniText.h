#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// The line rules of the INI engine, kept apart so they read on their own.
namespace IniText {

// Removes leading and trailing characters of code 32 or less.
std::string Trim(std::string_view text);
// Lines split at CR LF, lone CR and lone LF; a NUL ends the text.
std::vector<std::string> SplitLines(std::string_view bytes);
// Every line followed by CR LF; no lines give no bytes.
std::string JoinLines(const std::vector<std::string>& lines);
// Trimmed, it begins with "[" and ends with "]".
bool IsSectionLine(std::string_view line);
// The trimmed text before the first "=", empty without one.
std::string KeyOfLine(std::string_view line);
// The trimmed text after the first "=" when `key` occurs before it; empty otherwise.
std::string ValueOfLine(std::string_view line, std::string_view key);
// Letters A-Z compared without case, every other byte exactly.
bool EqualsIgnoringCase(std::string_view a, std::string_view b);
// Optional sign, then decimal digits or "$" and hexadecimal digits; nothing when the text is
// no 32-bit signed integer.
std::optional<int> ParseInteger(std::string_view text);

}  // namespace IniText
