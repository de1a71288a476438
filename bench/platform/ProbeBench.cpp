// Probing durations in-process against one ffprobe run per file.
//
//   platform_probe_bench [FILES]      (200 files unless told; needs ffmpeg and ffprobe)
//
// Generates a few clips of different containers with the ffmpeg program, copies them to
// FILES names, probes every file with AvMediaProbe (after one warm-up pass) and with ffprobe,
// and prints the time per file and any file where the two disagree on the whole seconds.
#include "platform/AvMediaProbe.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

extern char** environ;
namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

// Runs a program, returns its exit status and (when asked) its standard output.
int Run(const std::vector<std::string>& arguments, std::string* output = nullptr) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) {
        return -1;
    }
    posix_spawn_file_actions_t actions;
    ::posix_spawn_file_actions_init(&actions);
    ::posix_spawn_file_actions_adddup2(&actions, ends[1], STDOUT_FILENO);
    ::posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char*> argv;
    for (const auto& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    const int spawned = ::posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    ::posix_spawn_file_actions_destroy(&actions);
    ::close(ends[1]);
    std::string text;
    char buffer[512];
    ssize_t got = 0;
    while (spawned == 0 && (got = ::read(ends[0], buffer, sizeof buffer)) > 0) {
        text.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(ends[0]);
    if (spawned != 0) {
        return -1;
    }
    int status = 0;
    if (::waitpid(pid, &status, 0) != pid) {
        return -1;
    }
    if (output != nullptr) {
        *output = text;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

struct Clip {
    const char* Name;
    std::vector<std::string> Arguments;  // between the inputs and the output name
};

double Milliseconds(Clock::duration d) {
    return std::chrono::duration<double, std::milli>(d).count();
}

}  // namespace

int main(int argc, char** argv) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 200;
    if (count <= 0) {
        std::fprintf(stderr, "usage: %s [FILES]\n", argv[0]);
        return 2;
    }
    char pattern[] = "/tmp/kestrava-probe-bench-XXXXXX";
    if (::mkdtemp(pattern) == nullptr) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path folder = pattern;

    const std::vector<Clip> clips = {
        {"clip.avi", {"-c:v", "mpeg4", "-c:a", "mp3"}},
        {"clip.mp4", {"-c:v", "mpeg4", "-c:a", "aac"}},
        {"clip.mkv", {"-c:v", "mpeg4", "-c:a", "aac"}},
        {"clip.mov", {"-c:v", "mpeg4", "-c:a", "aac"}},
        {"clip.mpg", {"-c:v", "mpeg2video", "-c:a", "mp2"}},
        {"clip.mp3", {"-vn", "-c:a", "libmp3lame"}},
    };
    std::vector<fs::path> sources;
    for (const auto& clip : clips) {
        std::vector<std::string> arguments = {
            "ffmpeg", "-nostdin", "-v", "error", "-y",
            "-f", "lavfi", "-i", "testsrc=duration=12.5:size=320x240:rate=25",
            "-f", "lavfi", "-i", "sine=duration=12.5:sample_rate=44100"};
        arguments.insert(arguments.end(), clip.Arguments.begin(), clip.Arguments.end());
        const fs::path target = folder / clip.Name;
        arguments.push_back(target.string());
        if (Run(arguments) != 0) {
            std::fprintf(stderr, "ffmpeg could not make %s\n", clip.Name);
            fs::remove_all(folder);
            return 1;
        }
        sources.push_back(target);
    }
    std::vector<fs::path> files;
    for (int i = 0; i < count; ++i) {
        const fs::path& source = sources[static_cast<std::size_t>(i) % sources.size()];
        const fs::path copy = folder / ("file " + std::to_string(i) + source.extension().string());
        fs::copy_file(source, copy);
        files.push_back(copy);
    }

    AvMediaProbe probe;
    std::vector<std::int64_t> ours(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {  // warm-up: file cache, codec tables
        ours[i] = probe.GetMediaDuration(files[i].string());
    }
    std::vector<double> each;
    const auto started = Clock::now();
    for (std::size_t i = 0; i < files.size(); ++i) {
        const auto one = Clock::now();
        ours[i] = probe.GetMediaDuration(files[i].string());
        each.push_back(Milliseconds(Clock::now() - one));
    }
    const double inProcess = Milliseconds(Clock::now() - started) / static_cast<double>(files.size());

    int disagreements = 0;
    const auto external = Clock::now();
    for (std::size_t i = 0; i < files.size(); ++i) {
        std::string text;
        Run({"ffprobe", "-v", "error", "-show_entries", "format=duration", "-of", "csv=p=0",
             files[i].string()},
            &text);
        const auto theirs = static_cast<std::int64_t>(std::floor(std::atof(text.c_str())));
        if (theirs != ours[i]) {
            ++disagreements;
            std::printf("differs: %s ours %lld ffprobe %s", files[i].filename().c_str(),
                        static_cast<long long>(ours[i]), text.c_str());
        }
    }
    const double perRun = Milliseconds(Clock::now() - external) / static_cast<double>(files.size());

    std::sort(each.begin(), each.end());
    std::printf("files: %zu (%zu containers, 12.5 s each)\n", files.size(), clips.size());
    std::printf("in-process probe: %.3f ms per file (median %.3f, worst %.3f)\n", inProcess,
                each[each.size() / 2], each.back());
    for (const auto& source : sources) {
        const auto one = Clock::now();
        const auto seconds = probe.GetMediaDuration(source.string());
        std::printf("  %-9s %lld s in %.3f ms\n", source.filename().c_str(),
                    static_cast<long long>(seconds), Milliseconds(Clock::now() - one));
    }
    std::printf("ffprobe per file: %.3f ms per file\n", perRun);
    std::printf("disagreements: %d; goal <= 1 ms per file: %s\n", disagreements,
                inProcess <= 1.0 ? "met" : "missed");
    fs::remove_all(folder);
    return disagreements == 0 ? 0 : 1;
}
