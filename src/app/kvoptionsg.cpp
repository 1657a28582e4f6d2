#include "app/kvoptionsg.h"

#include "app/kvpaths.h"
#include "app/kvtexts.h"
#include "store/texprofilefile.h"

const QString KvOptionsG::Section = u"Globals"_qs;

namespace {

struct BoolKey
{
    const char16_t* write; // spelling written
    const char16_t* read;  // spelling read (keys match without regard to case)
    bool KvOptionsG::*field;
    bool def;
};

struct IntKey
{
    const char16_t* key;
    int KvOptionsG::*field;
    int def;
};

const BoolKey kBools[] = {
    {u"TreeLines", u"TreeLines", &KvOptionsG::TreeLines, true},
    {u"MinimizeTNA", u"MinimizeTNA", &KvOptionsG::MinimizeTNA, false},
    {u"EmptyTrashAtExit", u"EmptyTrashAtExit", &KvOptionsG::EmptyTrashAtExit, false},
    {u"RestoreCursorPos", u"RestoreCursorPos", &KvOptionsG::RestoreCursorPos, true},
    {u"SaveHistory", u"SaveHistory", &KvOptionsG::SaveHistory, false},
    {u"AutoAdjustToolbars", u"AutoAdjustToolbars", &KvOptionsG::AutoAdjustToolbars, true},
    {u"DateInsert", u"DateInsert", &KvOptionsG::DateInsert, true},
    {u"TimeInsert", u"TimeInsert", &KvOptionsG::TimeInsert, true},
    {u"FolderInTitle", u"FolderInTitle", &KvOptionsG::FolderInTitle, false},
    {u"MsgEmptyTrash", u"MsgEmptyTrash", &KvOptionsG::MsgEmptyTrash, true},
    {u"MsgDelFolder", u"MsgDelFolder", &KvOptionsG::MsgDelFolder, true},
    {u"MsgDelFldrWP", u"MsgDelFldrWP", &KvOptionsG::MsgDelFldrWP, false},
    {u"MsgDelFTempl", u"MsgDelFTempl", &KvOptionsG::MsgDelFTempl, false},
    {u"MsgDelFRef", u"MsgDelFRef", &KvOptionsG::MsgDelFRef, true},
    {u"MsgDelPage", u"MsgDelPage", &KvOptionsG::MsgDelPage, true},
    {u"MsgDelPageWP", u"MsgDelPageWP", &KvOptionsG::MsgDelPageWP, false},
    {u"MsgDelPageTempl", u"MsgDelPageTempl", &KvOptionsG::MsgDelPageTempl, false},
    {u"MsgDelPageRef", u"MsgDelPageRef", &KvOptionsG::MsgDelPageRef, true},
    {u"MsgMovePageWP", u"MsgMovePageWP", &KvOptionsG::MsgMovePageWP, true},
    {u"MsgMoveFldrWP", u"MsgMoveFldrWP", &KvOptionsG::MsgMoveFldrWP, true},
    {u"DelSearchRes", u"DelSearchRes", &KvOptionsG::DelSearchRes, true},
    {u"MsgSortFolder", u"MsgSortFolder", &KvOptionsG::MsgSortFolder, true},
    {u"UseOwnIcons", u"UseOwnIcons", &KvOptionsG::UseOwnIcons, false},
    {u"WPNoPageDelete", u"WPNoPageDelete", &KvOptionsG::WPNoPageDelete, true},
    {u"WPNoMousePageMove", u"WPNoMousePageMove", &KvOptionsG::WPNoMousePageMove, true},
    {u"WPNoPageMove", u"WPNoPageMove", &KvOptionsG::WPNoPageMove, false},
    {u"WPNoFolderDelete", u"WPNofolderDelete", &KvOptionsG::WPNoFolderDelete, true},
    {u"WPNoMouseFolderMove", u"WPNoMouseFolderMove", &KvOptionsG::WPNoMouseFolderMove, true},
    {u"WPNoFolderMove", u"WPNoFolderMove", &KvOptionsG::WPNoFolderMove, false},
    {u"WPNoStatusModify", u"WPNoStatusModify", &KvOptionsG::WPNoStatusModify, false},
    {u"WPNoPasswModify", u"WPNoPasswModify", &KvOptionsG::WPNoPasswModify, false},
    {u"WPNoKeywModify", u"WPNoKeywModify", &KvOptionsG::WPNoKeywModify, false},
};

const IntKey kInts[] = {
    {u"StartMode", &KvOptionsG::StartMode, 2},
    {u"StartFldrSearch", &KvOptionsG::StartFldrSearch, 0},
    {u"SortOrder", &KvOptionsG::SortOrder, 0},
    {u"LeftMargin", &KvOptionsG::LeftMargin, 2000},
    {u"RightMargin", &KvOptionsG::RightMargin, 2000},
    {u"TopMargin", &KvOptionsG::TopMargin, 2000},
    {u"BottomMargin", &KvOptionsG::BottomMargin, 2000},
};

struct FontKey
{
    const char16_t* key;
    KvFontSpec KvOptionsG::*font;
    bool KvOptionsG::*present;
};

const FontKey kFonts[] = {
    {u"FontNavTree", &KvOptionsG::FontNavTree, &KvOptionsG::HasFontNavTree},
    {u"FontTabSheets", &KvOptionsG::FontTabSheets, &KvOptionsG::HasFontTabSheets},
    {u"FontLists", &KvOptionsG::FontLists, &KvOptionsG::HasFontLists},
};

QString key(const char16_t* k)
{
    return QString::fromUtf16(k);
}

} // namespace

KvOptionsG::KvOptionsG() : m_settings(std::make_unique<TexProfileFile>(KvPaths::SettingsFile()))
{
    Read();
}

KvOptionsG::~KvOptionsG() = default;

void KvOptionsG::Read()
{
    m_settings->Refresh();
    const TexProfileFile& s = *m_settings;
    for (const BoolKey& b : kBools)
        this->*b.field = s.ReadBool(Section, key(b.read), b.def);
    for (const IntKey& i : kInts)
        this->*i.field = s.ReadInteger(Section, key(i.key), i.def);
    for (const FontKey& f : kFonts) {
        const QString text = s.ReadString(Section, key(f.key), QString());
        this->*f.present = !text.isEmpty();
        if (!text.isEmpty())
            KvFontText::Decode(text, this->*f.font);
    }
    bool ok = false;
    const int color =
        KvColor::TextToColor(s.ReadString(Section, u"BgColActNode"_qs, QString()), &ok);
    BGColActNode = ok ? color : 10789024;
    IconDefinitions = s.ReadString(Section, u"IconDefinitions"_qs, QString());
    PathDelimiter = s.ReadString(Section, u"PathDelimiter"_qs, u"/"_qs);
}

void KvOptionsG::Store()
{
    TexProfileFile& s = *m_settings;
    for (const BoolKey& b : kBools)
        s.WriteBool(Section, key(b.write), this->*b.field);
    for (const IntKey& i : kInts)
        s.WriteInteger(Section, key(i.key), this->*i.field);
    for (const FontKey& f : kFonts) {
        if (this->*f.present)
            s.WriteString(Section, key(f.key), KvFontText::Encode(this->*f.font));
    }
    s.WriteInteger(Section, u"BGColActNode"_qs, BGColActNode);
    s.WriteString(Section, u"IconDefinitions"_qs, IconDefinitions);
    s.UpdateFile();
}

QString KvWindowTitle(bool folderInTitle, const QString& dirName, const QString& dataDir,
                      bool readOnly)
{
    const QString product = KvTexts::Text(9999);
    QString title = product;
    if (folderInTitle)
        title = (dirName.isEmpty() ? QString(u'[' + dataDir + u']') : dirName) + u" - " + product;
    if (readOnly)
        title += u" ***" + KvTexts::Text(5201) + u"***";
    return title;
}
