#pragma once
// A cell of the legend spreadsheet: a grid cell that knows the spreadsheet
// answering its clicks and the legend row it shows, and that lets the
// spreadsheet draw the colour, pattern and line style columns.

#include "grid/cgridcell.h"

class CMyGridCtrl;

class CMyGridCell : public CGridCell {
public:
    void SetOwnerWindow(CMyGridCtrl* owner) { m_pOwner = owner; }
    CMyGridCtrl* GetOwnerWindow() const { return m_pOwner; }
    void SetLegendRow(int row) { m_nLegendRow = row; }
    int GetLegendRow() const { return m_nLegendRow; }

    bool Draw(CGridPainter& painter, int row, int col, CGridRect rect, bool eraseBkgnd) override;
    // A click on a cell closed to typing opens its chooser.
    void OnClick(CGridPoint point) override;

private:
    CMyGridCtrl* m_pOwner = nullptr;
    int m_nLegendRow = -1;
};
