// favc against the ffmpeg CLI on the same jobs, side by side in one run: a 60-second 640x480
// 30 fps clip to the MP4 "Normal Quality" line and to the MP3 "Normal Quality" line. Each job runs
// as several alternating pairs (the order swaps every pair); the medians of the wall times and
// their ratio are printed. Run by hand, never by ctest:
//
//   build/bench/encoder_bench [pairs] [source: h264 | mpeg4]
//
// The clip is made once with the ffmpeg CLI into build/bench/encoder-data.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <spawn.h>
#include <sys/stat.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <fcntl.h>
#include <unistd.h>

#include "conversion/CommandLineQuoting.h"

extern char** environ;

namespace {

bool Exists(const std::string& path) {
    struct stat s {};
    return ::stat(path.c_str(), &s) == 0;
}

struct Timing {
    double wall = -1;  // seconds, -1: the run failed
    double cpu = 0;    // user + system seconds of the child
};

// Runs argv with standard output and error thrown away and standard input a pipe that stays
// open (as Kestrava runs its encoders).
Timing Run(const std::vector<std::string>& args) {
    int in[2];
    if (::pipe2(in, O_CLOEXEC) != 0)
        return {};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, 1, 2);
    std::vector<std::string> copy = args;
    std::vector<char*> argv;
    for (auto& a : copy)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const auto begin = std::chrono::steady_clock::now();
    pid_t pid = 0;
    const int spawned = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(in[0]);
    if (spawned != 0) {
        ::close(in[1]);
        return {};
    }
    int status = 0;
    rusage usage {};
    ::wait4(pid, &status, 0, &usage);
    ::close(in[1]);
    Timing t;
    t.wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - begin).count();
    t.cpu = usage.ru_utime.tv_sec + usage.ru_utime.tv_usec / 1e6 + usage.ru_stime.tv_sec + usage.ru_stime.tv_usec / 1e6;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        t.wall = -1;
    return t;
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

std::vector<std::string> Split(const std::string& line) {
    return SplitCommandLine(line);
}

struct Job {
    const char* name;
    std::string favcLine;                // as Kestrava's builder writes it
    std::vector<std::string> ffmpegArgs; // the same job for the ffmpeg CLI
};

}  // namespace

int main(int argc, char** argv) {
    const int pairs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
    const std::string sourceKind = argc > 2 ? argv[2] : "h264";
    const std::string data = std::string(KESTRAVA_BENCH_DIR) + "/encoder-data";
    ::mkdir(KESTRAVA_BENCH_DIR, 0755);
    ::mkdir(data.c_str(), 0755);
    const std::string source = data + "/clip60-" + sourceKind + (sourceKind == "mpeg4" ? ".avi" : ".mp4");
    if (!Exists(source)) {
        std::printf("making the 60 s 640x480 30 fps clip %s ...\n", source.c_str());
        const std::string codecs = sourceKind == "mpeg4" ? "-c:v mpeg4 -q:v 3 -c:a libmp3lame -b:a 192k"
                                                         : "-c:v libx264 -preset medium -crf 21 -pix_fmt yuv420p "
                                                           "-c:a aac -b:a 160k";
        const std::string command =
            "ffmpeg -nostdin -hide_banner -loglevel error -y -f lavfi -i testsrc2=size=640x480:rate=30:duration=60 "
            "-f lavfi -i \"sine=frequency=440:sample_rate=48000:duration=60\" -ac 2 " + codecs + " '" + source + "'";
        if (std::system(command.c_str()) != 0) {
            std::fprintf(stderr, "ffmpeg could not make the clip\n");
            return 1;
        }
    }
    const std::string favc = KESTRAVA_FAVC;
    const std::string mp4 = data + "/out-favc.mp4", mp4Ref = data + "/out-ffmpeg.mp4";
    const std::string mp3 = data + "/out-favc.mp3", mp3Ref = data + "/out-ffmpeg.mp3";
    const std::vector<Job> jobs = {
        {"MP4 Normal Quality",
         favc + " -y -i " + QuoteArgument(source) +
             " -vcodec mpeg4 -acodec aac -b 128 -s 320x240 -r 15 -aspect 4:3 -ab 128 -vol 200 -ac 2 -ar 44100 " +
             QuoteArgument(mp4),
         {"ffmpeg", "-nostdin", "-y", "-i", source, "-c:v", "mpeg4", "-b:v", "128k", "-s", "320x240", "-r", "15",
          "-aspect", "4:3", "-c:a", "aac", "-b:a", "128k", "-af", "volume=2", "-ac", "2", "-ar", "44100", mp4Ref}},
        {"MP3 Normal Quality",
         favc + " -y -i " + QuoteArgument(source) + " -acodec mp3 -vn -ab 128 -vol 200 -ac 2 -ar 44100 " +
             QuoteArgument(mp3),
         {"ffmpeg", "-nostdin", "-y", "-i", source, "-vn", "-c:a", "libmp3lame", "-b:a", "128k", "-af", "volume=2",
          "-ac", "2", "-ar", "44100", mp3Ref}},
    };
    double load[1] = {0};
    ::getloadavg(load, 1);
    std::printf("%d alternating pairs per job, source %s, %ld cores, load average %.2f\n", pairs, source.c_str(),
                sysconf(_SC_NPROCESSORS_ONLN), load[0]);
    for (const Job& job : jobs) {
        std::vector<double> ours, theirs, oursCpu, theirsCpu;
        const std::vector<std::string> favcArgs = Split(job.favcLine);
        for (int i = 0; i < pairs; ++i) {
            Timing a, b;
            if (i % 2 == 0) {
                a = Run(favcArgs);
                b = Run(job.ffmpegArgs);
            } else {
                b = Run(job.ffmpegArgs);
                a = Run(favcArgs);
            }
            if (a.wall < 0 || b.wall < 0) {
                std::fprintf(stderr, "%s: a run failed (favc %.2f, ffmpeg %.2f)\n", job.name, a.wall, b.wall);
                return 1;
            }
            ours.push_back(a.wall);
            theirs.push_back(b.wall);
            oursCpu.push_back(a.cpu);
            theirsCpu.push_back(b.cpu);
        }
        const double mo = Median(ours), mt = Median(theirs);
        std::printf("%-20s favc %6.3f s (cpu %6.3f s)   ffmpeg %6.3f s (cpu %6.3f s)   wall ratio %.3f\n", job.name,
                    mo, Median(oursCpu), mt, Median(theirsCpu), mo / mt);
    }
    return 0;
}
