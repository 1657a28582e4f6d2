#include "app/kvtoolbararrange.h"

#include <algorithm>
#include <numeric>

namespace {

std::vector<KvDockedBar*> rowOf(std::vector<KvDockedBar>& bars, int row)
{
    std::vector<KvDockedBar*> r;
    for (KvDockedBar& b : bars) {
        if (b.row == row)
            r.push_back(&b);
    }
    std::stable_sort(r.begin(), r.end(),
                     [](const KvDockedBar* a, const KvDockedBar* b) { return a->pos < b->pos; });
    return r;
}

void packRow(std::vector<KvDockedBar>& bars, int row)
{
    int pos = 0;
    for (KvDockedBar* b : rowOf(bars, row)) {
        b->pos = pos;
        pos += b->length;
    }
}

int rowLength(std::vector<KvDockedBar>& bars, int row)
{
    int total = 0;
    for (const KvDockedBar* b : rowOf(bars, row))
        total += b->length;
    return total;
}

} // namespace

bool KvArrangeToolbars(std::vector<KvDockedBar>& bars, int dockLength)
{
    const std::vector<KvDockedBar> before = bars;
    std::vector<size_t> order(bars.size());
    std::iota(order.begin(), order.end(), size_t(0));
    std::stable_sort(order.begin(), order.end(), [&](size_t a, size_t b) {
        return bars[a].row != bars[b].row ? bars[a].row < bars[b].row : bars[a].pos < bars[b].pos;
    });
    for (size_t i : order) {
        KvDockedBar& bar = bars[i];
        if (bar.pos != 0 && bar.pos + bar.length > dockLength) {
            // To the start of the next row; what is there moves along.
            for (KvDockedBar* other : rowOf(bars, bar.row + 1))
                other->pos += bar.length;
            bar.row += 1;
            bar.pos = 0;
        }
        while (bar.row > 0 && bar.length + rowLength(bars, bar.row - 1) < dockLength) {
            const int oldRow = bar.row;
            bar.pos = rowLength(bars, bar.row - 1);
            bar.row -= 1;
            packRow(bars, oldRow);
        }
    }
    // Rows are numbered without gaps.
    std::vector<int> rows;
    for (const KvDockedBar& b : bars)
        rows.push_back(b.row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    for (KvDockedBar& b : bars)
        b.row = int(std::lower_bound(rows.begin(), rows.end(), b.row) - rows.begin());
    return bars != before;
}
