#include "richtext/rtfplaintext.h"

#include "richtext/rtfparser.h"
#include "richtext/rtfproperties.h"

#include <QTextBlock>
#include <QTextDocument>

namespace {

class PlainTextSink : public KvRtfSink
{
public:
    QString out;

    void Text(QStringView text, const KvRtfCharState& cs, bool ascii) override
    {
        if (cs.hidden)
            return;
        const qsizetype from = out.size();
        out.append(text);
        if (ascii)
            return;
        // What toPlainText() makes of line separators and non-breaking spaces.
        char16_t* p = reinterpret_cast<char16_t*>(out.data()) + from;
        char16_t* const end = reinterpret_cast<char16_t*>(out.data()) + out.size();
        for (; p != end; ++p) {
            if (*p == QChar::LineSeparator)
                *p = u'\n';
            else if (*p == QChar::Nbsp)
                *p = u' ';
        }
    }
    void Picture(const KvRtfPicture&, const KvRtfCharState&) override
    {
        out.append(QChar::ObjectReplacementCharacter);
    }
    void EndBlock(const KvRtfParaState&) override {}
    void NewBlock() override { out.append(u'\n'); }
    void BeginTable(int) override { out.append(u'\n'); }
    void NextCell(int, int) override { out.append(u'\n'); }
    void EndTable() override { out.append(u'\n'); }
    bool WantsPictureData() const override { return false; }
};

// The character replacements of QTextDocument::toPlainText().
inline QChar PlainChar(QChar c)
{
    switch (c.unicode()) {
    case 0xFDD0:
    case 0xFDD1:
    case QChar::ParagraphSeparator:
    case QChar::LineSeparator:
        return QChar(u'\n');
    case QChar::Nbsp:
        return QChar(u' ');
    default:
        return c;
    }
}

} // namespace

QString KvRtfPlainText::Extract(const QByteArray& rtf)
{
    PlainTextSink sink;
    sink.out.reserve(rtf.size() / 2);
    KvRtfParser parser(sink);
    parser.Parse(rtf);
    return std::move(sink.out);
}

QString KvRtfPlainText::DocumentText(const QTextDocument& doc)
{
    const QString raw = doc.toRawText();
    QString out;
    out.reserve(raw.size());
    qsizetype copied = 0; // raw[0, copied) is handled
    auto copyUpTo = [&](qsizetype end) {
        end = std::min(end, raw.size());
        for (; copied < end; ++copied)
            out.append(PlainChar(raw[copied]));
    };
    for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.isValid() || !frag.charFormat().boolProperty(KvRtfProp::Hidden))
                continue;
            copyUpTo(frag.position());
            copied =
                std::max(copied, std::min<qsizetype>(frag.position() + frag.length(), raw.size()));
        }
    }
    copyUpTo(raw.size());
    return out;
}
