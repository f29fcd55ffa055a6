#pragma once
// The line style chooser: a small window without a caption that shows the
// pen file's styles three across in eight rows and reports the one clicked.

#include "pickers/core/clinestylechooser.h"

#include <QDialog>

class CUserPrompt;
class QScrollBar;
class QWidget;

class CLineStyleChooserDlg : public QDialog {
    Q_OBJECT
public:
    // Sizes in pixels of the dialog layout (178 x 106 dialog units).
    static constexpr int ClientWidth = 267, ClientHeight = 172;
    static constexpr int FrameId = 1028, ScrollBarId = 1009;

    // Made at screen position (x, y), not yet shown; the two context values go
    // back with the choice.
    CLineStyleChooserDlg(int x, int y, const std::string& penFile, int context1, int context2,
                         int32_t currentStyle, CUserPrompt& prompt, QWidget* owner = nullptr);

    // Checks the pen file and shows the chooser; when the file cannot be used
    // the user is told, closed is reported and the chooser closes
    // (and false is returned).
    bool Open();

    const CLineStyleChooser& Flow() const { return m_Flow; }
    QWidget* SampleArea() const { return m_Frame; }
    QScrollBar* ScrollBar() const { return m_Bar; }

    void reject() override;

signals:
    // A style was clicked; the chooser closes right after.
    void lineStyleChosen(int style, int context1, int context2);
    // The chooser closes without a choice.
    void closed();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void OnScrollAction(int action);

    CLineStyleChooser m_Flow;
    CUserPrompt& m_Prompt;
    int m_Context1;
    int m_Context2;
    QWidget* m_Frame = nullptr;
    QScrollBar* m_Bar = nullptr;
};
