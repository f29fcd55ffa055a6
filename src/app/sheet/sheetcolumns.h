#pragma once
// Which spreadsheet column shows which member of a legend row, by data type,
// and the headings and widths the heading row gets.

#include <string>
#include <vector>

struct CSheetColumns {
    int from = 1; // "String" for a text legend
    int to = 2;   // -1 for a text legend
    int label = 3;
    int fg = 4;
    int bg = 5;
    int pattern = 6;
    int lcol = 7;
    int lstyle = 8;
    int lthick = 9;
    int comment = 10;
    int count = 11;

    static CSheetColumns For(int dataType);
    // The columns closed to typing, whose cells open a chooser.
    bool IsChooser(int col) const
    {
        return col == fg || col == bg || col == pattern || col == lcol || col == lstyle;
    }

    struct Heading {
        std::string text;
        int width = 0;
    };
    // One per column, "Row" first. A Quarvex/Strativ host has its own labels
    // in the TAB table and draws line styles from its pen file, so Label
    // hides and LStyle shows there.
    static std::vector<Heading> Headings(int dataType, bool quarvexOrStrativ);
};
