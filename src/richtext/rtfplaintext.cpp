#include "richtext/rtfplaintext.h"

#include "platform/kvwipe.h"
#include "richtext/rtfparser.h"
#include "richtext/rtfproperties.h"

#include <QTextBlock>
#include <QTextDocument>

namespace {

class PlainTextSink : public KvRtfSink
{
public:
    QString out;

    // The parser appends visible text to out directly (PlainTextBuffer).
    void Text(QStringView, const KvRtfCharState&, bool) override {}
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
    QString* PlainTextBuffer() override { return &out; }
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

QString KvRtfPlainText::Extract(QByteArrayView rtf)
{
    PlainTextSink sink;
    sink.out.reserve(rtf.size() / 2);
    KvRtfParser parser(sink);
    parser.Parse(rtf);
    return std::move(sink.out);
}

bool KvRtfPlainText::Extract(QByteArrayView rtf, QString& text, qsizetype interval,
                             const std::function<bool(const QString&)>& checkpoint)
{
    PlainTextSink sink;
    sink.out.swap(text);
    sink.out.resize(0);
    // Every character of the text takes at least one byte of RTF: no growing on the way.
    sink.out.reserve(rtf.size());
    KvRtfParser parser(sink);
    parser.SetCheckpoint(interval, [&] { return checkpoint(sink.out); });
    parser.Parse(rtf);
    text.swap(sink.out);
    return !parser.Stopped();
}

QString KvRtfPlainText::DocumentText(const QTextDocument& doc, std::vector<int>* positions)
{
    QString raw = doc.toRawText();
    QString out;
    out.reserve(raw.size());
    if (positions) {
        positions->clear();
        positions->reserve(raw.size());
    }
    qsizetype copied = 0; // raw[0, copied) is handled
    auto copyUpTo = [&](qsizetype end) {
        end = std::min(end, raw.size());
        for (; copied < end; ++copied) {
            out.append(PlainChar(raw[copied]));
            if (positions)
                positions->push_back(int(copied));
        }
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
    // The page may be protected: no second copy of its text stays behind.
    KvWipe::Wipe(raw);
    return out;
}
