#pragma once

#include <vector>

// One docked toolbar as the automatic arrangement sees it: its row in the dock, its
// position in the row and its length along the dock, in pixels.
struct KvDockedBar
{
    int row = 0;
    int pos = 0;
    int length = 0;
    bool operator==(const KvDockedBar&) const = default;
};

// Re-arranges the toolbars of one dock of the given length so that none sticks out and
// rows fill up: taken in turn (by row, then position), a toolbar that is not first in its
// row and ends beyond the dock moves to the start of the next row; a toolbar that fits
// behind the row before (strictly) moves there, and its old row closes up. Empty rows are
// dropped. Returns true when anything moved.
bool KvArrangeToolbars(std::vector<KvDockedBar>& bars, int dockLength);
