// Links in the window: each link type written through the hyperlink dialog and clicked
// (pages renamed and moved, broken links, keywords, relative and network paths, programs
// answered No), the link texts on the clipboard, and the date and time with F5.
#include "app/kvshell.h"
#include "elements/kvelementedit.h"
#include "elements/kvelementmove.h"
#include "links/kvdatetimetext.h"
#include "links/kvlink.h"
#include "richtext/texrichdocument.h"
#include "ui/elementwindow.h"
#include "ui/kvresultlistview.h"
#include "ui/texcombobox.h"
#include "ui/thyperlinkf.h"
#include "ui/tkeywordsf.h"

#include <QClipboard>
#include <QComboBox>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTextBlock>
#include <QTextCursor>

using namespace korvtest;

namespace {

class Links : public ElementWindow
{
protected:
    void SetUp() override
    {
        ElementWindow::SetUp();
        files = QFileInfo(env.Dir(u"files"_qs)).canonicalFilePath() + u'/';
        WriteAll(files + u"Brief.txt"_qs, "Hallo");
        WriteAll(files + u"skript.sh"_qs, "#!/bin/sh\necho hallo\n");
        QFile::setPermissions(files + u"skript.sh"_qs,
                              QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // The text of the shown page.
    QString Text() const { return Editor()->document()->toPlainText(); }
    // Puts text into the shown page and the caret at pos (with length selected).
    void SetText(const QString& text, int pos = 0, int length = 0)
    {
        Editor()->setPlainText(text);
        Editor()->SetSelection(pos, length);
    }
    // Clicks with button on the character at pos of the shown page.
    void ClickAt(int pos, Qt::MouseButton button = Qt::LeftButton)
    {
        TexRichEdit* e = Editor();
        QTextCursor c(e->document());
        c.setPosition(pos);
        const QRect r = e->cursorRect(c);
        QTest::mouseClick(e->viewport(), button, {}, QPoint(r.left() + 3, r.center().y()));
        Idle();
    }
    // Clicks inside the first link of the shown page.
    void ClickLink(Qt::MouseButton button = Qt::LeftButton)
    {
        const qsizetype at = Text().indexOf(u"<"_qs);
        ASSERT_GE(at, 0) << Text().toStdString();
        ClickAt(int(at) + 3, button);
    }
    // The hyperlink dialog is worked by work; OK when it says so.
    void WhenLinkDialog(std::function<bool(THyperlinkF&)> work)
    {
        prompter.AnswerDialogWith(
            [work] {
                THyperlinkF* d = THyperlinkF::Active();
                if (!d)
                    return int(QDialog::Rejected);
                if (work(*d))
                    d->OKBtnClick();
                else
                    d->reject();
                return d->result();
            },
            THyperlinkF::DialogName);
    }
    // Inserts a link of type with target typed (and path type) through the dialog.
    void InsertTyped(int type, const QString& target, int pathOption = 0)
    {
        WhenLinkDialog([=](THyperlinkF& d) {
            d.SetLinkType(type);
            d.SetPathOption(pathOption);
            d.SetTarget(target);
            return true;
        });
        Run(u"InsertLinkA"_qs);
    }

    QString files;
};

TEST_F(Links, APageLinkIsWrittenAtTheSelectionStartAndFollowsThePage)
{
    MakeNotebook();
    Open();
    Show(u"Page0000004"_qs);
    SetText(u"Siehe hier."_qs, 6, 4); // "hier" selected
    AnswerChoice(u"Page0000003"_qs);
    WhenLinkDialog([](THyperlinkF& d) {
        d.SetLinkType(0); // opens the chooser at once
        EXPECT_EQ(d.Target(), u"*Page0000003*(Archiv)"_qs);
        EXPECT_FALSE(d.LinkBox()->isEnabled());
        EXPECT_TRUE(d.PathOptionsBox()->isHidden());
        return true;
    });
    Run(u"InsertLinkA"_qs);
    const QString link = u" <file://*Page0000003*(Archiv)>"_qs;
    EXPECT_EQ(Text(), u"Siehe "_qs + link + u"hier."_qs) << "the selected text stays";
    EXPECT_EQ(Editor()->SelStart(), 6 + link.size());
    EXPECT_EQ(Editor()->SelLength(), 0);

    // The click shows the page; renamed and moved it is still found by its id.
    ClickLink();
    EXPECT_EQ(window->ShownPage()->Id(), u"Page0000003"_qs);
    KvElementEnv e = window->ElementEnv();
    KvElementEdit(e).RenamePage(*Find<KvPage>(u"Page0000003"_qs), u"Neu <1>"_qs);
    KvElementMove(e).Move(*Find<KvObject>(u"Page0000003"_qs), *window->TopFolder(), false);
    Show(u"Page0000004"_qs);
    ClickLink();
    EXPECT_EQ(window->ShownPage()->Id(), u"Page0000003"_qs);
    EXPECT_FALSE(prompter.Unexpected());

    // A right click is no link click.
    Show(u"Page0000004"_qs);
    ClickLink(Qt::RightButton);
    EXPECT_EQ(window->ShownPage()->Id(), u"Page0000004"_qs);
}

TEST_F(Links, TopFolderTrashAndBrokenLinks)
{
    MakeNotebook();
    Open();
    const struct
    {
        QString link;
        QString shownFolder;
        int message;
    } cases[] = {
        {u"<file://*TopFolder*(Notizen)>"_qs, u"TopFolder"_qs, 0},
        {u"<file://*TrashFolder*(Papierkorb)>"_qs, u"TrashFolder"_qs, 0},
        {u"<file://*Fldr0000002*(Alt)>"_qs, u"Fldr0000002"_qs, 0},
        {u"<file://*Page0000099*(weg)>"_qs, QString(), 5050},
        {u"<file://*Fldr0000099*(weg)>"_qs, QString(), 5051},
    };
    for (const auto& c : cases) {
        Show(u"Page0000005"_qs);
        SetText(u"x "_qs + c.link);
        prompter.Clear();
        ClickLink();
        if (c.message) {
            ASSERT_EQ(prompter.Messages().size(), 1) << c.link.toStdString();
            EXPECT_EQ(prompter.Messages()[0].text,
                      KvTexts::Message(c.message, {KvLink::Parse(KvLink::UrlOf(c.link)).id}));
            EXPECT_EQ(window->ShownPage()->Id(), u"Page0000005"_qs);
        } else {
            EXPECT_EQ(window->CurrentFolder()->Id(), c.shownFolder) << c.link.toStdString();
            EXPECT_TRUE(prompter.Messages().isEmpty());
        }
    }
}

TEST_F(Links, FilesRelativeToTheDataDirectoryAndProgramsAskedFirst)
{
    MakeNotebook();
    QDir().mkpath(dir + u"Anhang"_qs);
    WriteAll(dir + u"Anhang/Plan.txt"_qs, "x");
    Open();
    KvShell::Recorder shell;
    Show(u"Page0000004"_qs);

    // Relative: written with the marker, opened from the data directory.
    SetText(QString());
    InsertTyped(2, dir + u"Anhang/Plan.txt"_qs, 1);
    EXPECT_EQ(Text(), u" <file://*RelPath*\\Anhang/Plan.txt>"_qs);
    ClickLink();
    EXPECT_TRUE(WaitUntil([&] { return shell.Opened().size() == 1; }));
    EXPECT_EQ(shell.Opened().value(0), dir + u"Anhang/Plan.txt"_qs);

    // Outside the data directory: 14520; Cancel goes back to the dialog, OK writes it as
    // it is.
    SetText(QString());
    prompter.Answer(KvAnswer::Cancel).Answer(KvAnswer::Ok);
    WhenLinkDialog([this](THyperlinkF& d) {
        d.SetLinkType(2);
        d.SetPathOption(1);
        d.SetTarget(files + u"Brief.txt"_qs);
        d.OKBtnClick();
        EXPECT_TRUE(d.isVisible() || d.result() == QDialog::Rejected) << "still open";
        EXPECT_TRUE(d.Url().isEmpty());
        return true;
    });
    Run(u"InsertLinkA"_qs);
    const QList<KvScriptedPrompter::Question> asked = prompter.Messages();
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[0].text, KvTexts::Message(14520, {dir}) + KvTexts::Text(14600));
    EXPECT_EQ(asked[0].kind, KvMsgKind::ErrorOkCancel);
    EXPECT_EQ(Text(), u" <file://"_qs + files + u"Brief.txt>"_qs);

    // A script: asked first, No by default; No opens nothing, Yes opens it.
    SetText(u"x <file://"_qs + files + u"skript.sh>"_qs);
    prompter.Clear();
    prompter.Answer(KvAnswer::No);
    ClickLink();
    ASSERT_EQ(prompter.Messages().size(), 1);
    EXPECT_EQ(prompter.Messages()[0].text, KvTexts::Message(5751, {files + u"skript.sh"_qs}));
    EXPECT_EQ(prompter.Messages()[0].kind, KvMsgKind::AskYesNo | KvMsgKind::DefaultSecond);
    EXPECT_EQ(KvPrompter::DefaultAnswer(prompter.Messages()[0].kind), KvAnswer::No);
    Idle();
    EXPECT_EQ(shell.Opened().size(), 1) << "nothing opened";
    prompter.Answer(KvAnswer::Yes);
    ClickLink();
    EXPECT_TRUE(WaitUntil([&] { return shell.Opened().size() == 2; }));
    EXPECT_EQ(shell.Opened().value(1), files + u"skript.sh"_qs);

    // The desktop fails: 5008 with its reason; the window stays as it was.
    shell.SetFailure(u"kein Programm"_qs);
    SetText(u"x <file://"_qs + files + u"Brief.txt>"_qs);
    prompter.Clear();
    prompter.Answer(KvAnswer::Ok);
    ClickLink();
    EXPECT_TRUE(WaitUntil([&] { return prompter.Messages().size() == 1; }));
    EXPECT_EQ(prompter.Messages().value(0).text,
              KvTexts::Text(5008) + u"\r\n-> (kein Programm)"_qs);
    EXPECT_EQ(window->ShownPage()->Id(), u"Page0000004"_qs);
    // A Windows drive cannot be opened here.
    SetText(u"x <file://C:\\Daten\\x.txt>"_qs);
    prompter.Clear();
    prompter.Answer(KvAnswer::Ok);
    ClickLink();
    ASSERT_EQ(prompter.Messages().size(), 1);
    EXPECT_EQ(prompter.Messages()[0].text, KvTexts::Text(5008) + u"\r\n-> ("_qs +
                                               KvTexts::Message(5752, {u"C:\\Daten\\x.txt"_qs}) +
                                               u')');
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(Links, NetworkNamesForFilesAndDirectories)
{
    MakeNotebook();
    const QString share = QFileInfo(env.Dir(u"mnt/team"_qs)).canonicalFilePath();
    WriteAll(share + u"/Plan.txt"_qs, "x");
    env.Dir(u"proc"_qs);
    WriteAll(env.Data().mountInfo,
             u"36 25 0:45 / %1 rw - cifs //srv/team rw\n"_qs.arg(share).toUtf8());
    Open();
    KvShell::Recorder shell;
    Show(u"Page0000004"_qs);
    SetText(QString());
    InsertTyped(2, share + u"/Plan.txt"_qs, 2);
    EXPECT_EQ(Text(), u" <file://\\\\srv\\team\\Plan.txt>"_qs);
    ClickLink();
    EXPECT_TRUE(WaitUntil([&] { return shell.Opened().size() == 1; }));
    EXPECT_EQ(shell.Opened().value(0), share + u"/Plan.txt"_qs) << "the share's mount";
    SetText(QString());
    InsertTyped(3, share, 2);
    EXPECT_EQ(Text(), u" <file://\\\\srv\\team>"_qs);
    // A local path: reason 8, written as it is after OK.
    SetText(QString());
    prompter.Answer(KvAnswer::Ok);
    InsertTyped(2, files + u"Brief.txt"_qs, 2);
    ASSERT_EQ(prompter.Messages().size(), 1);
    EXPECT_EQ(prompter.Messages()[0].text,
              KvTexts::Text(14500) + u' ' + KvTexts::Text(14508) + KvTexts::Text(14600));
    EXPECT_EQ(Text(), u" <file://"_qs + files + u"Brief.txt>"_qs);
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(Links, AddressesFilesAndTheDialogsMemory)
{
    MakeNotebook();
    Open();
    KvShell::Recorder shell;
    Show(u"Page0000004"_qs);
    SetText(QString());
    InsertTyped(4, u"example.org/suche?q=<a>"_qs);
    EXPECT_EQ(Text(), u" <http://example.org/suche?q=%3Ca%3E>"_qs) << "angle brackets encoded";
    ClickLink();
    EXPECT_TRUE(WaitUntil([&] { return shell.Opened().size() == 1; }));
    EXPECT_EQ(shell.Opened().value(0), u"http://example.org/suche?q=%3Ca%3E"_qs);

    // A path with angle brackets is refused and the dialog stays.
    SetText(QString());
    prompter.Answer(KvAnswer::Ok);
    WhenLinkDialog([](THyperlinkF& d) {
        d.SetLinkType(2);
        d.SetTarget(u"/tmp/a<b>.txt"_qs);
        d.OKBtnClick();
        EXPECT_TRUE(d.Url().isEmpty());
        return false;
    });
    Run(u"InsertLinkA"_qs);
    EXPECT_EQ(prompter.Messages().last().text, KvTexts::Message(5753, {u"/tmp/a<b>.txt"_qs}));
    EXPECT_EQ(Text(), QString());

    // The file picker shows all files; the dialog remembers type, path type and target.
    prompter.AnswerOpenFile(files + u"Brief.txt"_qs);
    WhenLinkDialog([](THyperlinkF& d) {
        d.SetLinkType(2);
        EXPECT_EQ(d.PrefixEdit()->text(), u"file://"_qs);
        EXPECT_FALSE(d.PathOptionsBox()->isHidden());
        EXPECT_FALSE(d.OkButton()->isEnabled() && d.Target().isEmpty());
        d.SearchBBClick();
        return true;
    });
    Run(u"InsertLinkA"_qs);
    const auto opens = prompter.AskedOn(KvScriptedPrompter::Channel::OpenFile);
    ASSERT_EQ(opens.size(), 1);
    EXPECT_EQ(opens[0].filter, KvTexts::Text(5294) + u" (*)"_qs);
    EXPECT_EQ(Text(), u" <file://"_qs + files + u"Brief.txt>"_qs);
    WhenLinkDialog([this](THyperlinkF& d) {
        EXPECT_EQ(d.LinkType(), 2);
        EXPECT_EQ(d.Target(), files + u"Brief.txt"_qs);
        EXPECT_GE(d.LinkBox()->findText(u"example.org/suche?q=<a>"_qs), 0);
        // Other schemes: the prefix may be edited.
        d.SetLinkType(6);
        EXPECT_EQ(d.PrefixEdit()->text(), u"____://"_qs);
        EXPECT_FALSE(d.PrefixEdit()->isReadOnly());
        EXPECT_FALSE(d.SearchButton()->isEnabled());
        d.PrefixEdit()->setText(u"news://"_qs);
        d.SetTarget(u"server/gruppe"_qs);
        return true;
    });
    SetText(QString());
    Run(u"InsertLinkA"_qs);
    EXPECT_EQ(Text(), u" <news://server/gruppe>"_qs);
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(Links, KeywordLinksOpenTheKeywordDialog)
{
    MakeNotebook(
        [](KvFolder&, KvFolder&) { FindObject(u"Page0000001"_qs)->SetKeywords(u"*wichtig"_qs); });
    Open();
    Show(u"Page0000004"_qs);
    SetText(QString());
    // The picker: the keyword dialog in select mode.
    prompter.AnswerDialogWith(
        [] {
            TKeywordsF* d = TKeywordsF::Active();
            const auto items = d->KeywordList()->findItems(u"*wichtig"_qs, Qt::MatchExactly);
            d->KeywordList()->setCurrentItem(items.value(0));
            d->CloseBtnClick();
            return d->result();
        },
        TKeywordsF::DialogName);
    WhenLinkDialog([](THyperlinkF& d) {
        d.SetLinkType(1);
        EXPECT_EQ(d.Target(), u"*Keyword:*wichtig*"_qs);
        return true;
    });
    Run(u"InsertLinkA"_qs);
    EXPECT_EQ(Text(), u" <file://*Keyword:*wichtig*>"_qs);

    // The click: positioned at the keyword; going to an element shows it.
    QString positioned;
    prompter.AnswerDialogWith(
        [&positioned] {
            TKeywordsF* d = TKeywordsF::Active();
            positioned = d->PositioningField()->text();
            EXPECT_TRUE(d->ApplyButton()->isEnabled()) << "the page may take the keyword";
            d->ObjectList()->SelectId(u"Page0000001"_qs);
            d->ShowObjectBtnClick();
            return d->result();
        },
        TKeywordsF::DialogName);
    ClickLink();
    EXPECT_EQ(positioned, u"*wichtig"_qs);
    EXPECT_TRUE(WaitUntil([&] { return window->ShownPage()->Id() == u"Page0000001"_qs; }));
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(Links, LinkTextsToTheClipboard)
{
    MakeNotebook([](KvFolder&, KvFolder&) { FindObject(u"Fldr0000002"_qs)->SetName(u"<Alt>"_qs); });
    Open();
    Show(u"Page0000001"_qs);
    Run(u"CreateLink2PageA"_qs);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"<file://*Page0000001*(Plan)>"_qs);
    RunTreeMenu(u"Fldr0000002"_qs, u"CreLinkPMI"_qs);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"<file://*Fldr0000002*(\u2039Alt\u203A)>"_qs);
    RunTreeMenu(u"Page0000003"_qs, u"CreLinkPMI"_qs);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"<file://*Page0000003*(Archiv)>"_qs);
    EXPECT_EQ(window->ShownPage()->Id(), u"Page0000001"_qs) << "the selection came back";
}

TEST_F(Links, DateAndTimeWithF5)
{
    MakeNotebook();
    Open();
    Show(u"Page0000004"_qs);
    const struct
    {
        bool date, time;
    } cases[] = {{true, true}, {false, true}, {true, false}, {false, false}};
    for (const auto& c : cases) {
        SetOption(u"DateInsert"_qs, c.date);
        SetOption(u"TimeInsert"_qs, c.time);
        SetText(u"abcdef"_qs, 2, 2); // "cd" selected
        const QDateTime before = QDateTime::currentDateTime();
        QTest::keyClick(Editor(), Qt::Key_F5);
        Idle();
        const QString inserted = Text().mid(2, Text().size() - 6);
        EXPECT_EQ(Text().left(2) + Text().right(4), u"abcdef"_qs);
        const QDateTime after = QDateTime::currentDateTime();
        const QString first = KvDateTimeText::Insertion(before, c.date, c.time);
        const QString second = KvDateTimeText::Insertion(after, c.date, c.time);
        EXPECT_TRUE(inserted == first || inserted == second) << inserted.toStdString();
        EXPECT_FALSE(inserted.startsWith(u' '));
        // Nothing to write leaves the selection as it was.
        EXPECT_EQ(Editor()->SelStart(), 2 + inserted.size());
        EXPECT_EQ(Editor()->SelLength(), inserted.isEmpty() ? 2 : 0);
    }
}

TEST_F(Links, InsertCommandsNeedAnEditablePage)
{
    MakeNotebook();
    Open();
    Show(u"Page0000004"_qs);
    EXPECT_TRUE(A(u"InsertLinkA"_qs)->isEnabled());
    EXPECT_TRUE(A(u"InsertDateTimeA"_qs)->isEnabled());
    EXPECT_TRUE(A(u"CreateLink2PageA"_qs)->isEnabled());
    window->ShownPage()->SetWriteProtect(true);
    Idle();
    EXPECT_FALSE(A(u"InsertLinkA"_qs)->isEnabled());
    EXPECT_FALSE(A(u"InsertDateTimeA"_qs)->isEnabled());
    EXPECT_TRUE(A(u"CreateLink2PageA"_qs)->isEnabled());
    window->ShownPage()->SetWriteProtect(false);
    Close();
    Open(u"/dr"_qs);
    Show(u"Page0000004"_qs);
    EXPECT_FALSE(A(u"InsertLinkA"_qs)->isEnabled());
    EXPECT_FALSE(A(u"InsertDateTimeA"_qs)->isEnabled());
    EXPECT_TRUE(A(u"CreateLink2PageA"_qs)->isEnabled());
}

} // namespace
