#pragma once

#include <string>

// How paths are spelled where the program runs: the folder separator and the encoder programs'
// file names. The program uses NativeNaming(); tests can build command lines under other naming.
struct TPathNaming {
    char Separator = '/';
    std::string FavcName = "favc";
    std::string RavcName = "ravc";
    std::string LineBreak = "\n";  // ends the line of a written script
};

inline TPathNaming NativeNaming() { return TPathNaming{}; }
inline TPathNaming WindowsNaming() { return TPathNaming{'\\', "favc.exe", "ravc.exe", "\r\n"}; }
