#include "platform/kvatomicfile.h"
#include "platform/kvfileseam.h"
#include "richtext/rtfproperties.h"
#include "richtext/texrichdocument.h"
#include "rtfcorpus.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

namespace {

QByteArray ReadAll(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

class RichDocumentTest : public ::testing::Test
{
protected:
    QTemporaryDir tmp;
    TexRichDocument doc;
    QString Dir(const QString& name) const
    {
        QDir().mkpath(tmp.filePath(name));
        return tmp.filePath(name) + u'/';
    }
    QString Path(const QString& name) const { return Dir(u"files"_qs) + name; }
};

TEST_F(RichDocumentTest, StartsEmptyWritableAndUnmodified)
{
    EXPECT_TRUE(doc.PlainText().isEmpty());
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.IsReadOnly());
    EXPECT_TRUE(doc.WordWrap());
    EXPECT_EQ(doc.SelStart(), 0);
    EXPECT_EQ(doc.SelLength(), 0);
}

TEST_F(RichDocumentTest, FlagsAndPresentationNotifyTheView)
{
    QSignalSpy spy(&doc, &TexRichDocument::presentationChanged);
    doc.SetReadOnly(true);
    doc.SetWordWrap(false);
    doc.SetBackgroundColor(Qt::yellow);
    doc.SetDefaultTextColor(Qt::blue);
    doc.SetDefaultFont(QFont(u"Arial"_qs, 11));
    EXPECT_EQ(spy.count(), 5);
    EXPECT_TRUE(doc.IsReadOnly());
    EXPECT_FALSE(doc.WordWrap());
    EXPECT_EQ(doc.BackgroundColor(), QColor(Qt::yellow));
    EXPECT_EQ(doc.DefaultTextColor(), QColor(Qt::blue));
    EXPECT_EQ(doc.DefaultFont().pointSize(), 11);
    EXPECT_FALSE(doc.IsModified()) << "presentation is not content";
}

TEST_F(RichDocumentTest, EditingSetsModifiedAndLoadingClearsIt)
{
    QTextCursor(doc.Document()).insertText(u"neu"_qs);
    EXPECT_TRUE(doc.IsModified());
    doc.SetModified(false);
    EXPECT_FALSE(doc.IsModified());
    doc.SetModified(true);
    doc.LoadPlainText(u"x"_qs);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_FALSE(doc.Document()->isUndoAvailable());
}

TEST_F(RichDocumentTest, ModificationSignalsFollowTheDocumentAcrossLoads)
{
    QSignalSpy modified(&doc, &TexRichDocument::modificationChanged);
    QSignalSpy changed(&doc, &TexRichDocument::contentsChanged);
    QTextCursor(doc.Document()).insertText(u"a"_qs);
    ASSERT_EQ(modified.count(), 1);
    EXPECT_TRUE(modified.at(0).at(0).toBool());
    doc.LoadPlainText(u"neu"_qs);
    ASSERT_EQ(modified.count(), 2);
    EXPECT_FALSE(modified.at(1).at(0).toBool());
    QTextCursor(doc.Document()).insertText(u"b"_qs);
    EXPECT_EQ(modified.count(), 3) << "the new document is followed";
    EXPECT_GE(changed.count(), 3);
}

TEST_F(RichDocumentTest, CaretIsClampedToTheText)
{
    doc.LoadPlainText(u"Hallo Welt"_qs);
    QSignalSpy spy(&doc, &TexRichDocument::caretRequested);
    doc.SetSelection(6, 4);
    EXPECT_EQ(doc.SelStart(), 6);
    EXPECT_EQ(doc.SelLength(), 4);
    doc.SetSelection(8, 50);
    EXPECT_EQ(doc.SelLength(), 2);
    doc.SetSelection(-3, 1);
    EXPECT_EQ(doc.SelStart(), 0);
    doc.SetSelection(99, 0);
    EXPECT_EQ(doc.SelStart(), 10);
    EXPECT_EQ(spy.count(), 4);
    doc.SetScrollPoint(QPoint(0, 120));
    EXPECT_EQ(doc.ScrollPoint(), QPoint(0, 120));
    doc.LoadPlainText(u"x"_qs);
    EXPECT_EQ(doc.SelStart(), 0) << "a new text starts at its beginning";
    EXPECT_EQ(doc.ScrollPoint(), QPoint());
}

TEST_F(RichDocumentTest, PlainTextLeavesHiddenTextOut)
{
    QTextCursor c(doc.Document());
    c.insertText(u"sichtbar "_qs);
    QTextCharFormat hidden;
    hidden.setProperty(KvRtfProp::Hidden, true);
    c.insertText(u"versteckt"_qs, hidden);
    c.insertText(u" ende"_qs, QTextCharFormat());
    EXPECT_EQ(doc.PlainText(), u"sichtbar  ende"_qs);
}

struct PlainFileCase
{
    const char* name;
    QByteArray bytes;
    QString text;
};

class RichDocumentPlainFiles : public RichDocumentTest,
                               public ::testing::WithParamInterface<PlainFileCase>
{
};

TEST_P(RichDocumentPlainFiles, LoadsEncodingsAndLineEnds)
{
    const PlainFileCase& c = GetParam();
    WriteAll(Path(u"in.txt"_qs), c.bytes);
    doc.LoadPlainTextFile(Path(u"in.txt"_qs));
    EXPECT_EQ(doc.PlainText(), c.text) << c.name;
    EXPECT_EQ(doc.Document()->blockCount(), c.text.count(u'\n') + 1) << c.name;
}

const PlainFileCase kPlainFiles[] = {
    {"utf-8 with CR LF",
     "Gr\xC3\xBC\xC3\x9F"
     "e\r\nzwei\r\n",
     u"Grüße\nzwei\n"_qs},
    {"utf-8 BOM dropped", "\xEF\xBB\xBFx\ny", u"x\ny"_qs},
    {"windows-1252 fallback",
     "Gr\xFC\xDF"
     "e \x80\r\n",
     u"Grüße €\n"_qs},
    {"bare CR", "a\rb", u"a\nb"_qs},
    {"empty", "", QString()},
};

INSTANTIATE_TEST_SUITE_P(Table, RichDocumentPlainFiles, ::testing::ValuesIn(kPlainFiles));

TEST_F(RichDocumentTest, SavesPlainTextAsUtf8WithCrLf)
{
    doc.LoadPlainText(u"Grüße\nzwei"_qs);
    doc.SavePlainTextFile(Path(u"out.txt"_qs));
    EXPECT_EQ(ReadAll(Path(u"out.txt"_qs)), QByteArray("Gr\xC3\xBC\xC3\x9F"
                                                       "e\r\nzwei"));
}

TEST_F(RichDocumentTest, SavesRtfFileAsWritten)
{
    doc.LoadPlainText(u"Text"_qs);
    doc.SaveRtfFile(Path(u"p.kvp"_qs));
    const QByteArray bytes = ReadAll(Path(u"p.kvp"_qs));
    EXPECT_TRUE(bytes.startsWith("{\\rtf1\\ansi"));
    EXPECT_EQ(bytes, doc.SaveRtf());
}

TEST_F(RichDocumentTest, MissingFileGivesClearErrorAndKeepsText)
{
    doc.LoadPlainText(u"bleibt"_qs);
    QTextCursor(doc.Document()).insertText(u"!"_qs);
    const QString missing = Path(u"fehlt.kvp"_qs);
    for (int kind = 0; kind < 2; ++kind) {
        try {
            kind == 0 ? doc.LoadRtfFile(missing) : doc.LoadPlainTextFile(missing);
            ADD_FAILURE() << "no error for a missing file";
        } catch (const TexRichDocument::ELoadError& e) {
            EXPECT_TRUE(e.Message().contains(missing)) << e.Message().toStdString();
        }
    }
    EXPECT_EQ(doc.PlainText(), u"!bleibt"_qs);
    EXPECT_TRUE(doc.IsModified());
}

TEST_F(RichDocumentTest, UnwritableTargetGivesClearErrorAndKeepsText)
{
    doc.LoadPlainText(u"neu"_qs);
    const QString badTargets[] = {Dir(u"x"_qs) + u"no/such/dir/p.kvp"_qs, Dir(u"isadir"_qs)};
    for (const QString& target : badTargets) {
        try {
            doc.SaveRtfFile(target);
            ADD_FAILURE() << "no error for " << target.toStdString();
        } catch (const TexRichDocument::ESaveError& e) {
            EXPECT_TRUE(e.Message().contains(target)) << e.Message().toStdString();
        }
        EXPECT_THROW(doc.SavePlainTextFile(target), TexRichDocument::ESaveError);
    }
    EXPECT_TRUE(QFileInfo(Dir(u"isadir"_qs)).isDir());
    EXPECT_EQ(doc.PlainText(), u"neu"_qs);
}

TEST_F(RichDocumentTest, FailedSaveLeavesTheOldFileWhole)
{
    // A read-only directory stops the replacement; root ignores that, so check the premise.
    const QString dir = Dir(u"ro"_qs);
    const QString target = dir + u"p.kvp"_qs;
    WriteAll(target, "alt");
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(dir + u"probe"_qs);
    const bool canStillWrite = probe.open(QIODevice::WriteOnly);
    if (!canStillWrite) {
        doc.LoadPlainText(u"neu"_qs);
        EXPECT_THROW(doc.SaveRtfFile(target), TexRichDocument::ESaveError);
    }
    QFile::setPermissions(dir, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (canStillWrite)
        GTEST_SKIP() << "running with rights that ignore directory permissions";
    EXPECT_EQ(ReadAll(target), QByteArray("alt"));
}

TEST_F(RichDocumentTest, FailedSaveThroughTheSeamLeavesTheOldFileWholeAndSaysWhy)
{
    const QString target = Dir(u"seam"_qs) + u"p.kvp"_qs;
    WriteAll(target, "alt");
    doc.LoadPlainText(u"neu"_qs);
    for (const KvFileSeam::Op op :
         {KvFileSeam::Open, KvFileSeam::Write, KvFileSeam::Fsync, KvFileSeam::Rename}) {
        KvFileSeam::Scope seam({op, target, 1, EROFS, false});
        try {
            doc.SaveRtfFile(target);
            ADD_FAILURE() << "no error for op " << op;
        } catch (const TexRichDocument::ESaveError& e) {
            EXPECT_TRUE(e.Message().contains(target)) << e.Message().toStdString();
            EXPECT_TRUE(e.Message().endsWith(KvAtomicFile::ErrorString(EROFS)));
        }
        EXPECT_EQ(ReadAll(target), QByteArray("alt"));
    }
    EXPECT_EQ(QDir(Dir(u"seam"_qs)).entryList(QDir::Files | QDir::Hidden),
              QStringList{u"p.kvp"_qs});
    doc.SaveRtfFile(target);
    EXPECT_NE(ReadAll(target), QByteArray("alt"));
}

TEST_F(RichDocumentTest, LoadReplacesTheDocumentAndSaysSo)
{
    QSignalSpy spy(&doc, &TexRichDocument::documentReplaced);
    doc.SetDefaultFont(QFont(u"Courier New"_qs, 13));
    doc.LoadPlainText(u"a"_qs);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_EQ(doc.DefaultFont().pointSize(), 13) << "the default font survives a load";
}

} // namespace

namespace {

TEST_F(RichDocumentTest, LoadsRtfFilesThroughTheReader)
{
    WriteAll(Path(u"p.kvp"_qs), "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 Gr\\'fc\\'dfe "
                                "{\\b fett}\\par zwei\\par}");
    doc.SetSelection(3, 0);
    doc.LoadRtfFile(Path(u"p.kvp"_qs));
    EXPECT_EQ(doc.PlainText(), u"Grüße fett\nzwei"_qs);
    EXPECT_FALSE(doc.IsModified());
    EXPECT_EQ(doc.SelStart(), 0);
    doc.SaveRtfFile(Path(u"q.kvp"_qs));
    TexRichDocument again;
    again.LoadRtfFile(Path(u"q.kvp"_qs));
    EXPECT_EQ(again.PlainText(), doc.PlainText());
    EXPECT_EQ(again.SaveRtf(), doc.SaveRtf());
}

TEST_F(RichDocumentTest, TextThatIsNotRtfIsKept)
{
    doc.LoadRtf("schlichter Text ohne RTF");
    EXPECT_TRUE(doc.PlainText().contains(u"schlichter Text ohne RTF"_qs))
        << doc.PlainText().toStdString();
}

// Replacing the content keeps the document: what LoadRtf would show, as one undo step.
TEST_F(RichDocumentTest, ReplacedContentEqualsLoadedContentAndIsOneUndoStep)
{
    QImage image(2, 2, QImage::Format_RGB32);
    image.fill(Qt::red);
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, "PNG");
    const QByteArray picture = "{\\pict\\pngblip\\picw2\\pich2 " + png.toHex() + "}";
    const QList<QByteArray> cases = {
        "{\\rtf1\\ansi\\pard\\qc Mitte\\par\\pard Links\\par}",
        "{\\rtf1\\ansi{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}\\li600 eins\\par}",
        "{\\rtf1\\ansi{\\pntext\\'b7\\tab}{\\*\\pn\\pnlvlblt{\\pntxtb\\'b7}}\\li600 eins\\par"
        "{\\pntext\\'b7\\tab}zwei\\par\\pard drei\\par}",
        "{\\rtf1\\ansi\\b Fett\\b0  " + picture + " Bild\\par}",
        "{\\rtf1\\ansi}",
    };
    for (const QByteArray& rtf : cases) {
        TexRichDocument loaded;
        loaded.LoadRtf(rtf);
        doc.LoadPlainText(u"vorher"_qs);
        QTextDocument* before = doc.Document();
        doc.ReplaceContent(rtf);
        EXPECT_EQ(doc.Document(), before);
        EXPECT_EQ(doc.SaveRtf(), loaded.SaveRtf()) << rtf.constData();
        doc.Document()->undo();
        EXPECT_EQ(doc.PlainText(), u"vorher"_qs) << rtf.constData();
        EXPECT_FALSE(doc.Document()->isUndoAvailable());
    }
}

TEST_F(RichDocumentTest, ReplacedContentEqualsLoadedContentForRealFiles)
{
    KORV_REQUIRE_RTF_CORPUS(corpus);
    for (const QString& path : korvtest::RtfCorpusFiles(corpus)) {
        const QByteArray rtf = ReadAll(path);
        TexRichDocument loaded;
        loaded.LoadRtf(rtf);
        TexRichDocument replaced;
        replaced.ReplaceContent(rtf);
        EXPECT_EQ(replaced.SaveRtf(), loaded.SaveRtf()) << path.toStdString();
    }
}

} // namespace
