#pragma once

#include <deque>
#include <string>
#include <vector>

#include "storage/MessageBoxes.h"

// Records every box shown and answers with the scripted codes in order, then with
// DefaultAnswer (OK unless changed).
class RecordingMessageBoxes : public IMessageBoxes {
public:
    struct Box {
        std::string text;
        std::string caption;
        Icon icon;
        Buttons buttons;
    };

    int Show(const std::string& text, const std::string& caption, Icon icon,
             Buttons buttons) override {
        Shown.push_back(Box{text, caption, icon, buttons});
        if (Answers.empty()) return DefaultAnswer;
        const int answer = Answers.front();
        Answers.pop_front();
        return answer;
    }

    // The texts of the boxes shown, in order.
    std::vector<std::string> Texts() const {
        std::vector<std::string> texts;
        for (const Box& box : Shown) texts.push_back(box.text);
        return texts;
    }

    std::vector<Box> Shown;
    std::deque<int> Answers;
    int DefaultAnswer = kOk;
};
