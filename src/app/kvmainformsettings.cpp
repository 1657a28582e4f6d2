#include "app/kvmainformsettings.h"

#include "store/kvvalueformat.h"
#include "store/texprofilefile.h"

const QString KvMainFormSettings::Section = u"MainF"_qs;

namespace {

struct BoolKey
{
    const char16_t* key;
    bool KvMainFormSettings::*field;
};

struct IntKey
{
    const char16_t* key;
    int KvMainFormSettings::*field;
};

const BoolKey kBools[] = {
    {u"PrintWithHeader", &KvMainFormSettings::printWithHeader},
    {u"ExportWithHeader", &KvMainFormSettings::exportWithHeader},
    {u"ShowNavigationTree", &KvMainFormSettings::showNavigationTree},
    {u"ShowSearchRes", &KvMainFormSettings::showSearchRes},
    {u"ShowFullPath", &KvMainFormSettings::showFullPath},
    {u"ShowStatusBar", &KvMainFormSettings::showStatusBar},
};

const IntKey kInts[] = {
    {u"TreeWidth", &KvMainFormSettings::treeWidth},
    {u"SearchResHeight", &KvMainFormSettings::searchResHeight},
    {u"Zoom", &KvMainFormSettings::zoom},
    {u"CurrStyle", &KvMainFormSettings::currStyle},
    {u"ResLVColWidth", &KvMainFormSettings::resLVColWidth},
};

QString key(const char16_t* k)
{
    return QString::fromUtf16(k);
}

} // namespace

const std::array<QString, KvMainFormSettings::ToolbarCount>& KvMainFormSettings::ToolbarNames()
{
    static const std::array<QString, ToolbarCount> kNames = {
        u"MainToolbar"_qs, u"EditToolbar"_qs, u"FontAndColorToolbar"_qs, u"TextAttrToolbar"_qs,
        u"StylesToolbar"_qs};
    return kNames;
}

std::array<KvToolbarPlacement, KvMainFormSettings::ToolbarCount>
KvMainFormSettings::DefaultPlacements()
{
    const QString top = u"TopDock"_qs;
    // dock, row, position; floating at top/left (the two toolbars that remember a place).
    return {KvToolbarPlacement{top, 0, 0, QRect()},
            KvToolbarPlacement{top, 0, 536, QRect(100, 100, 0, 0)},
            KvToolbarPlacement{top, 1, 0, QRect()},
            KvToolbarPlacement{top, 1, 340, QRect(130, 130, 0, 0)},
            KvToolbarPlacement{top, 1, 618, QRect()}};
}

KvMainFormSettings KvMainFormSettings::Read(const TexProfileFile& f)
{
    KvMainFormSettings s;
    for (const BoolKey& b : kBools)
        s.*b.field = f.ReadBool(Section, key(b.key), s.*b.field);
    for (const IntKey& i : kInts)
        s.*i.field = f.ReadInteger(Section, key(i.key), s.*i.field);
    if (s.searchResHeight >= 0)
        s.searchResHeight = std::max(s.searchResHeight, MinSearchResHeight);
    s.resLVColWidth = std::max(s.resLVColWidth, MinResultColumnWidth);
    for (int i = 0; i < ToolbarCount; ++i) {
        const QString& name = ToolbarNames()[i];
        s.showToolbar[i] = f.ReadBool(Section, u"Show" + name, true);
        KvToolbarPlacement& p = s.toolbars[i];
        p.dockedTo = f.ReadString(Section, name + u"DockedTo", p.dockedTo);
        p.row = f.ReadInteger(Section, name + u"DockRow", p.row);
        p.pos = f.ReadInteger(Section, name + u"DockPos", p.pos);
        p.floating = QRect(f.ReadInteger(Section, name + u"Left", p.floating.left()),
                           f.ReadInteger(Section, name + u"Top", p.floating.top()),
                           f.ReadInteger(Section, name + u"Width", p.floating.width()),
                           f.ReadInteger(Section, name + u"Height", p.floating.height()));
    }
    bool ok = false;
    const int color = KvColor::TextToColor(f.ReadString(Section, u"Color"_qs, QString()), &ok);
    if (ok)
        s.color = color;
    const int bg = KvColor::TextToColor(f.ReadString(Section, u"BGColor"_qs, QString()), &ok);
    if (ok)
        s.bgColor = bg;
    s.historyElements = f.ReadInteger(Section, u"HistoryElements"_qs, s.historyElements);
    s.historyLimit = f.ReadInteger(Section, u"HistoryLimit"_qs, s.historyElements);
    return s;
}

void KvMainFormSettings::Write(TexProfileFile& f) const
{
    for (const BoolKey& b : kBools)
        f.WriteBool(Section, key(b.key), this->*b.field);
    for (const IntKey& i : kInts) {
        // A result panel that was never laid out keeps "a third" as it was read.
        if (i.field == &KvMainFormSettings::searchResHeight && searchResHeight < 0)
            continue;
        f.WriteInteger(Section, key(i.key), this->*i.field);
    }
    for (int i = 0; i < ToolbarCount; ++i) {
        const QString& name = ToolbarNames()[i];
        const KvToolbarPlacement& p = toolbars[i];
        f.WriteBool(Section, u"Show" + name, showToolbar[i]);
        f.WriteString(Section, name + u"DockedTo", p.dockedTo);
        f.WriteInteger(Section, name + u"DockRow", p.row);
        f.WriteInteger(Section, name + u"DockPos", p.pos);
        f.WriteInteger(Section, name + u"Top", p.floating.top());
        f.WriteInteger(Section, name + u"Left", p.floating.left());
        f.WriteInteger(Section, name + u"Height", p.floating.height());
        f.WriteInteger(Section, name + u"Width", p.floating.width());
    }
    f.WriteString(Section, u"Color"_qs, KvColor::ColorToText(color));
    f.WriteString(Section, u"BGColor"_qs, KvColor::ColorToText(bgColor));
}
