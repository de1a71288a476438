#pragma once

#include <functional>
#include <optional>
#include <string>

#include "profiles/ProfileFiles.h"
#include "profiles/Selector.h"

// The ten option selectors and the options dialog's custom-profile box. They are the only store
// of the current options.
struct TSelectors {
    ISelector& cbbOutputFiletype;
    ISelector& cbbProfile;
    ISelector& cbbVideoSize;
    ISelector& cbbVideoBitrate;
    ISelector& cbbFramerate;
    ISelector& cbbAspectratio;
    ISelector& cbbAudioBitrate;
    ISelector& cbbAudioSample;
    ISelector& cbbAudioVolumeGain;
    ISelector& cbbAudioChannels;
    ISelector& cbbCustomProfile;
};

// Asks the user for a profile name (a text-input dialog with OK and Cancel).
class INamePrompt {
public:
    virtual ~INamePrompt() = default;
    // The text confirmed with OK, or nothing on Cancel.
    virtual std::optional<std::string> AskName(const std::string& caption,
                                               const std::string& prompt,
                                               const std::string& proposed) = 0;
};

inline constexpr const char* kProfileNamePrompt = "Plese input a name";

// Filling the selectors from the tables, the quality presets, and the custom profiles.
class TQualityProfiles {
public:
    TQualityProfiles(TSelectors selectors, TProfileFiles& profiles);

    // Each appends its table's items to the selector (a fill never clears) and selects the
    // table's default.
    void FillOutputFileTypes(ISelector& selector);
    void FillQualityLevels(ISelector& selector);  // then the stored custom profile names
    void FillAspectRatios(ISelector& selector);
    void FillVideoBitrates(ISelector& selector);
    void FillAudioBitrates(ISelector& selector);
    void FillAudioChannels(ISelector& selector);
    void FillFrameRates(ISelector& selector);
    void FillSampleRates(ISelector& selector);
    void FillVolumeLevels(ISelector& selector);
    void FillVideoSizes(ISelector& selector);

    // Fills all ten selectors and the custom-profile box, then runs `loadUserSettings`.
    void FillAllSelectors(const std::function<void()>& loadUserSettings);

    // Sets the option selectors from the current output type and quality selection.
    void ApplyQualityProfile();

    // The stored value of the profile selected in the custom-profile box, empty when none.
    std::string ReadSelectedCustomProfile() const;
    // Sets the six profile selectors from the selected custom profile. Throws ConvertError for
    // a stored piece that is no integer (the selectors before it are already set).
    void ApplyCustomProfile();

    // The six profile selections joined with "|".
    std::string CurrentProfileValue() const;
    // Add: counts the command, proposes "UserProfileInfo" + n and stores the options under the
    // confirmed name. False when the prompt was cancelled.
    bool AddCustomProfile(INamePrompt& prompt);
    // Save: stores the options under the box's text when it is not empty.
    void SaveCustomProfile();
    // Delete: erases the section named by the box's text when the box lists any profile.
    void DeleteCustomProfile();

    TSelectors& Selectors() { return s_; }
    TProfileFiles& Profiles() { return profiles_; }

private:
    TSelectors s_;
    TProfileFiles& profiles_;
};
