#include "commands/kveditcommands.h"

#include "app/kvoptionsg.h"
#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "commands/kvwindowservices.h"
#include "links/kvdatetimetext.h"
#include "model/kvpage.h"
#include "platform/applog.h"
#include "richtext/kvpicture.h"
#include "richtext/kvtextsearch.h"
#include "richtext/texrichedit.h"
#include "store/waitcrsr.h"

#include <QAction>
#include <QClipboard>
#include <QFile>
#include <QGuiApplication>
#include <QMimeData>
#include <QTextCursor>

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"UndoA", "#1201", "#1202", "Ctrl+Z", "UNDO", false, true},
    {"RedoA", "#1203", "#1204", "Ctrl+Y; Ctrl+Shift+Z", "REDO", false, true},
    {"CutA", "#1205", "#1206", "Ctrl+X", "CUT", false, true},
    {"CopyA", "#1207", "#1208", "Ctrl+C", "COPY", false, true},
    {"PasteA", "#1213", "#1214", "Ctrl+V", "PASTE", false, true},
    {"SpecialPasteA", "#1209", "#1210", "Ctrl+I", "", false, true},
    {"SelectAllA", "#1219", "#1220", "Ctrl+A", "", false, true},
    {"InsertOLEA", "#1221", "#1222", "Ctrl+P", "OBJECT", false, true},
    {"InsertDateTimeA", "#1227", "#1228", "F5", "", false, true},
    {"SearchA", "#1217", "#1218", "Ctrl+F", "FIND", false, true},
    {"ReplaceA", "#1225", "#1226", "Ctrl+G", "", false, true},
    {"ForceSaveA", "", "#5757", "F12", "", false, true},
};

KvTextSearch::Request RequestOf(const KvFindFields& f)
{
    return {f.term, {f.wholeWord, f.matchCase}, f.down};
}

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
    onTriggered("SpecialPasteA", [this] { SpecialPaste(); });
    onTriggered("SelectAllA", [this] { SelectAll(); });
    onTriggered("InsertOLEA", [this] { InsertOLE(); });
    onTriggered("SearchA", [this] { SearchAndReplace(false); });
    onTriggered("ReplaceA", [this] { SearchAndReplace(true); });
    onTriggered("ForceSaveA", [this] { ForceSave(); });
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
        if (const QMimeData* data = QGuiApplication::clipboard()->mimeData())
            editor->Paste(*data);
    }
}

void KvEditCommands::SpecialPaste()
{
    KV_LOG_SCOPE("TMainF::SpecialPaste");
    TexRichEdit* editor = focusedEditor();
    KvEditingServices* editing = services().Editing();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    if (!editor || !editing || !data)
        return;
    // Only the kinds the clipboard has are offered.
    const QList<KvPaste::Kind> kinds = KvPaste::Offered(*data);
    if (kinds.isEmpty())
        return;
    const std::optional<KvPaste::Kind> kind = editing->ChoosePasteKind(kinds);
    if (!kind)
        return;
    // The clipboard may have changed while the dialog was open.
    if (const QMimeData* now = QGuiApplication::clipboard()->mimeData()) {
        WaitCrsr busy;
        editor->Paste(*now, *kind);
    }
    editor->setFocus();
}

void KvEditCommands::SelectAll()
{
    KV_LOG_SCOPE("TMainF::SelectAll");
    if (TexRichEdit* editor = focusedEditor())
        editor->selectAll();
}

void KvEditCommands::InsertOLE()
{
    KV_LOG_SCOPE("TMainF::InsertOLE");
    KvEditingServices* editing = services().Editing();
    if (!editing || !services().Editor())
        return;
    const QString path = editing->ChoosePictureFile();
    TexRichEdit* editor = services().Editor();
    if (path.isEmpty() || !editor)
        return;
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) {
        services().MessageBox(KvTexts::Text(5007),
                              KvTexts::Message(5630, {path, file.errorString()}), KvMsgKind::Error);
        return;
    }
    WaitCrsr busy;
    if (!editor->InsertPicture(bytes)) {
        services().MessageBox(KvTexts::Text(5007), KvTexts::Message(5965, {path}),
                              KvMsgKind::Error);
        return;
    }
    editor->setFocus();
}

void KvEditCommands::ForceSave()
{
    KV_LOG_SCOPE("TMainF::ForceSave");
    KvPage* page = services().CurrentPage();
    TexRichEdit* editor = services().Editor();
    if (!page || !editor || page != services().ShownPage() || !page->GetWritable() ||
        page->GetWriteProtect())
        return;
    editor->document()->setModified(true);
    services().SavePage(page);
    services().RequestIdle();
}

// ---- find and replace ----

void KvEditCommands::SearchAndReplace(bool replace)
{
    KV_LOG_SCOPE("TMainF::SearchAndReplace");
    KvEditingServices* editing = services().Editing();
    if (!editing || !services().Editor())
        return;
    editing->ShowFindDialog(replace, m_last, *this);
}

void KvEditCommands::showHit(TexRichEdit* editor, int position, int length)
{
    editor->SetSelection(position, length);
    editor->ScrollCaretIntoView();
    if (KvEditingServices* editing = services().Editing(); editing && editing->FindDialogOpen()) {
        QTextCursor c(editor->document());
        c.setPosition(position);
        const QRect start = editor->cursorRect(c);
        c.setPosition(position + length);
        const QRect end = editor->cursorRect(c);
        const QRect hit = start.united(end);
        editing->MoveFindDialogOff(
            QRect(editor->viewport()->mapToGlobal(hit.topLeft()), hit.size()));
    }
    editor->setFocus();
}

void KvEditCommands::FindNext(const KvFindFields& fields)
{
    KV_LOG_SCOPE("TMainF::FindDlgFind");
    TexRichEdit* editor = services().Editor();
    if (!editor || fields.term.isEmpty())
        return;
    const KvTextSearch::Request request = RequestOf(fields);
    KvTextSearch::Hit hit = KvTextSearch::FindNext(*editor->document(), editor->SelStart(),
                                                   editor->SelLength(), request);
    if (!hit.Found()) {
        const int answer = services().MessageBox(
            KvTexts::Text(5023), KvTexts::Message(fields.down ? 5033 : 5034, {fields.term}),
            KvMsgKind::AskYesNoCancel);
        if (answer != KvAnswer::Yes)
            return;
        editor->SetSelection(fields.down ? 0 : editor->document()->characterCount(), 0);
        hit = KvTextSearch::FindFromEdge(*editor->document(), request);
        if (!hit.Found()) {
            // Searched all through: there is none, no need to ask again.
            services().MessageBox(KvTexts::Text(5023), KvTexts::Message(5024, {fields.term}),
                                  KvMsgKind::Info);
            return;
        }
    }
    showHit(editor, hit.position, hit.length);
}

void KvEditCommands::Replace(const KvFindFields& fields)
{
    KV_LOG_SCOPE("TMainF::ReplaceDlgReplace");
    TexRichEdit* editor = services().Editor();
    if (!editor || fields.term.isEmpty() || !m_lastContextEditable)
        return;
    // The selected term (letter case aside) is replaced, and that is all.
    if (editor->SelLength() > 0 &&
        KvTextSearch::SelectionIsTerm(editor->SelectedText(), fields.term)) {
        const int end = KvTextSearch::ReplaceRange(*editor->document(), editor->SelStart(),
                                                   editor->SelLength(), fields.replacement);
        editor->SetSelection(end, 0);
        editor->setFocus();
        return;
    }
    const KvTextSearch::Hit hit = KvTextSearch::FindNext(*editor->document(), editor->SelStart(),
                                                         editor->SelLength(), RequestOf(fields));
    if (!hit.Found()) {
        services().MessageBox(KvTexts::Text(5023), KvTexts::Message(5024, {fields.term}),
                              KvMsgKind::Info);
        return;
    }
    const int end = KvTextSearch::ReplaceRange(*editor->document(), hit.position, hit.length,
                                               fields.replacement);
    showHit(editor, hit.position, end - hit.position);
}

void KvEditCommands::ReplaceAll(const KvFindFields& fields)
{
    KV_LOG_SCOPE("TMainF::ReplaceDlgReplace");
    TexRichEdit* editor = services().Editor();
    if (!editor || fields.term.isEmpty() || !m_lastContextEditable)
        return;
    // From the selection's start searching down, from its end searching up: a selected
    // hit is replaced too.
    const int from = fields.down ? editor->SelStart() : editor->SelStart() + editor->SelLength();
    KvTextSearch::ReplaceAllResult result;
    {
        WaitCrsr busy;
        result = KvTextSearch::ReplaceAll(*editor->document(), from, RequestOf(fields),
                                          fields.replacement);
    }
    if (result.count == 0) {
        services().MessageBox(KvTexts::Text(5023), KvTexts::Message(5024, {fields.term}),
                              KvMsgKind::Info);
        return;
    }
    showHit(editor, result.lastPosition, result.lastLength);
    services().MessageBox(KvTexts::Text(5023),
                          KvTexts::Message(5040, {fields.term, QString::number(result.count)}),
                          KvMsgKind::Info);
}

void KvEditCommands::Closed(const KvFindFields& fields)
{
    KV_LOG_SCOPE("TMainF::FindDlgClose");
    m_last = fields;
}

bool KvEditCommands::EnableCommands(const KvCommandContext& c)
{
    m_lastContextEditable = c.pageEditable;
    return applyRules({
        {u"UndoA", c.pageEditable && c.canUndo},
        {u"RedoA", c.pageEditable && c.canRedo},
        {u"CutA", c.pageEditable && c.selection},
        {u"CopyA", c.pageLoaded && c.selection},
        {u"PasteA", c.pageEditable && c.ClipboardHasAny()},
        {u"SpecialPasteA", c.pageEditable && c.ClipboardHasAny()},
        {u"SelectAllA", c.pageLoaded},
        {u"InsertOLEA", c.pageEditable},
        {u"SearchA", c.pageLoaded},
        {u"ReplaceA", c.pageEditable},
        {u"ForceSaveA", c.pageEditable},
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
