#include "richtext/rtfwriter.h"

#include "richtext/charattributes.h"
#include "richtext/rtfproperties.h"

#include <QBuffer>
#include <QColor>
#include <QImage>
#include <QPixmap>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextList>
#include <QTextTable>
#include <QUrl>
#include <algorithm>
#include <cmath>
#include <variant>
#include <vector>

int KvRtfWriter::ToTwips(double pixels)
{
    return int(std::lround(pixels * KvRtfTwipsPerPixel));
}

double KvRtfWriter::ToPixels(int twips)
{
    return twips / KvRtfTwipsPerPixel;
}

namespace {

// Unicode code points of the Windows-1252 bytes 0x80..0x9F (0 = byte not used).
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The Windows-1252 byte of a UTF-16 unit, or -1 when the code page has none.
int Cp1252Byte(char16_t u)
{
    if (u >= 0xA0 && u <= 0xFF)
        return u;
    if (u < 0x80)
        return u;
    for (int i = 0; i < 32; ++i) {
        if (kCp1252High[i] == u && u != 0)
            return 0x80 + i;
    }
    return -1;
}

struct FontKey
{
    QString name;
    int charset = 0;
    int pitch = 0;
    bool operator==(const FontKey&) const = default;
};

// The character attributes RTF carries, as indexes into the writer's tables.
struct CharState
{
    int font = 0;
    int halfPoints = 24; // RTF's default when \fs is missing
    bool bold = false;
    bool italic = false;
    KvRtfUnderline underline = KvRtfUnderline::None;
    bool strike = false;
    int color = 0;
    int highlight = 0;
    int vertical = 0; // 0 baseline, 1 superscript, 2 subscript
    int shift = 0;    // half-points, positive up
    bool hidden = false;
    bool caps = false;
    bool smallCaps = false;
};

const char* UnderlineWord(KvRtfUnderline u)
{
    switch (u) {
    case KvRtfUnderline::None:
        return "ulnone";
    case KvRtfUnderline::Single:
        return "ul";
    case KvRtfUnderline::Double:
        return "uldb";
    case KvRtfUnderline::Words:
        return "ulw";
    case KvRtfUnderline::Dotted:
        return "uld";
    case KvRtfUnderline::Dash:
        return "uldash";
    case KvRtfUnderline::DashDot:
        return "uldashd";
    case KvRtfUnderline::DashDotDot:
        return "uldashdd";
    case KvRtfUnderline::Thick:
        return "ulth";
    case KvRtfUnderline::Wave:
        return "ulwave";
    }
    return "ul";
}

// Collects a frame's blocks and tables in document order; other frames are flattened.
using Item = std::variant<QTextBlock, QTextTable*>;

void CollectItems(QTextFrame::iterator it, QTextFrame::iterator end, std::vector<Item>& items,
                  bool flattenTables)
{
    for (; it != end; ++it) {
        if (QTextFrame* child = it.currentFrame()) {
            auto* table = qobject_cast<QTextTable*>(child);
            if (table && !flattenTables)
                items.emplace_back(table);
            else
                CollectItems(child->begin(), child->end(), items, flattenTables);
        } else if (it.currentBlock().isValid()) {
            items.emplace_back(it.currentBlock());
        }
    }
}

class Writer
{
public:
    Writer(const QTextDocument& doc, const KvRtfWriter::Options& options)
        : m_doc(doc), m_options(options)
    {}

    QByteArray Run()
    {
        QFont def = m_doc.defaultFont();
        m_defaultFamily = def.family();
        m_defaultPoints = def.pointSizeF() > 0  ? def.pointSizeF()
                          : def.pixelSize() > 0 ? def.pixelSize() * 0.75
                                                : 12.0;
        m_fonts.push_back({m_defaultFamily, 0, def.fixedPitch() ? 1 : 0});
        CollectTables();

        std::vector<Item> items;
        CollectItems(m_doc.rootFrame()->begin(), m_doc.rootFrame()->end(), items, false);

        WriteHeader();
        for (size_t i = 0; i < items.size(); ++i) {
            if (auto* table = std::get_if<QTextTable*>(&items[i])) {
                WriteTable(*table);
                continue;
            }
            // Every paragraph ends with \par; the reader makes no new paragraph after the last.
            WriteBlock(std::get<QTextBlock>(items[i]), false);
            if (i + 1 < items.size() || m_options.lastParagraphMark)
                EndParagraph("par");
        }
        Close();
        m_out += "\r\n";
        return m_out;
    }

private:
    // ---- tables of fonts and colours ----

    void CollectTables()
    {
        for (QTextBlock b = m_doc.begin(); b.isValid(); b = b.next()) {
            CollectFormat(b.charFormat());
            for (auto it = b.begin(); !it.atEnd(); ++it)
                CollectFormat(it.fragment().charFormat());
            if (QTextList* list = b.textList()) {
                if (IsBullet(list->format().style()))
                    FontIndex({u"Symbol"_qs, 2, 0});
            }
        }
    }

    void CollectFormat(const QTextCharFormat& fmt) { StateOf(fmt); }

    int FontIndex(const FontKey& key)
    {
        const auto it = std::find(m_fonts.begin(), m_fonts.end(), key);
        if (it != m_fonts.end())
            return int(it - m_fonts.begin());
        m_fonts.push_back(key);
        return int(m_fonts.size()) - 1;
    }

    int ColorIndex(const QColor& c)
    {
        const QRgb rgb = c.rgb() & 0xFFFFFF;
        const auto it = std::find(m_colors.begin(), m_colors.end(), rgb);
        if (it != m_colors.end())
            return int(it - m_colors.begin()) + 1;
        m_colors.push_back(rgb);
        return int(m_colors.size());
    }

    CharState StateOf(const QTextCharFormat& fmt)
    {
        CharState s;
        FontKey key;
        key.name = KvCharAttributes::Family(fmt);
        if (key.name.isEmpty())
            key.name = m_defaultFamily;
        key.charset = KvCharAttributes::RtfCharset(
            fmt.hasProperty(KvRtfProp::FontCharset) ? fmt.intProperty(KvRtfProp::FontCharset) : 0);
        key.pitch = fmt.hasProperty(KvRtfProp::FontPitch) ? fmt.intProperty(KvRtfProp::FontPitch)
                    : fmt.fontFixedPitch()                ? 1
                                                          : 0;
        s.font = FontIndex(key);

        const double points = KvCharAttributes::PointSize(fmt);
        s.halfPoints = int(std::lround((points > 0 ? points : m_defaultPoints) * 2));

        s.bold = fmt.fontWeight() >= QFont::DemiBold;
        s.italic = fmt.fontItalic();
        const bool qtUnderline =
            fmt.underlineStyle() != QTextCharFormat::NoUnderline || fmt.fontUnderline();
        if (qtUnderline) {
            const int kind = fmt.intProperty(KvRtfProp::UnderlineKind);
            if (kind > 0 && kind <= int(KvRtfUnderline::Wave)) {
                s.underline = KvRtfUnderline(kind);
            } else {
                switch (fmt.underlineStyle()) {
                case QTextCharFormat::DashUnderline:
                    s.underline = KvRtfUnderline::Dash;
                    break;
                case QTextCharFormat::DotLine:
                    s.underline = KvRtfUnderline::Dotted;
                    break;
                case QTextCharFormat::DashDotLine:
                    s.underline = KvRtfUnderline::DashDot;
                    break;
                case QTextCharFormat::DashDotDotLine:
                    s.underline = KvRtfUnderline::DashDotDot;
                    break;
                case QTextCharFormat::WaveUnderline:
                case QTextCharFormat::SpellCheckUnderline:
                    s.underline = KvRtfUnderline::Wave;
                    break;
                default:
                    s.underline = KvRtfUnderline::Single;
                }
            }
        }
        s.strike = fmt.fontStrikeOut();
        if (fmt.hasProperty(QTextFormat::ForegroundBrush) &&
            fmt.foreground().style() != Qt::NoBrush)
            s.color = ColorIndex(fmt.foreground().color());
        if (fmt.hasProperty(QTextFormat::BackgroundBrush) &&
            fmt.background().style() != Qt::NoBrush && fmt.background().color().alpha() > 0)
            s.highlight = ColorIndex(fmt.background().color());
        switch (fmt.verticalAlignment()) {
        case QTextCharFormat::AlignSuperScript:
            s.vertical = 1;
            break;
        case QTextCharFormat::AlignSubScript:
            s.vertical = 2;
            break;
        default:
            break;
        }
        s.shift = fmt.intProperty(KvRtfProp::BaselineShift);
        s.hidden = fmt.boolProperty(KvRtfProp::Hidden);
        s.caps = fmt.fontCapitalization() == QFont::AllUppercase;
        s.smallCaps = fmt.fontCapitalization() == QFont::SmallCaps;
        return s;
    }

    // ---- output primitives ----

    void Word(const char* word)
    {
        m_out += '\\';
        m_out += word;
        m_needSpace = true;
    }

    void Word(const char* word, int n)
    {
        Word(word);
        m_out += QByteArray::number(n);
    }

    void Open()
    {
        m_out += '{';
        m_needSpace = false;
        m_stack.push_back(m_state);
    }

    void Close()
    {
        m_out += '}';
        m_needSpace = false;
        if (!m_stack.empty()) {
            m_state = m_stack.back();
            m_stack.pop_back();
        }
    }

    void NewLine()
    {
        m_out += "\r\n";
        m_needSpace = false;
    }

    void EndParagraph(const char* word)
    {
        Word(word);
        NewLine();
    }

    void Hex(int byte)
    {
        static const char digits[] = "0123456789abcdef";
        m_out += "\\'";
        m_out += digits[(byte >> 4) & 15];
        m_out += digits[byte & 15];
        m_needSpace = false;
    }

    // \'xx is read in the code page of the current font's charset: only ANSI fonts get it,
    // text in any other font is written as \uN? throughout.
    bool AnsiFont(int font) const
    {
        const int charset =
            font >= 0 && size_t(font) < m_fonts.size() ? m_fonts[size_t(font)].charset : 0;
        return charset == 0 || charset == 1;
    }

    void Text(QStringView text) { Text(text, AnsiFont(m_state.font)); }

    void Text(QStringView text, bool ansi)
    {
        for (const QChar qc : text) {
            const char16_t u = qc.unicode();
            switch (u) {
            case u'\t':
                Word("tab");
                continue;
            case u'\n':
            case u'\r':
            case 0x2028: // QChar::LineSeparator, a soft line break
            case 0x000B:
                Word("line");
                continue;
            default:
                break;
            }
            if (m_needSpace) {
                m_out += ' ';
                m_needSpace = false;
            }
            if (u == u'\\' || u == u'{' || u == u'}') {
                m_out += '\\';
                m_out += char(u);
            } else if (u >= 0x20 && u < 0x7F) {
                m_out += char(u);
            } else if (const int b = ansi ? Cp1252Byte(u) : -1; b >= 0) {
                Hex(b);
            } else {
                m_out += "\\u";
                m_out += QByteArray::number(u > 32767 ? int(u) - 65536 : int(u));
                m_out += '?';
            }
        }
    }

    // ---- header ----

    void WriteHeader()
    {
        Open();
        Word("rtf1");
        Word("ansi");
        Word("ansicpg", 1252);
        Word("deff", 0);
        Open();
        Word("fonttbl");
        for (size_t i = 0; i < m_fonts.size(); ++i) {
            const FontKey& f = m_fonts[i];
            Open();
            Word("f", int(i));
            Word(f.pitch == 1 ? "fmodern" : "fnil");
            if (f.pitch != 0)
                Word("fprq", f.pitch);
            Word("fcharset", f.charset);
            QString name = f.name;
            name.remove(u';');
            Text(name, AnsiFont(int(i)));
            m_out += ';';
            Close();
        }
        Close();
        NewLine();
        if (!m_colors.empty()) {
            Open();
            Word("colortbl");
            m_out += " ;";
            for (QRgb rgb : m_colors) {
                Word("red", qRed(rgb));
                Word("green", qGreen(rgb));
                Word("blue", qBlue(rgb));
                m_out += ';';
                m_needSpace = false;
            }
            Close();
            NewLine();
        }
        if (!m_options.generator.isEmpty()) {
            Open();
            Word("*");
            Word("generator");
            Text(m_options.generator);
            m_out += ';';
            Close();
        }
        Word("viewkind", 4);
        Word("uc", 1);
    }

    // ---- characters ----

    void ApplyState(const CharState& s)
    {
        CharState& c = m_state;
        if (s.font != c.font)
            Word("f", s.font);
        if (s.halfPoints != c.halfPoints)
            Word("fs", s.halfPoints);
        if (s.color != c.color)
            Word("cf", s.color);
        if (s.highlight != c.highlight)
            Word("highlight", s.highlight);
        if (s.bold != c.bold)
            s.bold ? Word("b") : Word("b", 0);
        if (s.italic != c.italic)
            s.italic ? Word("i") : Word("i", 0);
        if (s.underline != c.underline)
            Word(UnderlineWord(s.underline));
        if (s.strike != c.strike)
            s.strike ? Word("strike") : Word("strike", 0);
        if (s.vertical != c.vertical)
            Word(s.vertical == 1 ? "super" : s.vertical == 2 ? "sub" : "nosupersub");
        if (s.shift != c.shift) {
            if (s.shift >= 0)
                Word("up", s.shift);
            else
                Word("dn", -s.shift);
        }
        if (s.hidden != c.hidden)
            s.hidden ? Word("v") : Word("v", 0);
        if (s.caps != c.caps)
            s.caps ? Word("caps") : Word("caps", 0);
        if (s.smallCaps != c.smallCaps)
            s.smallCaps ? Word("scaps") : Word("scaps", 0);
        c = s;
    }

    void WriteRun(const QTextCharFormat& fmt, QStringView text)
    {
        ApplyState(StateOf(fmt));
        Text(text);
    }

    void WriteObjects(const QTextCharFormat& fmt, int count)
    {
        const QByteArray raw = fmt.property(KvRtfProp::RawRtfGroup).toByteArray();
        for (int i = 0; i < count; ++i) {
            if (!raw.isEmpty()) {
                ApplyState(StateOf(fmt));
                m_out += raw;
                m_needSpace = false;
            } else if (fmt.isImageFormat()) {
                WritePicture(fmt.toImageFormat());
            }
        }
    }

    void WritePicture(const QTextImageFormat& fmt)
    {
        const QVariant res = m_doc.resource(QTextDocument::ImageResource, QUrl(fmt.name()));
        QByteArray data;
        QImage image;
        const char* blip = "pngblip";
        const QByteArray bytes = fmt.property(KvRtfProp::PictureBytes).toByteArray();
        if (!bytes.isEmpty() && (bytes.startsWith("\x89PNG") || bytes.startsWith("\xFF\xD8"))) {
            // The bytes as read or inserted: a JPEG stays a JPEG, nothing is decoded again.
            data = bytes;
            blip = bytes.startsWith("\xFF\xD8") ? "jpegblip" : "pngblip";
            if (res.typeId() == QMetaType::QImage)
                image = res.value<QImage>();
            else
                image.loadFromData(bytes);
            if (image.isNull())
                image = QImage(1, 1, QImage::Format_RGB32);
        } else if (res.typeId() == QMetaType::QByteArray) {
            data = res.toByteArray();
            image.loadFromData(data);
            if (data.startsWith("\x89PNG")) {
                blip = "pngblip";
            } else if (data.startsWith("\xFF\xD8")) {
                blip = "jpegblip";
            } else {
                data.clear(); // another format: re-encoded as PNG below
            }
        } else if (res.typeId() == QMetaType::QImage) {
            image = res.value<QImage>();
        } else if (res.typeId() == QMetaType::QPixmap) {
            image = res.value<QPixmap>().toImage();
        }
        if (image.isNull())
            return;
        if (data.isEmpty()) {
            QBuffer buf(&data);
            buf.open(QIODevice::WriteOnly);
            if (!image.save(&buf, "PNG"))
                return;
            blip = "pngblip";
        }
        const double w = fmt.width() > 0 ? fmt.width() : image.width();
        const double h = fmt.height() > 0 ? fmt.height() : image.height();
        ApplyState(StateOf(fmt));
        Open();
        Word("pict");
        Word(blip);
        Word("picw", image.width());
        Word("pich", image.height());
        Word("picwgoal", KvRtfWriter::ToTwips(w));
        Word("pichgoal", KvRtfWriter::ToTwips(h));
        NewLine();
        const QByteArray hex = data.toHex();
        for (qsizetype i = 0; i < hex.size(); i += 128) {
            m_out += hex.mid(i, 128);
            NewLine();
        }
        Close();
    }

    // ---- paragraphs ----

    static bool IsBullet(QTextListFormat::Style style)
    {
        return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
               style == QTextListFormat::ListSquare;
    }

    void WriteListProps(const QTextBlock& block, QTextList* list)
    {
        const QTextListFormat lf = list->format();
        const bool bullet = IsBullet(lf.style());
        const int symbolFont = bullet ? FontIndex({u"Symbol"_qs, 2, 0}) : 0;
        Open();
        Word("pntext");
        if (bullet) {
            Word("f", symbolFont);
            Hex(0xB7);
        } else {
            Text(list->itemText(block));
        }
        Word("tab");
        Close();

        Open();
        Word("*");
        Word("pn");
        // Nesting deeper than one level goes into \pnlvlN, which the reader takes as the level.
        const int level = std::clamp(lf.indent(), 1, 9);
        if (bullet) {
            Word("pnlvlblt");
            if (level > 1)
                Word("pnlvl", level);
            Word("pnf", symbolFont);
            Word("pnindent", 0);
            Open();
            Word("pntxtb");
            Hex(0xB7);
            Close();
        } else {
            if (level > 1)
                Word("pnlvl", level);
            else
                Word("pnlvlbody");
            Word("pnindent", 0);
            Word("pnstart", 1);
            switch (lf.style()) {
            case QTextListFormat::ListLowerAlpha:
                Word("pnlcltr");
                break;
            case QTextListFormat::ListUpperAlpha:
                Word("pnucltr");
                break;
            case QTextListFormat::ListLowerRoman:
                Word("pnlcrm");
                break;
            case QTextListFormat::ListUpperRoman:
                Word("pnucrm");
                break;
            default:
                Word("pndec");
            }
            const QString prefix = lf.numberPrefix();
            const QString suffix =
                lf.hasProperty(QTextFormat::ListNumberSuffix) ? lf.numberSuffix() : u"."_qs;
            if (!prefix.isEmpty()) {
                Open();
                Word("pntxtb");
                Text(prefix);
                Close();
            }
            if (!suffix.isEmpty()) {
                Open();
                Word("pntxta");
                Text(suffix);
                Close();
            }
        }
        Close();
    }

    void WriteParagraphProps(const QTextBlock& block, bool inTable)
    {
        const QTextBlockFormat bf = block.blockFormat();
        Word("pard");
        if (inTable)
            Word("intbl");
        QTextList* list = block.textList();
        if (list)
            WriteListProps(block, list);

        const Qt::Alignment align = bf.alignment() & Qt::AlignHorizontal_Mask;
        if (align & Qt::AlignJustify)
            Word("qj");
        else if (align & Qt::AlignHCenter)
            Word("qc");
        else if ((align & Qt::AlignRight) || (align & Qt::AlignTrailing))
            Word("qr");

        double left = bf.leftMargin() + bf.indent() * m_doc.indentWidth();
        if (list)
            left += list->format().indent() * m_doc.indentWidth();
        if (const int fi = KvRtfWriter::ToTwips(bf.textIndent()))
            Word("fi", fi);
        if (const int li = KvRtfWriter::ToTwips(left))
            Word("li", li);
        if (const int ri = KvRtfWriter::ToTwips(bf.rightMargin()))
            Word("ri", ri);
        if (const int sb = KvRtfWriter::ToTwips(bf.topMargin()))
            Word("sb", sb);
        if (const int sa = KvRtfWriter::ToTwips(bf.bottomMargin()))
            Word("sa", sa);
        WriteLineSpacing(bf);
        for (const QTextOption::Tab& tab : bf.tabPositions()) {
            if (tab.type == QTextOption::RightTab)
                Word("tqr");
            else if (tab.type == QTextOption::CenterTab)
                Word("tqc");
            else if (tab.type == QTextOption::DelimiterTab)
                Word("tqdec");
            Word("tx", KvRtfWriter::ToTwips(tab.position));
        }
    }

    void WriteLineSpacing(const QTextBlockFormat& bf)
    {
        if (bf.hasProperty(KvRtfProp::LineSpacingTwips)) {
            Word("sl", bf.intProperty(KvRtfProp::LineSpacingTwips));
            Word("slmult", bf.boolProperty(KvRtfProp::LineSpacingMult) ? 1 : 0);
            return;
        }
        switch (bf.lineHeightType()) {
        case QTextBlockFormat::ProportionalHeight:
            if (bf.lineHeight() > 0 && std::lround(bf.lineHeight()) != 100) {
                Word("sl", int(std::lround(240 * bf.lineHeight() / 100)));
                Word("slmult", 1);
            }
            break;
        case QTextBlockFormat::FixedHeight:
            Word("sl", -KvRtfWriter::ToTwips(bf.lineHeight()));
            Word("slmult", 0);
            break;
        case QTextBlockFormat::MinimumHeight:
            Word("sl", KvRtfWriter::ToTwips(bf.lineHeight()));
            Word("slmult", 0);
            break;
        default:
            break;
        }
    }

    void WriteBlock(const QTextBlock& block, bool inTable)
    {
        WriteParagraphProps(block, inTable);
        QString linkHref;
        bool inLink = false;
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            const QTextCharFormat fmt = frag.charFormat();
            const QString href = fmt.isAnchor() ? fmt.anchorHref() : QString();
            if (inLink && href != linkHref) {
                CloseLink();
                inLink = false;
            }
            if (!href.isEmpty() && !inLink) {
                OpenLink(href);
                inLink = true;
                linkHref = href;
            }
            const QString text = frag.text();
            // Objects (pictures, kept RTF groups) are runs of U+FFFC with an object format.
            if (fmt.isImageFormat() || fmt.hasProperty(KvRtfProp::RawRtfGroup)) {
                int objects = 0;
                for (QChar c : text) {
                    if (c == QChar::ObjectReplacementCharacter)
                        ++objects;
                }
                WriteObjects(fmt, objects);
            } else {
                WriteRun(fmt, text);
            }
        }
        if (inLink)
            CloseLink();
        // The paragraph mark keeps the block's character format (size of an empty line).
        if (block.length() <= 1)
            ApplyState(StateOf(block.charFormat()));
    }

    void OpenLink(const QString& href)
    {
        Open();
        Word("field");
        Open();
        Word("*");
        Word("fldinst");
        Open();
        QString url = href;
        url.replace(u'"', u"%22"_qs);
        m_out += "HYPERLINK \"";
        Text(url);
        m_out += '"';
        Close();
        Close();
        Open();
        Word("fldrslt");
        Open();
    }

    void CloseLink()
    {
        Close();
        Close();
        Close();
    }

    // ---- tables ----

    std::vector<int> ColumnEdges(QTextTable* table)
    {
        const int cols = table->columns();
        const QList<QTextLength> widths = table->format().columnWidthConstraints();
        const double total = 9000.0; // twips of a table without widths
        std::vector<int> edges;
        int x = 0;
        for (int c = 0; c < cols; ++c) {
            int w = int(total / cols);
            if (widths.size() == cols) {
                const QTextLength& l = widths[c];
                if (l.type() == QTextLength::FixedLength && l.rawValue() > 0)
                    w = KvRtfWriter::ToTwips(l.rawValue());
                else if (l.type() == QTextLength::PercentageLength && l.rawValue() > 0)
                    w = int(std::lround(total * l.rawValue() / 100));
            }
            x += std::max(w, 1);
            edges.push_back(x);
        }
        return edges;
    }

    void WriteTable(QTextTable* table)
    {
        const std::vector<int> edges = ColumnEdges(table);
        const QTextTableFormat tf = table->format();
        const bool borders =
            tf.border() > 0 && tf.borderStyle() != QTextFrameFormat::BorderStyle_None;
        for (int r = 0; r < table->rows(); ++r) {
            Word("trowd");
            Word("trgaph", KvRtfWriter::ToTwips(tf.cellPadding()));
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (cell.column() != c)
                    continue;
                if (cell.rowSpan() > 1 && cell.row() == r)
                    Word("clvmgf");
                else if (cell.row() != r)
                    Word("clvmrg");
                if (borders) {
                    for (const char* side : {"clbrdrt", "clbrdrl", "clbrdrb", "clbrdrr"}) {
                        Word(side);
                        Word("brdrs");
                        Word("brdrw", std::max(1, KvRtfWriter::ToTwips(tf.border())));
                    }
                }
                Word("cellx", edges[size_t(c + cell.columnSpan() - 1)]);
            }
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (cell.column() != c)
                    continue;
                if (cell.row() != r) {
                    Word("pard");
                    Word("intbl");
                    Word("cell");
                    continue;
                }
                std::vector<Item> items;
                CollectItems(cell.begin(), cell.end(), items, true);
                for (size_t i = 0; i < items.size(); ++i) {
                    WriteBlock(std::get<QTextBlock>(items[i]), true);
                    Word(i + 1 < items.size() ? "par" : "cell");
                }
                if (items.empty()) {
                    Word("pard");
                    Word("intbl");
                    Word("cell");
                }
            }
            EndParagraph("row");
        }
    }

    const QTextDocument& m_doc;
    const KvRtfWriter::Options& m_options;
    QByteArray m_out;
    bool m_needSpace = false;
    CharState m_state;
    std::vector<CharState> m_stack;
    std::vector<FontKey> m_fonts;
    std::vector<QRgb> m_colors;
    QString m_defaultFamily;
    double m_defaultPoints = 12.0;
};

} // namespace

QByteArray KvRtfWriter::Write(const QTextDocument& document, const Options& options)
{
    return Writer(document, options).Run();
}
