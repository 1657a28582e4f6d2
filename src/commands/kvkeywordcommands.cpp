#include "commands/kvkeywordcommands.h"

#include "app/kvoptionsg.h"
#include "commands/kvsearchservices.h"
#include "commands/kvwindowservices.h"
#include "lists/kvkeywords.h"
#include "lists/kvsearchcrit.h"
#include "model/kvpage.h"
#include "platform/applog.h"
#include "richtext/texrichedit.h"

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"KeywordsA", "#1317", "#1318", "Ctrl+W", "KEYWORDS", false, true},
    {"InsertKeywordA", "#1251", "#1252", "", "", false, true},
};

} // namespace

KvKeywordCommands::KvKeywordCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvKeywordCommands"_qs, services, parent)
{
    addActions(kCommands);
    onTriggered("KeywordsA", [this] { Keywords(); });
    onTriggered("InsertKeywordA", [this] { InsertKeyword(); });
}

bool KvKeywordCommands::EnableCommands(const KvCommandContext& c)
{
    return applyRules({
        {u"KeywordsA", c.hasCurrentFolder},
        {u"InsertKeywordA", c.pageEditable && c.selection},
    });
}

KvPage* KvKeywordCommands::pageForKeywords() const
{
    KvWindowServices& s = services();
    KvPage* page = s.CurrentPage();
    if (!page || page != s.ShownPage() || !s.Editor() || !s.FullAccess() || !page->GetWritable())
        return nullptr;
    if (page->GetWriteProtect() && KvOptionsG().WPNoKeywModify)
        return nullptr;
    return page;
}

void KvKeywordCommands::Keywords(const QString& positioning)
{
    KV_LOG_SCOPE("TMainF::Keywords");
    KvSearchServices* search = services().Search();
    if (!search)
        return;
    std::unique_ptr<KvKeywordDialog> dialog = search->KeywordDialog(true);
    KvKeywordDialog* d = dialog.get();
    if (!positioning.isEmpty())
        d->SetPositioningText(positioning);
    if (pageForKeywords())
        d->SetApplyHandler([this, d] { InsertKeyword(d); });
    const int result = d->Run();
    const QString id = d->SelectedObject();
    if (result != KvKeywordDialog::ShowElement || id.isEmpty())
        return;
    // The element is shown with its keyword marked as a whole word in any case.
    KvSearchCrit crit;
    crit.SText1 = d->SelectedKeyword();
    crit.WhWord1 = true;
    crit.MtCase1 = false;
    search->SwitchToObjectWithID(id, &crit);
}

void KvKeywordCommands::InsertKeyword(KvKeywordDialog* fromDialog)
{
    KV_LOG_SCOPE("TMainF::InsertKeyword");
    KvPage* page = pageForKeywords();
    if (!page)
        return;
    const QString keyword = fromDialog
                                ? fromDialog->SelectedKeyword()
                                : KvKeywords::FromSelection(services().Editor()->SelectedText());
    if (keyword.isEmpty() || !page->AddKeyword(keyword))
        return;
    page->StoreKeywords();
    if (fromDialog)
        fromDialog->KeywordAdded2Object(keyword, *page);
}
