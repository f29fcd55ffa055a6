#pragma once
// Where the legend list's selection goes when the user picks a group heading.

#include <vector>

// The entry to select instead of the heading at `index`: moving up (index not
// beyond lastValid) the nearest ordinary entry above it, moving down the nearest
// below; lastValid when the top (index 0 included) or the end is reached first.
int FindNonHeading(const std::vector<bool>& headings, int index, int lastValid);
