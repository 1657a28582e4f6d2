#include "richtext/texrichdocument.h"

#include "platform/kvatomicfile.h"
#include "platform/kvtexttable.h"
#include "richtext/rtfcodepages.h"
#include "richtext/rtfplaintext.h"
#include "richtext/rtfproperties.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

#include <QFile>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QUrl>

namespace {

QString DecodeText(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(bytes);
    if (!utf8.hasError())
        return text;
    text.clear();
    KvRtfDecoders().Decode(1252, bytes, text);
    return text;
}

QByteArray ReadFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw TexRichDocument::ELoadError(KvTextTable::Message(5630, {path, f.errorString()}));
    QByteArray bytes = f.readAll();
    if (f.error() != QFileDevice::NoError)
        throw TexRichDocument::ELoadError(KvTextTable::Message(5630, {path, f.errorString()}));
    return bytes;
}

} // namespace

void TexRichDocument::WriteFile(const QString& path, const QByteArray& bytes)
{
    int error = 0;
    if (!KvAtomicFile::WriteFile(path, bytes, KvAtomicFile::Access::KeepOrDefault, &error))
        throw ESaveError(KvTextTable::Message(5631, {path, KvAtomicFile::ErrorString(error)}));
}

TexRichDocument::TexRichDocument(QObject* parent) : QObject(parent), m_doc(NewDocument())
{
    Follow(m_doc.get());
}

TexRichDocument::~TexRichDocument()
{
    Q_EMIT aboutToBeDestroyed();
}

std::unique_ptr<QTextDocument> TexRichDocument::NewDocument()
{
    auto doc = std::make_unique<QTextDocument>();
    if (m_doc)
        doc->setDefaultFont(m_doc->defaultFont());
    doc->setUndoRedoEnabled(true);
    return doc;
}

void TexRichDocument::Follow(QTextDocument* doc)
{
    connect(doc, &QTextDocument::modificationChanged, this, &TexRichDocument::modificationChanged);
    connect(doc, &QTextDocument::contentsChanged, this, &TexRichDocument::contentsChanged);
}

void TexRichDocument::ReplaceDocument(std::unique_ptr<QTextDocument> doc)
{
    doc->clearUndoRedoStacks();
    doc->setModified(false);
    // The old document lives until the view has moved to the new one.
    std::unique_ptr<QTextDocument> old = std::exchange(m_doc, std::move(doc));
    old->disconnect(this);
    Follow(m_doc.get());
    m_selStart = 0;
    m_selLength = 0;
    m_scroll = {};
    m_scrollToCaret = false;
    Q_EMIT documentReplaced();
    Q_EMIT contentsChanged();
    if (old->isModified())
        Q_EMIT modificationChanged(false);
}

void TexRichDocument::LoadRtf(const QByteArray& rtf)
{
    std::unique_ptr<QTextDocument> doc = NewDocument();
    try {
        // Input that is not RTF is kept as far as the reader got: nothing the file held is lost.
        KvRtfReader::Read(rtf, doc.get());
    } catch (const KvException& e) {
        throw ELoadError(e.Message());
    }
    ReplaceDocument(std::move(doc));
}

void TexRichDocument::ReplaceContent(const QByteArray& rtf)
{
    QTextDocument read;
    read.setDefaultFont(m_doc->defaultFont());
    try {
        KvRtfReader::Read(rtf, &read);
    } catch (const KvException& e) {
        throw ELoadError(e.Message());
    }
    // Pictures come along under their names; the document is emptied, so none collides.
    QTextCursor c(m_doc.get());
    c.beginEditBlock();
    c.select(QTextCursor::Document);
    c.removeSelectedText();
    for (QTextBlock b = read.begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            if (!f.isImageFormat())
                continue;
            const QUrl name(f.toImageFormat().name());
            m_doc->addResource(QTextDocument::ImageResource, name,
                               read.resource(QTextDocument::ImageResource, name));
        }
    }
    c.insertFragment(QTextDocumentFragment(&read));
    // A fragment merges its first paragraph into the one at the cursor, which keeps its own
    // format and list: the first paragraph gets what it had.
    const QTextBlock first = read.begin();
    QTextCursor start(m_doc.get());
    start.setBlockFormat(first.blockFormat());
    start.setBlockCharFormat(first.charFormat());
    if (const QTextList* list = first.textList()) {
        QTextList* joined = nullptr;
        if (list->count() > 1)
            joined = m_doc->findBlockByNumber(list->item(1).blockNumber()).textList();
        if (joined)
            joined->add(m_doc->begin());
        else
            start.createList(list->format());
    }
    c.endEditBlock();
    SetSelection(0, 0);
}

QByteArray TexRichDocument::SaveRtf() const
{
    return KvRtfWriter::Write(*m_doc);
}

void TexRichDocument::LoadPlainText(const QString& text)
{
    std::unique_ptr<QTextDocument> doc = NewDocument();
    QString normalized = text;
    normalized.replace(u"\r\n"_qs, u"\n"_qs);
    normalized.replace(u'\r', u'\n');
    doc->setPlainText(normalized);
    ReplaceDocument(std::move(doc));
}

QString TexRichDocument::PlainText() const
{
    return KvRtfPlainText::DocumentText(*m_doc);
}

void TexRichDocument::Clear()
{
    ReplaceDocument(NewDocument());
}

void TexRichDocument::LoadRtfFile(const QString& path)
{
    LoadRtf(ReadFile(path));
}

void TexRichDocument::SaveRtfFile(const QString& path) const
{
    WriteFile(path, SaveRtf());
}

void TexRichDocument::LoadPlainTextFile(const QString& path)
{
    LoadPlainText(DecodeText(ReadFile(path)));
}

void TexRichDocument::SavePlainTextFile(const QString& path) const
{
    QString text = PlainText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    text.replace(u"\r\n"_qs, u"\n"_qs);
    text.replace(u"\n"_qs, u"\r\n"_qs);
    WriteFile(path, text.toUtf8());
}

bool TexRichDocument::IsModified() const
{
    return m_doc->isModified();
}

void TexRichDocument::SetModified(bool modified)
{
    m_doc->setModified(modified);
}

void TexRichDocument::SetReadOnly(bool readOnly)
{
    if (m_readOnly == readOnly)
        return;
    m_readOnly = readOnly;
    Q_EMIT presentationChanged();
}

int TexRichDocument::MaxPosition() const
{
    return std::max(0, m_doc->characterCount() - 1);
}

void TexRichDocument::SetSelection(int start, int length)
{
    RememberCaret(start, length);
    Q_EMIT caretRequested();
}

void TexRichDocument::RememberCaret(int start, int length)
{
    const int max = MaxPosition();
    m_selStart = std::clamp(start, 0, max);
    m_selLength = std::clamp(length, 0, max - m_selStart);
}

void TexRichDocument::SetScrollPoint(QPoint point)
{
    m_scroll = point;
    m_scrollToCaret = false;
    Q_EMIT scrollRequested();
}

void TexRichDocument::ScrollCaretIntoView()
{
    m_scrollToCaret = true;
    Q_EMIT scrollRequested();
}

QTextCursor TexRichDocument::SelectionCursor() const
{
    QTextCursor c(m_doc.get());
    const int max = MaxPosition();
    c.setPosition(std::clamp(m_selStart, 0, max));
    c.setPosition(std::clamp(m_selStart + m_selLength, 0, max), QTextCursor::KeepAnchor);
    return c;
}

QString TexRichDocument::SelectedText() const
{
    return SelectionCursor().selectedText();
}

QTextCharFormat TexRichDocument::SelectionCharFormat() const
{
    QTextCursor c = SelectionCursor();
    if (c.hasSelection())
        c.setPosition(c.selectionStart() + 1);
    return c.charFormat();
}

void TexRichDocument::SetSelectionCharFormat(const QTextCharFormat& format)
{
    const QTextCharFormat f = PrepareCharFormat(format);
    QTextCursor c = SelectionCursor();
    if (c.hasSelection())
        c.mergeCharFormat(f);
    else
        Q_EMIT typingFormatRequested(f);
}

KvParaAttributes TexRichDocument::SelectionParagraph() const
{
    return KvParaAttributes::Read(m_doc->findBlock(SelectionCursor().selectionStart()));
}

void TexRichDocument::SetSelectionParagraph(const KvParaAttributes& attributes)
{
    attributes.ApplyTo(SelectionCursor());
}

KvCharAttributes TexRichDocument::SelectionCharAttributes() const
{
    return KvCharAttributes::Read(SelectionCharFormat(), LayoutFont());
}

void TexRichDocument::ApplyAttributes(const KvCharAttributes& chars, unsigned charMask,
                                      const KvParaAttributes& para, unsigned paraMask)
{
    QTextCursor c = SelectionCursor();
    if (const auto typing = applyOn(c, chars, charMask, para, paraMask))
        Q_EMIT typingFormatReplaced(*typing);
}

QTextCharFormat TexRichDocument::PrepareCharFormat(const QTextCharFormat& format)
{
    QTextCharFormat f = format;
    if (f.hasProperty(QTextFormat::TextUnderlineStyle) && !f.hasProperty(KvRtfProp::UnderlineKind))
        f.setProperty(KvRtfProp::UnderlineKind, 0);
    if (f.hasProperty(QTextFormat::FontFamilies) || f.hasProperty(QTextFormat::FontFamily)) {
        if (!f.hasProperty(KvRtfProp::FontCharset))
            f.setProperty(KvRtfProp::FontCharset, 0);
        if (!f.hasProperty(KvRtfProp::FontPitch))
            f.setProperty(KvRtfProp::FontPitch, f.fontFixedPitch() ? 1 : 0);
    }
    return f;
}

KvFontSpec TexRichDocument::LayoutFont() const
{
    if (m_layoutFont)
        return *m_layoutFont;
    KvFontSpec spec;
    spec.font = m_doc->defaultFont();
    return spec;
}

void TexRichDocument::SetLayoutFont(const KvFontSpec& font)
{
    m_layoutFont = font;
    m_doc->setDefaultFont(font.font);
    m_textColor = KvColor::ToQColor(font.color);
    Q_EMIT presentationChanged();
}

QFont TexRichDocument::DefaultFont() const
{
    return m_doc->defaultFont();
}

void TexRichDocument::SetDefaultFont(const QFont& font)
{
    m_doc->setDefaultFont(font);
    Q_EMIT presentationChanged();
}

void TexRichDocument::SetDefaultTextColor(const QColor& color)
{
    m_textColor = color;
    Q_EMIT presentationChanged();
}

void TexRichDocument::SetBackgroundColor(const QColor& color)
{
    m_background = color;
    Q_EMIT presentationChanged();
}

void TexRichDocument::SetWordWrap(bool wrap)
{
    if (m_wordWrap == wrap)
        return;
    m_wordWrap = wrap;
    Q_EMIT presentationChanged();
}
