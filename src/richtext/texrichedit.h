#pragma once

#include "richtext/kvpaste.h"
#include "richtext/paraattributes.h"
#include "richtext/texrichdocument.h"
#include "richtext/textmatch.h"
#include "richtext/textselection.h"

#include <QImage>
#include <QPointer>
#include <QTextEdit>
#include <QTextListFormat>
#include <optional>

class QSyntaxHighlighter;

// The page editor: a QTextEdit over a TexRichDocument. It shows "<scheme://...>" spans as
// links and reports clicks on them, keeps zoom a matter of the view, and hands caret,
// selection and scroll point back to the document it shows.
class TexRichEdit : public QTextEdit, public KvTextSelection
{
    Q_OBJECT

public:
    // One link span of a paragraph: the URL is the text between "<" and ">".
    struct LinkSpan
    {
        int start = 0;  // of the URL, in the paragraph
        int length = 0; // of the URL
        QString url;
    };

    explicit TexRichEdit(QWidget* parent = nullptr);
    ~TexRichEdit() override;

    // The version of the editing control as the program sees it: scroll positions are kept.
    static int MajorVersion() { return 3; }
    // The link spans in one paragraph's text.
    static QList<LinkSpan> FindLinkSpans(const QString& paragraph);

    void Attach(TexRichDocument* document);
    void Detach();
    TexRichDocument* Attached() const { return m_doc; }

    QPoint ScrollPoint() const;
    void SetScrollPoint(QPoint point);
    void ScrollCaretIntoView();

    // Zoom in percent (5..1000), 100 = off. Changes the view only, never the text.
    int Zoom() const { return m_zoom; }
    void SetZoom(int percent);

    int SelStart() const;
    int SelLength() const;
    void SetSelection(int start, int length);
    QString SelectedText() const;

    // Selects and shows the first (or, backward, the last) hit inside [rangeStart, rangeEnd)
    // (rangeEnd < 0: to the end) and returns its position; -1 leaves the selection alone.
    // Find next: forward from SelStart() + SelLength(); find previous: backward in
    // [0, SelStart()).
    int Find(const QString& term, int rangeStart, int rangeEnd, KvMatchOptions options,
             bool backward = false);

    // Attributes of the selection: the character format of its first character (of the
    // caret's typing format without a selection) and the paragraph format of its first
    // paragraph. Setting merges into every selected character or paragraph.
    QTextCharFormat SelectionCharFormat() const;
    void SetSelectionCharFormat(const QTextCharFormat& format);
    QTextBlockFormat ParagraphFormat() const;
    void SetParagraphFormat(const QTextBlockFormat& format);
    // List kind of the caret's paragraph; ListStyleUndefined = no numbering.
    QTextListFormat::Style Numbering() const;
    void SetNumbering(QTextListFormat::Style style, const QString& prefix = {},
                      const QString& suffix = {});
    // The same in the edit control's terms (twips and codes), for styles and the dialog.
    KvParaAttributes SelectionParagraph() const override;
    void SetSelectionParagraph(const KvParaAttributes& attributes);
    // The adapter's terms; what the text does not set reads as the shown page's layout font.
    // Without a selection the character attributes go to the format for typing.
    KvCharAttributes SelectionCharAttributes() const override;
    // The fields (KvCharAttributes::Field) whose value is not the same on every selected
    // character: a bold button shows "not bold" over partly bold text, and pressing it
    // makes all of it bold. 0 without a selection.
    unsigned SelectionMixedChars() const;
    void ApplyAttributes(const KvCharAttributes& chars, unsigned charMask,
                         const KvParaAttributes& para, unsigned paraMask) override;

    bool CanUndo() const;
    bool CanRedo() const;

    // Line and column of a position, both from 1: the line as shown (wrapped lines count),
    // the column the offset within that line plus one.
    struct LineColumn
    {
        int line = 1;
        int column = 1;
        bool operator==(const LineColumn&) const = default;
    };
    LineColumn LineColumnOf(int position) const;

    // Screen position (global coordinates) of the top left of the character at `index`.
    QPoint CharScreenPosition(int index) const;

    void InsertText(const QString& text);
    // Inserts a picture at the caret, replacing the selection; PNG and JPEG bytes are kept as
    // they are. False (nothing changed) when the bytes are no picture.
    bool InsertPicture(const QByteArray& bytes);
    bool InsertPicture(const QImage& image);
    // Inserts RTF at the caret, replacing the selection (pasting RTF goes this way too).
    void InsertRtf(const QByteArray& rtf);
    // Pastes the data's first kind (or the given one) at the caret, replacing the
    // selection, as one step; false when it offers nothing (of that kind).
    bool Paste(const QMimeData& data, std::optional<KvPaste::Kind> kind = std::nullopt);

    bool IsOverwrite() const { return overwriteMode(); }
    bool IsInsert() const { return !overwriteMode(); }

    // The URL of the link span that covers the character at `position`, or of the hyperlink
    // field (anchor) it belongs to; empty for none.
    QString LinkAt(int position) const;

    // Format copy armed: the brush cursor shows, a click on a link selects instead of
    // following it, and every mouse release reports formatPainterReleased.
    void SetFormatPainter(bool on);
    bool FormatPainter() const { return m_formatPainter; }
    static QCursor FormatPainterCursor();

    // Bare-address detection; the program keeps it off and relies on "<...>" spans.
    bool AutoUrlDetect() const { return m_autoUrlDetect; }
    void SetAutoUrlDetect(bool on) { m_autoUrlDetect = on; }

Q_SIGNALS:
    void linkClicked(const QString& url, Qt::MouseButton button);
    void overwriteModeChanged(bool overwrite);
    // A mouse button went up while the format painter is on (the selection is made).
    void formatPainterReleased();

protected:
    // The clipboard carries RTF ("text/rtf") beside Qt's own formats, both ways.
    QMimeData* createMimeDataFromSelection() const override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    void Bind();
    void Unbind();
    static void Relayout(QTextDocument* doc);
    void Disconnect(QList<QMetaObject::Connection>& connections);
    void ApplyPresentation();
    void ApplyCaret();
    void ApplyScroll();
    void ApplyZoom();
    void ReportCaret();
    void ReportScroll();
    int PositionAt(QPoint viewportPos) const;
    bool TryScroll(QPoint point);
    void ApplyPendingScroll();

    // What text without attributes of its own shows in: the page's layout font.
    KvFontSpec layoutFont() const;

    QPointer<TexRichDocument> m_doc;
    // SelectionMixedChars for one selection of one revision: the toolbar asks at every
    // idle pass, and a select-all of a large page has many fragments.
    struct MixedCache
    {
        const QTextDocument* doc = nullptr;
        int start = -1;
        int end = -1;
        int revision = -1;
        unsigned mixed = 0;
    };
    mutable MixedCache m_mixedCache;
    QTextDocument* m_placeholder = nullptr;
    QSyntaxHighlighter* m_links = nullptr;
    // A scroll point the scroll bars could not take yet (widget not laid out); applied once
    // they can, dropped when the user scrolls or clicks.
    std::optional<QPoint> m_pendingScroll;
    bool m_pendingArmed = false;
    bool m_pendingCaret = false; // show the caret once the view is shown
    QImage m_zoomDevice;
    int m_zoom = 100;
    bool m_binding = false;
    bool m_autoUrlDetect = false;
    bool m_formatPainter = false;
    QList<QMetaObject::Connection> m_docConnections;  // to the attached TexRichDocument
    QList<QMetaObject::Connection> m_viewConnections; // reporting back to it
};
