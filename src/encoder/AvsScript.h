#pragma once

// ravc's input: the one-line AviSynth script Kestrava writes:
//   DirectShowSource("<path>", fps=29.9700898503294, convertfps=true)
// followed by CR LF or LF. Only that line is understood; anything else is refused.

#include "encoder/EncoderOptions.h"

#include <string>

namespace kestrava::encoder {

struct DirectShowSource {
    std::string path;        // as written between the quotes
    double fps = 0;          // as written
    Rational frameRate;      // fps as an exact rational (29.9700898503294 -> 30000/1001)
};

// Parses the script text. Throws UsageError naming what is wrong.
DirectShowSource ParseDirectShowScript(const std::string& text);

// Reads and parses the script file; a relative source path is taken relative to the script's
// folder. Throws UsageError.
DirectShowSource ReadDirectShowScript(const std::string& scriptPath);

}  // namespace kestrava::encoder
