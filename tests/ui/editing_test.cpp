// The editing commands in the window, answered through the scripted prompter: find and
// replace, the paragraph dialog, the font and size boxes and the font dialog, format copy,
// zoom texts, special paste, pictures and foreign objects, the character map, the style bits
// and the tool bar following the selection.
#include "editingwindow.h"
#include "richtext/kvcharblocks.h"
#include "richtext/rtfproperties.h"
#include "ui/tcharmapf.h"
#include "ui/texcolorpicker.h"
#include "ui/tparaf.h"
#include "ui/tpastekindf.h"

#include <QAbstractButton>
#include <QBuffer>
#include <QClipboard>
#include <QColorDialog>
#include <QFileDialog>
#include <QFontComboBox>
#include <QFontDialog>
#include <QGuiApplication>
#include <QImage>
#include <QListWidget>
#include <QMimeData>
#include <QSignalSpy>
#include <QToolButton>
#include <functional>

namespace {

using korvtest::EditingWindow;
using korvtest::WaitUntil;

// ---- find and replace ----

enum class Button
{
    Find,
    Replace,
    ReplaceAll
};

struct FindCase
{
    const char* name;
    const char16_t* text;
    int selStart, selLength;
    Button button;
    const char16_t* term;
    const char16_t* replacement;
    bool wholeWord, matchCase, down;
    QList<int> answers;        // to the questions asked, in order
    int wantStart, wantLength; // the selection afterwards
    const char16_t* wantText;
    QList<QPair<int, QStringList>> messages; // text numbers and their values
};

class FindAndReplace : public EditingWindow, public ::testing::WithParamInterface<FindCase>
{
};

TEST_P(FindAndReplace, ThroughTheDialog)
{
    const FindCase& c = GetParam();
    SetText(QString::fromUtf16(c.text));
    Select(c.selStart, c.selLength);
    Run(c.button == Button::Find ? u"SearchA"_qs : u"ReplaceA"_qs);
    TFindReplaceF* dlg = Editing().FindDialog();
    ASSERT_NE(dlg, nullptr);
    ASSERT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->objectName(), c.button == Button::Find ? u"FindDlg"_qs : u"ReplaceDlg"_qs);
    dlg->findChild<QLineEdit*>(u"FindTextE"_qs)->setText(QString::fromUtf16(c.term));
    dlg->findChild<QLineEdit*>(u"ReplaceTextE"_qs)->setText(QString::fromUtf16(c.replacement));
    dlg->findChild<QCheckBox*>(u"WholeWordCB"_qs)->setChecked(c.wholeWord);
    dlg->findChild<QCheckBox*>(u"MatchCaseCB"_qs)->setChecked(c.matchCase);
    dlg->findChild<QRadioButton*>(c.down ? u"DownRB"_qs : u"UpRB"_qs)->setChecked(true);
    for (int a : c.answers)
        prompter.Answer(a);
    const char16_t* button = c.button == Button::Find      ? u"FindNextBtn"
                             : c.button == Button::Replace ? u"ReplaceBtn"
                                                           : u"ReplaceAllBtn";
    dlg->findChild<QPushButton*>(QString::fromUtf16(button))->click();
    EXPECT_EQ(Text(), QString::fromUtf16(c.wantText)) << c.name;
    EXPECT_EQ(Editor()->SelStart(), c.wantStart) << c.name;
    EXPECT_EQ(Editor()->SelLength(), c.wantLength) << c.name;
    QStringList want;
    for (const auto& [number, values] : c.messages)
        want << KvTexts::Message(number, values);
    EXPECT_EQ(MessageTexts(), want) << c.name;
    EXPECT_FALSE(prompter.Unexpected()) << c.name;
    EXPECT_EQ(prompter.Pending(), 0) << c.name;
    if (c.button == Button::ReplaceAll && Text() != QString::fromUtf16(c.text)) {
        Editor()->undo();
        EXPECT_EQ(Text(), QString::fromUtf16(c.text)) << c.name << ": one undo step";
    }
    // Closing remembers the fields for the next time.
    dlg->close();
    Run(u"ReplaceA"_qs);
    EXPECT_EQ(dlg->Fields().replacement, QString::fromUtf16(c.replacement)) << c.name;
    dlg->close();
}

constexpr int Yes = KvAnswer::Yes, No = KvAnswer::No;

const FindCase kFinds[] = {
    {"find down",
     u"abc abc abc",
     0,
     3,
     Button::Find,
     u"abc",
     u"",
     false,
     false,
     true,
     {},
     4,
     3,
     u"abc abc abc",
     {}},
    {"find up from the selection",
     u"abc abc abc",
     8,
     3,
     Button::Find,
     u"abc",
     u"",
     false,
     false,
     false,
     {},
     4,
     3,
     u"abc abc abc",
     {}},
    {"find up takes the hit right before",
     u"abc abc abc",
     4,
     3,
     Button::Find,
     u"abc",
     u"",
     false,
     false,
     false,
     {},
     0,
     3,
     u"abc abc abc",
     {}},
    {"whole word",
     u"abcd abc",
     0,
     0,
     Button::Find,
     u"abc",
     u"",
     true,
     false,
     true,
     {},
     5,
     3,
     u"abcd abc",
     {}},
    {"match case",
     u"ABC abc",
     0,
     0,
     Button::Find,
     u"abc",
     u"",
     false,
     true,
     true,
     {},
     4,
     3,
     u"ABC abc",
     {}},
    {"wrap: yes",
     u"abc x",
     1,
     0,
     Button::Find,
     u"abc",
     u"",
     false,
     false,
     true,
     {Yes},
     0,
     3,
     u"abc x",
     {{5033, {u"abc"_qs}}}},
    {"wrap: no",
     u"abc x",
     1,
     0,
     Button::Find,
     u"abc",
     u"",
     false,
     false,
     true,
     {No},
     1,
     0,
     u"abc x",
     {{5033, {u"abc"_qs}}}},
    {"wrap up: yes",
     u"x abc",
     0,
     0,
     Button::Find,
     u"abc",
     u"",
     false,
     false,
     false,
     {Yes},
     2,
     3,
     u"x abc",
     {{5034, {u"abc"_qs}}}},
    {"wrapped and still nothing",
     u"abc",
     0,
     0,
     Button::Find,
     u"zzz",
     u"",
     false,
     false,
     true,
     {Yes, KvAnswer::Ok},
     0,
     0,
     u"abc",
     {{5033, {u"zzz"_qs}}, {5024, {u"zzz"_qs}}}},
    {"replace the selected term, letter case aside",
     u"ABC def",
     0,
     3,
     Button::Replace,
     u"abc",
     u"x",
     false,
     true,
     true,
     {},
     1,
     0,
     u"x def",
     {}},
    {"replace the next hit",
     u"abc abc",
     0,
     0,
     Button::Replace,
     u"abc",
     u"x",
     false,
     false,
     true,
     {},
     0,
     1,
     u"x abc",
     {}},
    {"replace all a by aa, down",
     u"a ba a",
     0,
     0,
     Button::ReplaceAll,
     u"a",
     u"aa",
     false,
     false,
     true,
     {KvAnswer::Ok},
     7,
     2,
     u"aa baa aa",
     {{5040, {u"a"_qs, u"3"_qs}}}},
    {"replace all a by aa, up",
     u"a ba a",
     6,
     0,
     Button::ReplaceAll,
     u"a",
     u"aa",
     false,
     false,
     false,
     {KvAnswer::Ok},
     0,
     2,
     u"aa baa aa",
     {{5040, {u"a"_qs, u"3"_qs}}}},
    {"replace all from the second of three, down",
     u"abc abc abc",
     4,
     3,
     Button::ReplaceAll,
     u"abc",
     u"x",
     false,
     false,
     true,
     {KvAnswer::Ok},
     6,
     1,
     u"abc x x",
     {{5040, {u"abc"_qs, u"2"_qs}}}},
    {"replace all from the second of three, up",
     u"abc abc abc",
     4,
     3,
     Button::ReplaceAll,
     u"abc",
     u"x",
     false,
     false,
     false,
     {KvAnswer::Ok},
     0,
     1,
     u"x x abc",
     {{5040, {u"abc"_qs, u"2"_qs}}}},
    {"replace all with the selection at 0",
     u"abc abc",
     0,
     3,
     Button::ReplaceAll,
     u"abc",
     u"x",
     false,
     false,
     true,
     {KvAnswer::Ok},
     2,
     1,
     u"x x",
     {{5040, {u"abc"_qs, u"2"_qs}}}},
    {"replace all without a hit",
     u"abc",
     0,
     0,
     Button::ReplaceAll,
     u"zz",
     u"x",
     false,
     false,
     true,
     {KvAnswer::Ok},
     0,
     0,
     u"abc",
     {{5024, {u"zz"_qs}}}},
};

INSTANTIATE_TEST_SUITE_P(Cases, FindAndReplace, ::testing::ValuesIn(kFinds));

TEST_F(EditingWindow, ReplaceAllKeepsTheReplacedFormat)
{
    SetText(u"eins zwei eins"_qs);
    Select(0, 4);
    Run(u"BoldTextA"_qs);
    Select(0, 0);
    Run(u"ReplaceA"_qs);
    TFindReplaceF* dlg = Editing().FindDialog();
    dlg->findChild<QLineEdit*>(u"FindTextE"_qs)->setText(u"eins"_qs);
    dlg->findChild<QLineEdit*>(u"ReplaceTextE"_qs)->setText(u"drei"_qs);
    prompter.Answer(KvAnswer::Ok);
    dlg->findChild<QPushButton*>(u"ReplaceAllBtn"_qs)->click();
    EXPECT_EQ(Text(), u"drei zwei drei"_qs);
    EXPECT_TRUE(CharsAt(0).bold);
    EXPECT_FALSE(CharsAt(10).bold);
    dlg->close();
}

// ---- the paragraph dialog ----

struct ParaCase
{
    const char* name;
    std::function<void(TParaF&)> edit;
    std::function<void(const KvParaAttributes&)> check;
};

class ParagraphDialog : public EditingWindow, public ::testing::WithParamInterface<ParaCase>
{
protected:
    // Opens the dialog; edit changes it, then OK.
    void RunDialog(const std::function<void(TParaF&)>& edit)
    {
        prompter.AnswerDialogWith(
            [edit] {
                TParaF* d = TParaF::Active();
                edit(*d);
                d->accept();
                return d->result();
            },
            TParaF::DialogName);
        Run(u"ParagraphA"_qs);
    }
    KvParaDialogValues Reopened()
    {
        KvParaDialogValues shown;
        prompter.AnswerDialogWith(
            [&shown] {
                shown = TParaF::Active()->Values();
                return int(QDialog::Rejected);
            },
            TParaF::DialogName);
        Run(u"ParagraphA"_qs);
        return shown;
    }
    static QComboBox* Box(TParaF& d, const char16_t* name)
    {
        return d.findChild<QComboBox*>(QString::fromUtf16(name));
    }
    static QLineEdit* Field(TParaF& d, const char16_t* name)
    {
        return d.findChild<QLineEdit*>(QString::fromUtf16(name));
    }
};

TEST_P(ParagraphDialog, RoundTrip)
{
    const ParaCase& c = GetParam();
    SetText(u"eins\nzwei"_qs);
    Select(1, 0);
    RunDialog(c.edit);
    const KvParaAttributes applied = Editor()->SelectionParagraph();
    c.check(applied);
    // Opened again, the dialog shows what it applied, and OK without a change changes
    // nothing.
    const KvParaDialogValues shown = Reopened();
    EXPECT_EQ(shown, KvParaDialogValues::From(applied)) << c.name;
    const QByteArray before = Doc().SaveRtf();
    RunDialog([](TParaF&) {});
    EXPECT_EQ(Doc().SaveRtf(), before) << c.name;
    Select(6, 0);
    EXPECT_EQ(Editor()->SelectionParagraph(), KvParaAttributes()) << c.name << ": zwei untouched";
    EXPECT_FALSE(prompter.Unexpected());
}

using PA = KvParaAttributes;

ParaCase LineCase(int entry, int rule, int value)
{
    return {"line spacing",
            [entry](TParaF& d) {
                d.findChild<QComboBox*>(u"LineSpacingCB"_qs)->setCurrentIndex(entry);
            },
            [rule, value](const PA& p) {
                EXPECT_EQ(p.lineSpacingRule, rule);
                EXPECT_EQ(p.lineSpacing, value);
            }};
}

const ParaCase kParas[] = {
    LineCase(0, PA::Single, 0),
    LineCase(1, PA::Lines, 30),
    LineCase(2, PA::Lines, 40),
    LineCase(3, PA::Lines, 60),
    LineCase(4, PA::Lines, 80),
    LineCase(5, PA::Lines, 100),
    {"right alignment",
     [](TParaF& d) { d.findChild<QComboBox*>(u"AlignmentCB"_qs)->setCurrentIndex(1); },
     [](const PA& p) { EXPECT_EQ(p.alignment, PA::Right); }},
    {"centred", [](TParaF& d) { d.findChild<QComboBox*>(u"AlignmentCB"_qs)->setCurrentIndex(2); },
     [](const PA& p) { EXPECT_EQ(p.alignment, PA::Centre); }},
    {"indents in either notation",
     [](TParaF& d) {
         d.findChild<QLineEdit*>(u"FirstIndentE"_qs)->setText(u"1,5"_qs);
         d.findChild<QLineEdit*>(u"NextIndentE"_qs)->setText(u"2.5"_qs);
         d.findChild<QLineEdit*>(u"RightIndentE"_qs)->setText(u"1"_qs);
     },
     [](const PA& p) {
         EXPECT_EQ(p.startIndent, 850);
         EXPECT_EQ(p.startIndent + p.offset, 1417);
         EXPECT_EQ(p.rightIndent, 567);
     }},
    {"spaces",
     [](TParaF& d) {
         d.findChild<QLineEdit*>(u"SpaceBeforeE"_qs)->setText(u"0,5"_qs);
         d.findChild<QLineEdit*>(u"SpaceAfterE"_qs)->setText(u""_qs);
     },
     [](const PA& p) {
         EXPECT_EQ(p.spaceBefore, 283);
         EXPECT_EQ(p.spaceAfter, 0);
     }},
    {"numbers in parentheses",
     [](TParaF& d) {
         d.findChild<QComboBox*>(u"NumberingCB"_qs)->setCurrentIndex(3);
         d.findChild<QComboBox*>(u"NumberingStyleCB"_qs)->setCurrentIndex(2);
     },
     [](const PA& p) {
         EXPECT_EQ(p.numbering, PA::LowerLetter);
         EXPECT_EQ(p.numberingStyle, PA::Parentheses);
     }},
    {"bullets", [](TParaF& d) { d.findChild<QComboBox*>(u"NumberingCB"_qs)->setCurrentIndex(1); },
     [](const PA& p) { EXPECT_EQ(p.numbering, PA::Bullet); }},
};

INSTANTIATE_TEST_SUITE_P(Entries, ParagraphDialog, ::testing::ValuesIn(kParas));

TEST_F(ParagraphDialog, ExactAndAtLeastSelectNoEntryAndStay)
{
    for (const PA::LineRule rule : {PA::Exactly, PA::AtLeast}) {
        SetText(u"eins\nzwei"_qs);
        Select(0, 7);
        KvParaAttributes p;
        p.lineSpacingRule = rule;
        p.lineSpacing = 283;
        p.startIndent = 333; // not a whole hundredth of a centimetre
        Editor()->SetSelectionParagraph(p);
        Select(0, 0);
        EXPECT_EQ(Reopened().lineSpacing, -1);
        const QByteArray before = Doc().SaveRtf();
        Select(0, 7);
        RunDialog([](TParaF& d) { d.findChild<QLineEdit*>(u"RightIndentE"_qs)->setText(u"1"_qs); });
        Select(6, 0);
        const KvParaAttributes after = Editor()->SelectionParagraph();
        EXPECT_EQ(after.lineSpacingRule, rule);
        EXPECT_EQ(after.lineSpacing, 283);
        EXPECT_EQ(after.startIndent, 333) << "an untouched field keeps its exact twips";
        EXPECT_EQ(after.rightIndent, 567);
        EXPECT_NE(Doc().SaveRtf(), before);
    }
}

TEST_F(ParagraphDialog, ARefusedValueKeepsTheDialogOpen)
{
    SetText(u"eins"_qs);
    int results[2] = {-1, -1};
    prompter.Answer(KvAnswer::Ok);
    prompter.AnswerDialogWith(
        [&results] {
            TParaF* d = TParaF::Active();
            d->findChild<QLineEdit*>(u"RightIndentE"_qs)->setText(u"11"_qs);
            d->accept();
            results[0] = d->result();
            d->findChild<QLineEdit*>(u"RightIndentE"_qs)->setText(u"2"_qs);
            d->accept();
            results[1] = d->result();
            return d->result();
        },
        TParaF::DialogName);
    Run(u"ParagraphA"_qs);
    EXPECT_EQ(results[0], int(QDialog::Rejected)) << "still open";
    EXPECT_EQ(results[1], int(QDialog::Accepted));
    ASSERT_EQ(prompter.Messages().size(), 1);
    EXPECT_EQ(prompter.Messages()[0].title, KvTexts::Text(5600));
    EXPECT_EQ(prompter.Messages()[0].text,
              u"Bitte geben Sie einen Wert im Bereich von 0 bis 10 an."_qs);
    EXPECT_EQ(Editor()->SelectionParagraph().rightIndent, 1134);
}

// ---- indents, alignment, bullets and the style bits ----

TEST_F(EditingWindow, IndentStepsOfTenPoints)
{
    SetText(u"eins"_qs);
    KvParaAttributes p;
    p.startIndent = 100; // 5 points
    p.offset = 60;
    Editor()->SetSelectionParagraph(p);
    Run(u"ParaIndentLessA"_qs);
    EXPECT_EQ(Editor()->SelectionParagraph().startIndent, 0);
    Run(u"ParaIndentMoreA"_qs);
    Run(u"ParaIndentMoreA"_qs);
    EXPECT_EQ(Editor()->SelectionParagraph().startIndent, 400);
    EXPECT_EQ(Editor()->SelectionParagraph().offset, 60) << "the paragraph moves as a whole";
    Run(u"ParaIndentLessA"_qs);
    EXPECT_EQ(Editor()->SelectionParagraph().startIndent, 200);
}

TEST_F(EditingWindow, TheToolBarFollowsTheSelection)
{
    SetText(u"eins zwei"_qs);
    Select(0, 4);
    const struct
    {
        const char16_t* action;
        std::function<bool(const KvCharAttributes&)> bit;
    } kBits[] = {
        {u"BoldTextA", [](const KvCharAttributes& a) { return a.bold; }},
        {u"ItalicTextA", [](const KvCharAttributes& a) { return a.italic; }},
        {u"UnderlineTextA", [](const KvCharAttributes& a) { return a.underline; }},
        {u"StrikeThroughTextA", [](const KvCharAttributes& a) { return a.strikeOut; }},
    };
    for (const auto& b : kBits) {
        const QString action = QString::fromUtf16(b.action);
        Select(0, 4);
        Run(action);
        EXPECT_TRUE(b.bit(CharsAt(0))) << action.toStdString();
        EXPECT_FALSE(b.bit(CharsAt(5))) << action.toStdString();
        Idle();
        EXPECT_TRUE(A(action)->isChecked()) << action.toStdString();
        Select(5, 2);
        EXPECT_FALSE(A(action)->isChecked()) << action.toStdString();
        // Partly set counts as not set, and the command sets all of it.
        Select(0, 9);
        EXPECT_FALSE(A(action)->isChecked()) << action.toStdString();
        Run(action);
        EXPECT_TRUE(b.bit(CharsAt(0)) && b.bit(CharsAt(5))) << action.toStdString();
        Idle();
        EXPECT_TRUE(A(action)->isChecked()) << action.toStdString();
        Run(action); // all off again
        EXPECT_FALSE(b.bit(CharsAt(0)) || b.bit(CharsAt(5))) << action.toStdString();
    }
    const struct
    {
        const char16_t* action;
        int alignment;
    } kAligns[] = {{u"ParaAlignCenterA", PA::Centre},
                   {u"ParaAlignRightA", PA::Right},
                   {u"ParaAlignLeftA", PA::Left}};
    for (const auto& a : kAligns) {
        Run(QString::fromUtf16(a.action));
        EXPECT_EQ(Editor()->SelectionParagraph().alignment, a.alignment);
        Idle();
        for (const auto& other : kAligns)
            EXPECT_EQ(A(QString::fromUtf16(other.action))->isChecked(), other.action == a.action);
    }
    A(u"ParaBulletA"_qs)->setChecked(true);
    A(u"ParaBulletA"_qs)->trigger(); // a checkable action: unchecked by its trigger
    A(u"ParaBulletA"_qs)->trigger();
    Idle();
    EXPECT_EQ(Editor()->SelectionParagraph().numbering, PA::Bullet);
    EXPECT_TRUE(A(u"ParaBulletA"_qs)->isChecked());
}

// ---- colours ----

TEST_F(EditingWindow, ColoursAndTheBackgroundReset)
{
    SetText(u"eins zwei"_qs);
    Select(0, 4);
    window->Controls().colorCB->SetCurrentColor(Qt::red);
    Run(u"ChangeFontColorA"_qs);
    EXPECT_EQ(CharsAt(0).color, KvColor::clRed);
    window->Controls().bgColorCB->SetCurrentColor(Qt::yellow);
    Run(u"ChangeBGColorA"_qs);
    EXPECT_EQ(CharsAt(0).background, KvColor::clYellow);
    Run(u"BGColorResetA"_qs);
    EXPECT_EQ(CharsAt(0).background, KvColor::clWindow);
    EXPECT_FALSE(Doc().SaveRtf().contains("\\highlight")) << "no window-coloured boxes";
    // The custom colour goes through the prompter.
    prompter.AnswerDialogWith(
        [] {
            TexColorPicker::ActiveColorDialog()->setCurrentColor(QColor(0, 0, 255));
            return int(QDialog::Accepted);
        },
        TexColorPicker::ColorDialogName);
    window->Controls().colorCB->CustomColorEntry()->trigger();
    Idle();
    EXPECT_EQ(CharsAt(0).color, KvColor::clBlue);
    EXPECT_FALSE(prompter.Unexpected());
}

// ---- font and size ----

TEST_F(EditingWindow, FontAndSizeBoxesShowThePagesValues)
{
    // Page "Plan" is written in Arial, whether or not it is installed.
    Select(0, 2);
    QComboBox* font = window->Controls().fontCoB;
    QComboBox* size = window->Controls().sizeCoB;
    EXPECT_EQ(font->currentText(), u"Arial"_qs);
    EXPECT_EQ(size->currentText(), u"10"_qs);

    // Refused sizes leave the size and show the selection's again.
    for (const QString& text : {u"0"_qs, u"-3"_qs, u"12,5"_qs, u"abc"_qs, u"2000"_qs}) {
        size->lineEdit()->selectAll();
        QTest::keyClicks(size->lineEdit(), text);
        QTest::keyClick(size->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(CharsAt(0).size, 10) << text.toStdString();
        EXPECT_EQ(size->currentText(), u"10"_qs) << text.toStdString();
    }
    size->lineEdit()->selectAll();
    QTest::keyClicks(size->lineEdit(), u"14"_qs);
    QTest::keyClick(size->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(CharsAt(0).size, 14);
    EXPECT_EQ(CharsAt(3).size, 10);

    // Mixed sizes show no size; tabbing through the boxes over them changes nothing.
    Select(0, 9);
    EXPECT_EQ(size->currentText(), QString());
    EXPECT_EQ(font->currentText(), u"Arial"_qs);
    const QByteArray mixed = Doc().SaveRtf();
    font->setFocus();
    size->setFocus();
    Editor()->setFocus();
    Idle();
    EXPECT_EQ(Doc().SaveRtf(), mixed);

    // A font name typed in the box applies when Enter is pressed, as typed.
    font->lineEdit()->selectAll();
    QTest::keyClicks(font->lineEdit(), u"Courier New"_qs);
    QTest::keyClick(font->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(CharsAt(0).name, u"Courier New"_qs);
    EXPECT_EQ(CharsAt(0).size, 14) << "only the name";
    Idle();
    EXPECT_EQ(font->currentText(), u"Courier New"_qs);
}

TEST_F(EditingWindow, FontDialogSetsFamilySizeAndStyles)
{
    Select(0, 4);
    prompter.AnswerDialogWith(
        [] {
            QFontDialog* d = KvMainEditing::ActiveFontDialog();
            QFont f(u"DejaVu Serif"_qs, 16);
            f.setBold(true);
            f.setUnderline(true);
            d->setCurrentFont(f);
            return int(QDialog::Accepted);
        },
        KvMainEditing::FontDialogName);
    Run(u"FontA"_qs);
    const KvCharAttributes a = CharsAt(0);
    EXPECT_EQ(a.name, u"DejaVu Serif"_qs);
    EXPECT_EQ(a.size, 16);
    EXPECT_TRUE(a.bold);
    EXPECT_TRUE(a.underline);
    EXPECT_FALSE(a.italic);

    // Unchanged in the dialog, the page's name stays, also where it is not installed.
    Select(5, 4);
    EXPECT_EQ(CharsAt(5).name, u"Arial"_qs);
    prompter.AnswerDialogWith([] { return int(QDialog::Accepted); }, KvMainEditing::FontDialogName);
    Run(u"FontA"_qs);
    EXPECT_EQ(CharsAt(5).name, u"Arial"_qs);
    EXPECT_FALSE(prompter.Unexpected());
}

// ---- format copy ----

class FormatCopy : public EditingWindow
{
protected:
    void SetUp() override
    {
        EditingWindow::SetUp();
        SetText(u"eins zwei drei vier"_qs);
        Select(0, 4);
        KvCharAttributes a;
        a.bold = true;
        a.color = KvColor::clRed;
        a.size = 16;
        Editor()->ApplyAttributes(a, C::Bold | C::Color | C::Size, {}, 0);
    }
    // The user selects and lets the mouse go.
    void PaintOn(int start, int length)
    {
        Editor()->SetSelection(start, length);
        QTest::mouseRelease(Editor()->viewport(), Qt::LeftButton);
        Idle();
    }
    bool Copied(int position) const
    {
        const KvCharAttributes a = CharsAt(position);
        return a.bold && a.color == KvColor::clRed && a.size == 16;
    }
    using C = KvCharAttributes;
};

TEST_F(FormatCopy, OnceThenItEnds)
{
    Select(1, 2);
    Run(u"FormatCopyA"_qs);
    EXPECT_TRUE(A(u"FormatCopyA"_qs)->isChecked());
    EXPECT_TRUE(Editor()->FormatPainter());
    PaintOn(5, 4);
    EXPECT_TRUE(Copied(5));
    EXPECT_FALSE(Editor()->FormatPainter());
    EXPECT_FALSE(A(u"FormatCopyA"_qs)->isChecked());
    PaintOn(10, 4);
    EXPECT_FALSE(Copied(10)) << "ended after one";
    // Clicking the button while armed ends it too.
    Select(1, 2);
    Run(u"FormatCopyA"_qs);
    Run(u"FormatCopyA"_qs);
    EXPECT_FALSE(Editor()->FormatPainter());
}

TEST_F(FormatCopy, StickyUntilEsc)
{
    Select(1, 2);
    auto* button = window->findChild<QToolButton*>(u"FormatCopyTB"_qs);
    ASSERT_NE(button, nullptr);
    QTest::mouseDClick(button, Qt::LeftButton);
    Idle();
    EXPECT_TRUE(A(u"FormatCopyA"_qs)->isChecked());
    PaintOn(5, 4);
    PaintOn(10, 4);
    EXPECT_TRUE(Copied(5));
    EXPECT_TRUE(Copied(10));
    EXPECT_TRUE(Editor()->FormatPainter()) << "sticky";
    QTest::keyClick(Editor(), Qt::Key_Escape);
    Idle();
    EXPECT_FALSE(Editor()->FormatPainter());
    EXPECT_FALSE(A(u"FormatCopyA"_qs)->isChecked());
    PaintOn(15, 4);
    EXPECT_FALSE(Copied(15));
}

TEST_F(FormatCopy, AWriteProtectedPageEndsIt)
{
    Select(1, 2);
    Run(u"FormatCopyA"_qs);
    Find<KvPage>(u"Page0000002"_qs)->SetWriteProtect(true);
    Show(u"Page0000002"_qs);
    Idle();
    EXPECT_FALSE(A(u"FormatCopyA"_qs)->isChecked());
    EXPECT_FALSE(A(u"FormatCopyA"_qs)->isEnabled());
    EXPECT_FALSE(Editor()->FormatPainter());
}

TEST_F(FormatCopy, ALinkClickAppliesAndDoesNotFollow)
{
    SetText(u"siehe <https://example.org/x> dort"_qs);
    Select(0, 5);
    Run(u"FormatCopyA"_qs);
    QSignalSpy follow(Editor(), &TexRichEdit::linkClicked);
    QTextCursor at(Editor()->document());
    at.setPosition(12);
    const QPoint onLink = Editor()->cursorRect(at).center();
    QTest::mouseClick(Editor()->viewport(), Qt::LeftButton, {}, onLink);
    Idle();
    EXPECT_EQ(follow.count(), 0);
    EXPECT_FALSE(Editor()->FormatPainter()) << "applied";
}

// ---- zoom ----

TEST_F(EditingWindow, ZoomTextsAndTheUnchangedPage)
{
    const QByteArray before = Doc().SaveRtf();
    QComboBox* box = window->Controls().zoomCoB;
    const struct
    {
        const char16_t* text;
        int zoom; // 0: refused
    } kTexts[] = {{u"5", 5}, {u"5%", 5}, {u"1000%", 1000}, {u"4", 0}, {u"1001", 0}, {u"120", 120}};
    for (const auto& t : kTexts) {
        const int was = Editor()->Zoom();
        if (!t.zoom)
            prompter.Answer(KvAnswer::Ok);
        box->lineEdit()->setText(QString::fromUtf16(t.text));
        QTest::keyClick(box->lineEdit(), Qt::Key_Return);
        EXPECT_EQ(Editor()->Zoom(), t.zoom ? t.zoom : was)
            << QString::fromUtf16(t.text).toStdString();
    }
    ASSERT_EQ(prompter.Messages().size(), 2);
    for (const auto& m : prompter.Messages()) {
        EXPECT_EQ(m.text, u"Bitte geben Sie einen Wert im Bereich von 5 bis 1000 an."_qs);
        EXPECT_EQ(m.kind, KvMsgKind::Error);
    }
    EXPECT_FALSE(Doc().IsModified()) << "zoom is the view's";
    EXPECT_EQ(Doc().SaveRtf(), before);
}

// ---- paste ----

TEST_F(EditingWindow, SpecialPasteOffersOnlyWhatTheClipboardHas)
{
    SetText(u"xx yy"_qs);
    auto* data = new QMimeData;
    data->setText(u"plain"_qs);
    data->setData(u"text/rtf"_qs, "{\\rtf1\\ansi{\\b fett}}");
    QGuiApplication::clipboard()->setMimeData(data);
    Idle();
    Select(3, 0);
    QList<KvPaste::Kind> offered;
    prompter.AnswerDialogWith(
        [&offered] {
            TPasteKindF* d = TPasteKindF::Active();
            offered = d->Kinds();
            d->Choose(KvPaste::Kind::Text);
            return int(QDialog::Accepted);
        },
        TPasteKindF::DialogName);
    Run(u"SpecialPasteA"_qs);
    EXPECT_EQ(offered, (QList<KvPaste::Kind>{KvPaste::Kind::Rtf, KvPaste::Kind::Text}));
    EXPECT_EQ(Text(), u"xx plainyy"_qs);
    EXPECT_FALSE(CharsAt(3).bold);
    // A plain paste takes RTF first.
    Select(0, 0);
    Run(u"PasteA"_qs);
    EXPECT_EQ(Text(), u"fettxx plainyy"_qs);
    EXPECT_TRUE(CharsAt(0).bold);
    EXPECT_FALSE(prompter.Unexpected());
}

// Each clipboard: what the commands' enabling, the special paste's offer, a plain paste and
// a special paste of every offered kind make of it.
TEST_F(EditingWindow, PasteKindsFromEachClipboard)
{
    using Kind = KvPaste::Kind;
    QImage red(8, 6, QImage::Format_RGB32);
    red.fill(Qt::red);
    constexpr QChar kPicture = QChar::ObjectReplacementCharacter;
    const struct
    {
        const char* name;
        std::function<void(QMimeData&)> fill;
        QList<Kind> offered;
        // What lands between "xx " and "yy" per kind, the first being a plain paste's.
        QList<QString> inserted;
        bool boldFirst; // the plain paste's first character is bold
    } kClipboards[] = {
        {"nothing", [](QMimeData&) {}, {}, {}, false},
        {"text", [](QMimeData& d) { d.setText(u"plain"_qs); }, {Kind::Text}, {u"plain"_qs}, false},
        {"HTML and text",
         [](QMimeData& d) {
             d.setHtml(u"<b>html</b>"_qs);
             d.setText(u"plain"_qs);
         },
         {Kind::Html, Kind::Text},
         {u"html"_qs, u"plain"_qs},
         true},
        {"a picture",
         [&red](QMimeData& d) { d.setImageData(red); },
         {Kind::Picture},
         {QString(kPicture)},
         false},
        {"everything",
         [&red](QMimeData& d) {
             d.setData(u"text/rtf"_qs, "{\\rtf1\\ansi{\\b rtf}}");
             d.setImageData(red);
             d.setHtml(u"<i>html</i>"_qs);
             d.setText(u"plain"_qs);
         },
         {Kind::Rtf, Kind::Picture, Kind::Html, Kind::Text},
         {u"rtf"_qs, QString(kPicture), u"html"_qs, u"plain"_qs},
         true},
    };
    for (const auto& c : kClipboards) {
        SCOPED_TRACE(c.name);
        auto* data = new QMimeData;
        c.fill(*data);
        QGuiApplication::clipboard()->setMimeData(data);
        SetText(u"xx yy"_qs);
        Select(3, 0);
        EXPECT_EQ(A(u"PasteA"_qs)->isEnabled(), !c.offered.isEmpty());
        EXPECT_EQ(A(u"SpecialPasteA"_qs)->isEnabled(), !c.offered.isEmpty());
        if (c.offered.isEmpty())
            continue;
        Run(u"PasteA"_qs);
        EXPECT_EQ(Text(), u"xx "_qs + c.inserted.first() + u"yy"_qs);
        EXPECT_EQ(CharsAt(3).bold, c.boldFirst);
        Editor()->undo();
        EXPECT_EQ(Text(), u"xx yy"_qs) << "one undo step";
        for (int i = 0; i < c.offered.size(); ++i) {
            Select(3, 0);
            QList<Kind> offered;
            const Kind chosen = c.offered[i];
            prompter.AnswerDialogWith(
                [&offered, chosen] {
                    TPasteKindF* d = TPasteKindF::Active();
                    offered = d->Kinds();
                    d->Choose(chosen);
                    return int(QDialog::Accepted);
                },
                TPasteKindF::DialogName);
            Run(u"SpecialPasteA"_qs);
            EXPECT_EQ(offered, c.offered);
            EXPECT_EQ(Text(), u"xx "_qs + c.inserted[i] + u"yy"_qs) << i;
            Editor()->undo();
        }
    }
    EXPECT_FALSE(prompter.Unexpected());
}

// ---- pictures and objects ----

TEST_F(EditingWindow, PicturesAndOtherFilesInserted)
{
    SetText(u"ab"_qs);
    Select(1, 0);
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::darkGreen);
    const QString jpeg = env.Dir(u"files"_qs) + u"photo.jpg"_qs;
    ASSERT_TRUE(image.save(jpeg, "JPG"));
    const QString text = env.Dir(u"files"_qs) + u"notes.txt"_qs;
    korvtest::WriteAll(text, "no picture");
    const struct
    {
        QString path;
        bool inserted;
    } kFiles[] = {{jpeg, true}, {text, false}};
    for (const auto& f : kFiles) {
        prompter.AnswerDialogWith(
            [path = f.path] {
                KvMainEditing::ActiveFileDialog()->selectFile(path);
                return int(QDialog::Accepted);
            },
            KvMainEditing::PictureDialogName);
        if (!f.inserted)
            prompter.Answer(KvAnswer::Ok);
        const QString before = Text();
        Run(u"InsertOLEA"_qs);
        EXPECT_EQ(Text().count(QChar::ObjectReplacementCharacter),
                  before.count(QChar::ObjectReplacementCharacter) + (f.inserted ? 1 : 0))
            << f.path.toStdString();
    }
    ASSERT_EQ(prompter.Messages().size(), 1);
    EXPECT_EQ(prompter.Messages()[0].text, KvTexts::Message(5965, {text}));
    EXPECT_TRUE(Doc().SaveRtf().contains("\\jpegblip"));
    EXPECT_TRUE(Doc().SaveRtf().contains(korvtest::ReadAll(jpeg).toHex().left(128)));
}

TEST_F(EditingWindow, AForeignObjectIsSavedByteForByte)
{
    QImage image(6, 4, QImage::Format_RGB32);
    image.fill(Qt::blue);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const QByteArray object = "{\\object\\objemb\\objw1200\\objh800{\\*\\objclass Paint.Picture}"
                              "{\\*\\objdata 0105000002000000}{\\result{\\pict\\pngblip "
                              "\\picwgoal90\\pichgoal60 " +
                              png.toHex() + "}}}";
    Doc().LoadRtf("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 vor " + object + " nach\\par}");
    Select(0, 3);
    Run(u"BoldTextA"_qs); // the page changes elsewhere
    Run(u"ForceSaveA"_qs);
    EXPECT_FALSE(Doc().IsModified());
    EXPECT_TRUE(Content(u"Page0000001"_qs).contains(object));
}

// ---- character map ----

TEST_F(EditingWindow, CharacterMapInsertsOnAWritablePage)
{
    SetText(u"ab"_qs);
    Select(1, 0);
    Run(u"CharmapA"_qs);
    TCharMapF* map = Editing().CharMap();
    ASSERT_NE(map, nullptr);
    EXPECT_TRUE(map->isVisible());
    map->SelectBlock(0);
    const QStringList chars = map->Characters();
    const qsizetype at = chars.indexOf(u"Z"_qs);
    ASSERT_GE(at, 0);
    map->ChooseRow(int(at));
    EXPECT_EQ(Text(), u"aZb"_qs);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), u"Z"_qs);
    // A write-protected page gets nothing, but the command stays.
    Find<KvPage>(u"Page0000002"_qs)->SetWriteProtect(true);
    Show(u"Page0000002"_qs);
    Idle();
    EXPECT_TRUE(A(u"CharmapA"_qs)->isEnabled());
    const QString protectedText = Text();
    map->ChooseRow(int(at));
    EXPECT_EQ(Text(), protectedText);
    map->close();
}

// Enter in the table and a double click on a character insert it once each.
TEST_F(EditingWindow, CharacterMapByEnterAndDoubleClick)
{
    SetText(u"ab"_qs);
    Select(1, 0);
    Run(u"CharmapA"_qs);
    TCharMapF* map = Editing().CharMap();
    ASSERT_NE(map, nullptr);
    map->SelectBlock(0);
    auto* list = map->findChild<QListWidget*>();
    ASSERT_NE(list, nullptr);
    const int at = int(map->Characters().indexOf(u"Q"_qs));
    ASSERT_GE(at, 0);
    const struct
    {
        const char* how;
        std::function<void()> choose;
    } kWays[] = {
        {"Enter",
         [&] {
             list->setCurrentRow(at);
             list->setFocus();
             QTest::keyClick(list, Qt::Key_Return);
         }},
        {"double click",
         [&] {
             QListWidgetItem* item = list->item(at);
             list->scrollToItem(item);
             const QPoint p = list->visualItemRect(item).center();
             // As the window system sends it: a click, then the double click.
             QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, p);
             QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, p);
         }},
    };
    QString want = u"ab"_qs;
    for (const auto& w : kWays) {
        want.insert(int(want.size()) - 1, u'Q');
        w.choose();
        Idle();
        EXPECT_EQ(Text(), want) << w.how;
    }
    map->close();
}

} // namespace
