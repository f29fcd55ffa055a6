#include "grid/cgridaxis.h"

#include <algorithm>
#include <utility>

bool CGridAxis::SetSize(int index, int size)
{
    if (index < 0 || index >= Count() || size < 0)
        return false;
    int& current = m_sizes[static_cast<size_t>(index)];
    m_total += size - current;
    current = size;
    return true;
}

int CGridAxis::FixedExtent() const
{
    int extent = 0;
    for (int i = 0; i < m_fixed; ++i)
        extent += m_sizes[static_cast<size_t>(i)];
    return extent;
}

void CGridAxis::Resize(int count, int size)
{
    m_sizes.resize(static_cast<size_t>(count), size);
    m_fixed = std::min(m_fixed, count);
    m_total = 0;
    for (int s : m_sizes)
        m_total += s;
}

void CGridAxis::Insert(int index, int size)
{
    m_sizes.insert(m_sizes.begin() + index, size);
    m_total += size;
}

void CGridAxis::Remove(int index)
{
    m_total -= m_sizes[static_cast<size_t>(index)];
    m_sizes.erase(m_sizes.begin() + index);
    if (index < m_fixed)
        --m_fixed;
}

void CGridAxis::Swap(int a, int b)
{
    std::swap(m_sizes[static_cast<size_t>(a)], m_sizes[static_cast<size_t>(b)]);
}

int CGridAxis::FirstVisible(int from, int step) const
{
    for (int i = from; step > 0 ? i < Count() : i >= m_fixed; i += step)
        if (m_sizes[static_cast<size_t>(i)] > 0)
            return i;
    return -1;
}

int CGridAxis::SettleVisible(int from, int step) const
{
    int i = from;
    if (step > 0) {
        while (i < Count() - 1 && m_sizes[static_cast<size_t>(i)] == 0)
            ++i;
    } else {
        while (i > m_fixed && m_sizes[static_cast<size_t>(i)] == 0)
            --i;
    }
    return i;
}

int CGridAxis::Offset(int index) const
{
    int offset = 0;
    const int end = std::min(index, Count());
    for (int i = m_fixed; i < end; ++i)
        offset += m_sizes[static_cast<size_t>(i)];
    return offset;
}

int CGridAxis::FirstAtScroll(int scrollPos) const
{
    int i = m_fixed, end = 0;
    while (end < scrollPos && i < Count() - 1)
        end += m_sizes[static_cast<size_t>(i++)];
    return i;
}

int CGridAxis::LastShown(int first, int clientExtent) const
{
    int end = FixedExtent(), i = first;
    for (; i < Count(); ++i) {
        end += m_sizes[static_cast<size_t>(i)];
        if (end >= clientExtent)
            break;
    }
    return std::min(i, Count() - 1);
}

int CGridAxis::OffsetShowingAtEnd(int index, int page) const
{
    int top = index, used = m_sizes[static_cast<size_t>(index)];
    while (top > m_fixed && used + m_sizes[static_cast<size_t>(top - 1)] <= page)
        used += m_sizes[static_cast<size_t>(--top)];
    return Offset(top);
}

int CGridAxis::IndexAt(int pos, int first) const
{
    if (pos < 0)
        return -1;
    const int fixedExtent = FixedExtent();
    const bool inFixed = pos < fixedExtent;
    int end = inFixed ? 0 : fixedExtent;
    int i = inFixed ? 0 : first;
    const int last = inFixed ? m_fixed : Count();
    for (; i < last; ++i) {
        end += m_sizes[static_cast<size_t>(i)];
        if (end > pos)
            break;
    }
    return i < last ? i : -1;
}

bool CGridAxis::PositionOf(int index, int first, int& pos, int limit) const
{
    if (index < m_fixed) {
        pos = 0;
        for (int i = 0; i < index; ++i)
            pos += m_sizes[static_cast<size_t>(i)];
        return true;
    }
    if (index < first)
        return false;
    pos = FixedExtent();
    for (int i = first; i < index && pos < limit; ++i)
        pos += m_sizes[static_cast<size_t>(i)];
    return true;
}
