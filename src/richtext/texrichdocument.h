#pragma once

#include "platform/kvexception.h"
#include "richtext/paraattributes.h"
#include "richtext/textselection.h"
#include "store/kvstorefont.h"

#include <QColor>
#include <QFont>
#include <QObject>
#include <QPoint>
#include <QTextCharFormat>
#include <memory>
#include <optional>

class QTextCursor;
class QTextDocument;

// A page's text as the model sees it, without any widget: the QTextDocument plus what the
// editor control keeps beside it (flags, caret, scroll point, presentation). An editor
// widget attaches to it while the page is shown and hands caret and scroll point back.
class TexRichDocument : public QObject, public KvTextSelection
{
    Q_OBJECT

public:
    class ELoadError : public KvException
    {
    public:
        using KvException::KvException;
    };
    class ESaveError : public KvException
    {
    public:
        using KvException::KvException;
    };

    explicit TexRichDocument(QObject* parent = nullptr);
    ~TexRichDocument() override;

    // The document; a load replaces it (documentReplaced), so do not keep the pointer.
    QTextDocument* Document() const { return m_doc.get(); }

    // Content. A failed load leaves the current text as it was.
    void LoadRtf(const QByteArray& rtf);
    QByteArray SaveRtf() const;
    void LoadPlainText(const QString& text);
    // Replaces the text by rtf inside the document as one undo step, keeping the document
    // and its undo history (LoadRtf starts a new document). Inside an edit block the caller
    // opened, the step also holds the caller's further edits.
    void ReplaceContent(const QByteArray& rtf);
    // The document's plain text; hidden text is not part of it. Paragraphs end with "\n".
    QString PlainText() const;
    void Clear();

    // Files: RTF as written by KvRtfWriter; plain text read as UTF-8 (Windows-1252 when it
    // is not valid UTF-8), written as UTF-8 with CR LF. Saving replaces the file atomically.
    void LoadRtfFile(const QString& path);
    void SaveRtfFile(const QString& path) const;
    void LoadPlainTextFile(const QString& path);
    void SavePlainTextFile(const QString& path) const;
    // Replaces the file with bytes through the atomic writer; ESaveError names the file and
    // the system's reason.
    static void WriteFile(const QString& path, const QByteArray& bytes);

    bool IsModified() const;
    void SetModified(bool modified);
    bool IsReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly);

    // Caret and selection as character offsets; the selection runs from SelStart forward.
    int SelStart() const { return m_selStart; }
    int SelLength() const { return m_selLength; }
    void SetSelection(int start, int length);
    QString SelectedText() const;
    // A cursor on the document holding the selection.
    QTextCursor SelectionCursor() const;

    // Attributes of the selection: the character format of its first character (at the caret
    // without a selection) and the attributes of its first paragraph. Setting a character
    // format merges it into the selection; without a selection it goes to an attached view
    // as the format for typing. Setting paragraph attributes changes every touched paragraph.
    QTextCharFormat SelectionCharFormat() const;
    void SetSelectionCharFormat(const QTextCharFormat& format);
    KvParaAttributes SelectionParagraph() const override;
    void SetSelectionParagraph(const KvParaAttributes& attributes);
    KvCharAttributes SelectionCharAttributes() const override;
    // Without a selection the character attributes become the view's format for typing.
    void ApplyAttributes(const KvCharAttributes& chars, unsigned charMask,
                         const KvParaAttributes& para, unsigned paraMask) override;
    // A character format to merge, with our own properties that the new values make stale
    // reset (underline kind, font charset and pitch).
    static QTextCharFormat PrepareCharFormat(const QTextCharFormat& format);

    // The editor's scroll point (horizontal, vertical scroll bar values).
    QPoint ScrollPoint() const { return m_scroll; }
    void SetScrollPoint(QPoint point);
    // Asks the view to scroll so that the caret shows (now, or when a view attaches).
    void ScrollCaretIntoView();
    bool CaretScrollPending() const { return m_scrollToCaret; }

    // Presentation: text without a font or colour of its own shows in these.
    // The page layout's font: default font and text colour, and the charset and pitch that
    // text without a font of its own reads as.
    KvFontSpec LayoutFont() const;
    void SetLayoutFont(const KvFontSpec& font);
    QFont DefaultFont() const;
    void SetDefaultFont(const QFont& font);
    QColor DefaultTextColor() const { return m_textColor; }
    void SetDefaultTextColor(const QColor& color);
    QColor BackgroundColor() const { return m_background; }
    void SetBackgroundColor(const QColor& color);
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool wrap);

    // The attached editor reports what the user did; no change signal is sent back.
    void RememberCaret(int start, int length);
    void RememberScrollPoint(QPoint point)
    {
        m_scroll = point;
        m_scrollToCaret = false;
    }

Q_SIGNALS:
    // A load put a new QTextDocument in place of the old one.
    void documentReplaced();
    // The modified flag changed (by editing, saving or a load), and the text changed; both
    // follow the document across loads.
    void modificationChanged(bool modified);
    void contentsChanged();
    // SetSelection, SetScrollPoint or ScrollCaretIntoView asked the view to move.
    void caretRequested();
    void scrollRequested();
    // Read-only flag, default font or colours, or word wrap changed.
    void presentationChanged();
    // SetSelectionCharFormat without a selection: the view's typing format.
    void typingFormatRequested(const QTextCharFormat& format);
    // ApplyAttributes without a selection: the view's whole format for typing.
    void typingFormatReplaced(const QTextCharFormat& format);
    // Sent while the QTextDocument still exists, so that a view can let go of it.
    void aboutToBeDestroyed();

private:
    void ReplaceDocument(std::unique_ptr<QTextDocument> doc);
    void Follow(QTextDocument* doc);
    std::unique_ptr<QTextDocument> NewDocument();
    int MaxPosition() const;

    std::unique_ptr<QTextDocument> m_doc;
    bool m_readOnly = false;
    int m_selStart = 0;
    int m_selLength = 0;
    QPoint m_scroll;
    bool m_scrollToCaret = false;
    std::optional<KvFontSpec> m_layoutFont;
    QColor m_textColor;
    QColor m_background;
    bool m_wordWrap = true;
};
