#pragma once

#include <string>

// The pieces of one encoder command line. Every option fragment is empty or begins with one
// blank followed by its option word. Overwritten field by field at every build and never
// cleared in between.
struct TConvertParameterStruct {
    std::string ExePath;            // the encoder program
    std::string InputFile;          // the source, or the script for RealMedia sources
    std::string CodecParam;
    std::string VideoBitrateParam;
    std::string VideoSizeParam;
    std::string FrameRateParam;
    std::string AspectParam;
    std::string Reserved;           // never set, part of no command line
    std::string AudioBitrateParam;
    std::string VolumeParam;
    std::string ChannelsParam;
    std::string SampleRateParam;
    std::string FormatParam;
    std::string SegmentParam;
    std::string OutputFolder;       // always ends with the separator
    std::string OutputName;         // source name without folder and extension
    std::string OutputExt;          // with its dot
};
