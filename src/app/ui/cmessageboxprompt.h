#pragma once
// The editor's way of asking: a message box over the main window.

#include "platform/cuserprompt.h"

class QWidget;

class CMessageBoxPrompt : public CUserPrompt {
public:
    explicit CMessageBoxPrompt(QWidget* parent) : m_parent(parent) {}
    Answer Ask(const Message& message) override;

private:
    QWidget* m_parent;
};
