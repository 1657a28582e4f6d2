#include "richtext/texrichedit.h"

#include "richtext/kvlinkspans.h"
#include "richtext/kvpaste.h"
#include "richtext/kvpicture.h"
#include "richtext/paraattributes.h"
#include "richtext/rtfproperties.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"
#include "richtext/texrichdocument.h"

#include <QAbstractTextDocumentLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPolygonF>
#include <QRegularExpression>
#include <QScrollBar>
#include <QSyntaxHighlighter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextList>
#include <QTimer>
#include <QUrl>
#include <QWheelEvent>
#include <optional>

namespace {

// Shows link spans as links; the marks live in the layout, not in the text.
class LinkHighlighter : public QSyntaxHighlighter
{
public:
    explicit LinkHighlighter(QObject* parent) : QSyntaxHighlighter(parent) {}
    QColor linkColor = QColor(0, 0, 255);

protected:
    void highlightBlock(const QString& text) override
    {
        const QList<TexRichEdit::LinkSpan> spans = TexRichEdit::FindLinkSpans(text);
        for (const TexRichEdit::LinkSpan& span : spans) {
            QTextCharFormat f;
            f.setFontUnderline(true);
            f.setForeground(linkColor);
            setFormat(span.start, span.length, f);
        }
    }
};

} // namespace

TexRichEdit::TexRichEdit(QWidget* parent)
    : QTextEdit(parent), m_placeholder(new QTextDocument(this)), m_links(new LinkHighlighter(this))
{
    setDocument(m_placeholder);
    setAcceptRichText(true);
    setTabChangesFocus(false);
    setMouseTracking(true);
    viewport()->setMouseTracking(true);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    for (QScrollBar* bar : {horizontalScrollBar(), verticalScrollBar()})
        connect(bar, &QAbstractSlider::actionTriggered, this, [this] { m_pendingScroll.reset(); });
}

TexRichEdit::~TexRichEdit()
{
    Detach();
}

QList<TexRichEdit::LinkSpan> TexRichEdit::FindLinkSpans(const QString& paragraph)
{
    QList<LinkSpan> spans;
    for (const KvLinkSpans::Span& s : KvLinkSpans::Find(paragraph))
        spans.append({s.start, s.length, s.url});
    return spans;
}

// ---- attaching ----

void TexRichEdit::Attach(TexRichDocument* document)
{
    if (m_doc == document)
        return;
    Detach();
    if (!document)
        return;
    m_doc = document;
    m_docConnections << connect(document, &TexRichDocument::documentReplaced, this, [this] {
        Unbind();
        Bind();
    });
    m_docConnections << connect(document, &TexRichDocument::presentationChanged, this,
                                &TexRichEdit::ApplyPresentation);
    m_docConnections << connect(document, &TexRichDocument::caretRequested, this,
                                &TexRichEdit::ApplyCaret);
    m_docConnections << connect(document, &TexRichDocument::typingFormatRequested, this,
                                [this](const QTextCharFormat& f) { mergeCurrentCharFormat(f); });
    m_docConnections << connect(document, &TexRichDocument::typingFormatReplaced, this,
                                [this](const QTextCharFormat& f) { setCurrentCharFormat(f); });
    m_docConnections << connect(document, &TexRichDocument::scrollRequested, this,
                                &TexRichEdit::ApplyScroll);
    // The document object going away takes its QTextDocument with it.
    m_docConnections << connect(document, &TexRichDocument::aboutToBeDestroyed, this, [this] {
        Disconnect(m_docConnections);
        Disconnect(m_viewConnections);
        m_links->setDocument(nullptr);
        m_binding = true;
        setDocument(m_placeholder);
        m_binding = false;
        m_doc = nullptr;
    });
    Bind();
}

void TexRichEdit::Detach()
{
    if (!m_doc)
        return;
    ReportCaret();
    ReportScroll();
    m_pendingScroll.reset();
    Disconnect(m_docConnections);
    Unbind();
    m_binding = true;
    setDocument(m_placeholder);
    m_binding = false;
    m_doc = nullptr;
}

void TexRichEdit::Disconnect(QList<QMetaObject::Connection>& connections)
{
    for (const QMetaObject::Connection& c : std::as_const(connections))
        disconnect(c);
    connections.clear();
}

void TexRichEdit::Bind()
{
    m_binding = true;
    QTextDocument* doc = m_doc->Document();
    const QFont font = doc->defaultFont();
    setDocument(doc);
    doc->setDefaultFont(font);
    {
        const bool wasModified = doc->isModified();
        m_links->setDocument(doc);
        m_links->rehighlight();
        doc->setModified(wasModified);
    }
    ApplyPresentation();
    ApplyZoom();
    m_viewConnections << connect(this, &QTextEdit::cursorPositionChanged, this,
                                 &TexRichEdit::ReportCaret);
    m_viewConnections << connect(this, &QTextEdit::selectionChanged, this,
                                 &TexRichEdit::ReportCaret);
    m_viewConnections << connect(horizontalScrollBar(), &QScrollBar::valueChanged, this,
                                 &TexRichEdit::ReportScroll);
    m_viewConnections << connect(verticalScrollBar(), &QScrollBar::valueChanged, this,
                                 &TexRichEdit::ReportScroll);
    ApplyCaret();
    ApplyScroll();
    m_binding = false;
}

void TexRichEdit::Unbind()
{
    Disconnect(m_viewConnections);
    m_links->setDocument(nullptr);
    if (QTextDocument* doc = document(); doc && doc != m_placeholder && m_zoom != 100) {
        doc->documentLayout()->setPaintDevice(nullptr);
        Relayout(doc);
    }
}

void TexRichEdit::Relayout(QTextDocument* doc)
{
    const bool wasModified = doc->isModified();
    doc->markContentsDirty(0, doc->characterCount());
    doc->setModified(wasModified);
}

void TexRichEdit::ApplyPresentation()
{
    if (!m_doc)
        return;
    setReadOnly(m_doc->IsReadOnly());
    setLineWrapMode(m_doc->WordWrap() ? QTextEdit::WidgetWidth : QTextEdit::NoWrap);
    QPalette pal = palette();
    const QPalette base = QPalette();
    pal.setColor(QPalette::Base, m_doc->BackgroundColor().isValid() ? m_doc->BackgroundColor()
                                                                    : base.color(QPalette::Base));
    pal.setColor(QPalette::Text, m_doc->DefaultTextColor().isValid() ? m_doc->DefaultTextColor()
                                                                     : base.color(QPalette::Text));
    setPalette(pal);
    static_cast<LinkHighlighter*>(m_links)->linkColor = pal.color(QPalette::Link);
}

void TexRichEdit::ApplyCaret()
{
    if (!m_doc)
        return;
    const bool wasBinding = m_binding;
    m_binding = true;
    QTextCursor c(document());
    const int max = std::max(0, document()->characterCount() - 1);
    const int start = std::clamp(m_doc->SelStart(), 0, max);
    c.setPosition(start);
    c.setPosition(std::clamp(start + m_doc->SelLength(), 0, max), QTextCursor::KeepAnchor);
    setTextCursor(c);
    m_binding = wasBinding;
}

void TexRichEdit::ApplyScroll()
{
    if (!m_doc)
        return;
    if (m_doc->CaretScrollPending()) {
        ScrollCaretIntoView();
        ReportScroll();
    } else {
        SetScrollPoint(m_doc->ScrollPoint());
    }
}

void TexRichEdit::ReportCaret()
{
    if (m_doc && !m_binding)
        m_doc->RememberCaret(SelStart(), SelLength());
}

void TexRichEdit::ReportScroll()
{
    if (m_doc && !m_binding && !m_pendingScroll)
        m_doc->RememberScrollPoint(ScrollPoint());
}

void TexRichEdit::changeEvent(QEvent* event)
{
    // QTextEdit hands its own font to the document; the page's default font must stay.
    if (event->type() == QEvent::FontChange && m_doc) {
        const QFont keep = document()->defaultFont();
        QTextEdit::changeEvent(event);
        document()->setDefaultFont(keep);
        return;
    }
    QTextEdit::changeEvent(event);
}

// ---- scrolling and zoom ----

QPoint TexRichEdit::ScrollPoint() const
{
    return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

void TexRichEdit::SetScrollPoint(QPoint point)
{
    // A hidden view still changes its size and scrolls to the caret when first shown.
    m_pendingScroll.reset();
    m_pendingCaret = false;
    if (!TryScroll(point) || !isVisible())
        m_pendingScroll = point;
}

bool TexRichEdit::TryScroll(QPoint point)
{
    // Lay the whole text out first, so that the scroll bars know their ranges.
    document()->documentLayout()->documentSize();
    const bool wasBinding = m_binding;
    m_binding = true;
    horizontalScrollBar()->setValue(point.x());
    verticalScrollBar()->setValue(point.y());
    m_binding = wasBinding;
    return ScrollPoint() == point;
}

void TexRichEdit::ApplyPendingScroll()
{
    if (m_pendingCaret && isVisible()) {
        m_pendingCaret = false;
        ensureCursorVisible();
    }
    if (!m_pendingScroll || !TryScroll(*m_pendingScroll) || !isVisible() || m_pendingArmed)
        return;
    // Showing a view relayouts it more than once; the point holds once that has settled.
    m_pendingArmed = true;
    QTimer::singleShot(0, this, [this] {
        m_pendingArmed = false;
        if (m_pendingScroll && TryScroll(*m_pendingScroll))
            m_pendingScroll.reset();
    });
}

void TexRichEdit::resizeEvent(QResizeEvent* event)
{
    QTextEdit::resizeEvent(event);
    ApplyPendingScroll();
}

void TexRichEdit::showEvent(QShowEvent* event)
{
    QTextEdit::showEvent(event);
    ApplyPendingScroll();
}

void TexRichEdit::wheelEvent(QWheelEvent* event)
{
    m_pendingScroll.reset();
    // QTextEdit zooms by changing its font; zoom here is SetZoom's alone.
    if (event->modifiers() & Qt::ControlModifier) {
        event->ignore();
        return;
    }
    QTextEdit::wheelEvent(event);
}

void TexRichEdit::ScrollCaretIntoView()
{
    m_pendingScroll.reset();
    ensureCursorVisible();
    if (!isVisible())
        m_pendingCaret = true;
}

void TexRichEdit::SetZoom(int percent)
{
    const int zoom = std::clamp(percent <= 0 ? 100 : percent, 5, 1000);
    if (zoom == m_zoom)
        return;
    m_zoom = zoom;
    ApplyZoom();
}

void TexRichEdit::ApplyZoom()
{
    QTextDocument* doc = document();
    if (!m_doc || doc == m_placeholder)
        return;
    // Laying the text out for a device of scaled resolution scales fonts and pictures.
    if (m_zoom == 100) {
        doc->documentLayout()->setPaintDevice(nullptr);
    } else {
        const double dpi = logicalDpiY() * m_zoom / 100.0;
        const int dotsPerMeter = int(std::lround(dpi / 0.0254));
        m_zoomDevice = QImage(1, 1, QImage::Format_RGB32);
        m_zoomDevice.setDotsPerMeterX(dotsPerMeter);
        m_zoomDevice.setDotsPerMeterY(dotsPerMeter);
        doc->documentLayout()->setPaintDevice(&m_zoomDevice);
    }
    Relayout(doc);
    viewport()->update();
}

// ---- selection and formats ----

int TexRichEdit::SelStart() const
{
    return textCursor().selectionStart();
}

int TexRichEdit::SelLength() const
{
    const QTextCursor c = textCursor();
    return c.selectionEnd() - c.selectionStart();
}

void TexRichEdit::SetSelection(int start, int length)
{
    QTextCursor c(document());
    const int max = std::max(0, document()->characterCount() - 1);
    c.setPosition(std::clamp(start, 0, max));
    c.setPosition(std::clamp(start + length, 0, max), QTextCursor::KeepAnchor);
    setTextCursor(c);
}

QString TexRichEdit::SelectedText() const
{
    return textCursor().selectedText();
}

int TexRichEdit::Find(const QString& term, int rangeStart, int rangeEnd, KvMatchOptions options,
                      bool backward)
{
    int length = 0;
    const int pos = KvTextMatch::FindInDocument(*document(), term, rangeStart, rangeEnd, options,
                                                backward, &length);
    if (pos >= 0) {
        SetSelection(pos, length);
        ScrollCaretIntoView();
    }
    return pos;
}

QTextCharFormat TexRichEdit::SelectionCharFormat() const
{
    const QTextCursor sel = textCursor();
    if (!sel.hasSelection())
        return sel.charFormat();
    QTextCursor c(document());
    c.setPosition(sel.selectionStart() + 1);
    return c.charFormat();
}

void TexRichEdit::SetSelectionCharFormat(const QTextCharFormat& format)
{
    mergeCurrentCharFormat(TexRichDocument::PrepareCharFormat(format));
}

QTextBlockFormat TexRichEdit::ParagraphFormat() const
{
    QTextCursor c(document());
    c.setPosition(textCursor().selectionStart());
    return c.blockFormat();
}

void TexRichEdit::SetParagraphFormat(const QTextBlockFormat& format)
{
    const QTextCursor sel = textCursor();
    QTextBlock block = document()->findBlock(sel.selectionStart());
    const QTextBlock last = document()->findBlock(sel.selectionEnd());
    const bool newSpacing = format.hasProperty(QTextFormat::LineHeightType) &&
                            !format.hasProperty(KvRtfProp::LineSpacingTwips);
    QTextCursor c(document());
    c.beginEditBlock();
    for (; block.isValid(); block = block.next()) {
        QTextBlockFormat bf = block.blockFormat();
        bf.merge(format);
        if (newSpacing) {
            bf.clearProperty(KvRtfProp::LineSpacingTwips);
            bf.clearProperty(KvRtfProp::LineSpacingMult);
        }
        c.setPosition(block.position());
        c.setBlockFormat(bf);
        if (block == last)
            break;
    }
    c.endEditBlock();
}

QTextListFormat::Style TexRichEdit::Numbering() const
{
    QTextCursor c(document());
    c.setPosition(textCursor().selectionStart());
    QTextList* list = c.currentList();
    return list ? list->format().style() : QTextListFormat::ListStyleUndefined;
}

void TexRichEdit::SetNumbering(QTextListFormat::Style style, const QString& prefix,
                               const QString& suffix)
{
    KvParaFormat::SetNumbering(textCursor(), style, prefix, suffix);
}

KvParaAttributes TexRichEdit::SelectionParagraph() const
{
    return KvParaAttributes::Read(document()->findBlock(textCursor().selectionStart()));
}

void TexRichEdit::SetSelectionParagraph(const KvParaAttributes& attributes)
{
    attributes.ApplyTo(textCursor());
}

KvFontSpec TexRichEdit::layoutFont() const
{
    if (m_doc)
        return m_doc->LayoutFont();
    KvFontSpec layout;
    layout.font = document()->defaultFont();
    return layout;
}

KvCharAttributes TexRichEdit::SelectionCharAttributes() const
{
    return KvCharAttributes::Read(SelectionCharFormat(), layoutFont());
}

unsigned TexRichEdit::SelectionMixedChars() const
{
    const QTextCursor sel = textCursor();
    if (!sel.hasSelection())
        return 0;
    const int start = sel.selectionStart();
    const int end = sel.selectionEnd();
    const int revision = document()->revision();
    if (m_mixedCache.doc == document() && m_mixedCache.start == start && m_mixedCache.end == end &&
        m_mixedCache.revision == revision)
        return m_mixedCache.mixed;
    const KvFontSpec layout = layoutFont();
    constexpr unsigned kCompared = KvCharAttributes::Font | KvCharAttributes::Background;
    unsigned mixed = 0;
    std::optional<KvCharAttributes> first;
    for (QTextBlock b = document()->findBlock(start); b.isValid() && b.position() < end;
         b = b.next()) {
        for (auto it = b.begin(); !it.atEnd() && mixed != kCompared; ++it) {
            const QTextFragment f = it.fragment();
            if (f.position() + f.length() <= start || f.position() >= end)
                continue;
            const KvCharAttributes a = KvCharAttributes::Read(f.charFormat(), layout);
            if (!first) {
                first = a;
                continue;
            }
            mixed |= a.DifferingFields(*first);
        }
        if (mixed == kCompared)
            break;
    }
    m_mixedCache = {document(), start, end, revision, mixed};
    return mixed;
}

void TexRichEdit::ApplyAttributes(const KvCharAttributes& chars, unsigned charMask,
                                  const KvParaAttributes& para, unsigned paraMask)
{
    QTextCursor c = textCursor();
    if (const auto typing = applyOn(c, chars, charMask, para, paraMask))
        setCurrentCharFormat(*typing);
}

bool TexRichEdit::CanUndo() const
{
    return document()->isUndoAvailable();
}

bool TexRichEdit::CanRedo() const
{
    return document()->isRedoAvailable();
}

TexRichEdit::LineColumn TexRichEdit::LineColumnOf(int position) const
{
    QTextDocument* doc = document();
    doc->documentLayout()->documentSize(); // line numbers need the layout
    const int pos = std::clamp(position, 0, std::max(0, doc->characterCount() - 1));
    const QTextBlock block = doc->findBlock(pos);
    if (!block.isValid())
        return {};
    const int offset = pos - block.position();
    // The text layout keeps no running line numbers: count the lines of the blocks before.
    int line = 0;
    for (QTextBlock b = doc->begin(); b.isValid() && b != block; b = b.next()) {
        const QTextLayout* layout = b.layout();
        line += layout && layout->lineCount() > 0 ? layout->lineCount() : 1;
    }
    int lineStart = 0;
    if (QTextLayout* layout = block.layout(); layout && layout->lineCount() > 0) {
        const QTextLine l = layout->lineForTextPosition(offset);
        if (l.isValid()) {
            line += l.lineNumber();
            lineStart = l.textStart();
        }
    }
    return {line + 1, offset - lineStart + 1};
}

QPoint TexRichEdit::CharScreenPosition(int index) const
{
    QTextCursor c(document());
    c.setPosition(std::clamp(index, 0, std::max(0, document()->characterCount() - 1)));
    return viewport()->mapToGlobal(cursorRect(c).topLeft());
}

void TexRichEdit::InsertText(const QString& text)
{
    textCursor().insertText(text);
}

bool TexRichEdit::InsertPicture(const QByteArray& bytes)
{
    QTextCursor c = textCursor();
    if (!KvPicture::Insert(c, bytes))
        return false;
    setTextCursor(c);
    ensureCursorVisible();
    return true;
}

bool TexRichEdit::InsertPicture(const QImage& image)
{
    return InsertPicture(KvPicture::Encode(image));
}

void TexRichEdit::InsertRtf(const QByteArray& rtf)
{
    QTextCursor c = textCursor();
    KvPaste::InsertRtf(c, rtf);
    setTextCursor(c);
    ensureCursorVisible();
}

bool TexRichEdit::Paste(const QMimeData& data, std::optional<KvPaste::Kind> kind)
{
    if (isReadOnly())
        return false;
    QTextCursor c = textCursor();
    if (!(kind ? KvPaste::Insert(c, data, *kind) : KvPaste::Insert(c, data)))
        return false;
    setTextCursor(c);
    ensureCursorVisible();
    return true;
}

QMimeData* TexRichEdit::createMimeDataFromSelection() const
{
    // Qt's own mime data lists only its formats; its content moves into a plain QMimeData.
    const std::unique_ptr<QMimeData> own(QTextEdit::createMimeDataFromSelection());
    auto* data = new QMimeData;
    for (const QString& type : own->formats())
        data->setData(type, own->data(type));
    const QTextCursor sel = textCursor();
    if (sel.hasSelection())
        data->setData(u"text/rtf"_qs, KvPaste::SelectionRtf(sel));
    return data;
}

bool TexRichEdit::canInsertFromMimeData(const QMimeData* source) const
{
    return !KvPaste::Offered(*source).isEmpty();
}

void TexRichEdit::insertFromMimeData(const QMimeData* source)
{
    Paste(*source);
}

// ---- links and keys ----

QString TexRichEdit::LinkAt(int position) const
{
    const QTextBlock block = document()->findBlock(position);
    if (!block.isValid())
        return {};
    const int offset = position - block.position();
    for (const LinkSpan& span : FindLinkSpans(block.text())) {
        if (offset >= span.start && offset < span.start + span.length)
            return span.url;
    }
    // Hyperlink fields read from RTF are links too.
    if (offset < block.length() - 1) {
        QTextCursor c(document());
        c.setPosition(position + 1);
        const QTextCharFormat f = c.charFormat();
        if (f.isAnchor() && !f.anchorHref().isEmpty())
            return f.anchorHref();
    }
    return {};
}

int TexRichEdit::PositionAt(QPoint viewportPos) const
{
    const QPointF docPos =
        viewportPos + QPointF(horizontalScrollBar()->value(), verticalScrollBar()->value());
    return document()->documentLayout()->hitTest(docPos, Qt::ExactHit);
}

void TexRichEdit::mousePressEvent(QMouseEvent* event)
{
    m_pendingScroll.reset();
    // Only the left button follows a link; the others act as on plain text. Armed format
    // copy applies to the link's text instead of following it.
    const int pos =
        event->button() == Qt::LeftButton ? PositionAt(event->position().toPoint()) : -1;
    const QString url = pos >= 0 && !m_formatPainter ? LinkAt(pos) : QString();
    if (!url.isEmpty()) {
        event->accept();
        Q_EMIT linkClicked(url, event->button());
        return;
    }
    QTextEdit::mousePressEvent(event);
}

void TexRichEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (m_formatPainter) {
        viewport()->setCursor(FormatPainterCursor());
    } else if (event->buttons() == Qt::NoButton) {
        const int pos = PositionAt(event->position().toPoint());
        const bool overLink = pos >= 0 && !LinkAt(pos).isEmpty();
        viewport()->setCursor(overLink       ? Qt::PointingHandCursor
                              : isReadOnly() ? Qt::ArrowCursor
                                             : Qt::IBeamCursor);
    }
    QTextEdit::mouseMoveEvent(event);
}

void TexRichEdit::mouseReleaseEvent(QMouseEvent* event)
{
    QTextEdit::mouseReleaseEvent(event);
    if (m_formatPainter)
        Q_EMIT formatPainterReleased();
}

void TexRichEdit::SetFormatPainter(bool on)
{
    if (m_formatPainter == on)
        return;
    m_formatPainter = on;
    if (on)
        viewport()->setCursor(FormatPainterCursor());
    else
        viewport()->setCursor(isReadOnly() ? Qt::ArrowCursor : Qt::IBeamCursor);
}

QCursor TexRichEdit::FormatPainterCursor()
{
    // A brush of our own: handle, ferrule and bristles, the hot spot at the bristles' tip.
    static const QCursor cursor = [] {
        QPixmap pm(32, 32);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(Qt::white, 3));
        p.drawLine(QPointF(20, 3), QPointF(12, 17));
        p.setPen(QPen(QColor(0x80, 0x50, 0x20), 2));
        p.drawLine(QPointF(20, 3), QPointF(12, 17));
        p.setPen(QPen(Qt::black, 1));
        p.setBrush(QColor(0xC0, 0xC0, 0xC0));
        p.drawRect(QRectF(8.5, 16.5, 7, 4));
        p.setBrush(QColor(0x30, 0x30, 0x30));
        QPolygonF bristles;
        bristles << QPointF(8.5, 20.5) << QPointF(15.5, 20.5) << QPointF(13, 28) << QPointF(4, 29);
        p.drawPolygon(bristles);
        p.end();
        return QCursor(pm, 4, 29);
    }();
    return cursor;
}

void TexRichEdit::keyPressEvent(QKeyEvent* event)
{
    m_pendingScroll.reset();
    if (event->matches(QKeySequence::ZoomIn) || event->matches(QKeySequence::ZoomOut)) {
        event->ignore(); // left to the window's zoom commands
        return;
    }
    if (event->key() == Qt::Key_Insert && event->modifiers() == Qt::NoModifier) {
        setOverwriteMode(!overwriteMode());
        event->accept();
        Q_EMIT overwriteModeChanged(overwriteMode());
        return;
    }
    QTextEdit::keyPressEvent(event);
}
