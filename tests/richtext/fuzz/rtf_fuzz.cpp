// libFuzzer target: the RTF reader and the plain-text extractor on arbitrary bytes.
#include "richtext/rtfplaintext.h"
#include "richtext/rtfreader.h"

#include <QByteArray>
#include <QGuiApplication>
#include <QTextDocument>
#include <cstdint>
#include <cstdlib>
#include <memory>

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static std::unique_ptr<QGuiApplication> app = std::make_unique<QGuiApplication>(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray rtf(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QTextDocument doc;
    KvRtfReader::Read(rtf, &doc);
    const QString docText = KvRtfPlainText::DocumentText(doc);
    const QString extracted = KvRtfPlainText::Extract(rtf);
    if (docText != extracted)
        std::abort(); // reader and extractor must never disagree
    if (docText.size() > 64 * rtf.size() + 64)
        std::abort(); // output grows at most linearly with the input
    return 0;
}
