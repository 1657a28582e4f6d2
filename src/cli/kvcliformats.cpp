#include "cli/kvcliformats.h"

#include "cli/kvclierror.h"
#include "richtext/rtfplaintext.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QTextDocument>

namespace KvCliFormats {

std::optional<Format> FromName(const QString& name)
{
    const QString n = name.toLower();
    if (n == u"rtf")
        return Format::Rtf;
    if (n == u"txt")
        return Format::Txt;
    if (n == u"html" || n == u"htm")
        return Format::Html;
    if (n == u"md" || n == u"markdown")
        return Format::Md;
    return std::nullopt;
}

std::optional<Format> FromPath(const QString& path)
{
    const QString suffix = QFileInfo(path).suffix();
    return suffix.isEmpty() ? std::nullopt : FromName(suffix);
}

void Read(const QByteArray& bytes, Format format, QTextDocument& doc)
{
    switch (format) {
    case Format::Rtf:
        if (!KvRtfReader::Read(bytes, &doc))
            throw KvCliError(u"the input is not RTF"_qs);
        return;
    case Format::Txt: {
        // UTF-8, and Windows-1252 for text that is not valid UTF-8.
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8(bytes);
        if (utf8.hasError())
            text = QStringDecoder("windows-1252")(bytes);
        text.replace(u"\r\n"_qs, u"\n"_qs);
        if (text.startsWith(QChar(0xFEFF)))
            text.remove(0, 1);
        doc.setPlainText(text);
        return;
    }
    case Format::Html:
        doc.setHtml(QString::fromUtf8(bytes));
        return;
    case Format::Md:
        doc.setMarkdown(QString::fromUtf8(bytes));
        return;
    }
}

QByteArray Write(const QTextDocument& doc, Format format)
{
    switch (format) {
    case Format::Rtf:
        return KvRtfWriter::Write(doc);
    case Format::Txt: {
        QString text = KvRtfPlainText::DocumentText(doc);
        if (!text.isEmpty() && !text.endsWith(u'\n'))
            text += u'\n';
        return text.toUtf8();
    }
    case Format::Html:
        return doc.toHtml().toUtf8();
    case Format::Md:
        return doc.toMarkdown().toUtf8();
    }
    return {};
}

} // namespace KvCliFormats
