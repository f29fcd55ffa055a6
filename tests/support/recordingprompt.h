#pragma once
// A prompt that records every message and answers from a script; pass it to
// the code under test.

#include "platform/cuserprompt.h"

#include <string>
#include <vector>

class CRecordingPrompt : public CUserPrompt {
public:
    Answer Ask(const Message& message) override
    {
        m_Messages.push_back(message);
        if (m_Answers.empty())
            return message.buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
        const Answer a = m_Answers.front();
        m_Answers.erase(m_Answers.begin());
        return a;
    }

    // The texts of the messages shown so far, in order.
    std::vector<std::string> Texts() const
    {
        std::vector<std::string> texts;
        for (const Message& m : m_Messages)
            texts.push_back(m.text);
        return texts;
    }

    std::vector<Message> m_Messages;
    std::vector<Answer> m_Answers; // consumed front first; Yes/Ok when empty
};
