#pragma once
// How core code talks to the user: a message or a question, answered by the
// front end that the caller passes in (message boxes in the editor, stderr in
// the command-line tool, a script in tests). Core code never opens a window
// itself, and there is no prompt of the process to fall back on.

#include <string>
#include <vector>

class CUserPrompt {
public:
    enum class Buttons { Ok, YesNo, YesNoCancel };
    enum class Answer { Ok, Yes, No, Cancel };

    struct Message {
        int stringId = 0; // 0 for the fixed texts of the file code
        std::string text;
        std::string title;
        Buttons buttons = Buttons::Ok;
    };

    virtual ~CUserPrompt() = default;
    virtual Answer Ask(const Message& message) = 0;

    // A string-table message with its arguments, asked through this prompt.
    Answer ShowString(int stringId, const std::vector<std::string>& args = {},
                      Buttons buttons = Buttons::Ok, const std::string& title = {});
    // A fixed text, such as "Could not open " followed by a path.
    void ShowFixed(const std::string& text);
};

// Writes messages to stderr and answers every question with its first button.
class CStderrPrompt : public CUserPrompt {
public:
    Answer Ask(const Message& message) override;
};
