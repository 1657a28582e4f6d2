#pragma once

#include <QRect>
#include <QString>
#include <array>

class TexProfileFile;

// Where one toolbar is: docked in a row of a dock at a position, or floating.
struct KvToolbarPlacement
{
    QString dockedTo; // "TopDock", "LeftDock", "RightDock", "BottomDock"; "0" floating
    int row = 0;      // DockRow: row within the dock
    int pos = 0;      // DockPos: pixels from the start of the row
    QRect floating;   // Top, Left, Height, Width: where it floats (last floating place)

    bool IsFloating() const { return dockedTo == u"0"; }
    bool operator==(const KvToolbarPlacement&) const = default;
};

// The main window's keys of section "MainF" besides its geometry, with the defaults they
// read as. Widget-free: the window binds them to its controls (KvRestore).
struct KvMainFormSettings
{
    static constexpr int ToolbarCount = 5;
    // MainToolbar, EditToolbar, FontAndColorToolbar, TextAttrToolbar, StylesToolbar.
    static const std::array<QString, ToolbarCount>& ToolbarNames();
    static const QString Section;
    static constexpr int MinSearchResHeight = 100;
    static constexpr int MinResultColumnWidth = 10;

    bool printWithHeader = false;
    bool exportWithHeader = false;
    int treeWidth = 150;
    bool showNavigationTree = true;
    int searchResHeight = -1; // -1: a third of the right-hand side
    bool showSearchRes = true;
    bool showFullPath = true;
    bool showStatusBar = true;
    std::array<bool, ToolbarCount> showToolbar = {true, true, true, true, true};
    std::array<KvToolbarPlacement, ToolbarCount> toolbars = DefaultPlacements();
    int zoom = 100;
    int color = 536870911;    // the colour button's colour: none ($1FFFFFFF)
    int bgColor = 65535;      // the highlight button's colour: yellow
    int historyElements = 30; // read only
    int currStyle = -1;       // -1: the style named "Standard"
    int resLVColWidth = 130;
    int historyLimit = 30; // read only; wins over historyElements

    static std::array<KvToolbarPlacement, ToolbarCount> DefaultPlacements();
    // Reads every key; missing ones keep the defaults, limits are applied.
    static KvMainFormSettings Read(const TexProfileFile& file);
    // Writes every key except HistoryElements and HistoryLimit (never written).
    void Write(TexProfileFile& file) const;
    bool operator==(const KvMainFormSettings&) const = default;
};
