#include "profiles/OptionTables.h"

#include <string>

namespace {

// Rows of the two quality groups: output types 0, 2 and 4 share group A, types 1 and 3 group B.
const char* const kGroupA[kQualityLevelCount] = {
    "1|0|0|2|0|0", "1|0|1|4|1|1", "1|1|2|5|1|2", "1|1|3|7|1|2", "1|1|4|8|1|3",
};
const char* const kGroupB[kQualityLevelCount] = {
    "1|0|0|2|0|0", "1|0|1|4|0|0", "1|1|2|5|0|0", "1|1|3|7|0|0", "1|1|4|8|0|0",
};

}  // namespace

std::vector<std::string> cstOutputFileTypes() {
    return {"iPod MPEG-4 Video Files (*.mp4)", "MOV Video Files (*.mov)",
            "AAC Audio Files (*.aac)",         "M4A MPEG Audio Files (*.m4a)",
            "MP3 Files (*.mp3)",               "0"};
}

std::vector<std::string> cstQualityNames() {
    return {"Low Quality",       "Acceptable Quality", "Normal Quality",
            "Excellent Quality", "Superb Quality",     "2"};
}

std::vector<std::string> cstCodecArguments() {
    return {"-vcodec mpeg4 -acodec aac", "-vcodec mpeg4 -acodec aac", "-acodec aac -vn",
            "-acodec aac -vn",           "-acodec mp3 -vn",           "0"};
}

std::vector<std::string> cstFormatOverrides() { return {"none", "mov", "none", "none", "none"}; }

std::vector<std::string> cstOutputExtensions() { return {".mp4", ".mov", ".aac", ".m4a", ".mp3"}; }

std::vector<std::string> cstVideoSizes() { return {"320x240", "0"}; }

std::vector<std::string> cstVideoBitrates() { return {"40", "80", "128", "256", "512", "2"}; }

std::vector<std::string> cstFrameRates() {
    return {"14.985", "15", "23.967", "24", "25", "29.97", "30", "1"};
}

std::vector<std::string> cstAspectRatios() { return {"4:3", "16:9", "0"}; }

std::vector<std::string> cstAudioBitrates() {
    return {"16", "32", "48", "64", "80", "128", "160", "192", "224", "2"};
}

std::vector<std::string> cstSampleRates() { return {"22050", "32000", "44100", "48000", "2"}; }

std::vector<std::string> cstVolumeLevels() {
    std::vector<std::string> table;
    for (int level = 0; level <= 500; level += 25) table.push_back(std::to_string(level));
    table.push_back("8");
    return table;
}

std::vector<std::string> cstAudioChannels() {
    return {"1 channel, Mono", "2 channels, Stereo", "1"};
}

std::vector<std::string> cstQualityProfiles() {
    std::vector<std::string> rows;
    for (int type = 0; type < kOutputTypeCount; ++type) {
        const char* const* group = (type == 1 || type == 3) ? kGroupB : kGroupA;
        for (int q = 0; q < kQualityLevelCount; ++q) rows.emplace_back(group[q]);
    }
    return rows;
}

std::vector<std::string> SelectorItems(const std::vector<std::string>& table) {
    if (table.empty()) return {};
    return {table.begin(), table.end() - 1};
}

int SelectorDefault(const std::vector<std::string>& table) {
    return table.empty() ? -1 : std::stoi(table.back());
}

std::string PerTypeEntry(const std::vector<std::string>& table, int outputType) {
    if (outputType < 0 || outputType >= kOutputTypeCount ||
        static_cast<size_t>(outputType) >= table.size())
        return {};
    return table[static_cast<size_t>(outputType)];
}

std::string QualityPresetRow(int outputType, int quality) {
    if (outputType < 0 || outputType >= kOutputTypeCount || quality < 0 ||
        quality >= kQualityLevelCount)
        return kNoPresetRow;
    return cstQualityProfiles()[static_cast<size_t>(outputType * kQualityLevelCount + quality)];
}
