#pragma once

#include <string>

#include "conversion/ConvertParameter.h"
#include "conversion/FileNaming.h"
#include "profiles/Selector.h"
#include "storage/AppFunc.h"
#include "storage/FileSystem.h"
#include "storage/PathNaming.h"

// The job object: the program folder, the pieces of the current conversion, and the fragment
// getters that turn selections into option fragments. The file loaded in the preview is kept by
// the preview player (TPreviewPlayer::PreviewFile), its only store.
class TCommonLib {
public:
    TCommonLib(std::string appPath, TPathNaming naming, IFileSystem& fs, const TAppFunc& appFunc);

    std::string AppPath;  // ends with the separator
    TConvertParameterStruct ConvertParam;

    // Table getters, by output-type index.
    std::string GetCodecParam(int outputType) const;
    std::string GetFormatParam(int outputType) const;
    std::string GetOutputExt(int outputType) const;

    // Selector getters: the option word and the text of the selector's item at `index`, or the
    // getter's default when that text is empty (also for index -1).
    std::string GetVideoBitrateParam(const ISelector& selector, int index) const;
    std::string GetVideoSizeParam(const ISelector& selector, int index) const;
    std::string GetFrameRateParam(const ISelector& selector, int index) const;
    std::string GetAspectParam(const ISelector& selector, int index) const;
    std::string GetAudioBitrateParam(const ISelector& selector, int index) const;
    std::string GetVolumeParam(const ISelector& selector, int index) const;
    std::string GetChannelsParam(const ISelector& selector, int index) const;
    std::string GetSampleRateParam(const ISelector& selector, int index) const;

    const TPathNaming& Naming() const { return naming_; }
    IFileSystem& FileSystem() const { return fs_; }
    const TAppFunc& AppFunc() const { return appFunc_; }
    TStrFunc& StrFunc() { return strFunc_; }
    TFileFunc& FileFunc() { return fileFunc_; }

private:
    TPathNaming naming_;
    IFileSystem& fs_;
    const TAppFunc& appFunc_;
    TStrFunc strFunc_;
    TFileFunc fileFunc_;
};
