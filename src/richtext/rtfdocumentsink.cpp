#include "richtext/rtfdocumentsink.h"

#include "richtext/rtfproperties.h"

#include <QImage>
#include <QTextDocument>
#include <QTextList>
#include <QTextTable>
#include <QUrl>

namespace {

QTextListFormat::Style ListStyle(KvRtfListKind kind)
{
    switch (kind) {
    case KvRtfListKind::Decimal:
        return QTextListFormat::ListDecimal;
    case KvRtfListKind::LowerAlpha:
        return QTextListFormat::ListLowerAlpha;
    case KvRtfListKind::UpperAlpha:
        return QTextListFormat::ListUpperAlpha;
    case KvRtfListKind::LowerRoman:
        return QTextListFormat::ListLowerRoman;
    case KvRtfListKind::UpperRoman:
        return QTextListFormat::ListUpperRoman;
    default:
        return QTextListFormat::ListDisc;
    }
}

double Px(int twips)
{
    return twips / KvRtfTwipsPerPixel;
}

QImage Placeholder(int width, int height)
{
    QImage img(std::clamp(width, 8, 2000), std::clamp(height, 8, 2000), QImage::Format_RGB32);
    img.fill(QColor(0xE0, 0xE0, 0xE0));
    const QRgb border = qRgb(0x90, 0x90, 0x90);
    for (int x = 0; x < img.width(); ++x) {
        img.setPixel(x, 0, border);
        img.setPixel(x, img.height() - 1, border);
    }
    for (int y = 0; y < img.height(); ++y) {
        img.setPixel(0, y, border);
        img.setPixel(img.width() - 1, y, border);
    }
    return img;
}

} // namespace

KvRtfDocumentSink::KvRtfDocumentSink(QTextDocument* doc) : m_doc(doc), m_cursor(doc) {}

const QTextCharFormat& KvRtfDocumentSink::CharFormat(const KvRtfCharState& cs)
{
    for (const CachedFormat& c : m_formats) {
        if (c.valid && c.cs == cs)
            return c.format;
    }
    QTextCharFormat f;
    if (const KvRtfFont* font = m_parser->Font(cs.font)) {
        if (!font->name.isEmpty())
            f.setFontFamilies(QStringList{font->name});
        if (font->charset >= 0)
            f.setProperty(KvRtfProp::FontCharset, font->charset);
        if (font->pitch != 0)
            f.setProperty(KvRtfProp::FontPitch, font->pitch);
    }
    f.setFontPointSize(cs.fontSize / 2.0);
    if (cs.bold)
        f.setFontWeight(QFont::Bold);
    if (cs.italic)
        f.setFontItalic(true);
    switch (static_cast<KvRtfUnderline>(cs.underline)) {
    case KvRtfUnderline::None:
        break;
    case KvRtfUnderline::Single:
        f.setUnderlineStyle(QTextCharFormat::SingleUnderline);
        break;
    case KvRtfUnderline::Dotted:
        f.setUnderlineStyle(QTextCharFormat::DotLine);
        break;
    case KvRtfUnderline::Dash:
        f.setUnderlineStyle(QTextCharFormat::DashUnderline);
        break;
    case KvRtfUnderline::DashDot:
        f.setUnderlineStyle(QTextCharFormat::DashDotLine);
        break;
    case KvRtfUnderline::DashDotDot:
        f.setUnderlineStyle(QTextCharFormat::DashDotDotLine);
        break;
    case KvRtfUnderline::Wave:
        f.setUnderlineStyle(QTextCharFormat::WaveUnderline);
        break;
    case KvRtfUnderline::Double:
    case KvRtfUnderline::Words:
    case KvRtfUnderline::Thick:
        f.setUnderlineStyle(QTextCharFormat::SingleUnderline);
        f.setProperty(KvRtfProp::UnderlineKind, cs.underline);
        break;
    }
    if (cs.strike)
        f.setFontStrikeOut(true);
    if (cs.verticalAlign == 1)
        f.setVerticalAlignment(QTextCharFormat::AlignSuperScript);
    else if (cs.verticalAlign == 2)
        f.setVerticalAlignment(QTextCharFormat::AlignSubScript);
    if (cs.baselineShift != 0)
        f.setProperty(KvRtfProp::BaselineShift, cs.baselineShift);
    if (const QColor c = m_parser->Color(cs.foreground); c.isValid())
        f.setForeground(c);
    if (const QColor c = m_parser->Color(cs.background); c.isValid())
        f.setBackground(c);
    if (cs.caps == 1)
        f.setFontCapitalization(QFont::AllUppercase);
    else if (cs.caps == 2)
        f.setFontCapitalization(QFont::SmallCaps);
    if (cs.hidden)
        f.setProperty(KvRtfProp::Hidden, true);
    if (cs.link >= 0) {
        f.setAnchor(true);
        f.setAnchorHref(m_parser->Link(cs.link));
    }
    CachedFormat& slot = m_formats[m_nextFormat];
    m_nextFormat = (m_nextFormat + 1) % m_formats.size();
    slot = CachedFormat{cs, f, true};
    return slot.format;
}

QTextBlockFormat KvRtfDocumentSink::BlockFormat(const KvRtfParaState& p) const
{
    QTextBlockFormat f;
    static constexpr Qt::Alignment aligns[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight,
                                               Qt::AlignJustify};
    if (p.align != 0)
        f.setAlignment(aligns[std::clamp(p.align, 0, 3)]);
    const bool list = p.listKind != KvRtfListKind::None;
    if (p.leftIndent != 0 && !list)
        f.setLeftMargin(Px(p.leftIndent));
    if (p.rightIndent != 0)
        f.setRightMargin(Px(p.rightIndent));
    if (p.firstIndent != 0 && !list)
        f.setTextIndent(Px(p.firstIndent));
    if (p.spaceBefore != 0)
        f.setTopMargin(Px(p.spaceBefore));
    if (p.spaceAfter != 0)
        f.setBottomMargin(Px(p.spaceAfter));
    if (p.lineSpacing != 0) {
        f.setProperty(KvRtfProp::LineSpacingTwips, p.lineSpacing);
        f.setProperty(KvRtfProp::LineSpacingMult, p.lineMult);
        if (p.lineMult && p.lineSpacing > 0)
            f.setLineHeight(p.lineSpacing * 100.0 / 240.0, QTextBlockFormat::ProportionalHeight);
        else if (p.lineSpacing < 0)
            f.setLineHeight(Px(-p.lineSpacing), QTextBlockFormat::FixedHeight);
        else if (!p.lineMult)
            f.setLineHeight(Px(p.lineSpacing), QTextBlockFormat::MinimumHeight);
    }
    if (!p.tabs.isEmpty()) {
        QList<QTextOption::Tab> tabs;
        for (const KvRtfTab& t : p.tabs) {
            static constexpr QTextOption::TabType types[] = {
                QTextOption::LeftTab, QTextOption::CenterTab, QTextOption::RightTab,
                QTextOption::DelimiterTab};
            tabs.append(QTextOption::Tab(Px(t.position), types[std::clamp(t.kind, 0, 3)],
                                         t.kind == 3 ? QChar(u'.') : QChar()));
        }
        f.setTabPositions(tabs);
    }
    return f;
}

void KvRtfDocumentSink::Text(QStringView text, const KvRtfCharState& cs, bool)
{
    m_cursor.insertText(text.toString(), CharFormat(cs));
}

void KvRtfDocumentSink::Picture(const KvRtfPicture& pic, const KvRtfCharState& cs)
{
    using K = KvRtfPicture::Kind;
    QImage image;
    // An object shows the picture of its result.
    const K shown = pic.kind == K::Object ? pic.resultKind : pic.kind;
    if (shown == K::Png || shown == K::Jpeg) {
        image = QImage::fromData(pic.data, shown == K::Png ? "PNG" : "JPG");
        if (image.isNull())
            image = QImage::fromData(pic.data);
        if (image.isNull())
            warnings << u"A picture could not be decoded."_qs;
    }
    const int scaleX = std::clamp(pic.scaleX > 0 ? pic.scaleX : 100, 1, 1000);
    const int scaleY = std::clamp(pic.scaleY > 0 ? pic.scaleY : 100, 1, 1000);
    double width = 0, height = 0;
    if (pic.goalWidth > 0 && pic.goalHeight > 0) {
        width = Px(pic.goalWidth) * scaleX / 100.0;
        height = Px(pic.goalHeight) * scaleY / 100.0;
    } else if (!image.isNull()) {
        width = image.width() * scaleX / 100.0;
        height = image.height() * scaleY / 100.0;
    }
    if (image.isNull()) {
        const int w = width > 0 ? qRound(std::min(width, 2000.0)) : 64;
        const int h = height > 0 ? qRound(std::min(height, 2000.0)) : 64;
        image = Placeholder(w, h);
    }
    const QString name = u"rtfimage%1"_qs.arg(++m_images);
    m_doc->addResource(QTextDocument::ImageResource, QUrl(name), image);
    QTextImageFormat f;
    f.setName(name);
    if (width > 0 && height > 0) {
        f.setWidth(width);
        f.setHeight(height);
    }
    if (!pic.rawGroup.isEmpty())
        f.setProperty(KvRtfProp::RawRtfGroup, pic.rawGroup);
    else if (pic.kind == K::Png || pic.kind == K::Jpeg)
        f.setProperty(KvRtfProp::PictureBytes, pic.data); // written back as read
    if (cs.link >= 0) {
        f.setAnchor(true);
        f.setAnchorHref(m_parser->Link(cs.link));
    }
    m_cursor.insertImage(f);
}

void KvRtfDocumentSink::AddToList(const KvRtfParaState& p)
{
    if (p.listKind == KvRtfListKind::None) {
        m_lastList = nullptr;
        m_lastListKey = 0;
        return;
    }
    QTextList* list = nullptr;
    if (p.listContiguous)
        list = (m_lastList && m_lastListKey == p.listKey) ? m_lastList : nullptr;
    else
        list = m_lists.value(p.listKey);
    if (list) {
        list->add(m_cursor.block());
    } else {
        QTextListFormat lf;
        lf.setStyle(ListStyle(p.listKind));
        lf.setIndent(p.listIndent + 1);
        if (p.listKind != KvRtfListKind::Bullet) {
            lf.setNumberPrefix(p.listPrefix);
            lf.setNumberSuffix(p.listSuffix);
        }
        list = m_cursor.createList(lf);
        if (!p.listContiguous)
            m_lists.insert(p.listKey, list);
    }
    m_lastList = list;
    m_lastListKey = p.listKey;
}

void KvRtfDocumentSink::EndBlock(const KvRtfParaState& para)
{
    // New blocks start with the previous paragraph's format: mostly right already.
    QTextBlockFormat f = BlockFormat(para);
    if (m_cursor.blockFormat() != f)
        m_cursor.setBlockFormat(f);
    m_lastBlockFormat = std::move(f);
    AddToList(para);
}

void KvRtfDocumentSink::NewBlock()
{
    m_cursor.insertBlock(m_lastBlockFormat, QTextCharFormat());
}

void KvRtfDocumentSink::BeginTable(int columns)
{
    QTextTableFormat tf;
    tf.setBorder(1);
    tf.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    tf.setCellPadding(2);
    tf.setCellSpacing(0);
    m_table = m_cursor.insertTable(1, columns, tf);
    m_cursor = m_table->cellAt(0, 0).firstCursorPosition();
    m_lastList = nullptr;
    m_lastListKey = 0;
}

void KvRtfDocumentSink::NextCell(int row, int column)
{
    if (!m_table)
        return;
    if (row >= m_table->rows())
        m_table->appendRows(row - m_table->rows() + 1);
    m_cursor = m_table->cellAt(row, column).firstCursorPosition();
}

void KvRtfDocumentSink::EndTable()
{
    m_table = nullptr;
    m_cursor = QTextCursor(m_doc);
    m_cursor.movePosition(QTextCursor::End);
    m_lastList = nullptr;
    m_lastListKey = 0;
}
