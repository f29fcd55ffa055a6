#pragma once
// The window that hears from the grid: notifications with a reply, and the
// plain "the grid was clicked" command a dialog reacts to like a button.

#include <string>

// What is about to start an edit of a cell: a click on the focus cell's
// text, a double click, a typed character, F2, or a key that ended the edit
// of the cell before and moves on to this one.
enum class CGridEditTrigger { Click, DoubleClick, Character, F2, NextCell };

// The owner's answer to an edit request: the grid's own text editor, or none
// because the owner has done something else for the cell (a chooser), or none
// at all.
enum class CGridEditAction { TextEditor, HandledByOwner, Nothing };

struct CGridNotification {
    int controlId = 0;
    int code = 0;
    int row = -1;
    int col = -1;
    bool hasText = false; // the display shape, used whenever a non-empty text is passed
    std::string text;
};

class CGridOwner {
public:
    virtual ~CGridOwner() = default;
    // A negative reply to a begin- or end-edit notification vetoes it.
    virtual int OnGridNotify(const CGridNotification& notification) = 0;
    virtual void OnGridCommand(int controlId, int code)
    {
        (void)controlId;
        (void)code;
    }
    // After the rows were sorted, by a heading click or SortItems: whatever
    // the owner keeps in row order is stale now.
    virtual void OnGridSorted(int controlId, int column, bool ascending)
    {
        (void)controlId;
        (void)column;
        (void)ascending;
    }
    // Asked before the text editor opens over a valid cell, read-only or not,
    // so that the owner can choose per cell. character is the typed
    // character, or the key that moved on for NextCell; GridKey::MouseStart
    // for the others.
    virtual CGridEditAction OnGridEditRequest(int controlId, int row, int col, CGridEditTrigger trigger,
                                              unsigned character)
    {
        (void)controlId;
        (void)row;
        (void)col;
        (void)trigger;
        (void)character;
        return CGridEditAction::TextEditor;
    }
};
