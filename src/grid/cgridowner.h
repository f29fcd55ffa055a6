#pragma once
// The window that hears from the grid: notifications with a reply, and the
// plain "the grid was clicked" command a dialog reacts to like a button.

#include <string>

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
};
