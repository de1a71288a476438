#include <exception>

#include "conversion/CommandLineQuoting.h"
#include "conversion/CustomProc.h"
#include "media/TimeCode.h"
#include "storage/IniText.h"

TCustomProc::TCustomProc(TSelectors selectors, TProfileFiles& profiles, TCommonLib& lib,
                         ISourceList& sourceList, ITextBox& edtOutputFolder)
    : TQualityProfiles(selectors, profiles),
      lib_(lib),
      sourceList_(sourceList),
      edtOutputFolder_(edtOutputFolder) {}

std::string TCustomProc::GetSegmentStart(const std::string& FileName) {
    const std::string wanted = UpperAscii(FileName);
    std::string start;
    for (int row = 0; row < sourceList_.RowCount(); ++row) {
        if (UpperAscii(sourceList_.Cell(row, colFileName)) != wanted) continue;
        start = sourceList_.Cell(row, colStartTime);
        ApplyCustomProfile();
    }
    return start;
}

std::string TCustomProc::GetSegmentLength(const std::string& FileName,
                                          const std::string& current) const {
    const int row = FindLastRowByPath(sourceList_, FileName);
    if (row < 0) return current;
    std::int64_t start = 0, end = 0;
    ReadTimeCode(sourceList_.Cell(row, colStartTime), start);
    ReadTimeCode(sourceList_.Cell(row, colEndTime), end);
    return std::to_string(end - start);
}

std::string TCustomProc::GetOutputFolder() {
    std::string folder = edtOutputFolder_.Text();
    const char separator = lib_.Naming().Separator;
    if (folder.empty() || folder.back() != separator) folder += separator;
    try {
        lib_.FileSystem().CreateDirectories(folder);
        lib_.AppFunc().WriteLog("Output directory " + folder);
    } catch (const std::exception&) {
        lib_.AppFunc().WriteLog("Output directory error. ->" + folder);
    }
    return folder;
}

std::string TCustomProc::BuildConvertParameter(const std::string& FileName) {
    TConvertParameterStruct& p = lib_.ConvertParam;
    TSelectors& s = Selectors();
    const TPathNaming& naming = lib_.Naming();

    OutputFile.clear();
    SegmentStart = GetSegmentStart(FileName);
    SegmentLength = GetSegmentLength(FileName, "");
    p.SegmentParam = !SegmentStart.empty() && !SegmentLength.empty()
                         ? " -ss " + SegmentStart + " -t " + SegmentLength
                         : std::string();
    p.InputFile = FileName;

    const int outputType = s.cbbOutputFiletype.ItemIndex();
    p.CodecParam = lib_.GetCodecParam(outputType);
    p.VideoBitrateParam = lib_.GetVideoBitrateParam(s.cbbVideoBitrate, s.cbbVideoBitrate.ItemIndex());
    p.VideoSizeParam = lib_.GetVideoSizeParam(s.cbbVideoSize, s.cbbVideoSize.ItemIndex());
    p.FrameRateParam = lib_.GetFrameRateParam(s.cbbFramerate, s.cbbFramerate.ItemIndex());
    p.AspectParam = lib_.GetAspectParam(s.cbbAspectratio, s.cbbAspectratio.ItemIndex());
    p.AudioBitrateParam = lib_.GetAudioBitrateParam(s.cbbAudioBitrate, s.cbbAudioBitrate.ItemIndex());
    p.VolumeParam = lib_.GetVolumeParam(s.cbbAudioVolumeGain, s.cbbAudioVolumeGain.ItemIndex());
    p.ChannelsParam = lib_.GetChannelsParam(s.cbbAudioChannels, s.cbbAudioChannels.ItemIndex());
    p.SampleRateParam = lib_.GetSampleRateParam(s.cbbAudioSample, s.cbbAudioSample.ItemIndex());
    p.FormatParam = lib_.GetFormatParam(outputType);

    p.OutputFolder = GetOutputFolder();
    p.OutputName = lib_.FileFunc().FileBaseName(FileName);
    p.OutputExt = lib_.GetOutputExt(outputType);

    // The script is rewritten for every build, whatever the source; only RealMedia reads it.
    const std::string script = lib_.AppPath + kScriptName;
    lib_.FileSystem().ReplaceFile(script, "DirectShowSource(\"" + p.InputFile +
                                              "\", fps=29.9700898503294, convertfps=true)" +
                                              naming.LineBreak);

    const std::string ext = lib_.FileFunc().FileExt(FileName);
    if (ext == ".rm" || ext == ".rmvb") {
        p.ExePath = lib_.AppPath + naming.RavcName;
        p.InputFile = script;
    } else {
        p.ExePath = lib_.AppPath + naming.FavcName;
    }

    const std::string output =
        lib_.FileFunc().UniqueFileName(p.OutputFolder + p.OutputName + p.OutputExt);
    OutputFile = output;

    const std::string codec = IniText::Trim(p.CodecParam);
    const std::string head = p.ExePath + " -y -i " + QuoteArgument(p.InputFile) + p.CodecParam;
    const std::string tail = p.SegmentParam + " " + QuoteArgument(output);
    if (codec.rfind("-vcodec", 0) == 0) {
        return head + p.VideoBitrateParam + p.VideoSizeParam + p.FrameRateParam + p.AspectParam +
               p.AudioBitrateParam + p.VolumeParam + p.ChannelsParam + p.SampleRateParam +
               p.FormatParam + tail;
    }
    if (codec.rfind("-target", 0) == 0) return head + tail;
    if (codec.rfind("-acodec", 0) == 0) {
        if (p.OutputExt == ".3gp" || p.OutputExt == ".3g2" || p.OutputExt == ".amr") {
            return head + p.VideoSizeParam + p.VideoBitrateParam + p.AudioBitrateParam +
                   p.VolumeParam + " -ac 1 -ar 8000" + p.FormatParam + tail;
        }
        return head + p.AudioBitrateParam + p.VolumeParam + p.ChannelsParam + p.SampleRateParam +
               p.FormatParam + tail;
    }
    if (codec.rfind("-none", 0) == 0) lib_.AppFunc().WriteLog("Create convert parameter failure.");
    return {};
}
