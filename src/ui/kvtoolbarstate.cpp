#include "ui/kvtoolbarstate.h"

#include <QDataStream>
#include <QIODevice>
#include <QMainWindow>
#include <QToolBar>
#include <algorithm>
#include <map>
#include <memory>

namespace {

// The toolbar part of QMainWindow::saveState(): a marker, the number of lines, then per
// line its dock (0 left, 1 right, 2 top, 3 bottom), the number of toolbars and per
// toolbar its name, a shown flag, its position and preferred size in the line and its
// floating geometry packed into two words (bit 0: floating).
constexpr quint8 kToolBarStateMarkerEx = 0xfc;
constexpr QDataStream::Version kStreamVersion = QDataStream::Qt_5_0;

struct Item
{
    QString name;
    quint8 shown = 1;
    int pos = 0;
    int size = -1;
    quint32 geom0 = 0;
    quint32 geom1 = 0;
};

struct Line
{
    int dock = 2;
    QList<Item> items;
};

const struct
{
    int dock;
    Qt::ToolBarArea area;
    const char16_t* name;
} kDocks[] = {
    {0, Qt::LeftToolBarArea, u"LeftDock"},
    {1, Qt::RightToolBarArea, u"RightDock"},
    {2, Qt::TopToolBarArea, u"TopDock"},
    {3, Qt::BottomToolBarArea, u"BottomDock"},
};

int dockIndex(const QString& name)
{
    for (const auto& d : kDocks) {
        if (name == QStringView(d.name))
            return d.dock;
    }
    return -1;
}

QString dockNameOf(int dock)
{
    for (const auto& d : kDocks) {
        if (d.dock == dock)
            return QString::fromUtf16(d.name);
    }
    return QString();
}

void pack(const QRect& r, quint32& geom0, quint32& geom1)
{
    geom0 = (quint32(std::max(0, r.width())) & 0xffff) << 16;
    geom1 = (quint32(std::max(0, r.height())) & 0xffff) << 16;
    geom0 |= quint32(std::max(0, r.x() + 0x7fff)) & 0xffff;
    geom1 |= quint32(std::max(0, r.y() + 0x7fff)) & 0xffff;
    geom0 = (geom0 << 1) | 1;
}

QRect unpack(quint32 geom0, quint32 geom1, bool& floating)
{
    floating = geom0 & 1;
    if (!floating)
        return QRect();
    geom0 >>= 1;
    const int x = int(geom0 & 0xffff) - 0x7fff;
    const int y = int(geom1 & 0xffff) - 0x7fff;
    return QRect(x, y, int((geom0 >> 16) & 0xffff), int((geom1 >> 16) & 0xffff));
}

// Parses the toolbar part at the start of data; true only when it fills data exactly.
bool parse(const QByteArray& data, QList<Line>& lines)
{
    QDataStream in(data);
    in.setVersion(kStreamVersion);
    quint8 marker = 0;
    qint32 count = 0;
    in >> marker >> count;
    if (marker != kToolBarStateMarkerEx || count < 0 || count > 64)
        return false;
    for (int j = 0; j < count; ++j) {
        Line line;
        qint32 dock = 0, items = 0;
        in >> dock >> items;
        if (in.status() != QDataStream::Ok || dock < 0 || dock > 3 || items < 0 || items > 64)
            return false;
        line.dock = dock;
        for (int k = 0; k < items; ++k) {
            Item item;
            qint32 pos = 0, size = 0;
            in >> item.name >> item.shown >> pos >> size >> item.geom0 >> item.geom1;
            item.pos = pos;
            item.size = size;
            if (in.status() != QDataStream::Ok || item.name.isEmpty())
                return false;
            line.items.append(item);
        }
        lines.append(line);
    }
    return in.status() == QDataStream::Ok && in.atEnd();
}

QByteArray serialize(const QList<Line>& lines)
{
    QByteArray data;
    QDataStream out(&data, QIODevice::WriteOnly);
    out.setVersion(kStreamVersion);
    out << kToolBarStateMarkerEx << qint32(lines.size());
    for (const Line& line : lines) {
        out << qint32(line.dock) << qint32(line.items.size());
        for (const Item& item : line.items)
            out << item.name << item.shown << qint32(item.pos) << qint32(item.size) << item.geom0
                << item.geom1;
    }
    return data;
}

// Splits a saved state into what comes before the toolbar part and the toolbar lines.
bool split(const QByteArray& state, QByteArray& prefix, QList<Line>& lines)
{
    for (qsizetype at = 0; at < state.size(); ++at) {
        if (quint8(state.at(at)) != kToolBarStateMarkerEx)
            continue;
        QList<Line> found;
        if (parse(state.mid(at), found)) {
            prefix = state.left(at);
            lines = found;
            return true;
        }
    }
    return false;
}

QToolBar* toolbarNamed(const QMainWindow& w, const QString& name)
{
    return w.findChild<QToolBar*>(name, Qt::FindDirectChildrenOnly);
}

// Docks the toolbars with public calls only: by dock, row and position.
void dockInOrder(QMainWindow& w, const QHash<QString, KvToolbarPlacement>& placements)
{
    std::map<std::tuple<int, int, int, QString>, QToolBar*> order;
    for (auto it = placements.cbegin(); it != placements.cend(); ++it) {
        if (QToolBar* tb = toolbarNamed(w, it.key())) {
            // A floating toolbar or an unknown dock goes to the top.
            const int dock =
                it->IsFloating() || dockIndex(it->dockedTo) < 0 ? 2 : dockIndex(it->dockedTo);
            order[{dock, it->row, it->pos, it.key()}] = tb;
        }
    }
    std::tuple<int, int> last{-1, -1};
    for (const auto& [key, tb] : order) {
        const Qt::ToolBarArea area = KvToolbarState::AreaOf(dockNameOf(std::get<0>(key)));
        const std::tuple<int, int> row{std::get<0>(key), std::get<1>(key)};
        if (std::get<0>(last) == std::get<0>(row) && last != row)
            w.addToolBarBreak(area);
        w.addToolBar(area, tb);
        last = row;
    }
}

} // namespace

namespace KvToolbarState {

Qt::ToolBarArea AreaOf(const QString& dockName)
{
    for (const auto& d : kDocks) {
        if (dockName == QStringView(d.name))
            return d.area;
    }
    return Qt::NoToolBarArea;
}

QString DockName(Qt::ToolBarArea area)
{
    for (const auto& d : kDocks) {
        if (d.area == area)
            return QString::fromUtf16(d.name);
    }
    return QString();
}

QList<Entry> Read(const QMainWindow& window)
{
    QList<Entry> entries;
    QByteArray prefix;
    QList<Line> lines;
    if (!split(window.saveState(), prefix, lines))
        return entries;
    int rows[4] = {0, 0, 0, 0};
    for (const Line& line : lines) {
        const int row = rows[line.dock]++;
        for (const Item& item : line.items) {
            Entry e;
            e.name = item.name;
            e.shown = item.shown & 1;
            bool floating = false;
            const QRect rect = unpack(item.geom0, item.geom1, floating);
            e.placement.dockedTo = floating ? u"0"_qs : dockNameOf(line.dock);
            e.placement.row = row;
            e.placement.pos = item.pos;
            e.placement.floating = rect;
            entries.append(e);
        }
    }
    return entries;
}

bool Apply(QMainWindow& window, const QHash<QString, KvToolbarPlacement>& placements)
{
    // Re-placing hides and shows the toolbars for a moment; nobody needs to hear of it.
    std::vector<std::unique_ptr<QSignalBlocker>> quiet;
    for (auto it = placements.cbegin(); it != placements.cend(); ++it) {
        if (QToolBar* tb = toolbarNamed(window, it.key()))
            quiet.push_back(std::make_unique<QSignalBlocker>(tb));
    }
    QByteArray prefix;
    QList<Line> current;
    if (!split(window.saveState(), prefix, current)) {
        dockInOrder(window, placements);
        return false;
    }
    // Docked toolbars by dock, row and position; the floating ones in a line of their own
    // (floating toolbars take no room in a line).
    std::map<std::pair<int, int>, std::vector<std::pair<int, QString>>> rows;
    QList<Item> floating;
    for (auto it = placements.cbegin(); it != placements.cend(); ++it) {
        QToolBar* tb = toolbarNamed(window, it.key());
        if (!tb)
            continue;
        const int dock = dockIndex(it->dockedTo);
        if (it->IsFloating() || dock < 0) {
            Item item;
            item.name = it.key();
            item.shown = tb->isHidden() ? 0 : 1;
            pack(it->floating, item.geom0, item.geom1);
            floating.append(item);
            continue;
        }
        rows[{dock, it->row}].push_back({it->pos, it.key()});
    }
    // Toolbars the placements do not name keep their lines.
    QList<Line> lines;
    for (const Line& line : current) {
        Line kept{line.dock, {}};
        for (const Item& item : line.items) {
            if (!placements.contains(item.name))
                kept.items.append(item);
        }
        if (!kept.items.isEmpty())
            lines.append(kept);
    }
    for (auto& [key, bars] : rows) {
        std::stable_sort(bars.begin(), bars.end());
        Line line{key.first, {}};
        const bool horizontal = key.first >= 2;
        for (size_t i = 0; i < bars.size(); ++i) {
            QToolBar* tb = toolbarNamed(window, bars[i].second);
            const QSize hint = tb->sizeHint();
            Item item;
            item.name = bars[i].second;
            item.shown = tb->isHidden() ? 0 : 1;
            item.pos = bars[i].first;
            // The preferred size places the next toolbar; never shorter than wanted.
            if (i + 1 < bars.size())
                item.size = std::max(bars[i + 1].first - bars[i].first,
                                     horizontal ? hint.width() : hint.height());
            line.items.append(item);
        }
        lines.append(line);
    }
    if (!floating.isEmpty())
        lines.append(Line{2, floating});
    // Lines of a dock must follow each other in the order of their rows.
    std::stable_sort(lines.begin(), lines.end(),
                     [](const Line& a, const Line& b) { return a.dock < b.dock; });
    if (window.restoreState(prefix + serialize(lines)))
        return true;
    dockInOrder(window, placements);
    return false;
}

} // namespace KvToolbarState
