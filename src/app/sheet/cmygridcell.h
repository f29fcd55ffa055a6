#pragma once
// A cell of the legend spreadsheet: a grid cell that knows the spreadsheet
// answering its clicks and the legend row it shows, and that lets the
// spreadsheet draw the colour, pattern and line style columns.

#include "grid/cgridcell.h"

class CMyGridCtrl;

class CMyGridCell : public CGridCell {
public:
    void SetOwnerWindow(CMyGridCtrl* owner) { m_Owner = owner; }
    CMyGridCtrl* GetOwnerWindow() const { return m_Owner; }
    void SetLegendRow(int row) { m_LegendRow = row; }
    int GetLegendRow() const { return m_LegendRow; }

    bool Draw(CGridPainter& painter, int row, int col, CGridRect rect, bool eraseBkgnd) override;
    // A click on a cell closed to typing opens its chooser.
    void OnClick(CGridPoint point) override;

private:
    CMyGridCtrl* m_Owner = nullptr;
    int m_LegendRow = -1;
};
