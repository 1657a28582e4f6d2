#include "commands/kveditcommands.h"

#include "app/kvoptionsg.h"
#include "commands/kvwindowservices.h"
#include "links/kvdatetimetext.h"
#include "platform/applog.h"
#include "richtext/texrichedit.h"
#include "store/waitcrsr.h"

#include <QAction>

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"UndoA", "#1201", "#1202", "Ctrl+Z", "UNDO", false, true},
    {"RedoA", "#1203", "#1204", "Ctrl+Y; Ctrl+Shift+Z", "REDO", false, true},
    {"CutA", "#1205", "#1206", "Ctrl+X", "CUT", false, true},
    {"CopyA", "#1207", "#1208", "Ctrl+C", "COPY", false, true},
    {"PasteA", "#1213", "#1214", "Ctrl+V", "PASTE", false, true},
    {"SpecialPasteA", "#1209", "#1210", "Ctrl+I", "", false, false},
    {"SelectAllA", "#1219", "#1220", "Ctrl+A", "", false, true},
    {"InsertOLEA", "#1221", "#1222", "Ctrl+P", "OBJECT", false, false},
    {"InsertDateTimeA", "#1227", "#1228", "F5", "", false, true},
    {"SearchA", "#1217", "#1218", "Ctrl+F", "FIND", false, false},
    {"ReplaceA", "#1225", "#1226", "Ctrl+G", "", false, false},
};

} // namespace

KvEditCommands::KvEditCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvEditCommands"_qs, services, parent)
{
    addActions(kCommands);
    onTriggered("UndoA", [this] { Undo(); });
    onTriggered("RedoA", [this] { Redo(); });
    onTriggered("CutA", [this] { Cut(); });
    onTriggered("CopyA", [this] { Copy(); });
    onTriggered("PasteA", [this] { Paste(); });
    onTriggered("SelectAllA", [this] { SelectAll(); });
    onTriggered("InsertDateTimeA", [this] { InsertDateTime(); });
}

TexRichEdit* KvEditCommands::focusedEditor() const
{
    TexRichEdit* editor = services().Editor();
    return editor && editor->hasFocus() ? editor : nullptr;
}

void KvEditCommands::Undo()
{
    KV_LOG_SCOPE("TMainF::Undo");
    if (TexRichEdit* editor = services().Editor(); editor && editor->CanUndo())
        editor->undo();
}

void KvEditCommands::Redo()
{
    KV_LOG_SCOPE("TMainF::Redo");
    if (TexRichEdit* editor = services().Editor(); editor && editor->CanRedo())
        editor->redo();
}

void KvEditCommands::Cut()
{
    KV_LOG_SCOPE("TMainF::Cut");
    if (TexRichEdit* editor = focusedEditor())
        editor->cut();
}

void KvEditCommands::Copy()
{
    KV_LOG_SCOPE("TMainF::Copy");
    if (TexRichEdit* editor = focusedEditor())
        editor->copy();
}

void KvEditCommands::Paste()
{
    KV_LOG_SCOPE("TMainF::Paste");
    if (TexRichEdit* editor = focusedEditor()) {
        WaitCrsr busy;
        editor->paste();
    }
}

void KvEditCommands::SelectAll()
{
    KV_LOG_SCOPE("TMainF::SelectAll");
    if (TexRichEdit* editor = focusedEditor())
        editor->selectAll();
}

bool KvEditCommands::EnableCommands(const KvCommandContext& c)
{
    return applyRules({
        {u"UndoA", c.pageEditable && c.canUndo},
        {u"RedoA", c.pageEditable && c.canRedo},
        {u"CutA", c.pageEditable && c.selection},
        {u"CopyA", c.pageLoaded && c.selection},
        {u"PasteA", c.pageEditable && c.ClipboardHasAny()},
        {u"SelectAllA", c.pageLoaded},
        {u"InsertDateTimeA", c.pageEditable},
    });
}

void KvEditCommands::InsertDateTime()
{
    KV_LOG_SCOPE("TMainF::InsertDateTime");
    TexRichEdit* editor = services().Editor();
    if (!services().CurrentPage() || !editor)
        return;
    const KvOptionsG options;
    const QString text = KvDateTimeText::Insertion(QDateTime::currentDateTime(), options.DateInsert,
                                                   options.TimeInsert);
    if (text.isEmpty())
        return;
    // At the selection's start; the selected text stays, the caret goes after the text.
    editor->SetSelection(editor->SelStart(), 0);
    editor->InsertText(text);
}
