#include "conversion/CommonLib.h"
#include "profiles/OptionTables.h"

namespace {

std::string Fragment(const ISelector& selector, int index, const char* option,
                     const char* fallback) {
    const std::string text = selector.Item(index);
    return text.empty() ? std::string(fallback) : std::string(option) + text;
}

}  // namespace

TCommonLib::TCommonLib(std::string appPath, TPathNaming naming, IFileSystem& fs,
                       const TAppFunc& appFunc)
    : AppPath(std::move(appPath)),
      naming_(std::move(naming)),
      fs_(fs),
      appFunc_(appFunc),
      fileFunc_(fs, naming_.Separator) {}

std::string TCommonLib::GetCodecParam(int outputType) const {
    const std::string text = PerTypeEntry(cstCodecArguments(), outputType);
    return text.empty() ? " -vcodec xvid -acodec mp3" : " " + text;
}

std::string TCommonLib::GetFormatParam(int outputType) const {
    const std::string text = PerTypeEntry(cstFormatOverrides(), outputType);
    return text.empty() || text == "none" ? std::string() : " -f " + text;
}

std::string TCommonLib::GetOutputExt(int outputType) const {
    const std::string text = PerTypeEntry(cstOutputExtensions(), outputType);
    return text.empty() ? ".avi" : text;
}

std::string TCommonLib::GetVideoBitrateParam(const ISelector& s, int index) const {
    return Fragment(s, index, " -b ", " -b 512");
}

std::string TCommonLib::GetVideoSizeParam(const ISelector& s, int index) const {
    return Fragment(s, index, " -s ", " -s 320x240");
}

std::string TCommonLib::GetFrameRateParam(const ISelector& s, int index) const {
    return Fragment(s, index, " -r ", " -r 25");
}

std::string TCommonLib::GetAspectParam(const ISelector& s, int index) const {
    return Fragment(s, index, " -aspect ", " -aspect 4:3");
}

std::string TCommonLib::GetAudioBitrateParam(const ISelector& s, int index) const {
    return Fragment(s, index, " -ab ", " -ab 64");
}

std::string TCommonLib::GetVolumeParam(const ISelector& s, int index) const {
    return Fragment(s, index, " -vol ", " ");
}

std::string TCommonLib::GetChannelsParam(const ISelector& s, int index) const {
    // The channel items read "1 channel, Mono" and "2 channels, Stereo": the count comes first.
    const std::string text = s.Item(index);
    return text.empty() ? std::string(" -ac 2") : " -ac " + text.substr(0, 1);
}

std::string TCommonLib::GetSampleRateParam(const ISelector& s, int index) const {
    return Fragment(s, index, " -ar ", " -ar 44100");
}
