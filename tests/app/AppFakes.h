#pragma once

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "app/Desktop.h"
#include "app/OpenFileDialog.h"
#include "app/ProgramEnvironment.h"
#include "profiles/QualityProfiles.h"
#include "storage/OutputFolderChooser.h"

class RecordingDesktop : public IDesktop {
public:
    void Open(const std::string& target) override { Opened.push_back(target); }
    std::vector<std::string> Opened;
};

// Answers with the scripted folders in order, then cancels.
class ScriptedFolderBrowser : public IFolderBrowser {
public:
    std::optional<std::string> BrowseForFolder(const std::string& title) override {
        Titles.push_back(title);
        if (Answers.empty()) return std::nullopt;
        auto answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    std::vector<std::string> Titles;
    std::deque<std::optional<std::string>> Answers;
};

// Records every proposal; answers with the scripted names in order (nothing = Cancel), then
// confirms the proposal.
class ScriptedNamePrompt : public INamePrompt {
public:
    struct Ask {
        std::string caption, prompt, proposed;
    };
    std::optional<std::string> AskName(const std::string& caption, const std::string& prompt,
                                       const std::string& proposed) override {
        Asked.push_back({caption, prompt, proposed});
        if (Answers.empty()) return proposed;
        auto answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    std::vector<Ask> Asked;
    std::deque<std::optional<std::string>> Answers;
};

class RecordingPowerOff : public IPowerOff {
public:
    void PowerOff() override { ++Requests; }
    int Requests = 0;
};

class RecordingExit : public IProcessExit {
public:
    void EndProcess(int exitCode) override { Codes.push_back(exitCode); }
    std::vector<int> Codes;
};

// Records every showing; answers with the scripted choices in order, then cancels.
class ScriptedOpenDialog : public IOpenFileDialog {
public:
    struct Shown {
        std::string filter, initialDir;
    };
    std::vector<std::string> Execute(QWidget*, const std::string& filter,
                                     const std::string& initialDir) override {
        Showings.push_back({filter, initialDir});
        if (Answers.empty()) return {};
        auto answer = Answers.front();
        Answers.pop_front();
        return answer;
    }
    std::vector<Shown> Showings;
    std::deque<std::vector<std::string>> Answers;
};
