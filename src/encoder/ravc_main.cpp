#include "encoder/EncoderProgram.h"

int main(int argc, char** argv) {
    return kestrava::encoder::RunEncoderProgram(kestrava::encoder::EncoderProgram::Ravc, argc, argv);
}
