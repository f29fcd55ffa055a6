#pragma once
// The sizes along one direction of the grid: row heights or column widths.
// The control keeps one for its rows and one for its columns, so every rule
// here (hidden lines, the fixed band, hit testing, scroll offsets) holds the
// same way both ways. Positions are client pixels; the fixed band is drawn
// from 0, the scrolled part from the end of the fixed band on, starting with
// the first scrolled index the caller passes.

#include <cstddef>
#include <cstdint>
#include <vector>

class CGridAxis {
public:
    int Count() const { return static_cast<int>(m_sizes.size()); }
    int Fixed() const { return m_fixed; }
    // No check against Count(): the control grows the table first.
    void SetFixed(int fixed) { m_fixed = fixed; }

    // 0 for an index outside the axis, like a hidden line.
    int Size(int index) const
    {
        return index < 0 || index >= Count() ? 0 : m_sizes[static_cast<size_t>(index)];
    }
    bool IsHidden(int index) const { return Size(index) == 0; }
    // Refused for an index outside the axis or a negative size.
    bool SetSize(int index, int size);
    // Kept up to date on every change, so that sizing one line of a long
    // grid (which updates the scroll bars) costs nothing.
    int64_t Total() const { return m_total; }
    // The extent of the fixed band.
    int FixedExtent() const;

    // Grows with lines of the given size or cuts from the end; the fixed
    // band never outgrows the axis.
    void Resize(int count, int size);
    void Insert(int index, int size);
    // A removed fixed line makes the fixed band one smaller.
    void Remove(int index);
    void Swap(int a, int b);

    // The first visible index from `from` on in the direction of step (+1 or
    // -1); going back it stops at the fixed band, going on at the end; -1 when
    // there is none.
    int FirstVisible(int from, int step) const;
    // Like FirstVisible, but stays within the non-fixed part and settles on
    // its last index that way when all are hidden (Home and End).
    int SettleVisible(int from, int step) const;

    // The scroll offset of an index: the extent of the non-fixed lines before it.
    int Offset(int index) const;
    // The first scrolled index for a scroll position.
    int FirstAtScroll(int scrollPos) const;
    // The last index reaching into a client of the given extent when the
    // scrolled part starts with `first`; Count() - 1 when all fit.
    int LastShown(int first, int clientExtent) const;
    // The smallest scroll offset that still shows all of index within a
    // page of the given extent, by taking in as many lines above it as fit.
    int OffsetShowingAtEnd(int index, int page) const;

    // The index at client position pos, or -1.
    int IndexAt(int pos, int first) const;
    // The client position of an index; false when it is scrolled away. The
    // walk through the scrolled part stops once it reaches limit.
    bool PositionOf(int index, int first, int& pos, int limit) const;

private:
    std::vector<int> m_sizes;
    int64_t m_total = 0;
    int m_fixed = 0;
};
