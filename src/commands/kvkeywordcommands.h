#pragma once

#include "commands/kvcommandhandler.h"

class KvKeywordDialog;
class KvPage;

// Commands of the keyword index: the keyword dialog and adding a keyword to the current
// page.
class KvKeywordCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvKeywordCommands(KvWindowServices& services, QObject* parent = nullptr);
    bool EnableCommands(const KvCommandContext& context) override;

    // The keyword dialog; its apply button adds the selected keyword to the current page
    // when that may take keywords, and an element it shows is shown marked with its keyword.
    // positioning: put into the positioning field (a keyword link's keyword).
    void Keywords(const QString& positioning = QString());
    // Adds a keyword to the current page: the selected text of its editor (line breaks as
    // blanks), or from the dialog its selected keyword, which it then lists the page with.
    void InsertKeyword(KvKeywordDialog* fromDialog = nullptr);

private:
    // The current page, shown with its text, may take keywords.
    KvPage* pageForKeywords() const;
};
