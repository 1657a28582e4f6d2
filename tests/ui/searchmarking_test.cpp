// A hit opened from the result list shows its page with the term selected: every term the
// search finds in a page's text is found there again by the marking, however the text is
// formatted.
#include "model/kvnotebookgenerator.h"
#include "richtext/textmatch.h"
#include "ui/searchwindow.h"

using namespace korvtest;

namespace {

// The pages of the marking cases, in the top folder.
struct MarkPage
{
    const char* id;
    const char* name;
    const char* rtfBody; // between the header and the closing "\par}"
};

const MarkPage kPages[] = {
    {"Page0000060", "Umlaute", "Der \\'c4rger mit dem Vertrag; \\'c4RGER bleibt."},
    {"Page0000061", "Formatiert", "Ein Pro{\\b jekt}plan im Archiv"},
    {"Page0000062", "Versteckt", "Milch{\\v versteckt} und Brot versteckt"},
    {"Page0000063", "Geschuetzt", "Kuchen\\~backen am Sonntag"},
};

QByteArray PageRtf(const char* body)
{
    return QByteArray("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 ") +
           body + "\\par}";
}

class SearchMarking : public SearchWindow
{
protected:
    void MakeMarkingNotebook()
    {
        MakeSearchNotebook(
            [this](KvFolder& top, KvFolder&) {
                KvElementFactory f;
                for (const MarkPage& p : kPages) {
                    KvPage* page = f.CreatePage(QString::fromLatin1(p.id), &top, true);
                    page->SetName(QString::fromLatin1(p.name));
                    WriteAll(dir + QString::fromLatin1(p.id) + u".kvp"_qs, PageRtf(p.rtfBody));
                }
            },
            false);
    }

    // Searches the top folder's page texts with crit through the search window and opens
    // the hit id from its list; the shown page's editor.
    TexRichEdit* SearchAndOpen(KvSearchCrit crit, const QString& id)
    {
        crit.Fldr = u"TopFolder"_qs;
        TSearchF* form = OpenSearch();
        if (!form)
            return nullptr;
        form->SetSearchCriteria(crit);
        form->EnableCommands();
        form->StartBtnClick();
        EXPECT_TRUE(WaitUntil([form] { return !form->SearchRunning(); }, 20000));
        if (!form->ResultList()->SelectId(id)) {
            ADD_FAILURE() << "not found: " << id.toStdString();
            form->CloseBtnClick();
            return nullptr;
        }
        form->ResultLVDblClick();
        EXPECT_EQ(Form(), nullptr);
        EXPECT_EQ(window->ShownPage(), Find<KvPage>(id));
        return Editor();
    }
};

TEST_F(SearchMarking, TheFirstOccurrenceOfTheTermIsSelected)
{
    struct Case
    {
        const char* what;
        const char* page;
        KvSearchCrit crit;
        const char* selected; // the selected text, non-breaking spaces as blanks
        int start;            // where it starts; kFirst/kLast: its first/last place there
    };
    auto crit = [](const char* t1, bool word, bool caseSens, const char* t2 = "",
                   quint8 cond = KvSearchCrit::And) {
        KvSearchCrit c;
        c.SText1 = QString::fromUtf8(t1);
        c.WhWord1 = word;
        c.MtCase1 = caseSens;
        c.SText2 = QString::fromUtf8(t2);
        c.Cond = cond;
        // Page texts only: the hit is in the text.
        c.PageN = c.FldrN = c.PageK = c.FldrK = false;
        return c;
    };
    // Hidden text has cursor positions of its own: places are counted in the editor.
    constexpr int kFirst = -1;
    constexpr int kLast = -2;
    const QList<Case> cases = {
        {"umlaut, letter case aside", "Page0000060", crit("ärger", true, false), "Ärger", 4},
        {"umlaut, letter case kept", "Page0000060", crit("ÄRGER", false, true), "ÄRGER", 27},
        {"a word split by formatting", "Page0000061", crit("projektplan", true, false),
         "Projektplan", 4},
        {"hidden text is no text", "Page0000062", crit("versteckt", true, false), "versteckt",
         kLast},
        {"a non-breaking space is a blank", "Page0000063", crit("Kuchen backen", false, false),
         "Kuchen backen", 0},
        {"only the second term occurs", "Page0000062",
         crit("Zebra", false, false, "Brot", KvSearchCrit::Or), "Brot", kFirst},
        {"the excluded term is not marked", "Page0000062",
         crit("Brot", false, false, "Zebra", KvSearchCrit::AndNot), "Brot", kFirst},
        {"both terms: the first one", "Page0000060",
         crit("Vertrag", false, false, "Ärger", KvSearchCrit::And), "Vertrag", 18},
    };
    MakeMarkingNotebook();
    Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TexRichEdit* edit = SearchAndOpen(c.crit, QString::fromLatin1(c.page));
        ASSERT_NE(edit, nullptr);
        const QString selected = QString::fromUtf8(c.selected);
        EXPECT_EQ(edit->SelectedText().replace(QChar(0x00A0), u' '), selected);
        const QString all = edit->document()->toPlainText();
        const int start = c.start == kFirst  ? int(all.indexOf(selected))
                          : c.start == kLast ? int(all.lastIndexOf(selected))
                                             : c.start;
        EXPECT_EQ(edit->SelStart(), start);
    }
}

TEST_F(SearchMarking, APendingTextMarksTheShownElementAsAWholeWord)
{
    MakeMarkingNotebook();
    Open();
    window->SetPendingObject(u"Page0000060"_qs, u"ärger"_qs);
    ASSERT_TRUE(
        WaitUntil([this] { return window->ShownPage() == Find<KvPage>(u"Page0000060"_qs); }));
    Idle();
    ASSERT_NE(Editor(), nullptr);
    EXPECT_EQ(Editor()->SelectedText(), u"Ärger"_qs);
    // Without a text nothing is selected.
    window->SetPendingObject(u"Page0000061"_qs);
    ASSERT_TRUE(
        WaitUntil([this] { return window->ShownPage() == Find<KvPage>(u"Page0000061"_qs); }));
    EXPECT_TRUE(Editor()->SelectedText().isEmpty());
}

// On a generated notebook (words split by formatting, umlauts, bullets), every page the
// search finds by its text is opened with a hit of the term selected.
TEST_F(SearchMarking, EveryPageFoundByItsTextOpensWithTheTermSelected)
{
    KvGeneratorOptions o;
    o.seed = 12;
    o.elements = 150;
    o.protectedPercent = 0;
    KvNotebookGenerator::Generate(dir, o);
    Open();
    struct Term
    {
        QString text;
        bool word;
        bool caseSens;
    };
    const QList<Term> terms = {{u"ärger"_qs, true, false},
                               {u"Straße"_qs, true, true},
                               {u"bersicht"_qs, false, false},
                               {u"Projekt Reise"_qs, false, false}};
    int opened = 0;
    for (const Term& t : terms) {
        SCOPED_TRACE(t.text.toStdString());
        KvSearchCrit crit;
        crit.SText1 = t.text;
        crit.WhWord1 = t.word;
        crit.MtCase1 = t.caseSens;
        crit.PageN = crit.FldrN = crit.PageK = crit.FldrK = false;
        crit.Fldr = u"TopFolder"_qs;
        TSearchF* form = OpenSearch();
        ASSERT_NE(form, nullptr);
        form->SetSearchCriteria(crit);
        form->StartBtnClick();
        ASSERT_TRUE(WaitUntil([form] { return !form->SearchRunning(); }, 20000));
        const QStringList hits = form->ResultList()->Ids();
        form->CloseBtnClick();
        ASSERT_EQ(Form(), nullptr);
        EXPECT_FALSE(hits.isEmpty());
        for (const QString& id : hits) {
            SCOPED_TRACE(id.toStdString());
            ASSERT_TRUE(window->SwitchToObjectWithID(id, &crit));
            TexRichEdit* edit = Editor();
            ASSERT_NE(edit, nullptr);
            const QString selected = edit->SelectedText().replace(QChar(0x00A0), u' ');
            EXPECT_TRUE(KvTextMatch::Contains(selected, t.text, {t.word, t.caseSens}))
                << selected.toStdString();
            ++opened;
        }
    }
    EXPECT_GT(opened, 20);
}

} // namespace
