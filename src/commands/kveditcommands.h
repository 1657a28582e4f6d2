#pragma once

#include "commands/kvcommandhandler.h"
#include "commands/kveditingservices.h"

class TexRichEdit;

// Editing commands of the page editor: clipboard and special paste, undo, selection, find
// and replace (the modeless dialog reports here), pictures, saving at once (F12).
class KvEditCommands : public KvCommandHandler, public KvFindReplaceHandler
{
    Q_OBJECT
public:
    KvEditCommands(KvWindowServices& services, QObject* parent = nullptr);
    bool EnableCommands(const KvCommandContext& context) override;

    void Undo();
    void Redo();
    // The clipboard commands and select all act only while the editor has the focus:
    // their keys must not change the page while the user works in the tree or a box.
    void Cut();
    void Copy();
    void Paste();
    void SpecialPaste();
    void SelectAll();
    // A picture file chosen in a file dialog goes in at the caret.
    void InsertOLE();
    // Opens the find dialog, or the replace dialog with the last replacement.
    void SearchAndReplace(bool replace);
    // Marks the shown page modified and saves it.
    void ForceSave();

    // The find dialog's buttons.
    void FindNext(const KvFindFields& fields) override;
    void Replace(const KvFindFields& fields) override;
    void ReplaceAll(const KvFindFields& fields) override;
    void Closed(const KvFindFields& fields) override;

    const KvFindFields& LastFind() const { return m_last; }

    // Today's date and the time as the options DateInsert and TimeInsert ask, at the caret.
    void InsertDateTime();

private:
    TexRichEdit* focusedEditor() const;
    // Selects a hit, shows it, moves the dialog off it and gives the editor the focus.
    void showHit(TexRichEdit* editor, int position, int length);

    KvFindFields m_last; // the fields the dialog had when it closed last
    bool m_lastContextEditable = false;
};
