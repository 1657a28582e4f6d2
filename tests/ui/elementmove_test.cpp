// Moving and sorting in the window: up and down, into another folder through the chooser
// (with the 5011 retry), sorting, and the shown page's edits and the shown folder's order
// through every element command.
#include "elementwindow.h"

#include <QTabWidget>

namespace {

using korvtest::WaitUntil;

class ElementMove : public korvtest::ElementWindow
{
protected:
    // The notebook with a target folder "Ziel" (Fldr0000003) at the end of the top folder
    // and two more pages in "Alt": Archiv, Zebra, Birne.
    void MakeWithTarget()
    {
        MakeNotebook([this](KvFolder& top, KvFolder&) {
            KvElementFactory f;
            folder(f, u"Fldr0000003"_qs, top, u"Ziel"_qs);
            auto* old = dynamic_cast<KvFolder*>(FindObject(u"Fldr0000002"_qs));
            page(f, u"Page0000006"_qs, *old, u"Zebra"_qs);
            page(f, u"Page0000007"_qs, *old, u"Birne"_qs);
        });
    }
    QStringList TabTexts() const
    {
        auto* tabs = window->findChild<QTabWidget*>(u"PagePC"_qs);
        QStringList texts;
        for (int i = 0; i < tabs->count(); ++i)
            texts.append(tabs->tabText(i));
        return texts;
    }
    bool On(const QString& action) const { return A(action)->isEnabled(); }
};

TEST_F(ElementMove, UpAndDownAmongTheSiblings)
{
    MakeNotebook();
    Open();
    Show(u"Page0000001"_qs);
    EXPECT_FALSE(On(u"PageMoveUpA"_qs));
    EXPECT_TRUE(On(u"PageMoveDownA"_qs));
    Run(u"PageMoveDownA"_qs);
    EXPECT_EQ(Names(u"Fldr0000001"_qs), u"Notiz,Plan,[Alt]"_qs);
    EXPECT_EQ(NodeNames(u"Fldr0000001"_qs), u"Notiz,Plan,[Alt]"_qs);
    EXPECT_EQ(TabTexts(), (QStringList{u"Notiz"_qs, u"Plan"_qs}));
    EXPECT_EQ(window->ShownPage()->Id(), u"Page0000001"_qs);
    EXPECT_EQ(KvTreeNode::ObjectOf(Tree()->currentItem())->Id(), u"Page0000001"_qs);
    // Past a folder the tab stays where it is.
    Run(u"PageMoveDownA"_qs);
    EXPECT_EQ(Names(u"Fldr0000001"_qs), u"Notiz,[Alt],Plan"_qs);
    EXPECT_FALSE(On(u"PageMoveDownA"_qs));
    EXPECT_TRUE(On(u"PageMoveUpA"_qs));

    Show(u"Fldr0000002"_qs);
    Run(u"FolderMoveUpA"_qs);
    EXPECT_EQ(Names(u"Fldr0000001"_qs), u"[Alt],Notiz,Plan"_qs);
    EXPECT_EQ(window->CurrentFolder()->Id(), u"Fldr0000002"_qs);
    EXPECT_FALSE(On(u"FolderMoveUpA"_qs));
    // The roots move neither way.
    for (const QString& root : {u"TopFolder"_qs, u"TrashFolder"_qs}) {
        Show(root);
        EXPECT_FALSE(On(u"FolderMoveUpA"_qs)) << root.toStdString();
        EXPECT_FALSE(On(u"FolderMoveDownA"_qs)) << root.toStdString();
    }
    // The orders are stored.
    Close();
    Open();
    EXPECT_EQ(Names(u"Fldr0000001"_qs), u"[Alt],Notiz,Plan"_qs);
}

TEST_F(ElementMove, IntoAnotherFolderThroughTheChooser)
{
    MakeWithTarget();
    Open();
    Show(u"Page0000004"_qs);
    // Cancel: nothing moves.
    AnswerChoice(QString());
    Run(u"PageMove2FolderA"_qs);
    EXPECT_EQ(Names(u"TopFolder"_qs), u"[Projekte],Einkauf,Rezepte,[Ziel]"_qs);

    AnswerChoice(u"Fldr0000003"_qs);
    Run(u"PageMove2FolderA"_qs);
    EXPECT_EQ(Names(u"TopFolder"_qs), u"[Projekte],Rezepte,[Ziel]"_qs);
    EXPECT_EQ(Names(u"Fldr0000003"_qs), u"Einkauf"_qs);
    EXPECT_EQ(NodeNames(u"Fldr0000003"_qs), u"Einkauf"_qs);

    // A folder onto one of its own sub-folders: 5011, and the chooser again.
    Show(u"Fldr0000001"_qs);
    AnswerChoice(u"Fldr0000002"_qs);
    prompter.Answer(KvAnswer::Ok);
    AnswerChoice(u"Fldr0000003"_qs);
    Run(u"FolderMove2FolderA"_qs);
    ASSERT_EQ(prompter.Messages().size(), 1);
    EXPECT_EQ(prompter.Messages()[0].text, KvTexts::Text(5011));
    EXPECT_EQ(prompter.Messages()[0].title, KvTexts::Text(5019) + u"'Projekte':"_qs);
    EXPECT_EQ(prompter.Messages()[0].kind, KvMsgKind::Error);
    EXPECT_EQ(Names(u"Fldr0000003"_qs), u"Einkauf,[Projekte]"_qs);
    EXPECT_EQ(NodeNames(u"Fldr0000001"_qs), u"Plan,Notiz,[Alt]"_qs);
    EXPECT_FALSE(prompter.Unexpected());
    EXPECT_EQ(prompter.Pending(), 0);

    // The retry can be cancelled.
    Show(u"Fldr0000003"_qs);
    AnswerChoice(u"Fldr0000002"_qs);
    prompter.Answer(KvAnswer::Ok);
    AnswerChoice(QString());
    Run(u"FolderMove2FolderA"_qs);
    EXPECT_EQ(Names(u"TopFolder"_qs), u"Rezepte,[Ziel]"_qs);
    Close();
    Open();
    EXPECT_EQ(Names(u"Fldr0000003"_qs), u"Einkauf,[Projekte]"_qs);
    EXPECT_EQ(Names(u"Fldr0000002"_qs), u"Archiv,Zebra,Birne"_qs);
}

TEST_F(ElementMove, SortFollowsInTreeAndTabs)
{
    MakeNotebook([this](KvFolder& top, KvFolder&) {
        KvElementFactory f;
        KvFolder* fruit = folder(f, u"Fldr0000003"_qs, top, u"Obst"_qs);
        page(f, u"Page0000006"_qs, *fruit, u"Kiwi"_qs);
        page(f, u"Page0000007"_qs, *fruit, u"ähre"_qs);
        folder(f, u"Fldr0000004"_qs, *fruit, u"Beeren"_qs);
        page(f, u"Page0000008"_qs, *fruit, u"Apfel"_qs);
        page(f, u"Page0000009"_qs, *fruit, u"äpfel"_qs);
    });
    SetOption(u"SortOrder"_qs, 1);
    Open();
    Show(u"Page0000006"_qs);
    prompter.Answer(KvAnswer::Yes);
    Run(u"SortFolderA"_qs);
    EXPECT_EQ(prompter.Messages().last().text, KvTexts::Text(5065));
    EXPECT_EQ(Names(u"Fldr0000003"_qs), u"[Beeren],ähre,Apfel,äpfel,Kiwi"_qs);
    EXPECT_EQ(NodeNames(u"Fldr0000003"_qs), u"[Beeren],ähre,Apfel,äpfel,Kiwi"_qs);
    EXPECT_EQ(TabTexts(), (QStringList{u"ähre"_qs, u"Apfel"_qs, u"äpfel"_qs, u"Kiwi"_qs}));
    EXPECT_EQ(window->ShownPage()->Id(), u"Page0000006"_qs);
    EXPECT_FALSE(prompter.Unexpected());
    // Written with the folder's next store: when the notebook closes.
    Close();
    Open();
    EXPECT_EQ(Names(u"Fldr0000003"_qs), u"[Beeren],ähre,Apfel,äpfel,Kiwi"_qs);
}

// What the user typed into the shown page, and the order of the shown folder, survive every
// element command, also those that move or remove the page or its folder.
TEST_F(ElementMove, TheShownPageKeepsItsEditsThroughEveryCommand)
{
    // Each command with the order of "Alt" it leaves.
    struct Case
    {
        const char* name;
        std::function<void()> run;
        const char16_t* order;
    };
    const QString same = u"Archiv,Birne,Zebra"_qs;
    const Case kCases[] = {
        {"new page", [this] { AnswerName(u"Neu"_qs), Run(u"CreateNewPageA"_qs); },
         u"Archiv,Birne,Zebra,Neu"},
        {"new folder", [this] { AnswerName(u"Neu"_qs), Run(u"CreateNewFolderA"_qs); },
         u"Archiv,Birne,Zebra,[Neu]"},
        {"rename page", [this] { AnswerName(u"Anders"_qs), Run(u"RenamePageA"_qs); },
         u"Archiv,Anders,Zebra"},
        {"rename folder", [this] { AnswerName(u"Anders"_qs), Run(u"RenameFolderA"_qs); }, nullptr},
        {"page down", [this] { Run(u"PageMoveDownA"_qs); }, u"Archiv,Zebra,Birne"},
        {"folder up", [this] { Run(u"FolderMoveUpA"_qs); }, nullptr},
        {"page to folder", [this] { AnswerChoice(u"Fldr0000003"_qs), Run(u"PageMove2FolderA"_qs); },
         u"Archiv,Zebra"},
        {"folder to folder",
         [this] { AnswerChoice(u"Fldr0000003"_qs), Run(u"FolderMove2FolderA"_qs); }, nullptr},
        {"parent folder to folder from the tree's menu",
         [this] {
             AnswerChoice(u"Fldr0000003"_qs);
             RunTreeMenu(u"Fldr0000001"_qs, u"MovePMI"_qs);
         },
         nullptr},
        {"parent folder deleted from the tree's menu",
         [this] {
             prompter.Answer(KvAnswer::Yes);
             RunTreeMenu(u"Fldr0000001"_qs, u"DelPMI"_qs);
         },
         nullptr},
        {"delete page", [this] { prompter.Answer(KvAnswer::Yes), Run(u"DeletePageA"_qs); },
         u"Archiv,Zebra"},
        {"delete folder", [this] { prompter.Answer(KvAnswer::Yes), Run(u"DeleteFolderA"_qs); },
         nullptr},
        {"sort", [this] { prompter.Answer(KvAnswer::Yes), Run(u"SortFolderA"_qs); }, nullptr},
        {"copy and paste page", [this] { Run(u"PageCopyA"_qs), Run(u"FolderPasteA"_qs); },
         u"Archiv,Birne,Zebra,Birne"},
        {"copy folder into the trash",
         [this] {
             Run(u"FolderCopyA"_qs);
             Show(u"TrashFolder"_qs);
             Run(u"FolderPasteA"_qs);
         },
         nullptr},
        {"referrer", [this] { Run(u"CreateReferrerA"_qs), Run(u"FolderPasteA"_qs); },
         u"Archiv,Birne,Zebra,Birne"},
        {"new referrer", [this] { AnswerChoice(u"Page0000004"_qs), Run(u"NewLinkA"_qs); },
         u"Archiv,Birne,Zebra,Einkauf"},
    };
    int round = 0;
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.name);
        dir = env.Dir(u"case%1"_qs.arg(++round));
        KvPaths::ResetDataDirCache();
        MakeWithTarget();
        Open();
        // Alt is sorted (in memory only) and its page Birne edited.
        Show(u"Page0000007"_qs);
        prompter.Answer(KvAnswer::Yes);
        Run(u"SortFolderA"_qs);
        ASSERT_EQ(Names(u"Fldr0000002"_qs), u"Archiv,Birne,Zebra"_qs);
        ASSERT_EQ(window->ShownPage()->Id(), u"Page0000007"_qs);
        Editor()->moveCursor(QTextCursor::End);
        Editor()->insertPlainText(u" Getippt"_qs);
        c.run();
        EXPECT_FALSE(prompter.Unexpected());
        Close();
        EXPECT_TRUE(Content(u"Page0000007"_qs).contains("Getippt"));
        Open();
        EXPECT_EQ(Names(u"Fldr0000002"_qs), c.order ? QString::fromUtf16(c.order) : same);
        Close();
    }
}

} // namespace
