#include "app/ui/cmessageboxprompt.h"

#include "platform/cstringtable.h"

#include <QMessageBox>

CUserPrompt::Answer CMessageBoxPrompt::Ask(const Message& message)
{
    const QString title = QString::fromStdString(message.title.empty() ? CStringTable::Load(Str::AppTitle) : message.title);
    const QString text = QString::fromStdString(message.text);
    switch (message.buttons) {
    case Buttons::Ok:
        QMessageBox::information(m_parent, title, text);
        return Answer::Ok;
    case Buttons::YesNo:
        return QMessageBox::question(m_parent, title, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes
                   ? Answer::Yes
                   : Answer::No;
    case Buttons::YesNoCancel:
        switch (QMessageBox::question(m_parent, title, text, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel)) {
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            return Answer::Cancel;
        }
    }
    return Answer::Cancel;
}
