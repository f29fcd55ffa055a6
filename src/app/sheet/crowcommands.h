#pragma once
// The buttons below the legend spreadsheet: insert, add, delete and duplicate
// rows, interpolate a colour column and step patterns. Each works on the
// spreadsheet's current selection; a refusal is a message and changes nothing.
//
// Every change of the legend goes through the spreadsheet's change function
// as one change per command, so one undo takes a whole command back. Even a
// command that ends up changing no row hands a change over where the legend
// counts as edited afterwards (the editor marks it modified).

#include "app/core/rowinterpolation.h"

class CMyGridCtrl;
class CUserPrompt;

class CRowCommands {
public:
    // The window's control ids of the buttons.
    enum Button : int {
        ButtonRGBInterp = 1024,
        ButtonHSLInterp = 1025,
        ButtonInsertRow = 1026,
        ButtonDeleteRows = 1027,
        ButtonStepPatterns = 1028,
        ButtonDuplicate = 1029,
        ButtonAddRow = 1036,
        ButtonOKLabInterp = 5024,
    };

    // Auto-populate is the spreadsheet's flag, which the window keeps in step
    // with its check box.
    CRowCommands(CMyGridCtrl& sheet, CUserPrompt& prompt) : m_Sheet(sheet), m_Prompt(prompt) {}

    // Runs the command of a button; false for an id that is not one of them.
    bool OnButton(int controlId);

    void InsertRow();
    void AddRow();
    void DeleteRows();
    void Duplicate();
    void RGBInterp() { Interp(CInterpolationMode::RGB); }
    void HSLInterp() { Interp(CInterpolationMode::HSL); }
    void OKLabInterp() { Interp(CInterpolationMode::OKLab); }
    void StepPatterns();

private:
    // Shows the refusal (174, 175 or 176) when the spreadsheet is sorted by
    // anything but "Row" ascending.
    bool InRowOrder(int refusal);
    void Interp(CInterpolationMode mode);
    // The "Row" column shows r and every cell of row r carries legend row r - 1.
    void Renumber();
    void MarkModified();

    CMyGridCtrl& m_Sheet;
    CUserPrompt& m_Prompt;
};
