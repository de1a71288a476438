#pragma once

#include <string>
#include <vector>

// The fixed tables of output types, option values and quality presets.
//
// A selector table lists the items shown in one drop-down list and ends with the decimal text of
// its default selection. A per-type table has one entry per output type 0 to 4
// (0 MP4 video, 1 MOV video, 2 AAC, 3 M4A, 4 MP3).
//
// Each accessor returns a fresh copy of all entries, the default entry included.

std::vector<std::string> cstOutputFileTypes();
std::vector<std::string> cstQualityNames();

std::vector<std::string> cstCodecArguments();   // five entries and an unused trailing "0"
std::vector<std::string> cstFormatOverrides();  // "none" means no container option
std::vector<std::string> cstOutputExtensions();

std::vector<std::string> cstVideoSizes();
std::vector<std::string> cstVideoBitrates();
std::vector<std::string> cstFrameRates();
std::vector<std::string> cstAspectRatios();
std::vector<std::string> cstAudioBitrates();
std::vector<std::string> cstSampleRates();
std::vector<std::string> cstVolumeLevels();
std::vector<std::string> cstAudioChannels();

// Five groups of five preset rows, one group per output type; a row is six "|"-separated fields
// (video size, frame rate, video bitrate, audio bitrate, channels, sample rate), each an item
// index or "none".
std::vector<std::string> cstQualityProfiles();

inline constexpr int kOutputTypeCount = 5;
inline constexpr int kQualityLevelCount = 5;
inline constexpr const char* kNoPresetRow = "none|none|none|none|none|none";

// The shown items of a selector table (all entries but the last).
std::vector<std::string> SelectorItems(const std::vector<std::string>& table);
// The default index of a selector table (its last entry as an integer).
int SelectorDefault(const std::vector<std::string>& table);
// Entry `outputType` of a per-type table, or empty outside 0..4.
std::string PerTypeEntry(const std::vector<std::string>& table, int outputType);
// The preset row of quality level `quality` for `outputType`; the no-preset row outside the
// tables' ranges.
std::string QualityPresetRow(int outputType, int quality);
