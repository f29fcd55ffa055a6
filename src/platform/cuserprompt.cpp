#include "platform/cuserprompt.h"

#include "platform/cstringtable.h"

#include <cstdio>

CUserPrompt::Answer CUserPrompt::ShowString(int stringId, const std::vector<std::string>& args,
                                            Buttons buttons, const std::string& title)
{
    Message m;
    m.stringId = stringId;
    m.text = CStringTable::FormatId(stringId, args);
    m.title = title;
    m.buttons = buttons;
    return Ask(m);
}

void CUserPrompt::ShowFixed(const std::string& text)
{
    Message m;
    m.text = text;
    Ask(m);
}

CUserPrompt::Answer CStderrPrompt::Ask(const Message& message)
{
    std::fprintf(stderr, "%s\n", message.text.c_str());
    return message.buttons == Buttons::Ok ? Answer::Ok : Answer::Yes;
}
