#include "platform/cuserprompt.h"

#include "platform/cstringtable.h"

#include <cstdio>

namespace {

CStderrPrompt g_StderrPrompt;
CUserPrompt* g_Current = &g_StderrPrompt;

} // namespace

CUserPrompt& CUserPrompt::Current()
{
    return *g_Current;
}

CUserPrompt* CUserPrompt::Install(CUserPrompt* prompt)
{
    CUserPrompt* previous = g_Current;
    g_Current = prompt ? prompt : &g_StderrPrompt;
    return previous;
}

CUserPrompt::Answer CUserPrompt::Show(int stringId, const std::vector<std::string>& args,
                                      Buttons buttons, const std::string& title)
{
    Message m;
    m.stringId = stringId;
    m.text = CStringTable::FormatId(stringId, args);
    m.title = title;
    m.buttons = buttons;
    return Current().Ask(m);
}

void CUserPrompt::ShowText(const std::string& text)
{
    Message m;
    m.text = text;
    Current().Ask(m);
}

CUserPrompt::Answer CStderrPrompt::Ask(const Message& message)
{
    std::fprintf(stderr, "%s\n", message.text.c_str());
    return message.buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
}

CRecordingPrompt::CRecordingPrompt() : m_Previous(CUserPrompt::Install(this))
{
}

CRecordingPrompt::~CRecordingPrompt()
{
    CUserPrompt::Install(m_Previous);
}

CUserPrompt::Answer CRecordingPrompt::Ask(const Message& message)
{
    m_Messages.push_back(message);
    if (m_Answers.empty())
        return message.buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
    Answer a = m_Answers.front();
    m_Answers.erase(m_Answers.begin());
    return a;
}

std::vector<std::string> CRecordingPrompt::Texts() const
{
    std::vector<std::string> texts;
    for (const auto& m : m_Messages)
        texts.push_back(m.text);
    return texts;
}
