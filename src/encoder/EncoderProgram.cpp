#include "encoder/EncoderProgram.h"

#include "encoder/AvSupport.h"
#include "encoder/AvsScript.h"
#include "encoder/EncoderOptions.h"
#include "encoder/StatusLine.h"
#include "encoder/StopSignal.h"
#include "encoder/Transcoder.h"

#include <atomic>
#include <cstdio>
#include <string>
#include <vector>

#ifndef KESTRAVA_VERSION
#define KESTRAVA_VERSION "0"
#endif

namespace kestrava::encoder {
namespace {

std::atomic<int> g_logLines{0};

// FFmpeg's own messages: errors only, each with one write, and not without end.
extern "C" void LogToStatusPipe(void* avcl, int level, const char* format, va_list args) {
    if (level > AV_LOG_ERROR || g_logLines.fetch_add(1) >= 40)
        return;
    char line[1024];
    int prefix = 1;
    av_log_format_line2(avcl, level, format, args, line, sizeof line, &prefix);
    WriteAll(line);
}

std::string VersionText(unsigned version) {
    return std::to_string(AV_VERSION_MAJOR(version)) + "." + std::to_string(AV_VERSION_MINOR(version)) + "." +
           std::to_string(AV_VERSION_MICRO(version));
}

}  // namespace

int RunEncoderProgram(EncoderProgram program, int argc, char** argv) {
    const std::string name = program == EncoderProgram::Ravc ? "ravc" : "favc";
    InstallStopHandlers();
    av_log_set_level(AV_LOG_ERROR);
    av_log_set_callback(LogToStatusPipe);
    compat::InitLibraries();
    WriteAll(name + " version " KESTRAVA_VERSION ", the Kestrava encoder (libavformat " +
             VersionText(avformat_version()) + ", libavcodec " + VersionText(avcodec_version()) + ")\n");
    try {
        std::vector<std::string> args(argv + 1, argv + argc);
        TranscodeJob job;
        job.options = ParseEncoderArguments(args);
        if (program == EncoderProgram::Ravc) {
            const DirectShowSource script = ReadDirectShowScript(job.options.input);
            job.sourcePath = script.path;
            job.sourceFrameRate = script.frameRate;
        } else {
            job.sourcePath = job.options.input;
        }
        const TranscodeOutcome outcome = Transcode(job);
        if (outcome == TranscodeOutcome::Stopped) {
            WriteAll(name + ": stopped; the output was finished up to this point\n");
            return 255;
        }
        return 0;
    } catch (const std::exception& e) {
        WriteAll(name + ": error: " + e.what() + "\n");
        return 1;
    }
}

}  // namespace kestrava::encoder
