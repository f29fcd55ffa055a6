#pragma once
// What the spreadsheet asks of the main window for the cells closed to typing:
// the colour picker, the pattern chooser and the line style chooser. The
// window opens its pop-ups and later hands the result back to the
// spreadsheet (ColourChosen, PatternChosen, LineStyleChosen).

#include "grid/gridtypes.h"

#include <cstdint>
#include <string>

class CPatternTable;

struct CColourPickerRequest {
    uint32_t colour = 0; // the row's foreground colour, 0x00BBGGRR, whichever column
    int row = -1;        // spreadsheet row and column, handed back with the choice
    int col = -1;
    bool offerTransparent = false; // only for the background column
    std::string customText;        // "Custom"
    CGridPoint at;                 // top-left corner on the screen
};

struct CPatternChooserRequest {
    int32_t pattern = 0;
    std::string patternFolder;
    const CPatternTable* patterns = nullptr;
    int row = -1;
    int col = -1;
    CGridPoint at;
};

struct CLineStyleChooserRequest {
    std::string penFile;
    int32_t lineStyle = 0;
    int row = -1;
    int col = -1;
    CGridPoint at;
};

class CChooserHost {
public:
    virtual ~CChooserHost() = default;
    // The main window's client origin in screen coordinates.
    virtual CGridPoint ClientOrigin() const = 0;
    // A click on any chooser cell first closes an open pattern or line style chooser.
    virtual void CloseStyleChoosers() = 0;
    virtual void OpenColourPicker(const CColourPickerRequest& request) = 0;
    virtual void OpenPatternChooser(const CPatternChooserRequest& request) = 0;
    virtual void OpenLineStyleChooser(const CLineStyleChooserRequest& request) = 0;
    virtual void Redraw() = 0;
};

// Where a chooser opens for a cell: its right edge and top (in the
// spreadsheet's client coordinates) shifted by the spreadsheet's place in the
// main window, from the window's client origin on the screen. The edit-mode
// layout moves the spreadsheet left, and the chooser with it.
inline CGridPoint ChooserPosition(const CGridRect& cellRect, CGridPoint clientOrigin, bool editMode)
{
    return {clientOrigin.x + cellRect.right + 193 - (editMode ? 182 : 0),
            clientOrigin.y + cellRect.top + 123};
}
