#include "profiles/QualityProfiles.h"

#include <gtest/gtest.h>

#include "fakes/SelectorSet.h"
#include "fakes/TempFolder.h"
#include "profiles/OptionTables.h"

namespace {

// The selectors filled and preset as at start-up, over a program folder with a Config folder.
class ProfilesSelection : public ::testing::Test {
protected:
    ProfilesSelection() : files(folder.Slash()), profiles(sel.Refs(), files) {
        std::filesystem::create_directories(folder.Path() / "Config");
    }

    void StartUp() {
        profiles.FillAllSelectors([&] { ++settingsLoads; });
        profiles.ApplyQualityProfile();
    }

    // The displayed texts of the option selectors in one line, "-" for no selection.
    std::string Options() {
        std::string out;
        for (ISelector* s : {(ISelector*)&sel.videoSize, (ISelector*)&sel.frameRate,
                             (ISelector*)&sel.videoBitrate, (ISelector*)&sel.aspect,
                             (ISelector*)&sel.audioBitrate, (ISelector*)&sel.sampleRate,
                             (ISelector*)&sel.volume, (ISelector*)&sel.channels}) {
            if (!out.empty()) out += " | ";
            out += s->ItemIndex() < 0 ? "-" : s->SelectedText();
        }
        return out;
    }

    void PickOutputType(int type) {
        sel.outputType.SetItemIndex(type);
        profiles.ApplyQualityProfile();
    }
    void PickQuality(int quality) {
        sel.quality.SetItemIndex(quality);
        profiles.ApplyQualityProfile();
    }

    TempFolder folder;
    SelectorSet sel;
    TProfileFiles files;
    TQualityProfiles profiles;
    int settingsLoads = 0;
};

TEST_F(ProfilesSelection, TablesDefaultsBeforeAnyPreset) {
    profiles.FillAllSelectors([&] { ++settingsLoads; });
    EXPECT_EQ(settingsLoads, 1);
    EXPECT_EQ(sel.outputType.SelectedText(), "iPod MPEG-4 Video Files (*.mp4)");
    EXPECT_EQ(sel.quality.SelectedText(), "Normal Quality");
    EXPECT_EQ(Options(), "320x240 | 15 | 128 | 4:3 | 48 | 44100 | 200 | 2 channels, Stereo");
    EXPECT_EQ(sel.volume.Count(), 21);
    EXPECT_EQ(sel.frameRate.Item(0), "14.985");
    EXPECT_EQ(sel.frameRate.Item(2), "23.967");
}

TEST_F(ProfilesSelection, StartUpAppliesNormalPresetOfMp4) {
    StartUp();
    EXPECT_EQ(Options(), "- | 15 | 128 | 4:3 | 128 | 44100 | 200 | 2 channels, Stereo");
    EXPECT_EQ(sel.quality.Count(), 5);
    EXPECT_EQ(sel.customProfile.Count(), 0);
}

TEST_F(ProfilesSelection, OutputTypeAndQualityPickApplyTheirGroupRow) {
    StartUp();
    PickOutputType(1);  // MOV: group B
    EXPECT_EQ(Options(), "- | 15 | 128 | 4:3 | 128 | 22050 | 200 | 1 channel, Mono");
    PickOutputType(2);  // AAC: group A again
    EXPECT_EQ(Options(), "- | 15 | 128 | 4:3 | 128 | 44100 | 200 | 2 channels, Stereo");
    PickQuality(0);
    EXPECT_EQ(Options(), "- | 14.985 | 40 | 4:3 | 48 | 22050 | 200 | 1 channel, Mono");
    PickQuality(4);
    EXPECT_EQ(Options(), "- | 15 | 512 | 4:3 | 224 | 48000 | 200 | 2 channels, Stereo");
}

TEST_F(ProfilesSelection, MovAndM4aAreMono22050AtEveryLevel) {
    StartUp();
    for (int type : {1, 3}) {
        for (int q = 0; q < kQualityLevelCount; ++q) {
            sel.outputType.SetItemIndex(type);
            PickQuality(q);
            EXPECT_EQ(sel.channels.SelectedText(), "1 channel, Mono") << type << "/" << q;
            EXPECT_EQ(sel.sampleRate.SelectedText(), "22050") << type << "/" << q;
        }
    }
}

TEST_F(ProfilesSelection, AspectAndVolumeSurvivePresets) {
    StartUp();
    sel.aspect.SetItemIndex(1);
    sel.volume.SetItemIndex(4);
    for (int type = 0; type < kOutputTypeCount; ++type) {
        PickOutputType(type);
        for (int q = 0; q < kQualityLevelCount; ++q) PickQuality(q);
    }
    EXPECT_EQ(sel.aspect.SelectedText(), "16:9");
    EXPECT_EQ(sel.volume.SelectedText(), "100");
}

TEST_F(ProfilesSelection, NoOutputTypeChangesNothing) {
    StartUp();
    sel.frameRate.SetItemIndex(6);
    sel.outputType.SetItemIndex(-1);
    PickQuality(0);
    EXPECT_EQ(sel.frameRate.SelectedText(), "30");
}

TEST_F(ProfilesSelection, FillingTwiceListsTwice) {
    profiles.FillAspectRatios(sel.aspect);
    profiles.FillAspectRatios(sel.aspect);
    EXPECT_EQ(sel.aspect.Count(), 4);
    EXPECT_EQ(sel.aspect.Item(2), "4:3");
}

}  // namespace
