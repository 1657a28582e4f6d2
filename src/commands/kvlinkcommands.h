#pragma once

#include "commands/kvcommandhandler.h"

// Hyperlink commands: link texts of elements to the clipboard, links written into page
// text through the hyperlink dialog, and what a click on a link does.
class KvLinkCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvLinkCommands(KvWindowServices& services, QObject* parent = nullptr);
    bool EnableCommands(const KvCommandContext& context) override;
    // Clicks on the editor's links reach URLClick.
    void EditorLoaded(TexRichEdit& editor) override;

    // The link text of the current page, or folder, on the clipboard.
    void CreateLink2Page();
    void CreateLink2Folder();
    // The hyperlink dialog; its link goes in at the selection's start, the selected text
    // kept, the caret after it.
    void InsertLink();
    // A click on a link in the editor: only the left button follows it, once the click's
    // events are done. An element is
    // shown at the next idle pass, a keyword opens the keyword dialog, a file or address
    // goes to the desktop at the next idle pass (a program or script only after a Yes).
    void URLClick(const QString& url, Qt::MouseButton button);

private:
    void followLink(const QString& url);
};
