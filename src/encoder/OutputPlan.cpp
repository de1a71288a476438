#include "encoder/OutputPlan.h"

#include <cmath>
#include <cstdlib>
#include <numeric>

namespace kestrava::encoder {
namespace {

std::string Lower(std::string s) {
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string ExtensionOf(const std::string& path) {
    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const auto dot = name.rfind('.');
    return dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot);
}

const AVCodec* FindEncoder(const std::string& name, AVMediaType type) {
    if (const AVCodec* c = avcodec_find_encoder_by_name(name.c_str()); c && c->type == type)
        return c;
    // A codec's name ("mp3") rather than an encoder's ("libmp3lame").
    if (const AVCodecDescriptor* d = avcodec_descriptor_get_by_name(name.c_str()); d && d->type == type)
        return avcodec_find_encoder(d->id);
    return nullptr;
}

std::string CodecName(AVCodecID id) {
    const char* n = avcodec_get_name(id);
    return n ? n : "unknown";
}

void RequireContainerTakes(const AVOutputFormat* muxer, const AVCodec* encoder, const std::string& what) {
    const int ok = avformat_query_codec(muxer, encoder->id, FF_COMPLIANCE_NORMAL);
    if (ok == 0)
        throw UsageError("the " + std::string(muxer->name) + " container cannot hold " + CodecName(encoder->id) +
                         " " + what);
}

Rational Reduce(int64_t num, int64_t den, int64_t max = 65535) {
    int n = 0, d = 1;
    av_reduce(&n, &d, num, den, max);
    return {n, d};
}

}  // namespace

TargetPreset ResolveTarget(const std::string& raw, std::optional<Rational> sourceRate) {
    std::string target = Lower(raw);
    enum Norm { Pal, Ntsc, Film, Unknown } norm = Unknown;
    for (auto [prefix, n] : {std::pair{"pal-", Pal}, std::pair{"ntsc-", Ntsc}, std::pair{"film-", Film}}) {
        const std::string p = prefix;
        if (target.rfind(p, 0) == 0) {
            norm = n;
            target.erase(0, p.size());
        }
    }
    if (norm == Unknown) {
        const double fps = sourceRate ? sourceRate->value() : 0.0;
        if (std::fabs(fps - 25) < 0.1 || std::fabs(fps - 50) < 0.1)
            norm = Pal;
        else if (std::fabs(fps - 24) < 0.1 || std::fabs(fps - 23.976) < 0.01)
            norm = Film;
        else if (fps > 0)
            norm = Ntsc;
        else
            norm = Pal;
    }
    const bool pal = norm == Pal;
    TargetPreset t;
    t.frameRate = pal ? Rational{25, 1} : norm == Film ? Rational{24000, 1001} : Rational{30000, 1001};
    t.gop = pal ? 15 : 18;
    if (target == "vcd") {
        t.format = "vcd";
        t.videoCodec = "mpeg1video";
        t.audioCodec = "mp2";
        t.size = {352, pal ? 288 : 240};
        t.videoKbps = t.maxKbps = t.minKbps = 1150;
        t.bufferBits = 40 * 1024 * 8;
        t.audioKbps = 224;
        t.sampleRate = 44100;
        t.packetSize = 2324;
        t.muxRate = 1411200;
    } else if (target == "svcd") {
        t.format = "svcd";
        t.videoCodec = "mpeg2video";
        t.audioCodec = "mp2";
        t.size = {480, pal ? 576 : 480};
        t.videoKbps = 2040;
        t.maxKbps = 2516;
        t.bufferBits = 224 * 1024 * 8;
        t.audioKbps = 224;
        t.sampleRate = 44100;
        t.packetSize = 2324;
    } else if (target == "dvd") {
        t.format = "dvd";
        t.videoCodec = "mpeg2video";
        t.audioCodec = "ac3";
        t.size = {720, pal ? 576 : 480};
        t.videoKbps = 6000;
        t.maxKbps = 9000;
        t.bufferBits = 224 * 1024 * 8;
        t.audioKbps = 448;
        t.sampleRate = 48000;
        t.packetSize = 2048;
        t.muxRate = 10080 * 1000;
    } else if (target == "dv" || target == "dv50") {
        t.format = "dv";
        t.videoCodec = "dvvideo";
        t.audioCodec = "pcm_s16le";
        t.size = {720, pal ? 576 : 480};
        if (norm == Film)
            t.frameRate = {30000, 1001};
        t.pixelFormat = target == "dv50" ? AV_PIX_FMT_YUV422P : pal ? AV_PIX_FMT_YUV420P : AV_PIX_FMT_YUV411P;
        t.sampleRate = 48000;
        t.gop = 1;
    } else {
        throw UsageError("unknown -target \"" + raw + "\" (vcd, svcd, dvd or dv, optionally with pal-, ntsc- or film-)");
    }
    return t;
}

OutputPlan MakeOutputPlan(const EncoderOptions& o, std::optional<Rational> sourceRate) {
    OutputPlan plan;
    plan.extension = ExtensionOf(o.output);
    std::string videoName = o.videoCodec;
    std::string audioName = o.audioCodec;
    std::string formatName = o.format;
    if (!o.target.empty()) {
        plan.target = ResolveTarget(o.target, sourceRate);
        if (videoName.empty())
            videoName = plan.target->videoCodec;
        if (audioName.empty())
            audioName = plan.target->audioCodec;
        if (formatName.empty())
            formatName = plan.target->format;
    }
    if (!formatName.empty()) {
        plan.muxer = av_guess_format(formatName.c_str(), nullptr, nullptr);
        if (!plan.muxer)
            throw UsageError("unknown container \"" + formatName + "\" after -f");
    } else {
        if (plan.extension.empty())
            throw UsageError("the output file \"" + o.output + "\" has no extension to choose its container from");
        plan.muxer = av_guess_format(nullptr, ("x" + Lower(plan.extension)).c_str(), nullptr);
        if (!plan.muxer)
            throw UsageError("no container is known for the extension " + plan.extension);
    }
    const AVOutputFormat* muxer = plan.muxer;

    // Video.
    plan.videoAllowed = !o.noVideo && muxer->video_codec != AV_CODEC_ID_NONE;
    if (o.noVideo == false && !videoName.empty() && muxer->video_codec == AV_CODEC_ID_NONE)
        throw UsageError("the " + std::string(muxer->name) + " container holds no video; add -vn");
    if (plan.videoAllowed) {
        const std::string v = Lower(videoName);
        if (v == "xvid" || v == "divx") {
            // MPEG-4 Part 2 from FFmpeg's own encoder (its rate control), tagged XVID where the
            // container carries a tag of its own choosing (AVI).
            plan.videoEncoder = avcodec_find_encoder(AV_CODEC_ID_MPEG4);
            if (std::string(muxer->name) == "avi")
                plan.videoTag = MKTAG('X', 'V', 'I', 'D');
        } else if (!v.empty()) {
            plan.videoEncoder = FindEncoder(v, AVMEDIA_TYPE_VIDEO);
            if (!plan.videoEncoder)
                throw UsageError("no video encoder \"" + videoName + "\" in this FFmpeg");
        } else {
            const bool mpeg4 = avformat_query_codec(muxer, AV_CODEC_ID_MPEG4, FF_COMPLIANCE_NORMAL) == 1;
            plan.videoEncoder = avcodec_find_encoder(mpeg4 ? AV_CODEC_ID_MPEG4 : muxer->video_codec);
            if (!plan.videoEncoder)
                throw UsageError("no encoder for the " + std::string(muxer->name) + " container's video (" +
                                 CodecName(muxer->video_codec) + ") in this FFmpeg");
        }
        RequireContainerTakes(muxer, plan.videoEncoder, "video");
    }

    // Audio.
    plan.audioAllowed = !o.noAudio && muxer->audio_codec != AV_CODEC_ID_NONE;
    if (plan.audioAllowed) {
        const std::string a = Lower(audioName);
        const std::string muxerName = muxer->name;
        if (muxerName == "amr") {
            // The AMR container holds AMR-NB only, whatever codec the line names.
            plan.audioEncoder = avcodec_find_encoder(AV_CODEC_ID_AMR_NB);
            if (!plan.audioEncoder)
                throw UsageError("an .amr file holds AMR-NB audio, and this FFmpeg has no AMR-NB encoder");
        } else if (!a.empty()) {
            plan.audioEncoder = FindEncoder(a == "mp3" ? "libmp3lame" : a, AVMEDIA_TYPE_AUDIO);
            if (!plan.audioEncoder && a == "mp3")
                plan.audioEncoder = avcodec_find_encoder(AV_CODEC_ID_MP3);
            if (!plan.audioEncoder)
                throw UsageError("no audio encoder \"" + audioName + "\" in this FFmpeg");
        } else {
            plan.audioEncoder = avcodec_find_encoder(muxer->audio_codec);
            if (!plan.audioEncoder)
                throw UsageError("no encoder for the " + muxerName + " container's audio (" +
                                 CodecName(muxer->audio_codec) + ") in this FFmpeg");
        }
        RequireContainerTakes(muxer, plan.audioEncoder, "audio");
    }
    if (!plan.videoAllowed && !plan.audioAllowed)
        throw UsageError("the command line leaves neither video nor audio to write");
    return plan;
}

Rational DisplayAspectOf(int width, int height, Rational sar) {
    if (sar.num <= 0 || sar.den <= 0)
        sar = {1, 1};
    return Reduce(int64_t(width) * sar.num, int64_t(height) * sar.den);
}

PictureBox FitPicture(int sourceWidth, int sourceHeight, Rational sourceSar, FrameSize frame, Rational aspect) {
    PictureBox box;
    const double sourceDar = DisplayAspectOf(sourceWidth, sourceHeight, sourceSar).value();
    const double frameDar = aspect.value() > 0 ? aspect.value() : double(frame.width) / frame.height;
    double w = frame.width, h = frame.height;
    if (sourceDar > frameDar)
        h = frame.height * frameDar / sourceDar;  // wider picture: bars above and below
    else
        w = frame.width * sourceDar / frameDar;   // narrower picture: bars left and right
    const auto even = [](double v, int limit) {
        int n = static_cast<int>(std::lround(v / 2.0)) * 2;
        if (limit - n <= 2)  // within two pixels: fill (no one-pixel bars)
            n = limit;
        return n < 2 ? 2 : n > limit ? limit : n;
    };
    box.width = even(w, frame.width);
    box.height = even(h, frame.height);
    box.x = ((frame.width - box.width) / 2) & ~1;
    box.y = ((frame.height - box.height) / 2) & ~1;
    box.sar = aspect.num > 0 ? Reduce(int64_t(aspect.num) * frame.height, int64_t(aspect.den) * frame.width)
                             : Rational{1, 1};
    return box;
}

int Mpeg4SimpleLevel(FrameSize f, Rational rate, int kbps) {
    const double macroblocksPerSecond = ((f.width + 15) / 16) * ((f.height + 15) / 16) * rate.value();
    struct Level {
        int level;
        double mbps;   // macroblocks per second
        int kbps;
    };
    static const Level levels[] = {{1, 1485, 64}, {2, 5940, 128}, {3, 11880, 384},
                                   {4, 36000, 4000}, {5, 40500, 8000}, {6, 108000, 12000}};
    for (const Level& l : levels)
        if (macroblocksPerSecond <= l.mbps && kbps <= l.kbps)
            return l.level;
    return 6;
}

int NearestSampleRate(const AVCodec* encoder, int wanted) {
    const int* rates = compat::SupportedSampleRates(encoder);
    if (!rates)
        return wanted;
    int best = 0;
    for (const int* r = rates; *r; ++r)
        if (!best || std::abs(*r - wanted) < std::abs(best - wanted))
            best = *r;
    return best ? best : wanted;
}

}  // namespace kestrava::encoder
