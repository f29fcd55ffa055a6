#pragma once
// The one-line box laid over a cell while its text is edited. It reports the
// final text and the key that ended it to the grid, once, and then goes away.

#include "grid/cgridinplaceeditor.h"

#include <QLineEdit>

class CGridWidget;

class CInPlaceEdit : public QLineEdit, public CGridInPlaceEditor {
public:
    CInPlaceEdit(CGridWidget* grid, const CGridEditRequest& request);

    void SendKey(unsigned key) override;
    void Paste() override { paste(); }
    void EndEdit() override { Finish(); }
    void Abandon() override;

    // The grid is going away: close without reporting.
    void Detach() { m_detached = true; }
    int Row() const { return m_row; }
    int Col() const { return m_col; }
    bool ExitOnArrows() const { return m_exitOnArrows; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    void TypeKey(unsigned key);
    void ReturnToGrid(unsigned key, unsigned modifiers);
    void Grow();
    void Finish();

    CGridWidget* m_grid;
    QString m_initialText;
    int m_row;
    int m_col;
    unsigned m_lastChar = 0;
    unsigned m_lastModifiers = 0;
    bool m_exitOnArrows;
    bool m_alreadyEnding = false;
    bool m_detached = false;
};
