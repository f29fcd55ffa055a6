#include "app/core/findnonheading.h"

#include <cstddef>

int FindNonHeading(const std::vector<bool>& headings, int index, int lastValid)
{
    const int count = static_cast<int>(headings.size());
    if (index <= lastValid) {
        for (int i = index - 1; i > 0; --i)
            if (i < count && !headings[static_cast<size_t>(i)])
                return i;
        return lastValid;
    }
    for (int i = index + 1; i < count; ++i)
        if (i >= 0 && !headings[static_cast<size_t>(i)])
            return i;
    return lastValid;
}
