#pragma once
// What the grid and its cells need of an open in-place editor. The editor
// reports its end to the grid through CGridCtrl::OnEndInPlaceEdit.

#include <cstdint>
#include <string>

class CGridInPlaceEditor {
public:
    virtual ~CGridInPlaceEditor() = default;
    // Types a key into the open editor, as if the user had pressed it.
    virtual void SendKey(unsigned key) = 0;
    // Pastes the clipboard at the caret.
    virtual void Paste() = 0;
    // Ends the edit now: the grid is told the final text, then the box closes.
    virtual void EndEdit() = 0;
    // Closes the box without a report: the cell under it is gone.
    virtual void Abandon() = 0;
};

// Everything the window system needs to open an editor over a cell.
struct CGridEditRequest {
    int row = -1;
    int col = -1;
    int controlId = 8;
    struct {
        int left, top, right, bottom;
    } rect{};
    enum class Align { Left, Center, Right } align = Align::Left;
    std::string text;
    unsigned key = 0;
};
