// The name dialog: its fields, the empty-name refusal, F5 and F1, the attribute mode and
// the remembered place.
#include "app/kvformres.h"
#include "app/kvhelphook.h"
#include "app/kvscriptedprompter.h"
#include "app/kvtexts.h"
#include "store/texprofilefile.h"
#include "support/testenv.h"
#include "ui/tnamef.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

class NameDialog : public ::testing::Test
{
protected:
    void SetUp() override { KvPrompter::SetCurrent(&prompter); }
    void TearDown() override
    {
        KvPrompter::SetCurrent(nullptr);
        KvHelpHook::SetHandler({});
    }

    static QList<TNameF::StatusEntry> Statuses(int n)
    {
        QList<TNameF::StatusEntry> list;
        for (int i = 0; i < n; ++i)
            list.append({u"Status %1"_qs.arg(i), QIcon()});
        return list;
    }

    template <typename W> static W* Child(const QWidget& w, const char16_t* name)
    {
        return w.findChild<W*>(QString::fromUtf16(name));
    }

    korvtest::SandboxEnv env;
    KvScriptedPrompter prompter;
};

TEST_F(NameDialog, StatusRowOnlyWithACatalogue)
{
    TNameF plain;
    TNameF withStatus(nullptr, Statuses(15));
    plain.show();
    withStatus.show();
    EXPECT_FALSE(plain.HasStatus());
    EXPECT_FALSE(Child<QComboBox>(plain, u"StatusCB")->isVisible());
    EXPECT_FALSE(Child<QLabel>(plain, u"StatusL")->isVisible());
    EXPECT_TRUE(withStatus.HasStatus());
    auto* combo = Child<QComboBox>(withStatus, u"StatusCB");
    EXPECT_TRUE(combo->isVisible());
    EXPECT_EQ(Child<QLabel>(withStatus, u"StatusL")->text(), KvTexts::Text(11008));
    EXPECT_EQ(combo->count(), 15);
    EXPECT_EQ(combo->currentIndex(), 0);
    // Without the row the buttons move up: the dialog is shorter.
    EXPECT_LT(plain.height(), withStatus.height());
    withStatus.SetStatus(14);
    EXPECT_EQ(withStatus.Status(), 14);
    withStatus.SetStatus(15); // beyond the catalogue: unchanged
    EXPECT_EQ(withStatus.Status(), 14);
    // The captions of the table; the name is bold and limited.
    auto* name = Child<QLineEdit>(plain, u"PageNameE");
    EXPECT_TRUE(name->font().bold());
    EXPECT_EQ(name->maxLength(), 100);
    EXPECT_EQ(Child<QPushButton>(plain, u"OKBtn")->text(), KvTexts::Text(4000));
    EXPECT_EQ(Child<QPushButton>(plain, u"CancelBtn")->text(), KvTexts::Text(4001));
    EXPECT_FALSE(Child<QGroupBox>(plain, u"AttrGB")->isVisible());
    EXPECT_FALSE(Child<QLabel>(plain, u"MsgL")->isVisible());
}

TEST_F(NameDialog, AnEmptyNameKeepsTheDialogOpenWithMessage5005)
{
    TNameF dialog;
    dialog.show();
    dialog.SetName(QString());
    prompter.Answer(KvAnswer::Ok);
    QTest::mouseClick(Child<QPushButton>(dialog, u"OKBtn"), Qt::LeftButton);
    ASSERT_EQ(prompter.Messages().size(), 1);
    const auto asked = prompter.Messages().first();
    EXPECT_EQ(asked.title, KvTexts::Text(5004));
    EXPECT_EQ(asked.text, KvTexts::Text(5005));
    EXPECT_EQ(asked.kind, KvMsgKind::Error);
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_NE(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(prompter.Unexpected());

    // Blanks, separators and invisible characters only are no name either.
    for (const QString& nothing : {u"   "_qs, u"\u2028"_qs, u" \u2029\uFEFF\u200B\t "_qs}) {
        dialog.SetName(nothing);
        prompter.Answer(KvAnswer::Ok);
        QTest::mouseClick(Child<QPushButton>(dialog, u"OKBtn"), Qt::LeftButton);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_NE(dialog.result(), QDialog::Accepted);
    }
    ASSERT_EQ(prompter.Messages().size(), 4);
    EXPECT_EQ(prompter.Messages().last().text, KvTexts::Text(5005));

    // A name keeps what shows: the rest becomes blanks, the ends are trimmed.
    dialog.SetName(u"  Neue\u2028Seite\u200D "_qs);
    QTest::mouseClick(Child<QPushButton>(dialog, u"OKBtn"), Qt::LeftButton);
    EXPECT_EQ(prompter.Messages().size(), 4);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.Name(), u"Neue Seite"_qs);
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(NameDialog, NamesStopAtOneHundredCharacters)
{
    TNameF dialog;
    dialog.show();
    auto* name = Child<QLineEdit>(dialog, u"PageNameE");
    name->setFocus();
    name->clear();
    QTest::keyClicks(name, QString(120, u'x'));
    EXPECT_EQ(dialog.Name().size(), 100);
    dialog.SetName(QString(150, u'y'));
    EXPECT_EQ(dialog.Name(), QString(100, u'y'));
}

TEST_F(NameDialog, F5InsertsTodayAtTheCaretAndF1AsksForHelp)
{
    int topic = 0;
    KvHelpHook::SetHandler([&topic](int t) { topic = t; });
    TNameF dialog;
    dialog.show();
    dialog.activateWindow();
    auto* name = Child<QLineEdit>(dialog, u"PageNameE");
    name->setFocus();
    name->setText(u"Protokoll  Sitzung"_qs);
    name->setCursorPosition(10);
    QTest::keyClick(name, Qt::Key_F5);
    const QString today = TNameF::TodayText();
    EXPECT_FALSE(today.isEmpty());
    EXPECT_EQ(dialog.Name(), u"Protokoll " + today + u" Sitzung");
    EXPECT_EQ(name->cursorPosition(), 10 + today.size());

    QTest::keyClick(name, Qt::Key_F1);
    EXPECT_EQ(topic, TNameF::HelpContext);
    EXPECT_EQ(KvHelpHook::LastTopic(), TNameF::HelpContext);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(NameDialog, EscapeCancels)
{
    TNameF dialog;
    dialog.show();
    dialog.SetName(u"Neu"_qs);
    QTest::keyClick(Child<QLineEdit>(dialog, u"PageNameE"), Qt::Key_Escape);
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_TRUE(prompter.Messages().isEmpty());
}

TEST_F(NameDialog, AttributeModeNeverHoldsNothing)
{
    const struct
    {
        bool text, para;
        bool wantText, wantPara;
        int image;
    } kCases[] = {
        {false, false, true, false, 0},
        {true, false, true, false, 0},
        {false, true, false, true, 1},
        {true, true, true, true, 2},
    };
    for (const auto& c : kCases) {
        SCOPED_TRACE(testing::Message() << c.text << c.para);
        TNameF dialog;
        dialog.SetAttributeMode(c.text, c.para);
        dialog.show();
        EXPECT_TRUE(Child<QGroupBox>(dialog, u"AttrGB")->isVisible());
        EXPECT_TRUE(dialog.AttributeMode());
        EXPECT_EQ(dialog.TextAttributes(), c.wantText);
        EXPECT_EQ(dialog.ParagraphAttributes(), c.wantPara);
        EXPECT_EQ(dialog.StyleImageIndex(), c.image);
        EXPECT_EQ(Child<QLabel>(dialog, u"StyleImg")->property("kvImageIndex").toInt(), c.image);
    }

    // Unchecking one box checks the other.
    TNameF dialog;
    dialog.SetAttributeMode(true, true);
    dialog.show();
    auto* text = Child<QCheckBox>(dialog, u"TextAttrCB");
    auto* para = Child<QCheckBox>(dialog, u"ParaAttrCB");
    EXPECT_EQ(text->text(), KvTexts::Text(4020));
    EXPECT_EQ(para->text(), KvTexts::Text(4030));
    para->click();
    EXPECT_TRUE(text->isChecked());
    EXPECT_FALSE(para->isChecked());
    EXPECT_EQ(dialog.StyleImageIndex(), 0);
    text->click();
    EXPECT_FALSE(text->isChecked());
    EXPECT_TRUE(para->isChecked());
    EXPECT_EQ(dialog.StyleImageIndex(), 1);
}

TEST_F(NameDialog, RunsThroughThePrompterAndRemembersItsPlaceOnOk)
{
    QPoint placed;
    prompter.AnswerDialogWith(
        [&] {
            TNameF* d = TNameF::Active();
            d->show();
            d->move(140, 120);
            placed = d->frameGeometry().topLeft();
            d->SetName(u"Neue Seite"_qs);
            d->accept();
            return d->result();
        },
        TNameF::DialogName);
    {
        TNameF dialog;
        ASSERT_TRUE(dialog.Execute());
        EXPECT_EQ(dialog.Name(), u"Neue Seite"_qs);
    }
    KvFormRes res;
    EXPECT_EQ(res.Settings().ReadInteger(TNameF::PlaceSection, u"Left"_qs, -1), placed.x());
    EXPECT_EQ(res.Settings().ReadInteger(TNameF::PlaceSection, u"Top"_qs, -1), placed.y());
    EXPECT_FALSE(res.Settings().ValueExists(TNameF::PlaceSection, u"Width"_qs));

    // The next dialog opens there; a cancelled one remembers nothing.
    prompter.AnswerDialogWith(
        [&] {
            TNameF* d = TNameF::Active();
            d->show();
            EXPECT_EQ(d->pos(), QPoint(140, 120));
            d->move(300, 300);
            d->reject();
            return d->result();
        },
        TNameF::DialogName);
    {
        TNameF dialog;
        EXPECT_FALSE(dialog.Execute());
    }
    KvFormRes after;
    EXPECT_EQ(after.Settings().ReadInteger(TNameF::PlaceSection, u"Left"_qs, -1), placed.x());
    EXPECT_FALSE(prompter.Unexpected());
}

} // namespace
