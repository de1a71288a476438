#pragma once

#include "profiles/QualityProfiles.h"
#include "profiles/Selector.h"

// The eleven selectors of the main window and the options dialog, held in memory.
struct SelectorSet {
    MemorySelector outputType, quality, videoSize, videoBitrate, frameRate, aspect, audioBitrate,
        sampleRate, volume, channels, customProfile;

    TSelectors Refs() {
        return TSelectors{outputType, quality,      videoSize,  videoBitrate,
                          frameRate,  aspect,       audioBitrate, sampleRate,
                          volume,     channels,     customProfile};
    }
};
