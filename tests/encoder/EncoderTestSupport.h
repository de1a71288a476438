#pragma once

// Shared pieces of the encoder tests: fixtures made with the ffmpeg CLI, command lines in the
// builder's shapes split by the project's SplitCommandLine, runs of the real favc and
// ravc with standard output and standard error in one pipe and a standard input that never
// closes, and checks of the outputs with libavformat.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <sys/types.h>

namespace encoder_test {

// ---- Fixtures: made once per build folder with the ffmpeg CLI (written to a temporary name and
// renamed, so parallel test processes can share them). Returns the fixture's path.
std::string Fixture(const std::string& name);
// The names Fixture knows:
//   clip.avi     640x480 30 fps mpeg4 + stereo 48 kHz mp3, 5 s, sine at -12 dBFS
//   clip16x9.mp4 640x360 25 fps h264 + stereo aac, 4 s
//   clip.mov clip.flv clip.wmv clip.3gp        4 s each, with audio
//   clip.rm      rv10 + ra_144 mono 8 kHz, 4 s;   clip.rmvb rv20 + ac3 stereo, 4 s
//   audio.wav    stereo 44.1 kHz sine at -12 dBFS, 4 s;  mono.wav 1 channel;  surround.wav 5.1
//   loud.wav     stereo sine at -1 dBFS, 3 s;  video.avi  video only, 4 s
//   minute.avi   320x240 30 fps busy picture + audio, 60 s (for the bitrate check)
//   long.avi     640x480 30 fps, 30 s (for stopping mid-run);  long.mp3  stereo, 300 s
//   noise.bin    random bytes;  empty.avi  zero bytes

// A fresh folder for one test's outputs, removed by the destructor.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const std::string& path() const { return path_; }
    std::string operator/(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

std::string ProgramPath(const std::string& program);  // favc or ravc in the program folder

// ---- Command lines, built as BuildConvertParameter joins its fragments.
struct Fragments {
    std::string codec = " -vcodec mpeg4 -acodec aac";  // CodecParam
    std::string videoBitrate = " -b 128";
    std::string videoSize = " -s 320x240";
    std::string frameRate = " -r 15";
    std::string aspect = " -aspect 4:3";
    std::string audioBitrate = " -ab 128";
    std::string volume = " -vol 100";
    std::string channels = " -ac 2";
    std::string sampleRate = " -ar 44100";
    std::string format;   // " -f mov" for MOV
    std::string segment;  // " -ss 00:00:01 -t 2"
};
// The fragments of output type 0..4 (MP4, MOV, AAC, M4A, MP3) with the worked example's options.
Fragments FragmentsForType(int outputType);
std::string BuildCommandLine(const std::string& exePath, const std::string& input, const Fragments& f,
                             const std::string& output);

// ---- Running an encoder.
struct RunResult {
    int exitCode = -1;       // the exit status, or 128 + signal
    std::string output;      // standard output and standard error, as one pipe delivered them
};
// Splits the command line with SplitCommandLine and runs it (argv[0] replaced by the real
// path). watch, if given, sees the child's pid and the text so far, after each read and at
// least every 100 ms.
RunResult RunCommandLine(const std::string& commandLine,
                         const std::function<void(pid_t, const std::string&)>& watch = {},
                         int timeoutSeconds = 120);
RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::function<void(pid_t, const std::string&)>& watch = {},
                     int timeoutSeconds = 120);

// The pieces of output text: split at "\r" and "\n", empty pieces dropped.
std::vector<std::string> OutputPieces(const std::string& output);

// The progress dialog's refresh arithmetic: the whole seconds of one status text, or nullopt when the text
// leaves the file bar unchanged.
std::optional<int> RefreshSeconds(const std::string& status, bool audioOnly);

// ---- Reading outputs with libavformat.
struct StreamFacts {
    bool present = false;
    std::string codec;
    unsigned tag = 0;
    int width = 0, height = 0;
    int sarNum = 0, sarDen = 1;     // from the container if it says, else the stream
    int codecSarNum = 0, codecSarDen = 1;  // from the bitstream
    int rateNum = 0, rateDen = 1;   // avg_frame_rate
    int channels = 0, sampleRate = 0;
    int64_t packets = 0, bytes = 0;
    double duration = 0;            // from the packets: last end minus first start, in seconds
    double streamDuration = 0;      // the container's stream duration (edit lists applied), seconds
    std::string profile;
};
struct MediaFacts {
    bool readable = false;
    std::string format;             // the demuxer's name
    std::string brand;              // ISO files: the major brand ("isom", "qt  ", "M4A ", "3gp5")
    double duration = 0;            // the container's, seconds
    StreamFacts video, audio;
    double displayAspect() const;   // of the video, from width, height and the container's SAR
};
MediaFacts Probe(const std::string& path);

struct AudioLevel {
    double rms = 0;        // over all channels
    double peak = 0;
    double crossingsPerSecond = 0;  // sign changes of channel 0 per second
    double seconds = 0;
};
// Decodes the audio of a file (skipping the first and last 0.1 s) and measures it.
AudioLevel MeasureAudio(const std::string& path);
// Seconds of audio the decoder gives for the whole file.
double DecodedAudioSeconds(const std::string& path);

// The luma planes of every video frame of a file scaled to width x height, with times in
// seconds; maxFrames limits how many are decoded.
struct LumaFrame {
    double time = 0;
    std::vector<uint8_t> luma;
};
std::vector<LumaFrame> DecodeLuma(const std::string& path, int width, int height, int maxFrames = 100000);
double MeanAbsDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b);

bool FileExists(const std::string& path);
std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);

}  // namespace encoder_test
