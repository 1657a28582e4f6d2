#pragma once

#include "richtext/rtfcodepages.h"
#include "richtext/rtftokenizer.h"

#include <QByteArray>
#include <QColor>
#include <QHash>
#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <functional>
#include <vector>

// Character formatting in effect for a run of text (saved and restored with RTF groups).
struct KvRtfCharState
{
    int font = -1;         // RTF font number, -1 none
    int fontSize = 24;     // half-points
    int foreground = 0;    // colour table index, 0 = automatic
    int background = 0;    // colour table index, 0 = none
    int underline = 0;     // KvRtfUnderline
    int baselineShift = 0; // half-points, \up positive, \dn negative
    int link = -1;         // index into KvRtfParser::Links()
    bool bold = false;
    bool italic = false;
    bool strike = false;
    bool hidden = false;
    quint8 verticalAlign = 0; // 0 normal, 1 superscript, 2 subscript
    quint8 caps = 0;          // 0 none, 1 all capitals, 2 small capitals

    bool operator==(const KvRtfCharState&) const = default;
};

enum class KvRtfListKind
{
    None,
    Bullet,
    Decimal,
    LowerAlpha,
    UpperAlpha,
    LowerRoman,
    UpperRoman
};

struct KvRtfTab
{
    int position = 0; // twips
    int kind = 0;     // 0 left, 1 centre, 2 right, 3 decimal
};

// Paragraph formatting of the paragraph being read.
struct KvRtfParaState
{
    int align = 0;                                        // 0 left, 1 centre, 2 right, 3 justified
    int leftIndent = 0, rightIndent = 0, firstIndent = 0; // twips
    int spaceBefore = 0, spaceAfter = 0;                  // twips
    int lineSpacing = 0;                                  // \sl, twips
    bool lineMult = false;                                // \slmult1
    bool inTable = false;
    int style = -1;
    QList<KvRtfTab> tabs;
    int pendingTabKind = 0;
    // \ls/\ilvl lists
    int listOverride = 0;
    int listLevel = 0;
    // \pn numbering
    KvRtfListKind pnKind = KvRtfListKind::None;
    int pnLevel = 0;
    QString pnBefore, pnAfter;

    // Resolved at the end of the paragraph.
    KvRtfListKind listKind = KvRtfListKind::None;
    QString listPrefix, listSuffix;
    int listIndent = 0;          // nesting level from 0
    qint64 listKey = 0;          // paragraphs with equal keys belong to one list
    bool listContiguous = false; // the list ends at the first paragraph outside it
};

struct KvRtfFont
{
    QString name;
    int charset = -1;
    int codePage = 0; // \cpg
    int pitch = 0;
    int family = 0;
};

struct KvRtfPicture
{
    enum class Kind
    {
        Png,
        Jpeg,
        Wmf,
        Emf,
        Bitmap,
        Mac,
        Object,
        Unknown
    };
    Kind kind = Kind::Unknown;
    QByteArray data; // the decoded picture bytes (PNG/JPEG)
    // An object: the kind of the picture data holds, taken from its \result (PNG or JPEG
    // only; Unknown when it has none of these).
    Kind resultKind = Kind::Unknown;
    QByteArray rawGroup;               // the RTF group verbatim for kinds kept as they are
    int width = 0, height = 0;         // \picw, \pich
    int goalWidth = 0, goalHeight = 0; // twips; an object's \objw, \objh
    int scaleX = 100, scaleY = 100;
};

// Receives what the parser reads. Blocks are created lazily: NewBlock() comes only when
// content follows a paragraph end, so a final \par makes no empty trailing block.
class KvRtfSink
{
public:
    virtual ~KvRtfSink() = default;
    // ascii: the text holds printable ASCII only.
    virtual void Text(QStringView text, const KvRtfCharState& cs, bool ascii) = 0;
    // One object replacement character in the text.
    virtual void Picture(const KvRtfPicture& picture, const KvRtfCharState& cs) = 0;
    // The current block is complete; para is its formatting.
    virtual void EndBlock(const KvRtfParaState& para) = 0;
    virtual void NewBlock() = 0;
    // A table after the current block; the cursor goes into cell (0, 0).
    virtual void BeginTable(int columns) = 0;
    virtual void NextCell(int row, int column) = 0;
    // Leaves the table; content continues in the block after it.
    virtual void EndTable() = 0;
    virtual bool WantsPictureData() const { return true; }
    // A sink that keeps only visible characters may hand out its text: the parser then
    // appends visible text to it directly, instead of calling Text(), with line and
    // paragraph separators as "\n" and non-breaking spaces as blanks.
    virtual QString* PlainTextBuffer() { return nullptr; }
};

// RTF reader engine shared by the document reader and the plain-text extractor, so that both
// read the same text. A group-state stack with destinations; no recursion on input depth.
class KvRtfParser
{
public:
    explicit KvRtfParser(KvRtfSink& sink);
    // Returns false when the input does not look like RTF (it is still read best-effort).
    bool Parse(QByteArrayView rtf);
    // Parse calls checkpoint after about every `interval` bytes of input; when it answers
    // false, reading ends there (Stopped() tells) and the sink gets what was read so far.
    void SetCheckpoint(qsizetype interval, std::function<bool()> checkpoint);
    bool Stopped() const { return m_stopped; }
    // After Parse: the text ended with a paragraph mark (the reader makes no empty paragraph
    // after it).
    bool EndedWithParagraphMark() const { return m_blockPending; }

    const QStringList& Warnings() const { return m_warnings; }
    const KvRtfFont* Font(int number) const;
    QColor Color(int index) const; // invalid for automatic or unknown
    QString Link(int index) const;
    const QMap<int, QString>& StyleNames() const { return m_styleNames; }

    enum class Dest : quint8
    {
        Text,
        Skip,
        FontTable,
        ColorTable,
        StyleSheet,
        ListTable,
        List,
        ListLevel,
        LevelText,
        ListOverrideTable,
        FieldInst,
        Pict,
        Object,
        ListText,
        Pn,
        PnBefore,
        PnAfter,
        Upr
    };

private:
    struct Group
    {
        KvRtfCharState cs;
        Dest dest = Dest::Text;
        Dest outerDest = Dest::Text; // \upr: where the \ud part goes
        int uc = 1;
        int field = -1;
        qsizetype start = 0;
        bool pictureOwner = false; // the group of the \pict or \object word
    };
    struct Field
    {
        QString instruction;
        Dest outer = Dest::Text;
    };
    struct ListLevel
    {
        KvRtfListKind kind = KvRtfListKind::Bullet;
        QString prefix, suffix;
        bool none = false;
    };

    void HandleWord(const KvRtfTokenizer::Token& t);
    void HandleSymbol(char c);
    void HandleHex(unsigned char b);
    void HandleTextBytes(std::string_view bytes);
    void GroupStart();
    void GroupEnd();
    void SkipGroup();

    void AddBytes(std::string_view bytes);
    void FlushBytes();
    void AddText(QStringView text);
    void AddChar(char16_t c);
    void AddUnicode(int value);
    void FlushRun();
    void EnsureContent();
    void SyncTable(bool paragraphInTable);
    void EmitListText();
    void ParagraphEnd();
    void CellEnd();
    void RowEnd();
    void EndTable();
    void ResolveList(KvRtfParaState& p) const;
    void FinishFontEntry();
    void FinishPicture(const Group& g);
    // An object's size and the PNG or JPEG picture of its \result, read from its group.
    void ReadObject(QByteArrayView group);
    void FinishStyleEntry();
    void FinishLevelText();
    void AddRunText(QStringView text);
    template <bool Plain> void AppendRunText(QStringView text, QString& target);
    int CurrentCodePage();
    QString ParseHyperlink(const QString& instruction) const;

    Group& G() { return m_stack.back(); }

    KvRtfSink& m_sink;
    KvRtfTokenizer* m_tok = nullptr;
    std::vector<Group> m_stack;
    qint64 m_overflowDepth = 0;
    bool m_ignorable = false;
    bool m_done = false;
    int m_skipCount = 0; // fallback characters still to skip after \uN
    char16_t m_highSurrogate = 0;

    int m_ansiCodePage = 1252;
    int m_defaultFont = -1;
    int m_cpFont = INT_MIN, m_cpValue = 1252;
    KvRtfDecoders m_decoders;
    QByteArray m_bytes;
    QString m_decoded;
    int m_bytesCodePage = 0;

    QString m_run;
    bool m_runAscii = true;
    QString* m_plain = nullptr; // the sink's PlainTextBuffer()
    qsizetype m_checkInterval = 0;
    qsizetype m_nextCheck = 0;
    std::function<bool()> m_checkpoint;
    bool m_stopped = false;
    KvRtfCharState m_runCs;

    KvRtfParaState m_para;
    bool m_blockPending = false;
    bool m_inTable = false;
    bool m_cellPending = false, m_rowPending = false;
    int m_tableColumns = 1, m_row = 0, m_column = 0;
    int m_rowCellCount = 0; // \cellx seen since \trowd

    QString m_listText;
    KvRtfCharState m_listTextCs;

    QHash<int, KvRtfFont> m_fonts;
    int m_fontEntry = -1;
    KvRtfFont m_fontPending;
    QList<QColor> m_colors;
    int m_red = -1, m_green = -1, m_blue = -1;
    QMap<int, QString> m_styleNames;
    int m_styleEntry = 0;
    QString m_styleName;
    std::vector<Field> m_fields;
    QStringList m_links;

    // List table
    QHash<int, QList<ListLevel>> m_lists; // \listid -> levels
    QHash<int, int> m_overrides;          // \ls -> \listid
    int m_listId = 0;
    QList<ListLevel> m_levels;
    ListLevel m_level;
    QString m_levelText;
    int m_overrideListId = 0;

    KvRtfPicture m_pict;
    int m_pictNibble = -1;
    bool m_nested = false; // reading an object's result: objects inside are not looked into

    QStringList m_warnings;
    bool m_warnedCodePage = false;
};
