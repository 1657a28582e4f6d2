#include "commands/kvactionregistry.h"
#include "commands/kvcommandhandler.h"
#include "fakewindowservices.h"

#include <QAction>
#include <QKeySequence>
#include <gtest/gtest.h>

namespace {

// A handler with one built and two waiting commands.
class SampleCommands : public KvCommandHandler
{
public:
    explicit SampleCommands(KvWindowServices& services, QObject* parent = nullptr)
        : KvCommandHandler(u"Sample"_qs, services, parent)
    {
        static constexpr KvActionSpec kSpecs[] = {
            {"BuiltA", "#1001", "#1002", "Ctrl+N", "NEWPAGE", false, true},
            {"WaitingA", "#1003", "", "F2", "", false, false},
            {"CheckMI", "#1307", "#1308", "", "", true, false},
        };
        addActions(kSpecs);
    }
};

TEST(KvCommandHandler, CreatesNamedActionsFromTheirDefinitions)
{
    korvtest::FakeWindowServices services;
    SampleCommands h(services);
    ASSERT_EQ(h.Actions().size(), 3);
    QAction* built = h.Action(u"BuiltA"_qs);
    ASSERT_NE(built, nullptr);
    EXPECT_EQ(built->parent(), &h);
    EXPECT_EQ(built->text(), u"#1001"_qs) << "texts are resolved by the window";
    EXPECT_EQ(built->statusTip(), u"#1002"_qs);
    EXPECT_EQ(built->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_N));
    EXPECT_EQ(built->property(KvCommandHandler::ImageProperty).toString(), u"NEWPAGE"_qs);
    EXPECT_TRUE(h.Action(u"CheckMI"_qs)->isCheckable());
    EXPECT_EQ(h.Action(u"NoSuchA"_qs), nullptr);
}

TEST(KvCommandHandler, WaitingCommandsStayDisabled)
{
    korvtest::FakeWindowServices services;
    SampleCommands h(services);
    // Before the first recomputation only the built command may be used.
    EXPECT_TRUE(h.Action(u"BuiltA"_qs)->isEnabled());
    EXPECT_FALSE(h.Action(u"WaitingA"_qs)->isEnabled());
    h.Action(u"WaitingA"_qs)->setEnabled(true);
    EXPECT_FALSE(h.EnableCommands(KvCommandContext{}));
    EXPECT_TRUE(h.Action(u"BuiltA"_qs)->isEnabled());
    EXPECT_FALSE(h.Action(u"WaitingA"_qs)->isEnabled());
    EXPECT_FALSE(h.Action(u"CheckMI"_qs)->isEnabled());
}

TEST(KvActionRegistry, FindsActionsOfAllHandlersByName)
{
    QObject owner;
    korvtest::FakeWindowServices services;
    KvActionRegistry registry;
    registry.CreateHandlers(services, &owner);
    EXPECT_GE(registry.Handlers().size(), 10);
    QAction* a = registry.Action(u"CreateNewPageA"_qs);
    ASSERT_NE(a, nullptr);
    EXPECT_EQ(a->objectName(), u"CreateNewPageA"_qs);
    EXPECT_EQ(registry.Action(u"ExitMI"_qs)->objectName(), u"ExitMI"_qs);
    EXPECT_EQ(registry.Action(u"Unknown"_qs), nullptr);
    // Commands are the names ending in "A"; menu items of their own are not among them.
    for (QAction* c : registry.Commands())
        EXPECT_TRUE(c->objectName().endsWith(u'A')) << c->objectName().toStdString();
    EXPECT_FALSE(registry.Commands().contains(registry.Action(u"ExitMI"_qs)));
    // Every name is used once.
    QSet<QString> names;
    for (QAction* c : registry.AllActions())
        names.insert(c->objectName());
    EXPECT_EQ(names.size(), registry.AllActions().size());
}

} // namespace
