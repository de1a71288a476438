#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Time codes (hh:mm:ss, at least two hour digits, whole seconds) and the small text helpers that
// produce and read them. Stateless.

// Cuts `text` at every `separator`, left to right. Empty pieces between separators are kept; the
// text after the last separator is added only when it is not empty. "" gives no piece.
std::vector<std::string> SplitText(const std::string& text, char separator);

// Lenient number reader: keeps digits and the first ".", "+" and "-", drops everything else,
// keeps a sign only in front. "-", "+" and "" give 0. Throws ConvertError when the kept text is
// still no number (a lone ".", "+.").
double TextToNumber(const std::string& text);

// Decimal text of value / divisor (integer division), left-filled with "0" to at least `digits`
// characters; never cut. Throws std::invalid_argument for a zero divisor.
std::string PadNumber(int digits, std::int64_t divisor, std::int64_t value);

// Whole seconds as hh:mm:ss; hours grow past two digits, any negative value gives "00:00:00".
std::string SecondsToTimeCode(std::int64_t seconds);

// The preview clock: "%2.2d:%2.2d:%2.2d" of s div 3600, (s mod 3600) div 60, s mod 60.
std::string ClockText(std::int64_t seconds);

// A decimal integer with an optional sign and nothing else. Throws ConvertError
// "'<text>' is not a valid integer value".
int StrToIntStrict(const std::string& text);

// Splits at ":"; with exactly three pieces stores h * 3600 + m * 60 + s (each piece read with
// StrToIntStrict) and returns true. Otherwise returns false and leaves `seconds` untouched.
// A piece that is no integer throws ConvertError.
bool ReadTimeCode(const std::string& text, std::int64_t& seconds);
