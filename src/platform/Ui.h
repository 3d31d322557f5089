#pragma once

#include <string>
#include <utility>
#include <vector>

namespace lumetra {

// Every message box, question, file chooser, status text, message pump and wait cursor of the
// program goes through this seam, so the core decides and a test can see exactly what a user saw.
class Ui {
public:
    enum class Icon { Exclamation, Stop, Question, Information };
    // Escape answers Cancel where there is one, else No.
    enum class Buttons { Ok, YesNo, YesNoCancel, OkCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    struct FileFilter {
        std::string name;    // "Data Files (*.dat)"
        std::string pattern; // "*.dat"
    };

    struct FileRequest {
        bool saving = false;
        std::string title;
        std::vector<FileFilter> filters;
        std::string initialDir; // empty: the chooser's own choice
        std::string okLabel;    // empty: the toolkit's own label
        std::string cancelLabel;
        std::string defaultSuffix; // added to a name typed without one; empty: used as typed
    };

    struct FileChoice {
        bool accepted = false; // false: the user pressed the cancel button (whatever its label)
        std::string path;
    };

    virtual ~Ui() = default;

    // The caption is always "Lumetra".
    virtual Answer MessageBox(const std::string& text, Buttons buttons = Buttons::Ok,
                              Icon icon = Icon::Exclamation) = 0;
    // A message with OK and one more button named `action`: Yes when the user chose the action,
    // Ok otherwise. Where no one can choose (a console), the message alone is shown.
    virtual Answer MessageWithAction(const std::string& text, const std::string& action,
                                     Icon icon) {
        (void)action;
        return MessageBox(text, Buttons::Ok, icon);
    }
    virtual void SetStatusText(int pane, const std::string& text) = 0;
    // Dispatches every waiting user-interface message.
    virtual void PumpMessages() = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    virtual FileChoice ChooseFile(const FileRequest& request) = 0;
};

} // namespace lumetra
