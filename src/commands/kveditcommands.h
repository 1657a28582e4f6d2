#pragma once

#include "commands/kvcommandhandler.h"

class TexRichEdit;

// Editing commands of the page editor: clipboard, undo, selection, find and replace.
class KvEditCommands : public KvCommandHandler
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
    void SelectAll();
    // Today's date and the time as the options DateInsert and TimeInsert ask, at the caret.
    void InsertDateTime();

private:
    TexRichEdit* focusedEditor() const;
};
