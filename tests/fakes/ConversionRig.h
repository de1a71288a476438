#pragma once

#include <memory>
#include <string>

#include "conversion/CommonLib.h"
#include "conversion/CustomProc.h"
#include "fakes/FakeLogClock.h"
#include "fakes/MemorySourceList.h"
#include "fakes/MemoryTextBox.h"
#include "fakes/SelectorSet.h"
#include "profiles/ProfileFiles.h"
#include "storage/AppFunc.h"
#include "storage/PathNaming.h"

// The objects the command-line builder needs, over a given file system and naming, with the
// selectors filled and preset as at start-up.
struct ConversionRig {
    ConversionRig(std::string appPath, TPathNaming naming, IFileSystem& fs,
                  std::string outputFolder)
        : edtOutputFolder(std::move(outputFolder)),
          appFunc(appPath, fs, clock),
          lib(appPath, naming, fs, appFunc),
          files(appPath, fs, naming.Separator),
          proc(sel.Refs(), files, lib, list, edtOutputFolder) {
        proc.FillAllSelectors({});
        proc.ApplyQualityProfile();
    }

    // The selections of the worked examples: 128 kbps, 320x240, 15 fps, 4:3, 128 kbps audio,
    // volume 100, stereo, 44100 Hz.
    void SelectExampleOptions() {
        sel.videoBitrate.SetItemIndex(2);
        sel.videoSize.SetItemIndex(0);
        sel.frameRate.SetItemIndex(1);
        sel.aspect.SetItemIndex(0);
        sel.audioBitrate.SetItemIndex(5);
        sel.volume.SetItemIndex(4);
        sel.channels.SetItemIndex(1);
        sel.sampleRate.SetItemIndex(2);
    }

    SelectorSet sel;
    MemorySourceList list;
    MemoryTextBox edtOutputFolder;
    FakeLogClock clock;
    TAppFunc appFunc;
    TCommonLib lib;
    TProfileFiles files;
    TCustomProc proc;
};
