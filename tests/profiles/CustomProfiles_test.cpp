#include <gtest/gtest.h>

#include <deque>
#include <optional>

#include "fakes/SelectorSet.h"
#include "fakes/TempFolder.h"
#include "profiles/OptionTables.h"
#include "profiles/OptionsDialogLogic.h"
#include "profiles/QualityProfiles.h"
#include "storage/Errors.h"

namespace {

// Answers the name prompt from a script; an empty optional stands for Cancel.
class ScriptedNamePrompt : public INamePrompt {
public:
    std::optional<std::string> AskName(const std::string& caption, const std::string& prompt,
                                       const std::string& proposed) override {
        Captions.push_back(caption);
        Prompts.push_back(prompt);
        Proposals.push_back(proposed);
        if (Answers.empty()) return proposed;
        auto answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    std::deque<std::optional<std::string>> Answers;
    std::vector<std::string> Captions, Prompts, Proposals;
};

// Custom profiles over real files in a temporary program folder.
class ProfilesCustom : public ::testing::Test {
protected:
    ProfilesCustom() : files(folder.Slash()), profiles(sel.Refs(), files), dialog(profiles) {
        std::filesystem::create_directories(folder.Path() / "Config");
    }

    void StartUp() {
        profiles.FillAllSelectors({});
        profiles.ApplyQualityProfile();
    }
    std::string ProfileFile() { return TempFolder::Read(folder / "Config/UserProfileInfo.ini"); }
    std::string CountFile() { return TempFolder::Read(folder / "Config/UserProfileCount.ini"); }

    TempFolder folder;
    SelectorSet sel;
    TProfileFiles files;
    TQualityProfiles profiles;
    TOptionsDialogLogic dialog;
    ScriptedNamePrompt prompt;
};

TEST_F(ProfilesCustom, AddProposesCountedNamesAndStoresTheSelections) {
    StartUp();
    dialog.FormShow();
    prompt.Answers = {std::nullopt, std::string("Travel")};
    dialog.btnAddClick(prompt);  // cancelled: only the counter moves
    EXPECT_FALSE(std::filesystem::exists(folder / "Config/UserProfileInfo.ini"));
    dialog.btnAddClick(prompt);

    EXPECT_EQ(prompt.Proposals, (std::vector<std::string>{"UserProfileInfo1", "UserProfileInfo2"}));
    EXPECT_EQ(prompt.Prompts[0], "Plese input a name");
    EXPECT_EQ(prompt.Captions[0], "Kestrava");
    EXPECT_EQ(CountFile(), "\r\n[count]\r\ncount=2\r\n");
    EXPECT_EQ(ProfileFile(), "\r\n[Travel]\r\nTravel=-1|1|2|5|1|2\r\n");
    EXPECT_EQ(sel.customProfile.SelectedText(), "Travel");
}

TEST_F(ProfilesCustom, RoundTripThroughTheMainWindowBeforeTheDialogWasShown) {
    TempFolder::Write(folder / "Config/UserProfileInfo.ini",
                      "\r\n[Small]\r\nSmall=0|6|0|0|0|3\r\n\r\n[Big]\r\nBig=-1|4|4|8|1|2\r\n");
    StartUp();
    EXPECT_EQ(sel.quality.Count(), 7);
    EXPECT_EQ(sel.quality.Item(5), "Small");
    EXPECT_EQ(sel.customProfile.Count(), 2);
    EXPECT_EQ(sel.customProfile.ItemIndex(), -1);
    EXPECT_EQ(sel.customProfile.Text(), "");

    sel.quality.SetItemIndex(5);
    profiles.ApplyQualityProfile();
    EXPECT_EQ(sel.videoSize.SelectedText(), "320x240");
    EXPECT_EQ(sel.frameRate.SelectedText(), "30");
    EXPECT_EQ(sel.videoBitrate.SelectedText(), "40");
    EXPECT_EQ(sel.audioBitrate.SelectedText(), "16");
    EXPECT_EQ(sel.channels.SelectedText(), "1 channel, Mono");
    EXPECT_EQ(sel.sampleRate.SelectedText(), "48000");

    // Changing the output type applies the custom profile again, not a preset.
    sel.outputType.SetItemIndex(1);
    profiles.ApplyQualityProfile();
    EXPECT_EQ(sel.sampleRate.SelectedText(), "48000");

    // Position 6 of the quality list is position 1 of the dialog's list.
    sel.quality.SetItemIndex(6);
    profiles.ApplyQualityProfile();
    EXPECT_EQ(sel.customProfile.SelectedText(), "Big");
    EXPECT_EQ(sel.videoSize.ItemIndex(), -1);
    EXPECT_EQ(sel.frameRate.SelectedText(), "25");
}

TEST_F(ProfilesCustom, SaveOfATypedNameAndDeleteOfTheLast) {
    StartUp();
    dialog.FormShow();
    sel.customProfile.SetText("Phone");
    sel.frameRate.SetItemIndex(0);
    dialog.btnSaveClick();
    EXPECT_EQ(ProfileFile(), "\r\n[Phone]\r\nPhone=-1|0|2|5|1|2\r\n");
    EXPECT_EQ(sel.customProfile.SelectedText(), "Phone");
    EXPECT_EQ(CountFile(), "");  // Save never counts

    dialog.btnDelClick();
    EXPECT_EQ(ProfileFile(), "\r\n\r\n");  // the empty line before it, and one in its place
    EXPECT_EQ(sel.customProfile.Count(), 0);
    EXPECT_EQ(sel.customProfile.Text(), "");
    // The main window lists it until OK.
    EXPECT_EQ(sel.quality.Count(), 5);
}

TEST_F(ProfilesCustom, OkRefillsTheQualityListAndCancelRestoresTheSnapshot) {
    StartUp();
    dialog.FormShow();
    prompt.Answers = {std::string("Mine")};
    dialog.btnAddClick(prompt);
    sel.frameRate.SetItemIndex(6);
    sel.audioBitrate.SetItemIndex(0);
    dialog.btnCancelClick();
    EXPECT_EQ(sel.frameRate.SelectedText(), "15");
    EXPECT_EQ(sel.audioBitrate.SelectedText(), "128");
    EXPECT_EQ(sel.customProfile.ItemIndex(), -1);
    EXPECT_EQ(sel.quality.Count(), 5);  // Cancel does not refresh

    dialog.FormShow();
    sel.frameRate.SetItemIndex(6);
    dialog.btnApplyClick();
    EXPECT_EQ(sel.quality.Count(), 6);
    EXPECT_EQ(sel.quality.Item(5), "Mine");
    EXPECT_EQ(sel.quality.SelectedText(), "Normal Quality");
    EXPECT_EQ(sel.frameRate.SelectedText(), "30");  // no preset applied on OK
}

TEST_F(ProfilesCustom, ShowingTheDialogPicksTheMainWindowsProfile) {
    TempFolder::Write(folder / "Config/UserProfileInfo.ini", "\r\n[A]\r\nA=0|0|0|0|0|0\r\n");
    StartUp();
    dialog.FormShow();
    EXPECT_EQ(sel.customProfile.Text(), "");  // a quality level leaves the box empty

    sel.quality.SetItemIndex(5);
    dialog.FormShow();
    EXPECT_EQ(sel.customProfile.Text(), "A");
}

TEST_F(ProfilesCustom, StoredValuesThatDoNotFit) {
    TempFolder::Write(folder / "Config/UserProfileInfo.ini",
                      "\r\n[Five]\r\nFive=1|1|1|1|1\r\n"
                      "\r\n[Bad]\r\nBad=0|3|x|0|0|0\r\n"
                      "\r\n[Gaps]\r\nGaps=|6||0||1|\r\n"
                      "\r\n[ Blank ]\r\n Blank =0|0|0|0|0|0\r\n");
    StartUp();
    const std::string before = sel.frameRate.SelectedText();

    sel.customProfile.SetItemIndex(0);  // five pieces: ignored
    profiles.ApplyCustomProfile();
    EXPECT_EQ(sel.frameRate.SelectedText(), before);

    sel.customProfile.SetItemIndex(2);  // empty pieces leave their selector; a trailing one drops
    profiles.ApplyCustomProfile();
    EXPECT_EQ(sel.frameRate.SelectedText(), "30");
    EXPECT_EQ(sel.audioBitrate.SelectedText(), "16");
    EXPECT_EQ(sel.sampleRate.SelectedText(), "32000");
    EXPECT_EQ(sel.videoBitrate.SelectedText(), "128");
    EXPECT_EQ(sel.channels.SelectedText(), "2 channels, Stereo");

    sel.customProfile.SetItemIndex(3);  // a listed name with blanks finds no section
    EXPECT_EQ(sel.customProfile.SelectedText(), "Blank");
    EXPECT_EQ(profiles.ReadSelectedCustomProfile(), "");

    sel.customProfile.SetItemIndex(1);  // no integer: fails after setting the first two
    EXPECT_THROW(profiles.ApplyCustomProfile(), ConvertError);
    EXPECT_EQ(sel.videoSize.SelectedText(), "320x240");
    EXPECT_EQ(sel.frameRate.SelectedText(), "24");
}

TEST_F(ProfilesCustom, MissingConfigFolderFailsTheSave) {
    std::filesystem::remove_all(folder.Path() / "Config");
    StartUp();  // missing files read as empty
    EXPECT_EQ(sel.quality.Count(), 5);
    sel.customProfile.SetText("X");
    EXPECT_THROW(profiles.SaveCustomProfile(), FileError);
    EXPECT_FALSE(std::filesystem::exists(folder.Path() / "Config"));
}

}  // namespace
