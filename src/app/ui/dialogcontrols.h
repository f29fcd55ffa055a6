#pragma once
// The small dialogs tag their controls as the main window does: the dialog id
// in the property "controlId" and a plain object name, so tests find a control
// by the id the host applications' documentation gives it.

#include <QPushButton>
#include <QString>
#include <QWidget>

#include <map>

class CDialogControls {
public:
    template <class T>
    T* Add(int id, const char* name, T* widget)
    {
        widget->setObjectName(QString::fromLatin1(name));
        widget->setProperty("controlId", id);
        m_Controls[id] = widget;
        return widget;
    }
    QWidget* Get(int id) const
    {
        const auto it = m_Controls.find(id);
        return it == m_Controls.end() ? nullptr : it->second;
    }

    // A "..." button as narrow as its text; Enter in the dialog still means OK.
    QPushButton* AddBrowse(int id, const char* name, QWidget* parent)
    {
        auto* button = Add(id, name, new QPushButton(QStringLiteral("..."), parent));
        button->setAutoDefault(false);
        button->setFixedWidth(button->fontMetrics().horizontalAdvance(QStringLiteral("...")) + 24);
        return button;
    }

private:
    std::map<int, QWidget*> m_Controls;
};
