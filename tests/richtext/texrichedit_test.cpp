#include "richtext/charattributes.h"
#include "richtext/rtfproperties.h"
#include "richtext/texrichdocument.h"
#include "richtext/texrichedit.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QMimeData>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QUrl>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace {

class RichEditTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        edit.resize(320, 200);
        edit.show();
        doc.SetDefaultFont(QFont(u"DejaVu Sans"_qs, 10));
    }

    void LoadLines(int count)
    {
        QStringList lines;
        for (int i = 0; i < count; ++i)
            lines << u"Zeile %1 mit etwas Text"_qs.arg(i);
        doc.LoadPlainText(lines.join(u'\n'));
    }

    // Viewport point of the middle of the character at `pos`.
    QPoint PointOf(int pos)
    {
        QTextCursor c(edit.document());
        c.setPosition(pos);
        const QRect r = edit.cursorRect(c);
        const QFontMetrics fm(edit.document()->defaultFont());
        return QPoint(r.left() + fm.horizontalAdvance(u'x') / 2, r.center().y());
    }

    TexRichDocument doc;
    TexRichEdit edit;
};

TEST_F(RichEditTest, ReportsMajorVersionThree)
{
    EXPECT_EQ(TexRichEdit::MajorVersion(), 3);
    EXPECT_FALSE(edit.AutoUrlDetect());
}

TEST_F(RichEditTest, AttachShowsTheDocumentAndDetachHandsCaretBack)
{
    LoadLines(100);
    doc.SetSelection(12, 5);
    doc.SetReadOnly(true);
    doc.SetWordWrap(false);
    doc.SetBackgroundColor(QColor(250, 240, 200));
    edit.Attach(&doc);
    EXPECT_EQ(edit.document(), doc.Document());
    EXPECT_EQ(edit.SelStart(), 12);
    EXPECT_EQ(edit.SelLength(), 5);
    EXPECT_TRUE(edit.isReadOnly());
    EXPECT_EQ(edit.lineWrapMode(), QTextEdit::NoWrap);
    EXPECT_EQ(edit.palette().color(QPalette::Base), QColor(250, 240, 200));
    EXPECT_EQ(doc.DefaultFont().pointSize(), 10) << "the view does not change the font";

    edit.SetSelection(30, 2);
    edit.SetScrollPoint(QPoint(0, 150));
    const QPoint scrolled = edit.ScrollPoint();
    EXPECT_GT(scrolled.y(), 0);
    edit.Detach();
    EXPECT_NE(edit.document(), doc.Document());
    EXPECT_EQ(doc.SelStart(), 30);
    EXPECT_EQ(doc.SelLength(), 2);
    EXPECT_EQ(doc.ScrollPoint(), scrolled);
    EXPECT_FALSE(doc.IsModified());

    edit.Attach(&doc);
    EXPECT_EQ(edit.ScrollPoint(), scrolled) << "scroll point restored on attach";
    EXPECT_EQ(edit.SelStart(), 30);
}

TEST_F(RichEditTest, ScrollPointWaitsUntilTheViewIsLaidOut)
{
    LoadLines(200);
    doc.SetScrollPoint(QPoint(0, 300));
    TexRichEdit hidden;
    hidden.Attach(&doc);
    EXPECT_EQ(doc.ScrollPoint(), QPoint(0, 300)) << "a view without size keeps the point";
    hidden.resize(320, 200);
    hidden.show();
    QCoreApplication::processEvents();
    EXPECT_EQ(hidden.ScrollPoint(), QPoint(0, 300));
    EXPECT_EQ(doc.ScrollPoint(), QPoint(0, 300));
    hidden.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    EXPECT_GT(doc.ScrollPoint().y(), 300) << "user scrolling is reported";
}

TEST_F(RichEditTest, DocumentCanAskToShowTheCaretInstead)
{
    LoadLines(200);
    doc.SetSelection(doc.Document()->characterCount() - 1, 0);
    doc.ScrollCaretIntoView();
    edit.Attach(&doc);
    EXPECT_GT(edit.ScrollPoint().y(), 0);
    EXPECT_TRUE(edit.viewport()->rect().contains(edit.cursorRect().center()));

    edit.Detach();
    TexRichEdit hidden;
    doc.SetSelection(doc.Document()->characterCount() - 1, 0);
    doc.ScrollCaretIntoView();
    hidden.Attach(&doc);
    hidden.resize(320, 200);
    hidden.show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(hidden.viewport()->rect().contains(hidden.cursorRect().center()));
}

TEST_F(RichEditTest, AttachingKeepsModifiedFlagAndUndo)
{
    QTextCursor(doc.Document()).insertText(u"ungespeichert"_qs);
    edit.Attach(&doc);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(edit.CanUndo());
    edit.Detach();
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(doc.PlainText(), u"ungespeichert"_qs);
}

TEST_F(RichEditTest, FollowsLoadsAndDocumentRequests)
{
    edit.Attach(&doc);
    doc.LoadPlainText(u"neuer Text"_qs);
    EXPECT_EQ(edit.document(), doc.Document());
    EXPECT_EQ(edit.toPlainText(), u"neuer Text"_qs);
    doc.SetSelection(6, 4);
    EXPECT_EQ(edit.SelectedText(), u"Text"_qs);
    doc.SetReadOnly(true);
    EXPECT_TRUE(edit.isReadOnly());
}

TEST_F(RichEditTest, SurvivesTheDocumentObjectGoingAway)
{
    auto owned = std::make_unique<TexRichDocument>();
    owned->LoadPlainText(u"weg"_qs);
    edit.Attach(owned.get());
    owned.reset();
    EXPECT_EQ(edit.Attached(), nullptr);
    EXPECT_TRUE(edit.toPlainText().isEmpty());
    edit.InsertText(u"x"_qs);
}

TEST_F(RichEditTest, ZoomChangesTheViewButNotTheSavedText)
{
    LoadLines(5);
    edit.Attach(&doc);
    const QByteArray before = doc.SaveRtf();
    const qreal height100 = edit.document()->documentLayout()->documentSize().height();
    edit.SetZoom(200);
    EXPECT_EQ(edit.Zoom(), 200);
    const qreal height200 = edit.document()->documentLayout()->documentSize().height();
    EXPECT_GT(height200, height100 * 1.5);
    EXPECT_EQ(doc.SaveRtf(), before);
    EXPECT_FALSE(doc.IsModified());
    edit.SetZoom(4);
    EXPECT_EQ(edit.Zoom(), 5);
    edit.SetZoom(100);
    EXPECT_NEAR(edit.document()->documentLayout()->documentSize().height(), height100, 1.0);
    edit.SetZoom(150);
    edit.Detach();
    EXPECT_NEAR(doc.Document()->documentLayout()->documentSize().height(), height100, 1.0)
        << "a detached document is laid out unzoomed";
}

TEST_F(RichEditTest, QtsOwnFontZoomIsOff)
{
    LoadLines(5);
    edit.Attach(&doc);
    const QByteArray before = doc.SaveRtf();
    const QFont font = doc.DefaultFont();
    QTest::keyClick(&edit, Qt::Key_Plus, Qt::ControlModifier);
    QWheelEvent wheel(QPointF(10, 10), edit.viewport()->mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, 120), Qt::NoButton, Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(edit.viewport(), &wheel);
    EXPECT_EQ(doc.DefaultFont(), font);
    EXPECT_EQ(edit.Zoom(), 100);
    EXPECT_EQ(doc.SaveRtf(), before);
    // A font change reaching the widget leaves the page's default font alone.
    edit.setFont(QFont(u"Courier New"_qs, 20));
    EXPECT_EQ(doc.DefaultFont(), font);
}

TEST_F(RichEditTest, FindSelectsHitsForwardAndBackward)
{
    doc.LoadPlainText(u"Plan planung Plan\nPLAN"_qs);
    edit.Attach(&doc);
    EXPECT_EQ(edit.Find(u"plan"_qs, 0, -1, {true, false}), 0);
    EXPECT_EQ(edit.SelectedText(), u"Plan"_qs);
    EXPECT_EQ(edit.Find(u"plan"_qs, 1, -1, {true, false}), 13);
    EXPECT_EQ(edit.Find(u"plan"_qs, 1, -1, {false, true}), 5);
    EXPECT_EQ(edit.Find(u"plan"_qs, 0, -1, {true, false}, true), 18);
    EXPECT_EQ(edit.Find(u"plan"_qs, 0, 17, {true, false}, true), 13);
    EXPECT_EQ(edit.SelStart(), 13);
    EXPECT_EQ(edit.Find(u"fehlt"_qs, 0, -1, {}), -1);
    EXPECT_EQ(edit.SelStart(), 13) << "no hit leaves the selection";
}

TEST_F(RichEditTest, SelectionFormatsGetAndSet)
{
    doc.LoadPlainText(u"eins zwei\ndrei"_qs);
    edit.Attach(&doc);
    edit.SetSelection(5, 4);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    edit.SetSelectionCharFormat(bold);
    EXPECT_EQ(edit.SelectionCharFormat().fontWeight(), QFont::Bold);
    edit.SetSelection(0, 4);
    EXPECT_NE(edit.SelectionCharFormat().fontWeight(), QFont::Bold);

    edit.SetSelection(2, 10); // both paragraphs
    QTextBlockFormat centre;
    centre.setAlignment(Qt::AlignHCenter);
    centre.setLineHeight(150, QTextBlockFormat::ProportionalHeight);
    edit.SetParagraphFormat(centre);
    for (QTextBlock b = doc.Document()->begin(); b.isValid(); b = b.next())
        EXPECT_EQ(b.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(edit.ParagraphFormat().lineHeight(), 150);

    edit.SetNumbering(QTextListFormat::ListDecimal);
    EXPECT_EQ(edit.Numbering(), QTextListFormat::ListDecimal);
    EXPECT_TRUE(doc.Document()->lastBlock().textList() != nullptr);
    edit.SetNumbering(QTextListFormat::ListStyleUndefined);
    EXPECT_EQ(edit.Numbering(), QTextListFormat::ListStyleUndefined);
    EXPECT_TRUE(edit.CanUndo());
    EXPECT_FALSE(edit.CanRedo());
    edit.undo();
    EXPECT_TRUE(edit.CanRedo());
}

TEST_F(RichEditTest, MixedCharactersOfTheSelectionAreNamed)
{
    doc.LoadPlainText(u"eins zwei\ndrei"_qs);
    edit.Attach(&doc);
    edit.SetSelection(5, 4);
    KvCharAttributes bold;
    bold.bold = true;
    edit.ApplyAttributes(bold, KvCharAttributes::Bold, {}, 0);

    const struct
    {
        int start, length;
        unsigned mixed;
    } cases[] = {
        {5, 4, 0},                       // all bold
        {0, 4, 0},                       // none bold
        {2, 5, KvCharAttributes::Bold},  // across the edge
        {0, 14, KvCharAttributes::Bold}, // across paragraphs
        {3, 0, 0},                       // no selection
    };
    for (const auto& c : cases) {
        edit.SetSelection(c.start, c.length);
        EXPECT_EQ(edit.SelectionMixedChars(), c.mixed) << c.start << "+" << c.length;
    }
    // A change of format under the same selection is seen.
    edit.SetSelection(0, 14);
    edit.ApplyAttributes(bold, KvCharAttributes::Bold, {}, 0);
    EXPECT_EQ(edit.SelectionMixedChars(), 0u);
    KvCharAttributes big;
    big.size = 20;
    edit.SetSelection(0, 2);
    edit.ApplyAttributes(big, KvCharAttributes::Size, {}, 0);
    edit.SetSelection(0, 14);
    EXPECT_EQ(edit.SelectionMixedChars(), unsigned(KvCharAttributes::Size));
    edit.undo();
    edit.SetSelection(0, 14);
    EXPECT_EQ(edit.SelectionMixedChars(), 0u);
}

TEST_F(RichEditTest, InsertsTextAndPictures)
{
    edit.Attach(&doc);
    edit.InsertText(u"Bild: "_qs);
    QImage img(3, 2, QImage::Format_RGB32);
    img.fill(Qt::green);
    edit.InsertPicture(img);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_TRUE(doc.SaveRtf().contains("{\\pict\\pngblip\\picw3\\pich2"));
}

TEST_F(RichEditTest, CharScreenPositionFollowsTheText)
{
    doc.LoadPlainText(u"abc\ndef"_qs);
    edit.Attach(&doc);
    const QPoint a = edit.CharScreenPosition(0);
    const QPoint c = edit.CharScreenPosition(2);
    const QPoint d = edit.CharScreenPosition(4);
    EXPECT_GT(c.x(), a.x());
    EXPECT_EQ(c.y(), a.y());
    EXPECT_GT(d.y(), a.y());
    EXPECT_EQ(
        a, edit.viewport()->mapToGlobal(edit.cursorRect(QTextCursor(edit.document())).topLeft()));
}

TEST_F(RichEditTest, LineAndColumnCountShownLines)
{
    doc.LoadPlainText(u"abc\ndefgh"_qs);
    edit.Attach(&doc);
    using LC = TexRichEdit::LineColumn;
    EXPECT_EQ(edit.LineColumnOf(0), (LC{1, 1}));
    EXPECT_EQ(edit.LineColumnOf(3), (LC{1, 4}));
    EXPECT_EQ(edit.LineColumnOf(6), (LC{2, 3}));
    // A paragraph wrapped into several lines counts each of them.
    doc.LoadPlainText(QString(u"wort "_qs).repeated(60) + u"\nende"_qs);
    const int endPos = doc.Document()->characterCount() - 2;
    const LC last = edit.LineColumnOf(endPos);
    EXPECT_GT(last.line, 2);
    EXPECT_EQ(last.column, 4);
    const LC wrapped = edit.LineColumnOf(250);
    EXPECT_GT(wrapped.line, 1);
    EXPECT_LT(wrapped.column, 250);
}

TEST_F(RichEditTest, InsertKeyTogglesOverwrite)
{
    doc.LoadPlainText(u"abc"_qs);
    edit.Attach(&doc);
    QSignalSpy spy(&edit, &TexRichEdit::overwriteModeChanged);
    EXPECT_TRUE(edit.IsInsert());
    QTest::keyClick(&edit, Qt::Key_Insert);
    EXPECT_TRUE(edit.IsOverwrite());
    ASSERT_EQ(spy.count(), 1);
    EXPECT_TRUE(spy.at(0).at(0).toBool());
    edit.SetSelection(0, 0);
    QTest::keyClicks(&edit, u"X"_qs);
    EXPECT_EQ(doc.PlainText(), u"Xbc"_qs);
    QTest::keyClick(&edit, Qt::Key_Insert);
    EXPECT_TRUE(edit.IsInsert());
    QTest::keyClicks(&edit, u"Y"_qs);
    EXPECT_EQ(doc.PlainText(), u"XYbc"_qs);
}

// The clipboard hooks, reached without the system clipboard.
class ClipboardEdit : public TexRichEdit
{
public:
    using TexRichEdit::canInsertFromMimeData;
    using TexRichEdit::createMimeDataFromSelection;
    using TexRichEdit::insertFromMimeData;
};

TEST_F(RichEditTest, ClipboardCarriesRtfBothWays)
{
    QTextCursor c(doc.Document());
    c.insertText(u"vor "_qs);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    c.insertText(u"fett"_qs, bold);
    QTextCharFormat hidden;
    hidden.setProperty(KvRtfProp::Hidden, true);
    c.insertText(u"versteckt"_qs, hidden);
    c.insertText(u" nach"_qs, QTextCharFormat());
    ClipboardEdit source;
    source.Attach(&doc);
    source.SetSelection(4, 13);
    const std::unique_ptr<QMimeData> mime(source.createMimeDataFromSelection());
    ASSERT_TRUE(mime->hasFormat(u"text/rtf"_qs));
    EXPECT_TRUE(mime->data(u"text/rtf"_qs).contains("\\b fett"));
    EXPECT_EQ(mime->text(), u"fettversteckt"_qs) << "the plain text goes along";

    TexRichDocument other;
    other.LoadPlainText(u"[]"_qs);
    ClipboardEdit target;
    target.Attach(&other);
    target.SetSelection(1, 0);
    ASSERT_TRUE(target.canInsertFromMimeData(mime.get()));
    target.insertFromMimeData(mime.get());
    EXPECT_EQ(other.PlainText(), u"[fett]"_qs) << "hidden text pasted but not visible";
    QTextCursor at(other.Document());
    at.setPosition(3);
    EXPECT_EQ(at.charFormat().fontWeight(), QFont::Bold);
    at.setPosition(8);
    EXPECT_TRUE(at.charFormat().boolProperty(KvRtfProp::Hidden));
}

TEST_F(RichEditTest, PastedPicturesDoNotReplaceOthers)
{
    edit.Attach(&doc);
    QImage red(2, 2, QImage::Format_RGB32);
    red.fill(Qt::red);
    edit.InsertPicture(red);
    QImage blue(3, 3, QImage::Format_RGB32);
    blue.fill(Qt::blue);
    TexRichDocument source;
    TexRichEdit sourceEdit;
    sourceEdit.Attach(&source);
    sourceEdit.InsertPicture(blue);
    edit.InsertRtf(source.SaveRtf());
    QStringList names;
    for (auto it = doc.Document()->begin().begin(); !it.atEnd(); ++it) {
        if (it.fragment().charFormat().isImageFormat())
            names << it.fragment().charFormat().toImageFormat().name();
    }
    ASSERT_EQ(names.size(), 2);
    EXPECT_NE(names[0], names[1]);
    const QImage first =
        doc.Document()->resource(QTextDocument::ImageResource, QUrl(names[0])).value<QImage>();
    EXPECT_EQ(first.size(), QSize(2, 2));
}

struct SpanCase
{
    const char* name;
    QString text;
    QStringList urls;
};

class LinkSpans : public ::testing::TestWithParam<SpanCase>
{
};

TEST_P(LinkSpans, FoundPerRule)
{
    const SpanCase& c = GetParam();
    QStringList urls;
    for (const TexRichEdit::LinkSpan& s : TexRichEdit::FindLinkSpans(c.text)) {
        urls << s.url;
        EXPECT_EQ(c.text.mid(s.start, s.length), s.url) << c.name;
    }
    EXPECT_EQ(urls, c.urls) << c.name;
}

const SpanCase kSpans[] = {
    {"http", u"siehe <http://example.org/x> dort"_qs, {u"http://example.org/x"_qs}},
    {"page link with blanks",
     u"<file://*Page0000012*(Mein Plan)>"_qs,
     {u"file://*Page0000012*(Mein Plan)"_qs}},
    {"two links", u"<ftp://a> und <____://b c>"_qs, {u"ftp://a"_qs, u"____://b c"_qs}},
    {"no scheme", u"<example.org>"_qs, {}},
    {"bare address is no span", u"http://example.org"_qs, {}},
    {"not closed", u"<http://example.org"_qs, {}},
    {"blank before scheme", u"< http://x>"_qs, {}},
    {"nested opening restarts", u"<a <http://x>"_qs, {u"http://x"_qs}},
};

INSTANTIATE_TEST_SUITE_P(Table, LinkSpans, ::testing::ValuesIn(kSpans));

TEST_F(RichEditTest, LinkSpanIsShownAndALeftClickReportsIt)
{
    doc.LoadPlainText(u"Text <http://example.org/a b> Ende"_qs);
    edit.Attach(&doc);
    EXPECT_FALSE(doc.IsModified()) << "showing links does not modify the text";
    EXPECT_EQ(doc.SaveRtf().count("\\ul"), 0) << "link marks are not saved";
    EXPECT_EQ(edit.LinkAt(8), u"http://example.org/a b"_qs);
    EXPECT_TRUE(edit.LinkAt(2).isEmpty());
    // The span shows underlined through the layout's extra formats.
    const QTextBlock block = doc.Document()->begin();
    bool underlined = false;
    for (const QTextLayout::FormatRange& r : block.layout()->formats())
        underlined |= r.start == 6 && r.format.fontUnderline();
    EXPECT_TRUE(underlined);

    QSignalSpy spy(&edit, &TexRichEdit::linkClicked);
    edit.SetSelection(0, 0);
    QTest::mouseClick(edit.viewport(), Qt::LeftButton, {}, PointOf(10));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), u"http://example.org/a b"_qs);
    EXPECT_EQ(spy.at(0).at(1).value<Qt::MouseButton>(), Qt::LeftButton);
    // The other buttons act as on plain text.
    QTest::mouseClick(edit.viewport(), Qt::RightButton, {}, PointOf(12));
    EXPECT_EQ(spy.count(), 1) << "only the left button follows a link";
    QTest::mouseClick(edit.viewport(), Qt::LeftButton, {}, PointOf(2));
    EXPECT_EQ(spy.count(), 1) << "a click outside a span is no link click";
    EXPECT_FALSE(doc.IsModified());
    edit.SetZoom(150);
    edit.Detach();
    EXPECT_FALSE(doc.IsModified()) << "detaching removes the marks without a change";
    EXPECT_FALSE(doc.Document()->isUndoAvailable());
}

TEST_F(RichEditTest, HyperlinkFieldsReportTheirAddress)
{
    doc.LoadRtf("{\\rtf1\\ansi siehe {\\field{\\*\\fldinst{HYPERLINK \"http://x.example/\"}}"
                "{\\fldrslt{hier}}} Ende\\par}");
    doc.SetReadOnly(true);
    edit.Attach(&doc);
    EXPECT_EQ(edit.LinkAt(7), u"http://x.example/"_qs);
    EXPECT_TRUE(edit.LinkAt(2).isEmpty());
    EXPECT_TRUE(edit.LinkAt(10).isEmpty()) << "the blank after the field";
    QSignalSpy spy(&edit, &TexRichEdit::linkClicked);
    QTest::mouseClick(edit.viewport(), Qt::LeftButton, {}, PointOf(7));
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toString(), u"http://x.example/"_qs);
}

TEST_F(RichEditTest, TypingALinkMarksItWithoutSavingTheMark)
{
    edit.Attach(&doc);
    QTest::keyClicks(&edit, u"<http://x.y>"_qs);
    EXPECT_EQ(edit.LinkAt(3), u"http://x.y"_qs);
    EXPECT_FALSE(doc.SaveRtf().contains("\\ul"));
}

} // namespace
