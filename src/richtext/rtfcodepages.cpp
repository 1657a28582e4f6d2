#include "richtext/rtfcodepages.h"

namespace KvRtfCodePages {

int ForCharset(int charset, int ansiCodePage)
{
    switch (charset) {
    case 0:
        return 1252;
    case 2:
        return kSymbol;
    case 77:
        return 10000;
    case 78:
        return 10001;
    case 79:
        return 10003;
    case 80:
        return 10008;
    case 81:
        return 10002;
    case 83:
        return 10005;
    case 84:
        return 10004;
    case 85:
        return 10006;
    case 86:
        return 10081;
    case 87:
        return 10021;
    case 88:
        return 10029;
    case 89:
        return 10007;
    case 128:
        return 932;
    case 129:
        return 949;
    case 130:
        return 1361;
    case 134:
        return 936;
    case 136:
        return 950;
    case 161:
        return 1253;
    case 162:
        return 1254;
    case 163:
        return 1258;
    case 177:
        return 1255;
    case 178:
        return 1256;
    case 186:
        return 1257;
    case 204:
        return 1251;
    case 222:
        return 874;
    case 238:
        return 1250;
    case 254:
        return 437;
    case 255:
        return 850;
    default:
        return ansiCodePage;
    }
}

int NormalizeAnsi(int codePage)
{
    return codePage <= 0 || codePage == 1 || codePage == kSymbol ? 1252 : codePage;
}

QByteArray CodecName(int codePage)
{
    switch (codePage) {
    case 65001:
        return "UTF-8";
    case 1200:
        return "UTF-16LE";
    case 20127:
        return "US-ASCII";
    case 10000:
        return "macintosh";
    // Mac Japanese, Chinese and Korean are their Windows relatives with a few extra
    // symbols; ICU has no separate tables for them.
    case 10001:
        return "Shift_JIS";
    case 10002:
        return "Big5";
    case 10003:
        return "EUC-KR";
    case 10008:
        return "GB2312";
    case 10004:
        return "x-mac-arabic";
    case 10005:
        return "x-mac-hebrew";
    case 10006:
        return "x-mac-greek";
    case 10007:
        return "x-mac-cyrillic";
    case 10021:
        return "x-mac-thai";
    case 10029:
        return "x-mac-centraleurroman";
    case 10079:
        return "x-mac-icelandic";
    case 10081:
        return "x-mac-turkish";
    case 932:
        return "windows-932";
    case 936:
        return "windows-936";
    case 949:
        return "windows-949";
    case 950:
        return "windows-950";
    case 874:
        return "windows-874";
    case 437:
        return "IBM437";
    case 850:
        return "IBM850";
    case 852:
        return "IBM852";
    case 855:
        return "IBM855";
    case 857:
        return "IBM857";
    case 860:
        return "IBM860";
    case 861:
        return "IBM861";
    case 862:
        return "IBM862";
    case 863:
        return "IBM863";
    case 864:
        return "IBM864";
    case 865:
        return "IBM865";
    case 866:
        return "IBM866";
    case 869:
        return "IBM869";
    default:
        break;
    }
    if (codePage >= 1250 && codePage <= 1258)
        return "windows-" + QByteArray::number(codePage);
    if (codePage >= 28591 && codePage <= 28606)
        return "ISO-8859-" + QByteArray::number(codePage - 28590);
    if (codePage > 0 && codePage < 100000)
        return "cp" + QByteArray::number(codePage);
    return {};
}

} // namespace KvRtfCodePages

namespace {

bool IsMultiByte(int codePage)
{
    switch (codePage) {
    case 932:
    case 936:
    case 949:
    case 950:
    case 1361:
    case 1200:
    case 65001:
    case 10001:
    case 10002:
    case 10003:
    case 10008:
        return true;
    default:
        return false;
    }
}

// A decoder for the code page, or windows-1252 standing in (fallback set unless the page is
// the symbol pseudo page, which is windows-1252 by definition).
std::unique_ptr<QStringDecoder> OpenDecoder(int codePage, bool& fallback)
{
    fallback = false;
    const QByteArray name = KvRtfCodePages::CodecName(codePage);
    if (!name.isEmpty()) {
        auto decoder =
            std::make_unique<QStringDecoder>(name.constData(), QStringConverter::Flag::Stateless);
        if (decoder->isValid())
            return decoder;
    }
    fallback = codePage != KvRtfCodePages::kSymbol;
    return std::make_unique<QStringDecoder>("windows-1252", QStringConverter::Flag::Stateless);
}

const KvRtfDecoders::Table& SingleByteTable(int codePage)
{
    thread_local std::unordered_map<int, std::unique_ptr<KvRtfDecoders::Table>> tables;
    std::unique_ptr<KvRtfDecoders::Table>& slot = tables[codePage];
    if (!slot) {
        slot = std::make_unique<KvRtfDecoders::Table>();
        const std::unique_ptr<QStringDecoder> decoder = OpenDecoder(codePage, slot->fallback);
        for (int b = 0; b < 256; ++b) {
            const char c = static_cast<char>(b);
            const QString s = decoder->decode(QByteArrayView(&c, 1));
            slot->chars[b] = s.size() == 1 ? s[0].unicode() : char16_t(0xFFFD);
        }
        if (codePage == KvRtfCodePages::kSymbol)
            slot->chars[0xB7] = 0x2022;
    }
    return *slot;
}

} // namespace

KvRtfDecoders::Entry& KvRtfDecoders::Get(int codePage)
{
    auto it = m_decoders.find(codePage);
    if (it != m_decoders.end())
        return it->second;
    Entry e;
    if (IsMultiByte(codePage)) {
        e.decoder = OpenDecoder(codePage, e.fallback);
    } else {
        e.table = &SingleByteTable(codePage);
        e.fallback = e.table->fallback;
    }
    return m_decoders.emplace(codePage, std::move(e)).first->second;
}

bool KvRtfDecoders::Decode(int codePage, QByteArrayView bytes, QString& out)
{
    if (!m_last || m_lastCodePage != codePage) {
        m_last = &Get(codePage);
        m_lastCodePage = codePage;
    }
    Entry& e = *m_last;
    const qsizetype before = out.size();
    if (e.table) {
        out.resize(before + bytes.size());
        char16_t* dst = reinterpret_cast<char16_t*>(out.data()) + before;
        for (const char c : bytes)
            *dst++ = e.table->chars[static_cast<unsigned char>(c)];
        return !e.fallback;
    }
    out.resize(before + e.decoder->requiredSpace(bytes.size()));
    const QChar* end = e.decoder->appendToBuffer(out.data() + before, bytes);
    out.resize(end - out.constData());
    if (codePage == KvRtfCodePages::kSymbol) {
        for (qsizetype i = before; i < out.size(); ++i) {
            if (out[i] == QChar(0xB7))
                out[i] = QChar(0x2022);
        }
    }
    return !e.fallback;
}
