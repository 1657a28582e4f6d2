// The keyword dialog and the keyword commands of the main window: positioning by typing,
// next and previous, the elements of a keyword with and without referrers, apply, show an
// element with its keyword marked, select mode, the settings it keeps, and adding the
// editor's selection as a keyword.
#include "ui/elementwindow.h"
#include "ui/kvresultlistview.h"
#include "ui/tkeywordsf.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolButton>

using namespace korvtest;

namespace {

// The keywords of ElementWindow's notebook:
//   Plan (Page0000001): "Äpfel; Apfelbaum,apfel", its referrer Page0000007 in the top folder
//   Einkauf (Page0000004): "äpfel;Kaffee", its text "Milch und Kaffee kaufen"
//   Projekte (Fldr0000001): "Planung"
// The index: Äpfel (Plan, Einkauf), apfel, Apfelbaum (Plan), Kaffee (Einkauf), Planung.
class KeywordDialog : public ElementWindow
{
protected:
    void MakeKeywordNotebook()
    {
        MakeNotebook([this](KvFolder& top, KvFolder&) {
            KvElementFactory f;
            referrer(f, u"Page0000007"_qs, top, u"Page0000001"_qs);
            FindObject(u"Page0000001"_qs)->SetKeywords(u"Äpfel; Apfelbaum,apfel"_qs);
            FindObject(u"Page0000004"_qs)->SetKeywords(u"äpfel;Kaffee"_qs);
            FindObject(u"Fldr0000001"_qs)->SetKeywords(u"Planung"_qs);
            WriteAll(dir + u"Page0000004.kvp"_qs, Rtf(u"Milch und Kaffee kaufen"_qs));
            WriteAll(dir + u"Page0000005.kvp"_qs,
                     "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0 Kuchen\\par backen\\par}");
        });
    }

    static QStringList Rows(const QListWidget* list)
    {
        QStringList rows;
        for (int i = 0; i < list->count(); ++i)
            rows.append(list->item(i)->text());
        return rows;
    }
    static void SelectKeyword(TKeywordsF& d, const QString& keyword)
    {
        const QList<QListWidgetItem*> items = d.KeywordList()->findItems(keyword, Qt::MatchExactly);
        ASSERT_EQ(items.size(), 1) << keyword.toStdString();
        d.KeywordList()->setCurrentItem(items.first());
    }
    // The keyword command's dialog is worked by work, which gives its result.
    void WhenKeywordsOpen(std::function<int(TKeywordsF&)> work)
    {
        prompter.AnswerDialogWith(
            [work] {
                TKeywordsF* d = TKeywordsF::Active();
                if (!d)
                    return int(KvKeywordDialog::Cancelled);
                d->show();
                return work(*d);
            },
            TKeywordsF::DialogName);
    }
};

TEST_F(KeywordDialog, TheIndexListsEachKeywordOnceInNormalizedOrder)
{
    MakeKeywordNotebook();
    Open();
    TKeywordsF d(*window, true);
    d.show();
    EXPECT_EQ(Rows(d.KeywordList()), (QStringList{u"Äpfel"_qs, u"apfel"_qs, u"Apfelbaum"_qs,
                                                  u"Kaffee"_qs, u"Planung"_qs}));
    EXPECT_EQ(d.KeywordCountLabel()->text(), u"5 "_qs + KvTexts::Text(11060));
    EXPECT_EQ(d.windowTitle(), KvTexts::Text(11060));
    // The first keyword is selected on show, with its elements.
    EXPECT_EQ(d.SelectedKeyword(), u"Äpfel"_qs);
    EXPECT_EQ(d.ObjectList()->Ids(), (QStringList{u"Page0000001"_qs, u"Page0000004"_qs}));
    EXPECT_EQ(d.ObjectCountLabel()->text(), KvTexts::Text(18000) + u"2"_qs);
    // Referrers shown: each element is followed by its referrers.
    d.HideReferrersBox()->click();
    EXPECT_EQ(d.ObjectList()->Ids(),
              (QStringList{u"Page0000001"_qs, u"Page0000007"_qs, u"Page0000004"_qs}));
    EXPECT_EQ(d.ObjectCountLabel()->text(), KvTexts::Text(18000) + u"3"_qs);
    d.HideReferrersBox()->click();
    EXPECT_EQ(d.ObjectList()->Ids(), (QStringList{u"Page0000001"_qs, u"Page0000004"_qs}));
    // A folder's row.
    SelectKeyword(d, u"Planung"_qs);
    EXPECT_EQ(d.ObjectList()->Ids(), QStringList{u"Fldr0000001"_qs});
    EXPECT_EQ(d.ObjectList()->List().Rows()[0].caption,
              u"["_qs + KvTexts::Text(5001) + u": Projekte]"_qs);
}

TEST_F(KeywordDialog, TypingPositionsTheListAndNextAndPreviousGoOn)
{
    MakeKeywordNotebook();
    Open();
    TKeywordsF d(*window, true);
    d.show();
    struct Step
    {
        const char* what;
        std::function<void()> act;
        const char* selected;
        bool red;
        bool stepButtons;
    };
    const QList<Step> steps = {
        {"a start", [&] { d.PositioningField()->setText(u"apf"_qs); }, "apfel", false, false},
        {"contains", [&] { d.PositioningField()->setText(u"*fel"_qs); }, "Äpfel", false, true},
        {"next", [&] { d.NextButton()->click(); }, "apfel", false, true},
        {"next again", [&] { d.NextButton()->click(); }, "Apfelbaum", false, true},
        {"nothing after", [&] { d.NextButton()->click(); }, "Apfelbaum", true, true},
        {"next from the top", [&] { d.NextButton()->click(); }, "Äpfel", false, true},
        {"previous finds nothing before", [&] { d.PrevButton()->click(); }, "Äpfel", true, true},
        {"previous from the end", [&] { d.PrevButton()->click(); }, "Apfelbaum", false, true},
        {"a start that fits nothing", [&] { d.PositioningField()->setText(u"fel"_qs); },
         "Apfelbaum", true, false},
        {"an empty field", [&] { d.PositioningField()->clear(); }, "Apfelbaum", false, false},
        {"upper case is ignored", [&] { d.PositioningField()->setText(u"KAF"_qs); }, "Kaffee",
         false, false},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.what);
        s.act();
        EXPECT_EQ(d.SelectedKeyword(), QString::fromUtf8(s.selected));
        EXPECT_EQ(d.PositioningNotFound(), s.red);
        EXPECT_EQ(d.PositioningField()->palette().color(QPalette::Base) == QColor(Qt::red), s.red);
        EXPECT_EQ(!d.NextButton()->isHidden(), s.stepButtons);
        EXPECT_EQ(!d.PrevButton()->isHidden(), s.stepButtons);
    }
    // The field takes at most 50 characters.
    d.PositioningField()->setText(QString(60, u'x'));
    EXPECT_EQ(d.PositioningField()->text().size(), 50);
}

TEST_F(KeywordDialog, ApplyAddsTheKeywordToTheCurrentPage)
{
    MakeKeywordNotebook();
    Open();
    Show(u"Page0000005"_qs);
    WhenKeywordsOpen([](TKeywordsF& d) {
        SelectKeyword(d, u"Kaffee"_qs);
        d.EnableCommands();
        EXPECT_TRUE(d.ApplyButton()->isEnabled());
        d.ApplyButton()->click();
        // The dialog lists the page with the keyword at once.
        EXPECT_EQ(d.ObjectList()->Ids(), (QStringList{u"Page0000004"_qs, u"Page0000005"_qs}));
        // A second apply adds nothing (the keyword is there).
        d.ApplyButton()->click();
        EXPECT_EQ(d.ObjectList()->Count(), 2);
        d.CloseBtnClick();
        return d.result();
    });
    Run(u"KeywordsA"_qs);
    EXPECT_EQ(Find(u"Page0000005"_qs)->GetKeywords(), u"Kaffee"_qs);
    EXPECT_EQ(KvDirStores::KeywordStore().ReadString(u"Page0000005"_qs, u"Kwds"_qs, {}),
              u"Kaffee"_qs);
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(KeywordDialog, ShowOpensTheElementWithItsKeywordMarked)
{
    MakeKeywordNotebook();
    Open();
    Show(u"Page0000005"_qs);
    WhenKeywordsOpen([](TKeywordsF& d) {
        SelectKeyword(d, u"Kaffee"_qs);
        EXPECT_TRUE(d.ObjectList()->SelectId(u"Page0000004"_qs));
        d.EnableCommands();
        EXPECT_TRUE(d.ShowButton()->isEnabled());
        d.ShowButton()->click();
        return d.result();
    });
    Run(u"KeywordsA"_qs);
    EXPECT_EQ(window->ShownPage(), Find<KvPage>(u"Page0000004"_qs));
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->SelectedText(), u"Kaffee"_qs);
    // The dialog remembers the keyword: the next one starts on it, its field empty.
    TKeywordsF again(*window, true);
    again.show();
    EXPECT_EQ(again.SelectedKeyword(), u"Kaffee"_qs);
    EXPECT_TRUE(again.PositioningField()->text().isEmpty());
}

TEST_F(KeywordDialog, EscClosesWithoutKeepingAnything)
{
    MakeKeywordNotebook();
    Open();
    TKeywordsF d(*window, true);
    d.show();
    SelectKeyword(d, u"Planung"_qs);
    QTest::keyClick(&d, Qt::Key_Escape);
    EXPECT_EQ(d.result(), KvKeywordDialog::Cancelled);
    TKeywordsF again(*window, true);
    again.show();
    EXPECT_EQ(again.SelectedKeyword(), u"Äpfel"_qs);
    // Copy puts the selected keyword on the clipboard.
    SelectKeyword(again, u"Kaffee"_qs);
    again.CopySBClick();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"Kaffee"_qs);
}

TEST_F(KeywordDialog, SelectModeClosesWithTheChosenKeyword)
{
    MakeKeywordNotebook();
    Open();
    TKeywordsF d(*window, false);
    d.ShowSelectMode();
    d.show();
    EXPECT_EQ(d.CloseButton()->text(), KvTexts::Text(4000));
    EXPECT_TRUE(d.ShowButton()->isHidden());
    d.KeywordList()->clearSelection();
    d.EnableCommands();
    EXPECT_FALSE(d.CloseButton()->isEnabled());
    // A dialog that may not show elements ignores double clicks on them.
    SelectKeyword(d, u"Apfelbaum"_qs);
    ASSERT_TRUE(d.ObjectList()->SelectId(u"Page0000001"_qs));
    Q_EMIT d.ObjectList()->showRequested();
    EXPECT_TRUE(d.isVisible());
    // A double click on a keyword chooses it.
    Q_EMIT d.KeywordList()->itemDoubleClicked(d.KeywordList()->currentItem());
    EXPECT_FALSE(d.isVisible());
    EXPECT_EQ(d.result(), KvKeywordDialog::Closed);
    EXPECT_EQ(d.SelectedKeyword(), u"Apfelbaum"_qs);
}

TEST_F(KeywordDialog, ReadOnlyTheDialogSaysSoAndAppliesNothing)
{
    MakeKeywordNotebook();
    Open(u"/dr"_qs);
    Show(u"Page0000005"_qs);
    bool applyEnabled = true;
    QString title;
    WhenKeywordsOpen([&](TKeywordsF& d) {
        title = d.windowTitle();
        SelectKeyword(d, u"Kaffee"_qs);
        d.EnableCommands();
        applyEnabled = d.ApplyButton()->isEnabled();
        d.CloseBtnClick();
        return d.result();
    });
    Run(u"KeywordsA"_qs);
    EXPECT_EQ(title, KvTexts::Text(11060) + u' ' + KvTexts::Text(5201));
    EXPECT_FALSE(applyEnabled);
}

TEST_F(KeywordDialog, TheSelectedTextBecomesAKeywordWithBlanksForLineBreaks)
{
    MakeKeywordNotebook();
    Open();
    Show(u"Page0000005"_qs);
    ASSERT_NE(Editor(), nullptr);
    Idle();
    EXPECT_FALSE(A(u"InsertKeywordA"_qs)->isEnabled());
    Editor()->SetSelection(0, 13); // "Kuchen", the paragraph break, "backen"
    Idle();
    ASSERT_TRUE(A(u"InsertKeywordA"_qs)->isEnabled());
    Run(u"InsertKeywordA"_qs);
    EXPECT_EQ(Find(u"Page0000005"_qs)->GetKeywords(), u"Kuchen backen"_qs);
    // Once there, it is not added again.
    Run(u"InsertKeywordA"_qs);
    EXPECT_EQ(Find(u"Page0000005"_qs)->GetKeywords(), u"Kuchen backen"_qs);
}

} // namespace
