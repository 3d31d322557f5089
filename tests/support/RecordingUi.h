#pragma once

#include "platform/Ui.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace lumetra::test {

// Records every call and answers from a script, so a test sees exactly what a user would have
// seen and never blocks on a modal box.
class RecordingUi : public Ui {
public:
    struct Message {
        std::string text;
        Buttons buttons;
        Icon icon;
        std::string action; // the named button of MessageWithAction, else empty
    };

    std::vector<Message> messages;
    std::vector<std::string> status[3]; // every text each pane was given, in order
    std::vector<FileRequest> fileRequests;
    std::deque<Answer> answers;         // answers to questions; No when empty
    std::deque<FileChoice> fileChoices; // cancelled when empty
    int pumps = 0;
    // Runs at every pump, as a user's click would be dispatched there.
    std::function<void()> onPump;
    int waitDepth = 0;
    int waitBegins = 0;
    int waitEnds = 0; // every call, also one too many

    // Called as each box would show, to look at the windows behind it.
    std::function<void(const std::string&)> onMessage;

    Answer MessageBox(const std::string& text, Buttons buttons, Icon icon) override {
        messages.push_back({text, buttons, icon, ""});
        if (onMessage)
            onMessage(text);
        if (buttons == Buttons::Ok)
            return Answer::Ok;
        if (answers.empty())
            return Answer::No;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    // Answers Yes (the action chosen) or Ok from the script; Ok when it is empty.
    Answer MessageWithAction(const std::string& text, const std::string& action,
                             Icon icon) override {
        messages.push_back({text, Buttons::Ok, icon, action});
        if (onMessage)
            onMessage(text);
        if (answers.empty())
            return Answer::Ok;
        Answer a = answers.front();
        answers.pop_front();
        return a;
    }
    void SetStatusText(int pane, const std::string& text) override {
        if (pane >= 0 && pane < 3)
            status[pane].push_back(text);
    }
    void PumpMessages() override {
        ++pumps;
        if (onPump)
            onPump();
    }
    void BeginWaitCursor() override {
        ++waitDepth;
        ++waitBegins;
    }
    void EndWaitCursor() override {
        ++waitEnds;
        if (waitDepth > 0)
            --waitDepth;
    }
    FileChoice ChooseFile(const FileRequest& request) override {
        fileRequests.push_back(request);
        if (fileChoices.empty())
            return {};
        FileChoice c = fileChoices.front();
        fileChoices.pop_front();
        return c;
    }

    // The one message shown, or "" when there was none or more than one.
    std::string OnlyMessage() const { return messages.size() == 1 ? messages[0].text : ""; }
};

} // namespace lumetra::test
