#pragma once

#include "app/kvmainformsettings.h"

#include <QHash>
#include <QObject>
#include <QRect>

class QToolBar;
class TMainF;

// The main window's state in section "MainF" of the settings file: geometry, tree and
// result panel, the parts shown, toolbar placements, zoom, colours, style and column
// width. It also remembers what the window needs between a restore and a store: the
// tree's width and the result panel's height when last shown, where each toolbar last
// floated and was docked, and the values of controls that cannot hold them yet.
class KvRestore : public QObject
{
    Q_OBJECT
public:
    static constexpr int MinTreeWidth = 100;

    explicit KvRestore(TMainF& window);

    // Construction: places and sizes the window (first start: 80 % of the screen, centred,
    // the tree a quarter of it), applies StartMode and every key.
    void Restore();
    // Exit, second window: writes the geometry (unless maximized) and every key; flushes.
    void Store();

    // The tree's width and the result panel's height the last time they were shown.
    int TreeWidth() const { return m_treeWidth; }
    int SearchResHeight() const { return m_searchResHeight; }
    // The history length (HistoryLimit, else HistoryElements); read only.
    int HistoryLimit() const { return m_settings.historyLimit; }
    // Where a toolbar floated last; an empty rectangle when it never floated.
    QRect FloatingGeometry(const QString& toolbar) const { return m_floating.value(toolbar); }
    // A toolbar was docked or torn off: one just torn off (top 0) goes where it floated
    // last, else to (100, 100); its floating place is remembered.
    void ToolbarDockChanged(QToolBar* toolbar);
    // Re-arranges the docked toolbars so that none sticks out (option AutoAdjustToolbars).
    void ArrangeToolbars();
    // Gives the tree and the result panel their remembered sizes (once the window has its
    // first layout).
    void ApplySplitters();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applySettings(bool firstStart);
    void applyToolbars();
    KvMainFormSettings collect();

    TMainF& m_w;
    KvMainFormSettings m_settings; // as read; keeps what no control holds
    int m_treeWidth = 150;
    int m_searchResHeight = -1;
    bool m_splittersPending = false;
    bool m_arranging = false;
    bool m_arrangePending = false;
    bool m_autoArrange = true;                   // option AutoAdjustToolbars, read at the restore
    QHash<QString, QRect> m_floating;            // floating-toolbar memory
    QHash<QString, KvToolbarPlacement> m_docked; // last docked place of each toolbar
};
