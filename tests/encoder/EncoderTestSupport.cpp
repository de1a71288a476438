#include "EncoderTestSupport.h"

#include "conversion/CommandLineQuoting.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/channel_layout.h>
#include <libavutil/imgutils.h>
#include <libswresample/swresample.h>
#include <libswscale/swscale.h>
}

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <random>
#include <sstream>
#include <stdexcept>

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

#ifndef KESTRAVA_PROGRAM_DIR
#error "KESTRAVA_PROGRAM_DIR must name the program folder"
#endif
#ifndef KESTRAVA_ENCODER_FIXTURES
#error "KESTRAVA_ENCODER_FIXTURES must name the fixture folder"
#endif

namespace encoder_test {
namespace {

// libav's own notes ("estimating duration from bitrate") would only clutter the test output.
const bool kQuietLibav = [] {
    av_log_set_level(AV_LOG_ERROR);
    return true;
}();

std::string ShellQuote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        if (c == '\'')
            q += "'\\''";
        else
            q += c;
    }
    return q + "'";
}

// The ffmpeg CLI arguments (after -y and before the output) of each fixture.
const std::map<std::string, std::string>& FixtureRecipes() {
    static const std::string tone = "0.25*sin(2*PI*440*t)";
    static const std::map<std::string, std::string> recipes = {
        {"clip.avi",
         "-f lavfi -i testsrc=size=640x480:rate=30:duration=5 -f lavfi -i aevalsrc='" + tone + "|" + tone +
             ":s=48000:d=5' -c:v mpeg4 -q:v 2 -c:a libmp3lame -b:a 192k"},
        {"clip16x9.mp4",
         "-f lavfi -i testsrc=size=640x360:rate=25:duration=4 -f lavfi -i aevalsrc='" + tone + "|" + tone +
             ":s=44100:d=4' -c:v libx264 -preset ultrafast -pix_fmt yuv420p -c:a aac -b:a 128k"},
        {"clip.mov",
         "-f lavfi -i testsrc2=size=320x240:rate=25:duration=4 -f lavfi -i aevalsrc='" + tone + "|" + tone +
             ":s=44100:d=4' -c:v mpeg4 -q:v 3 -c:a aac -b:a 128k"},
        {"clip.flv",
         "-f lavfi -i testsrc=size=320x240:rate=25:duration=4 -f lavfi -i aevalsrc='" + tone + "|" + tone +
             ":s=44100:d=4' -c:v flv1 -q:v 3 -c:a libmp3lame -b:a 128k"},
        {"clip.wmv",
         "-f lavfi -i testsrc=size=320x240:rate=25:duration=4 -f lavfi -i aevalsrc='" + tone + "|" + tone +
             ":s=44100:d=4' -c:v wmv2 -q:v 3 -c:a wmav2 -b:a 128k"},
        {"clip.3gp",
         "-f lavfi -i testsrc=size=176x144:rate=15:duration=4 -f lavfi -i aevalsrc='" + tone +
             ":s=8000:d=4' -c:v h263 -q:v 4 -c:a aac -b:a 16k"},
        {"clip.rm",
         "-f lavfi -i testsrc=size=320x240:rate=15:duration=4 -f lavfi -i aevalsrc='" + tone +
             ":s=8000:d=4' -c:v rv10 -q:v 4 -c:a real_144"},
        {"clip.rmvb",
         "-f lavfi -i testsrc=size=320x240:rate=25:duration=4 -f lavfi -i aevalsrc='" + tone + "|" + tone +
             ":s=44100:d=4' -c:v rv20 -q:v 4 -c:a ac3 -b:a 128k"},
        {"audio.wav", "-f lavfi -i aevalsrc='" + tone + "|" + tone + ":s=44100:d=4' -c:a pcm_s16le"},
        {"mono.wav", "-f lavfi -i aevalsrc='" + tone + ":s=44100:d=4' -c:a pcm_s16le"},
        {"surround.wav",
         "-f lavfi -i aevalsrc='" + tone + "|" + tone + "|" + tone + "|0|" + tone + "|" + tone +
             ":s=48000:d=3:c=5.1' -c:a pcm_s16le"},
        {"loud.wav",
         "-f lavfi -i aevalsrc='0.89*sin(2*PI*440*t)|0.89*sin(2*PI*440*t):s=44100:d=3' -c:a pcm_s16le"},
        {"long.mp3", "-f lavfi -i aevalsrc='" + tone + "|" + tone + ":s=44100:d=300' -c:a libmp3lame -b:a 128k"},
        {"video.avi", "-f lavfi -i testsrc=size=320x240:rate=25:duration=4 -c:v mpeg4 -q:v 3"},
        {"minute.avi",
         "-f lavfi -i testsrc=size=320x240:rate=30:duration=60 -f lavfi -i aevalsrc='" + tone + "|" + tone +
             ":s=44100:d=60' -c:v mpeg4 -q:v 2 -c:a libmp3lame -b:a 128k"},
        {"long.avi",
         "-f lavfi -i testsrc=size=640x480:rate=30:duration=30 -f lavfi -i aevalsrc='" + tone + "|" + tone +
             ":s=44100:d=30' -c:v mpeg4 -q:v 4 -c:a libmp3lame -b:a 128k"},
    };
    return recipes;
}

void MakeDirs(const std::string& path) {
    std::string partial;
    std::stringstream in(path);
    std::string piece;
    while (std::getline(in, piece, '/')) {
        partial += piece + "/";
        ::mkdir(partial.c_str(), 0755);
    }
}

}  // namespace

bool FileExists(const std::string& path) {
    struct stat s {};
    return ::stat(path.c_str(), &s) == 0;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

std::string Fixture(const std::string& name) {
    const std::string folder = KESTRAVA_ENCODER_FIXTURES;
    MakeDirs(folder);
    const std::string path = folder + "/" + name;
    if (FileExists(path))
        return path;
    const std::string temp = folder + "/.making-" + std::to_string(::getpid()) + "-" + name;
    if (name == "noise.bin") {
        std::mt19937 random(7);
        std::string bytes(65536, '\0');
        for (char& c : bytes)
            c = static_cast<char>(random());
        WriteFile(temp, bytes);
    } else if (name == "empty.avi") {
        WriteFile(temp, "");
    } else {
        const auto recipe = FixtureRecipes().find(name);
        if (recipe == FixtureRecipes().end())
            throw std::runtime_error("no recipe for fixture " + name);
        // The muxer from the name's extension, unless the recipe names one.
        static const std::map<std::string, std::string> muxers = {
            {"avi", "avi"}, {"mp4", "mp4"}, {"mov", "mov"}, {"flv", "flv"}, {"wmv", "asf"},
            {"3gp", "3gp"}, {"rm", "rm"},   {"rmvb", "rm"}, {"wav", "wav"}, {"mp3", "mp3"}};
        const std::string ext = name.substr(name.rfind('.') + 1);
        const std::string command = "ffmpeg -nostdin -hide_banner -loglevel error -y " + recipe->second + " -f " +
                                    muxers.at(ext) + " " + ShellQuote(temp) + " </dev/null";
        if (std::system(command.c_str()) != 0)
            throw std::runtime_error("ffmpeg could not make the fixture " + name + ": " + command);
    }
    if (::rename(temp.c_str(), path.c_str()) != 0)
        throw std::runtime_error("cannot place the fixture " + name);
    return path;
}

TempDir::TempDir() {
    char pattern[] = "/tmp/kestrava-encoder-XXXXXX";
    if (!::mkdtemp(pattern))
        throw std::runtime_error("cannot make a temporary folder");
    path_ = pattern;
}

TempDir::~TempDir() {
    std::system(("rm -rf " + ShellQuote(path_)).c_str());
}

std::string ProgramPath(const std::string& program) {
    return std::string(KESTRAVA_PROGRAM_DIR) + "/" + program;
}

Fragments FragmentsForType(int type) {
    Fragments f;
    switch (type) {
    case 0:
        break;
    case 1:
        f.format = " -f mov";
        break;
    case 2:
    case 3:
        f.codec = " -acodec aac -vn";
        break;
    case 4:
        f.codec = " -acodec mp3 -vn";
        break;
    default:
        throw std::invalid_argument("output type");
    }
    return f;
}

std::string BuildCommandLine(const std::string& exePath, const std::string& input, const Fragments& f,
                             const std::string& output) {
    auto trim = [](std::string s) {
        while (!s.empty() && s.front() == ' ')
            s.erase(0, 1);
        while (!s.empty() && s.back() == ' ')
            s.pop_back();
        return s;
    };
    const std::string codec = trim(f.codec);
    const auto dot = output.rfind('.');
    const std::string ext = dot == std::string::npos ? "" : output.substr(dot);
    const std::string head = exePath + " -y -i " + QuoteArgument(input) + f.codec;
    const std::string tail = " " + QuoteArgument(output);
    if (codec.rfind("-vcodec", 0) == 0)
        return head + f.videoBitrate + f.videoSize + f.frameRate + f.aspect + f.audioBitrate + f.volume +
               f.channels + f.sampleRate + f.format + f.segment + tail;
    if (codec.rfind("-target", 0) == 0)
        return head + f.segment + tail;
    if (codec.rfind("-acodec", 0) == 0 && (ext == ".3gp" || ext == ".3g2" || ext == ".amr"))
        return head + f.videoSize + f.videoBitrate + f.audioBitrate + f.volume + " -ac 1 -ar 8000" + f.format +
               f.segment + tail;
    if (codec.rfind("-acodec", 0) == 0)
        return head + f.audioBitrate + f.volume + f.channels + f.sampleRate + f.format + f.segment + tail;
    return "";
}

RunResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                     const std::function<void(pid_t, const std::string&)>& watch, int timeoutSeconds) {
    int out[2], in[2];
    if (::pipe2(out, O_CLOEXEC) != 0 || ::pipe2(in, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe");
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, in[0], 0);
    posix_spawn_file_actions_adddup2(&actions, out[1], 1);
    posix_spawn_file_actions_adddup2(&actions, out[1], 2);
    std::vector<std::string> all;
    all.push_back(program);
    all.insert(all.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& a : all)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(out[1]);
    ::close(in[0]);
    if (spawned != 0) {
        ::close(out[0]);
        ::close(in[1]);
        throw std::runtime_error("cannot start " + program + ": " + std::strerror(spawned));
    }
    RunResult result;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    char buffer[4096];
    for (;;) {
        pollfd p{out[0], POLLIN, 0};
        const int ready = ::poll(&p, 1, 100);
        if (ready > 0) {
            const ssize_t n = ::read(out[0], buffer, sizeof buffer);
            if (n <= 0)
                break;
            result.output.append(buffer, static_cast<size_t>(n));
        }
        if (watch)
            watch(pid, result.output);
        if (std::chrono::steady_clock::now() > deadline) {
            ::kill(pid, SIGKILL);
            result.output += "\n[test: timed out]\n";
            break;
        }
    }
    ::close(out[0]);
    int status = 0;
    ::waitpid(pid, &status, 0);
    ::close(in[1]);  // the encoder's standard input stayed open for the whole run
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return result;
}

RunResult RunCommandLine(const std::string& commandLine, const std::function<void(pid_t, const std::string&)>& watch,
                         int timeoutSeconds) {
    std::vector<std::string> args = SplitCommandLine(commandLine);
    if (args.empty())
        throw std::invalid_argument("empty command line");
    const std::string program = args.front();
    args.erase(args.begin());
    return RunProgram(program, args, watch, timeoutSeconds);
}

std::vector<std::string> OutputPieces(const std::string& output) {
    std::vector<std::string> pieces;
    std::string piece;
    for (char c : output) {
        if (c == '\r' || c == '\n') {
            if (!piece.empty())
                pieces.push_back(piece);
            piece.clear();
        } else {
            piece += c;
        }
    }
    if (!piece.empty())
        pieces.push_back(piece);
    return pieces;
}

std::optional<int> RefreshSeconds(const std::string& status, bool audioOnly) {
    std::vector<std::string> pieces;
    size_t from = 0;
    for (;;) {
        const auto eq = status.find('=', from);
        pieces.push_back(status.substr(from, eq == std::string::npos ? std::string::npos : eq - from));
        if (eq == std::string::npos)
            break;
        from = eq + 1;
    }
    std::string field;
    if (audioOnly) {
        if (pieces.size() < 4)
            return std::nullopt;
        field = pieces[2];
    } else {
        if (pieces.size() < 5)
            return std::nullopt;
        field = pieces[4];
    }
    const std::string whole = field.substr(0, field.find('.'));
    if (whole.empty() || whole == "10000000000")
        return std::nullopt;
    for (char c : whole)
        if (c < '0' || c > '9')
            return std::nullopt;
    return std::stoi(whole);
}

double MediaFacts::displayAspect() const {
    if (!video.present || video.height == 0)
        return 0;
    const double sar = video.sarNum > 0 && video.sarDen > 0 ? double(video.sarNum) / video.sarDen : 1.0;
    return video.width * sar / video.height;
}

namespace {

struct Input {
    AVFormatContext* context = nullptr;
    ~Input() { avformat_close_input(&context); }
};

int BestStream(AVFormatContext* ic, AVMediaType type) {
    for (unsigned i = 0; i < ic->nb_streams; ++i) {
        AVStream* st = ic->streams[i];
        if (st->codecpar->codec_type == type && !(st->disposition & AV_DISPOSITION_ATTACHED_PIC))
            return static_cast<int>(i);
    }
    return -1;
}

}  // namespace

MediaFacts Probe(const std::string& path) {
    MediaFacts facts;
    Input in;
    if (avformat_open_input(&in.context, path.c_str(), nullptr, nullptr) < 0)
        return facts;
    if (avformat_find_stream_info(in.context, nullptr) < 0)
        return facts;
    AVFormatContext* ic = in.context;
    facts.readable = true;
    facts.format = ic->iformat->name;
    facts.duration = ic->duration != AV_NOPTS_VALUE ? ic->duration / 1e6 : 0;
    if (const AVDictionaryEntry* brand = av_dict_get(ic->metadata, "major_brand", nullptr, 0))
        facts.brand = brand->value;
    const int vi = BestStream(ic, AVMEDIA_TYPE_VIDEO);
    const int ai = BestStream(ic, AVMEDIA_TYPE_AUDIO);
    const auto fill = [&](int index, StreamFacts& s) {
        if (index < 0)
            return;
        AVStream* st = ic->streams[index];
        s.present = true;
        s.codec = avcodec_get_name(st->codecpar->codec_id);
        s.tag = st->codecpar->codec_tag;
        s.width = st->codecpar->width;
        s.height = st->codecpar->height;
        s.codecSarNum = st->codecpar->sample_aspect_ratio.num;
        s.codecSarDen = st->codecpar->sample_aspect_ratio.den;
        const AVRational sar = st->sample_aspect_ratio.num > 0 ? st->sample_aspect_ratio : st->codecpar->sample_aspect_ratio;
        s.sarNum = sar.num;
        s.sarDen = sar.den;
        s.rateNum = st->avg_frame_rate.num;
        s.rateDen = st->avg_frame_rate.den;
        s.channels = st->codecpar->ch_layout.nb_channels;
        s.sampleRate = st->codecpar->sample_rate;
        s.streamDuration = st->duration != AV_NOPTS_VALUE ? st->duration * av_q2d(st->time_base) : 0;
        const char* profile = avcodec_profile_name(st->codecpar->codec_id, st->codecpar->profile);
        s.profile = profile ? profile : "";
    };
    fill(vi, facts.video);
    fill(ai, facts.audio);
    AVPacket* packet = av_packet_alloc();
    std::map<int, std::pair<double, double>> spans;
    while (av_read_frame(ic, packet) >= 0) {
        StreamFacts* s = packet->stream_index == vi ? &facts.video : packet->stream_index == ai ? &facts.audio : nullptr;
        if (s) {
            ++s->packets;
            s->bytes += packet->size;
            const AVRational tb = ic->streams[packet->stream_index]->time_base;
            const int64_t ts = packet->pts != AV_NOPTS_VALUE ? packet->pts : packet->dts;
            if (ts != AV_NOPTS_VALUE) {
                const double begin = ts * av_q2d(tb);
                const double end = (ts + packet->duration) * av_q2d(tb);
                auto [it, fresh] = spans.try_emplace(packet->stream_index, begin, end);
                if (!fresh) {
                    it->second.first = std::min(it->second.first, begin);
                    it->second.second = std::max(it->second.second, end);
                }
            }
        }
        av_packet_unref(packet);
    }
    av_packet_free(&packet);
    if (vi >= 0 && spans.count(vi))
        facts.video.duration = spans[vi].second - spans[vi].first;
    if (ai >= 0 && spans.count(ai))
        facts.audio.duration = spans[ai].second - spans[ai].first;
    return facts;
}

namespace {

// Decodes one stream of a file, calling take for every frame.
void DecodeStream(const std::string& path, AVMediaType type, const std::function<bool(AVFrame*, AVStream*)>& take) {
    Input in;
    if (avformat_open_input(&in.context, path.c_str(), nullptr, nullptr) < 0 ||
        avformat_find_stream_info(in.context, nullptr) < 0)
        throw std::runtime_error("cannot open " + path);
    const int index = BestStream(in.context, type);
    if (index < 0)
        throw std::runtime_error("no such stream in " + path);
    AVStream* st = in.context->streams[index];
    const AVCodec* codec = avcodec_find_decoder(st->codecpar->codec_id);
    AVCodecContext* dec = avcodec_alloc_context3(codec);
    avcodec_parameters_to_context(dec, st->codecpar);
    dec->pkt_timebase = st->time_base;
    if (avcodec_open2(dec, codec, nullptr) < 0) {
        avcodec_free_context(&dec);
        throw std::runtime_error("cannot decode " + path);
    }
    AVPacket* packet = av_packet_alloc();
    AVFrame* frame = av_frame_alloc();
    bool more = true;
    const auto drain = [&] {
        while (more && avcodec_receive_frame(dec, frame) >= 0) {
            more = take(frame, st);
            av_frame_unref(frame);
        }
    };
    while (more && av_read_frame(in.context, packet) >= 0) {
        if (packet->stream_index == index && avcodec_send_packet(dec, packet) >= 0)
            drain();
        av_packet_unref(packet);
    }
    avcodec_send_packet(dec, nullptr);
    drain();
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&dec);
}

}  // namespace

AudioLevel MeasureAudio(const std::string& path) {
    std::vector<std::vector<float>> channels;
    int rate = 0;
    SwrContext* swr = nullptr;
    DecodeStream(path, AVMEDIA_TYPE_AUDIO, [&](AVFrame* f, AVStream*) {
        if (!swr) {
            rate = f->sample_rate;
            swr_alloc_set_opts2(&swr, &f->ch_layout, AV_SAMPLE_FMT_FLTP, f->sample_rate, &f->ch_layout,
                                static_cast<AVSampleFormat>(f->format), f->sample_rate, 0, nullptr);
            swr_init(swr);
            channels.resize(f->ch_layout.nb_channels);
        }
        std::vector<std::vector<float>> planes(channels.size(), std::vector<float>(f->nb_samples + 64));
        std::vector<uint8_t*> pointers;
        for (auto& p : planes)
            pointers.push_back(reinterpret_cast<uint8_t*>(p.data()));
        const int n = swr_convert(swr, pointers.data(), f->nb_samples + 64, const_cast<const uint8_t**>(f->extended_data),
                                  f->nb_samples);
        for (size_t c = 0; c < channels.size(); ++c)
            channels[c].insert(channels[c].end(), planes[c].begin(), planes[c].begin() + std::max(n, 0));
        return true;
    });
    swr_free(&swr);
    AudioLevel level;
    if (channels.empty() || rate == 0)
        return level;
    const size_t skip = static_cast<size_t>(rate / 10);
    const size_t total = channels[0].size();
    if (total <= 2 * skip)
        return level;
    double sum = 0;
    size_t count = 0, crossings = 0;
    for (size_t c = 0; c < channels.size(); ++c)
        for (size_t i = skip; i < total - skip; ++i) {
            const double v = channels[c][i];
            sum += v * v;
            ++count;
            level.peak = std::max(level.peak, std::fabs(v));
            if (c == 0 && i > skip && ((channels[0][i - 1] < 0) != (v < 0)))
                ++crossings;
        }
    level.rms = std::sqrt(sum / count);
    level.seconds = double(total - 2 * skip) / rate;
    level.crossingsPerSecond = crossings / level.seconds;
    return level;
}

double DecodedAudioSeconds(const std::string& path) {
    int64_t samples = 0;
    int rate = 0;
    DecodeStream(path, AVMEDIA_TYPE_AUDIO, [&](AVFrame* f, AVStream*) {
        samples += f->nb_samples;
        rate = f->sample_rate;
        return true;
    });
    return rate ? double(samples) / rate : 0.0;
}

std::vector<LumaFrame> DecodeLuma(const std::string& path, int width, int height, int maxFrames) {
    std::vector<LumaFrame> frames;
    SwsContext* sws = nullptr;
    DecodeStream(path, AVMEDIA_TYPE_VIDEO, [&](AVFrame* f, AVStream* st) {
        sws = sws_getCachedContext(sws, f->width, f->height, static_cast<AVPixelFormat>(f->format), width, height,
                                   AV_PIX_FMT_GRAY8, SWS_BICUBIC, nullptr, nullptr, nullptr);
        LumaFrame out;
        const int64_t ts = f->best_effort_timestamp != AV_NOPTS_VALUE ? f->best_effort_timestamp : 0;
        out.time = ts * av_q2d(st->time_base);
        out.luma.resize(size_t(width) * height);
        uint8_t* dst[4] = {out.luma.data(), nullptr, nullptr, nullptr};
        int stride[4] = {width, 0, 0, 0};
        sws_scale(sws, f->data, f->linesize, 0, f->height, dst, stride);
        frames.push_back(std::move(out));
        return static_cast<int>(frames.size()) < maxFrames;
    });
    sws_freeContext(sws);
    return frames;
}

double MeanAbsDifference(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    if (a.size() != b.size() || a.empty())
        return 1e9;
    double sum = 0;
    for (size_t i = 0; i < a.size(); ++i)
        sum += std::abs(int(a[i]) - int(b[i]));
    return sum / a.size();
}

}  // namespace encoder_test
