#pragma once
// One change of the current legend, kept for undo and redo: the rows that
// differ (a run of rows before and after the change, at the same index) and
// the header fields that differ. Made by comparing the legend before and after
// a change, so every kind of change — a typed cell, a row command, a sort — is
// recorded the same way, and a change of one cell in a large legend keeps one
// row, not a copy of the legend.

#include "legend/cllegend.h"

#include <optional>
#include <string>
#include <vector>

class CLegendEdit {
public:
    static CLegendEdit Between(const CLLLegend& before, const CLLLegend& after);

    bool IsEmpty() const;
    // Turns a legend in the "before" state into the "after" state (redo), or back (undo).
    void Apply(CLLLegend& legend, bool undo) const;

    int FirstRow() const { return m_first; }
    const std::vector<CLLRow>& RowsBefore() const { return m_rowsBefore; }
    const std::vector<CLLRow>& RowsAfter() const { return m_rowsAfter; }

private:
    struct CHeader {
        std::string name;
        std::string description;
        int32_t dataType = DataNumericContinuous;
        float defaultThickness = 1.0f;
        std::vector<std::string> headerComments;
        bool operator==(const CHeader&) const = default;
    };
    static CHeader HeaderOf(const CLLLegend& legend);
    static void SetHeader(CLLLegend& legend, const CHeader& header);
    static std::vector<CLLRow> Rows(const CLLLegend& legend, int first, int count);

    int m_first = 0;
    std::vector<CLLRow> m_rowsBefore;
    std::vector<CLLRow> m_rowsAfter;
    std::optional<CHeader> m_headerBefore; // only when the header changed
    std::optional<CHeader> m_headerAfter;
};
