#pragma once

// The status text Kestrava's progress dialog reads: pieces separated
// by "="; for outputs with video the fifth piece begins with the output time in seconds, for
// audio-only outputs the third.

#include <cstdint>
#include <string>

namespace kestrava::encoder {

struct Progress {
    int64_t frames = 0;     // video frames written
    double quality = 0;     // the video encoder's last quantiser
    int64_t bytes = 0;      // output bytes so far
    double seconds = 0;     // output time written so far
};

// "frame=N q=Q size=SkB time=T bitrate=Bkbits/s" or, audio-only, "size=SkB time=T bitrate=Bkbits/s".
// No line end.
std::string FormatStatus(const Progress& progress, bool withVideo);

// Whether Kestrava reads this run's status as audio-only: the codec text right after the input
// begins with "-acodec" and the output's extension is not exactly ".3gp".
bool StatusIsAudioOnly(const std::string& firstOptionAfterInput, const std::string& outputPath);

// Writes text to standard error with a single write (standard output and standard error share
// Kestrava's one pipe); errors such as a closed pipe are ignored.
void WriteAll(const std::string& text);

}  // namespace kestrava::encoder
