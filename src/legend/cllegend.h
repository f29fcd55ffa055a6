#pragma once
// The legend document: a header and parallel per-row lists. Row i of the legend
// is entry i of every list. Plain value; the editor owns one, conversions make
// temporary ones.
//
// The methods live by subject: the document and its rows in cllegend.cpp, the
// .leg format (ReadLEG, ReadLEGText, WriteLEG, SaveLEG, LEGText, FormatLEG) in
// legfile.cpp, colour look-up tables read as a legend (ReadColourTable,
// ReadColourTableText) in lutfile.cpp, and TAB legend tables (ImportTAB,
// ExportTAB) in tabtable.cpp.

#include "legend/cllcolourtable.h"
#include "platform/cfileio.h"
#include "platform/cnumberformat.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

class CUserPrompt;

enum LegendDataType : int32_t {
    DataNumericContinuous = 0,
    DataNumericDiscrete = 1,
    DataText = 2,
};

// One legend row, as handed out by GetRow and taken by AddRow. Every member has
// an initializer, so a row can be written with designated initializers naming
// only what differs from the empty row.
struct CLLRow {
    std::string label{};
    std::string text{};
    double value = 0.0;
    double from = 0.0;
    double to = 0.0;
    CGColor fillColour{};
    CGColor backColour{};
    bool fillTransparent = false;
    bool backTransparent = false;
    int32_t pattern = 0;
    CGColor lineColour{};
    int32_t lineStyle = 0;
    float thickness = 1.0f;
    std::string comment{};

    bool operator==(const CLLRow&) const = default;
};

class CLLLegend {
public:
    // The number every transparent fill or background is written as.
    static constexpr uint32_t TransparentColour = 0xFF000000u;
    static constexpr uint32_t White = 0x00FFFFFFu;

    CLLLegend() = default;
    CLLLegend(const CLLLegend&) = default;
    CLLLegend& operator=(const CLLLegend&) = default;
    virtual ~CLLLegend() = default;

    virtual void SetDefault();
    virtual void Clear();
    // A file that cannot be opened or read still leaves the default legend, as
    // the editor shows for "no such legend"; the result tells that case
    // (Missing()) from a file that exists but failed, which callers must report.
    virtual CFileResult ReadLEG(const std::string& path);
    // The same reading of a file's content already in memory; path names it.
    void ReadLEGText(std::string_view data, const std::string& path);
    // Reads a colour look-up table file as a legend; data values are read with
    // the given separators (the user's, in the editor).
    virtual void ReadColourTable(const std::string& path,
                                 CNumberSeparators separators = CNumberSeparators::User());
    // The same for the file's content already in memory; path names it.
    void ReadColourTableText(const std::string& data, const std::string& path,
                             CNumberSeparators separators = CNumberSeparators::User());
    // Fills the legend from a TAB legend table (one legend, chosen by name); a
    // table that cannot be opened or lacks fields is reported through prompt.
    virtual void ImportTAB(const std::string& tabPath, const std::string& legendName,
                           int32_t localeNumbers, CUserPrompt& prompt,
                           CNumberSeparators separators = CNumberSeparators::User());
    // 1 on success, 0 when the file cannot be created (an existing file is then untouched).
    virtual int WriteLEG(const std::string& path) const;
    // The same save, telling why it failed.
    CFileResult SaveLEG(const std::string& path) const;
    // The text a save writes.
    std::string LEGText() const;
    // Writes the legend as a TAB table; false when the table cannot be created
    // or written whole, with the message for the user in *why ("Could not
    // create " and the path, with the reason when there is one). Shows nothing:
    // the caller owns the message.
    virtual bool ExportTAB(const std::string& path, std::string* why = nullptr) const;
    virtual int GetRowCount() const { return static_cast<int>(m_FillColours.m_Colours.size()); }

    // Every row operation goes through the one list of the per-row lists in
    // cllegend.cpp, so a list added to the document cannot be forgotten by one
    // of them.
    bool GetRow(int i, CLLRow& row) const;
    // Writes row i into every list that holds it; false for an index that is
    // not a row.
    bool SetRow(int i, const CLLRow& row);
    // The value lists a new row goes into; the other lists always take it.
    enum class RowValues {
        All,        // text, value, From and To, whatever the data type
        OfDataType, // only those the data type uses: the text, or From and To
    };
    void AddRow(const CLLRow& row, RowValues values = RowValues::All);
    void AddRow(CLLRow&& row, RowValues values = RowValues::All);
    void InsertRow(int i);
    void DeleteRow(int i);
    // True when every per-row list holds GetRowCount entries, the colour tables'
    // counts among them, and of the value lists those the data type uses do
    // too while the others hold all rows or none.
    bool RowListsAgree() const;
    // Gives every per-row list room for `rows` rows, for a reader that will
    // append that many at most.
    void ReserveRows(size_t rows);

    // Colour-in rule shared by every reader: a number above 0xFFFFFF is a
    // transparent white; anything else an opaque colour.
    static void ColourIn(uint32_t number, CGColor& colour, int32_t& transparent);
    // Colour-out rule: the packed colour, or 0xFF000000 when transparent.
    static uint32_t ColourOut(const CGColor& colour, int32_t transparent);

    // Gives every per-row list exactly the row count (padding with empty text,
    // zeros, opaque black and the default thickness), so that a legend assembled
    // by a partial reader can be shown and written.
    void FitRowLists();

    CLLColourTable m_FillColours;
    CLLColourTable m_BackColours;
    std::vector<int32_t> m_BackTransparent;
    std::vector<int32_t> m_FillTransparent;
    CLLColourTable m_LineColours;
    std::vector<std::string> m_Labels;
    std::vector<int32_t> m_Patterns;
    std::vector<int32_t> m_LineStyles;
    std::vector<float> m_LineThickness;
    std::string m_FileTitle;
    std::string m_FilePath;
    std::string m_Description;
    std::vector<std::string> m_StringValues;
    std::vector<double> m_Values;
    std::vector<double> m_From;
    std::vector<double> m_To;
    std::vector<std::string> m_HeaderComments;
    std::vector<std::string> m_RowComments;
    std::string m_Name;
    int32_t m_DataType = DataNumericContinuous;
    float m_DefaultThickness = 1.0f;

    // Sets m_FileTitle and m_FilePath from a path, and gives the three colour
    // tables the legend kind, that path and as many levels as entries.
    void FinishRead(const std::string& path);
    // Formats the legend file in pieces of about 64 KiB, handed to write in order.
    void FormatLEG(const std::function<void(std::string_view)>& write) const;

private:
    template <typename Row> void AppendRow(Row&& row, RowValues values);
};
