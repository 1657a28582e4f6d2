// The commands of the history, the bookmarks and the saved results: each reaches the list
// services, and each is enabled by its rule over the command context.
#include "commands/kvactionregistry.h"
#include "commands/kvhistorycommands.h"
#include "commands/kvlistservices.h"
#include "commands/kvsearchcommands.h"
#include "fakewindowservices.h"

#include <QAction>
#include <gtest/gtest.h>

namespace {

class FakeLists : public KvListServices
{
public:
    void Browse2PreviousPage() override { calls.append(u"Browse2PreviousPage"_qs); }
    void Browse2NextPage() override { calls.append(u"Browse2NextPage"_qs); }
    void ShowHistory() override { calls.append(u"ShowHistory"_qs); }
    void HistoryLVClick() override { calls.append(u"HistoryLVClick"_qs); }
    void HyperlinkHistPMIClick() override { calls.append(u"HyperlinkHistPMIClick"_qs); }
    void Bookmarks() override { calls.append(u"Bookmarks"_qs); }
    void SearchResSave() override { calls.append(u"SearchResSave"_qs); }
    void SearchResDelete() override { calls.append(u"SearchResDelete"_qs); }
    void SearchResRename() override { calls.append(u"SearchResRename"_qs); }
    void DeleteResPMIClick() override { calls.append(u"DeleteResPMIClick"_qs); }
    void MoveResPMIClick() override { calls.append(u"MoveResPMIClick"_qs); }
    QStringList calls;
};

class ListCommands : public ::testing::Test
{
protected:
    void SetUp() override
    {
        services.lists = &lists;
        registry.CreateHandlers(services, &owner);
    }
    bool On(const char* name) const
    {
        return registry.Action(QString::fromLatin1(name))->isEnabled();
    }

    korvtest::FakeWindowServices services;
    FakeLists lists;
    QObject owner;
    KvActionRegistry registry;
};

TEST_F(ListCommands, EachCommandReachesTheListServices)
{
    KvCommandContext c;
    c.fullAccess = true;
    c.hasCurrentFolder = true;
    c.historyPrevious = c.historyNext = c.historyList = true;
    c.searchResSave = c.searchResDelete = c.searchResRename = true;
    registry.Handler<KvHistoryCommands>()->PrepareHistoryMenu(1);
    KvResultMenuContext m;
    m.selected = 2;
    m.deletePossible = m.movePossible = true;
    registry.Handler<KvSearchCommands>()->PrepareResultMenu(m);
    registry.EnableCommands(c);
    const struct
    {
        const char* action;
        const char16_t* call;
    } kCalls[] = {
        {"Browse2PreviousPageA", u"Browse2PreviousPage"},
        {"Browse2NextPageA", u"Browse2NextPage"},
        {"ShowHistoryA", u"ShowHistory"},
        {"ShowHistPMI", u"HistoryLVClick"},
        {"HyperlinkHistPMI", u"HyperlinkHistPMIClick"},
        {"BookmarksA", u"Bookmarks"},
        {"SearchResSaveA", u"SearchResSave"},
        {"SearchResDeleteA", u"SearchResDelete"},
        {"SearchResRenameA", u"SearchResRename"},
        {"DeleteResA", u"DeleteResPMIClick"},
        {"MoveResPMI", u"MoveResPMIClick"},
    };
    for (const auto& k : kCalls) {
        lists.calls.clear();
        ASSERT_TRUE(On(k.action)) << k.action;
        registry.Action(QString::fromLatin1(k.action))->trigger();
        EXPECT_EQ(lists.calls, QStringList{QString::fromUtf16(k.call)}) << k.action;
    }
    // Without a window the commands do nothing.
    services.lists = nullptr;
    registry.Action(u"BookmarksA"_qs)->trigger();
}

TEST_F(ListCommands, RulesOverContexts)
{
    struct RuleCase
    {
        const char* what;
        std::function<void(KvCommandContext&, KvResultMenuContext&, int&)> set;
        QStringList on; // of the commands below; the others are off
    };
    const QStringList commands = {
        u"Browse2PreviousPageA"_qs, u"Browse2NextPageA"_qs, u"ShowHistoryA"_qs,
        u"ShowHistPMI"_qs,          u"HyperlinkHistPMI"_qs, u"BookmarksA"_qs,
        u"SearchResSaveA"_qs,       u"SearchResDeleteA"_qs, u"SearchResRenameA"_qs,
        u"DeleteResA"_qs,           u"MoveResPMI"_qs,       u"DeleteFromResPMI"_qs};
    const RuleCase cases[] = {
        {"nothing", [](auto&, auto&, int&) {}, {}},
        {"a folder: the bookmarks",
         [](KvCommandContext& c, auto&, int&) { c.hasCurrentFolder = true; },
         {u"BookmarksA"_qs}},
        {"the history's own rules",
         [](KvCommandContext& c, auto&, int&) {
             c.historyPrevious = true;
             c.historyList = true;
         },
         {u"Browse2PreviousPageA"_qs, u"ShowHistoryA"_qs}},
        {"a selected row of the history list",
         [](auto&, auto&, int& rows) { rows = 1; },
         {u"ShowHistPMI"_qs, u"HyperlinkHistPMI"_qs}},
        {"an unsaved search with selected rows",
         [](KvCommandContext& c, KvResultMenuContext& m, int&) {
             c.fullAccess = true;
             c.searchResSave = true;
             m.selected = 3;
             m.deletePossible = true;
         },
         {u"SearchResSaveA"_qs, u"DeleteResA"_qs, u"DeleteFromResPMI"_qs}},
        {"rows of a saved result, while a search runs",
         [](KvCommandContext& c, KvResultMenuContext& m, int&) {
             c.fullAccess = true;
             c.searchRunning = true;
             c.searchResDelete = true;
             m.selected = 1;
             m.movePossible = true;
         },
         {u"SearchResDeleteA"_qs, u"MoveResPMI"_qs}},
        {"rows that no saved-result command stands for",
         [](KvCommandContext& c, KvResultMenuContext& m, int&) {
             c.fullAccess = true;
             m.selected = 2;
         },
         {}},
        {"read-only rows of a saved result",
         [](KvCommandContext& c, KvResultMenuContext& m, int&) {
             c.searchResDelete = false;
             m.selected = 2;
         },
         {}},
    };
    for (const RuleCase& rc : cases) {
        KvCommandContext c;
        KvResultMenuContext m;
        int historyRows = 0;
        rc.set(c, m, historyRows);
        registry.Handler<KvHistoryCommands>()->PrepareHistoryMenu(historyRows);
        registry.Handler<KvSearchCommands>()->PrepareResultMenu(m);
        registry.EnableCommands(c);
        for (const QString& name : commands)
            EXPECT_EQ(On(name.toLatin1().constData()), rc.on.contains(name))
                << rc.what << ": " << name.toStdString();
    }
}

} // namespace
