#pragma once

// The whole of favc and ravc: banner, command line, conversion, messages and exit code.

namespace kestrava::encoder {

enum class EncoderProgram {
    Favc,  // converts the input file
    Ravc,  // converts the source named by the input DirectShowSource script (RealMedia)
};

// Exit codes: 0 the output is complete; 1 refused or failed (no output file left);
// 255 stopped by a signal (the output was finished and plays).
int RunEncoderProgram(EncoderProgram program, int argc, char** argv);

}  // namespace kestrava::encoder
