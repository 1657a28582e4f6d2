#include "richtext/rtfparser.h"

#include "richtext/rtfproperties.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstring>
#include <limits>

namespace {

enum class Kw : quint8
{
    Unknown,
    // document
    Rtf,
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCpg,
    Deff,
    Uc,
    U,
    Upr,
    Ud,
    Bin,
    // destinations
    FontTbl,
    ColorTbl,
    StyleSheet,
    Info,
    SkipDest,
    ListTable,
    List,
    ListLevel,
    LevelText,
    ListOverrideTable,
    Field,
    FldInst,
    FldRslt,
    Pict,
    Object,
    PnText,
    ListText,
    Pn,
    PnTxtB,
    PnTxtA,
    ShpPict,
    NonShpPict,
    // font table and colours
    FCharset,
    Cpg,
    Fprq,
    FFamily,
    Red,
    Green,
    Blue,
    // styles and lists
    S,
    Cs,
    ListId,
    LevelNfc,
    Ls,
    Ilvl,
    PnLvlBlt,
    PnLvlBody,
    PnLvlCont,
    PnLvl,
    PnDec,
    PnLcLtr,
    PnUcLtr,
    PnLcRm,
    PnUcRm,
    // characters
    Par,
    Sect,
    Page,
    Line,
    Tab,
    EmDash,
    EnDash,
    EmSpace,
    EnSpace,
    QmSpace,
    Bullet,
    LQuote,
    RQuote,
    LDblQuote,
    RDblQuote,
    Zwj,
    Zwnj,
    LtrMark,
    RtlMark,
    // character formatting
    Plain,
    B,
    I,
    Ul,
    UlNone,
    UlD,
    UlDb,
    UlW,
    UlWave,
    UlDash,
    UlDashD,
    UlDashDd,
    UlTh,
    Strike,
    Sub,
    Super,
    NoSupersub,
    Up,
    Dn,
    Fs,
    F,
    Cf,
    Cb,
    Highlight,
    Caps,
    Scaps,
    V,
    // paragraph formatting
    Pard,
    Ql,
    Qc,
    Qr,
    Qj,
    Li,
    Ri,
    Fi,
    Sb,
    Sa,
    Sl,
    SlMult,
    Tx,
    Tqr,
    Tqc,
    Tqdec,
    Intbl,
    Itap,
    // tables
    Trowd,
    Cellx,
    Cell,
    Row,
    NestCell,
    // pictures
    PngBlip,
    JpegBlip,
    EmfBlip,
    WMetafile,
    DiBitmap,
    WBitmap,
    MacPict,
    PicW,
    PicH,
    PicWGoal,
    PicHGoal,
    PicScaleX,
    PicScaleY,
};

constexpr std::pair<std::string_view, Kw> kKeywords[] = {
    {"rtf", Kw::Rtf},
    {"ansi", Kw::Ansi},
    {"mac", Kw::Mac},
    {"pc", Kw::Pc},
    {"pca", Kw::Pca},
    {"ansicpg", Kw::AnsiCpg},
    {"deff", Kw::Deff},
    {"uc", Kw::Uc},
    {"u", Kw::U},
    {"upr", Kw::Upr},
    {"ud", Kw::Ud},
    {"bin", Kw::Bin},
    {"fonttbl", Kw::FontTbl},
    {"colortbl", Kw::ColorTbl},
    {"stylesheet", Kw::StyleSheet},
    {"info", Kw::Info},
    {"listtable", Kw::ListTable},
    {"list", Kw::List},
    {"listlevel", Kw::ListLevel},
    {"leveltext", Kw::LevelText},
    {"listoverridetable", Kw::ListOverrideTable},
    {"field", Kw::Field},
    {"fldinst", Kw::FldInst},
    {"fldrslt", Kw::FldRslt},
    {"pict", Kw::Pict},
    {"object", Kw::Object},
    {"pntext", Kw::PnText},
    {"listtext", Kw::ListText},
    {"pn", Kw::Pn},
    {"pntxtb", Kw::PnTxtB},
    {"pntxta", Kw::PnTxtA},
    {"shppict", Kw::ShpPict},
    {"nonshppict", Kw::NonShpPict},
    // groups whose content is never document text
    {"header", Kw::SkipDest},
    {"headerl", Kw::SkipDest},
    {"headerr", Kw::SkipDest},
    {"headerf", Kw::SkipDest},
    {"footer", Kw::SkipDest},
    {"footerl", Kw::SkipDest},
    {"footerr", Kw::SkipDest},
    {"footerf", Kw::SkipDest},
    {"footnote", Kw::SkipDest},
    {"annotation", Kw::SkipDest},
    {"pnseclvl", Kw::SkipDest},
    {"xe", Kw::SkipDest},
    {"tc", Kw::SkipDest},
    {"txe", Kw::SkipDest},
    {"rxe", Kw::SkipDest},
    {"filetbl", Kw::SkipDest},
    {"revtbl", Kw::SkipDest},
    {"rsidtbl", Kw::SkipDest},
    {"generator", Kw::SkipDest},
    {"pgdsctbl", Kw::SkipDest},
    {"listname", Kw::SkipDest},
    {"levelnumbers", Kw::SkipDest},
    {"author", Kw::SkipDest},
    {"operator", Kw::SkipDest},
    {"title", Kw::SkipDest},
    {"subject", Kw::SkipDest},
    {"comment", Kw::SkipDest},
    {"doccomm", Kw::SkipDest},
    {"keywords", Kw::SkipDest},
    {"company", Kw::SkipDest},
    {"category", Kw::SkipDest},
    {"creatim", Kw::SkipDest},
    {"revtim", Kw::SkipDest},
    {"printim", Kw::SkipDest},
    {"buptim", Kw::SkipDest},
    {"do", Kw::SkipDest},
    {"ftnsep", Kw::SkipDest},
    {"ftnsepc", Kw::SkipDest},
    {"ftncn", Kw::SkipDest},
    {"aftnsep", Kw::SkipDest},
    {"aftnsepc", Kw::SkipDest},
    {"aftncn", Kw::SkipDest},
    {"template", Kw::SkipDest},
    {"userprops", Kw::SkipDest},
    {"bkmkstart", Kw::SkipDest},
    {"bkmkend", Kw::SkipDest},
    {"atnid", Kw::SkipDest},
    {"atnauthor", Kw::SkipDest},
    {"fcharset", Kw::FCharset},
    {"cpg", Kw::Cpg},
    {"fprq", Kw::Fprq},
    {"fnil", Kw::FFamily},
    {"froman", Kw::FFamily},
    {"fswiss", Kw::FFamily},
    {"fmodern", Kw::FFamily},
    {"fscript", Kw::FFamily},
    {"fdecor", Kw::FFamily},
    {"ftech", Kw::FFamily},
    {"fbidi", Kw::FFamily},
    {"red", Kw::Red},
    {"green", Kw::Green},
    {"blue", Kw::Blue},
    {"s", Kw::S},
    {"cs", Kw::Cs},
    {"ds", Kw::Cs},
    {"ts", Kw::Cs},
    {"listid", Kw::ListId},
    {"levelnfc", Kw::LevelNfc},
    {"ls", Kw::Ls},
    {"ilvl", Kw::Ilvl},
    {"pnlvlblt", Kw::PnLvlBlt},
    {"pnlvlbody", Kw::PnLvlBody},
    {"pnlvlcont", Kw::PnLvlCont},
    {"pnlvl", Kw::PnLvl},
    {"pndec", Kw::PnDec},
    {"pnlcltr", Kw::PnLcLtr},
    {"pnucltr", Kw::PnUcLtr},
    {"pnlcrm", Kw::PnLcRm},
    {"pnucrm", Kw::PnUcRm},
    {"pnord", Kw::PnDec},
    {"pnordt", Kw::PnDec},
    {"pncard", Kw::PnDec},
    {"pncardt", Kw::PnDec},
    {"par", Kw::Par},
    {"sect", Kw::Sect},
    {"page", Kw::Page},
    {"column", Kw::Page},
    {"line", Kw::Line},
    {"tab", Kw::Tab},
    {"emdash", Kw::EmDash},
    {"endash", Kw::EnDash},
    {"emspace", Kw::EmSpace},
    {"enspace", Kw::EnSpace},
    {"qmspace", Kw::QmSpace},
    {"bullet", Kw::Bullet},
    {"lquote", Kw::LQuote},
    {"rquote", Kw::RQuote},
    {"ldblquote", Kw::LDblQuote},
    {"rdblquote", Kw::RDblQuote},
    {"zwj", Kw::Zwj},
    {"zwnj", Kw::Zwnj},
    {"ltrmark", Kw::LtrMark},
    {"rtlmark", Kw::RtlMark},
    {"plain", Kw::Plain},
    {"b", Kw::B},
    {"i", Kw::I},
    {"ul", Kw::Ul},
    {"ulnone", Kw::UlNone},
    {"uld", Kw::UlD},
    {"uldb", Kw::UlDb},
    {"ulw", Kw::UlW},
    {"ulwave", Kw::UlWave},
    {"ulhwave", Kw::UlWave},
    {"ululdbwave", Kw::UlWave},
    {"uldash", Kw::UlDash},
    {"ulldash", Kw::UlDash},
    {"uldashd", Kw::UlDashD},
    {"uldashdd", Kw::UlDashDd},
    {"ulth", Kw::UlTh},
    {"ulthd", Kw::UlTh},
    {"ulthdash", Kw::UlTh},
    {"ulthdashd", Kw::UlTh},
    {"ulthdashdd", Kw::UlTh},
    {"ulthldash", Kw::UlTh},
    {"strike", Kw::Strike},
    {"striked", Kw::Strike},
    {"sub", Kw::Sub},
    {"super", Kw::Super},
    {"nosupersub", Kw::NoSupersub},
    {"up", Kw::Up},
    {"dn", Kw::Dn},
    {"fs", Kw::Fs},
    {"f", Kw::F},
    {"cf", Kw::Cf},
    {"cb", Kw::Cb},
    {"highlight", Kw::Highlight},
    {"chcbpat", Kw::Cb},
    {"caps", Kw::Caps},
    {"scaps", Kw::Scaps},
    {"v", Kw::V},
    {"pard", Kw::Pard},
    {"ql", Kw::Ql},
    {"qc", Kw::Qc},
    {"qr", Kw::Qr},
    {"qj", Kw::Qj},
    {"qd", Kw::Qj},
    {"li", Kw::Li},
    {"ri", Kw::Ri},
    {"fi", Kw::Fi},
    {"sb", Kw::Sb},
    {"sa", Kw::Sa},
    {"sl", Kw::Sl},
    {"slmult", Kw::SlMult},
    {"tx", Kw::Tx},
    {"tb", Kw::Tx},
    {"tqr", Kw::Tqr},
    {"tqc", Kw::Tqc},
    {"tqdec", Kw::Tqdec},
    {"intbl", Kw::Intbl},
    {"itap", Kw::Itap},
    {"trowd", Kw::Trowd},
    {"cellx", Kw::Cellx},
    {"cell", Kw::Cell},
    {"row", Kw::Row},
    {"nestcell", Kw::NestCell},
    {"pngblip", Kw::PngBlip},
    {"jpegblip", Kw::JpegBlip},
    {"emfblip", Kw::EmfBlip},
    {"wmetafile", Kw::WMetafile},
    {"dibitmap", Kw::DiBitmap},
    {"wbitmap", Kw::WBitmap},
    {"macpict", Kw::MacPict},
    {"picw", Kw::PicW},
    {"pich", Kw::PicH},
    {"picwgoal", Kw::PicWGoal},
    {"pichgoal", Kw::PicHGoal},
    {"picscalex", Kw::PicScaleX},
    {"picscaley", Kw::PicScaleY},
};

// Open addressing on FNV-1a: control words are looked up once per token. Slots are kept
// small (8 KB in all) so that the table stays in the first-level cache.
class KeywordTable
{
public:
    KeywordTable()
    {
        for (const auto& [name, kw] : kKeywords) {
            size_t i = Hash(name) & kMask;
            while (m_slots[i].kw != Kw::Unknown)
                i = (i + 1) & kMask;
            m_slots[i] = Slot{name.data(), static_cast<quint8>(name.size()), kw};
        }
    }
    Kw Find(std::string_view name) const
    {
        for (size_t i = Hash(name) & kMask;; i = (i + 1) & kMask) {
            const Slot& s = m_slots[i];
            if (s.kw == Kw::Unknown)
                return Kw::Unknown;
            if (s.length == name.size() && Same(s.name, name.data(), name.size()))
                return s.kw;
        }
    }

private:
    // Control words are a few letters long: a loop beats a call of memcmp.
    static bool Same(const char* a, const char* b, size_t n)
    {
        for (size_t i = 0; i < n; ++i) {
            if (a[i] != b[i])
                return false;
        }
        return true;
    }
    static constexpr size_t kMask = 511;
    static size_t Hash(std::string_view s)
    {
        uint32_t h = 2166136261u;
        for (const char c : s)
            h = (h ^ static_cast<unsigned char>(c)) * 16777619u;
        return h;
    }
    struct Slot
    {
        const char* name = nullptr;
        quint8 length = 0;
        Kw kw = Kw::Unknown;
    };
    std::array<Slot, kMask + 1> m_slots{};
};

Kw Lookup(std::string_view name)
{
    static const KeywordTable table;
    return table.Find(name);
}

bool IsDestination(Kw k)
{
    switch (k) {
    case Kw::FontTbl:
    case Kw::ColorTbl:
    case Kw::StyleSheet:
    case Kw::Info:
    case Kw::SkipDest:
    case Kw::ListTable:
    case Kw::List:
    case Kw::ListLevel:
    case Kw::LevelText:
    case Kw::ListOverrideTable:
    case Kw::Field:
    case Kw::FldInst:
    case Kw::FldRslt:
    case Kw::Pict:
    case Kw::Object:
    case Kw::PnText:
    case Kw::ListText:
    case Kw::Pn:
    case Kw::PnTxtB:
    case Kw::PnTxtA:
    case Kw::ShpPict:
    case Kw::NonShpPict:
    case Kw::Upr:
    case Kw::Ud:
        return true;
    default:
        return false;
    }
}

constexpr size_t kMaxDepth = 2000;

int HexDigit(char c)
{
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

KvRtfListKind KindForNfc(int nfc)
{
    switch (nfc) {
    case 1:
        return KvRtfListKind::UpperRoman;
    case 2:
        return KvRtfListKind::LowerRoman;
    case 3:
        return KvRtfListKind::UpperAlpha;
    case 4:
        return KvRtfListKind::LowerAlpha;
    case 23:
        return KvRtfListKind::Bullet;
    default:
        return KvRtfListKind::Decimal;
    }
}

// Printable ASCII reads the same in every code page we decode. Text runs of the tokenizer never
// hold control bytes, so only single bytes (from \'xx) need that check.
bool IsPrintableAscii(std::string_view bytes)
{
    const size_t n = bytes.size();
    const char* p = bytes.data();
    if (n == 1)
        return static_cast<unsigned char>(p[0]) >= 0x20 && static_cast<unsigned char>(p[0]) < 0x80;
    uint64_t acc = 0;
    size_t i = 0;
    for (; i + 8 <= n; i += 8) {
        uint64_t w;
        std::memcpy(&w, p + i, 8);
        acc |= w;
    }
    for (; i < n; ++i)
        acc |= static_cast<unsigned char>(p[i]);
    return (acc & 0x8080808080808080ULL) == 0;
}

} // namespace

KvRtfParser::KvRtfParser(KvRtfSink& sink) : m_sink(sink)
{
    m_stack.reserve(64);
    m_stack.emplace_back();
}

const KvRtfFont* KvRtfParser::Font(int number) const
{
    const auto it = m_fonts.constFind(number);
    return it == m_fonts.constEnd() ? nullptr : &it.value();
}

QColor KvRtfParser::Color(int index) const
{
    return index > 0 && index < m_colors.size() ? m_colors[index] : QColor();
}

QString KvRtfParser::Link(int index) const
{
    return index >= 0 && index < m_links.size() ? m_links[index] : QString();
}

void KvRtfParser::SetCheckpoint(qsizetype interval, std::function<bool()> checkpoint)
{
    m_checkInterval = std::max<qsizetype>(1, interval);
    m_checkpoint = std::move(checkpoint);
}

bool KvRtfParser::Parse(QByteArrayView rtf)
{
    KvRtfTokenizer tok(rtf);
    m_tok = &tok;
    m_plain = m_sink.PlainTextBuffer();
    m_stopped = false;
    // Without a checkpoint the offset never reaches the next check.
    m_nextCheck = m_checkpoint ? m_checkInterval : std::numeric_limits<qsizetype>::max();
    const QByteArrayView head = rtf.trimmed();
    const bool looksLikeRtf = head.startsWith("{\\rtf");
    if (!looksLikeRtf)
        m_warnings << u"The input does not start with {\\rtf."_qs;

    while (!m_done) {
        const KvRtfTokenizer::Token t = tok.Next();
        switch (t.type) {
        case KvRtfTokenizer::Type::End:
            m_done = true;
            if (m_stack.size() > 1)
                m_warnings << u"The input ends inside a group."_qs;
            break;
        case KvRtfTokenizer::Type::GroupStart:
            GroupStart();
            break;
        case KvRtfTokenizer::Type::GroupEnd:
            GroupEnd();
            break;
        case KvRtfTokenizer::Type::Word:
            HandleWord(t);
            break;
        case KvRtfTokenizer::Type::Symbol:
            HandleSymbol(t.symbol);
            break;
        case KvRtfTokenizer::Type::Hex:
            HandleHex(t.hex);
            break;
        case KvRtfTokenizer::Type::Text:
            HandleTextBytes(t.text);
            break;
        }
        if (tok.Offset() >= m_nextCheck) {
            // Pending \'xx bytes stay pending: a double-byte character may continue.
            m_nextCheck = tok.Offset() + m_checkInterval;
            if (!m_checkpoint()) {
                m_stopped = true;
                m_done = true;
            }
        }
    }
    FlushBytes();
    FlushRun();
    if (!m_listText.isEmpty())
        EnsureContent(); // may still open a table
    if (m_inTable)
        EndTable();
    if (!m_blockPending) {
        FlushRun();
        ResolveList(m_para);
        m_sink.EndBlock(m_para);
    }
    m_tok = nullptr;
    return looksLikeRtf;
}

// ---------------------------------------------------------------------------------------------
// Groups

void KvRtfParser::GroupStart()
{
    FlushBytes();
    m_skipCount = 0;
    if (m_ignorable) { // "{\*{": the whole group is ignorable
        m_ignorable = false;
        G().dest = Dest::Skip;
    }
    if (m_stack.size() >= kMaxDepth || m_overflowDepth > 0) {
        if (m_overflowDepth == 0)
            m_warnings << u"Groups nested too deeply; inner groups are read flat."_qs;
        ++m_overflowDepth;
        return;
    }
    Group g = G();
    g.start = m_tok->Offset() - 1;
    g.pictureOwner = false;
    m_stack.push_back(g);
    if (G().dest == Dest::Skip)
        SkipGroup();
}

void KvRtfParser::GroupEnd()
{
    FlushBytes();
    m_skipCount = 0;
    m_ignorable = false;
    if (m_overflowDepth > 0) {
        --m_overflowDepth;
        return;
    }
    if (m_stack.size() <= 1)
        return; // a stray "}" before any group
    const Group popped = m_stack.back();
    m_stack.pop_back();
    const Dest parent = G().dest;
    const bool ended = popped.dest != parent;
    switch (popped.dest) {
    case Dest::FontTable:
        if (!m_fontPending.name.isEmpty() || m_fontEntry >= 0)
            FinishFontEntry();
        break;
    case Dest::StyleSheet:
        if (!m_styleName.isEmpty())
            FinishStyleEntry();
        break;
    case Dest::LevelText:
        if (ended)
            FinishLevelText();
        break;
    case Dest::ListLevel:
        if (ended) {
            m_levels.append(m_level);
            m_level = ListLevel();
        }
        break;
    case Dest::List:
        if (ended) {
            m_lists.insert(m_listId, m_levels);
            m_levels.clear();
            m_listId = 0;
        }
        break;
    case Dest::Pict:
        if (popped.pictureOwner)
            FinishPicture(popped);
        break;
    case Dest::Object:
        if (popped.pictureOwner) {
            m_pict = KvRtfPicture();
            m_pict.kind = KvRtfPicture::Kind::Object;
            FinishPicture(popped);
        }
        break;
    default:
        break;
    }
    if (m_stack.size() <= 1)
        m_done = true; // the document group is closed
}

void KvRtfParser::SkipGroup()
{
    // A picture or object stays one, however malformed its content.
    if (G().dest != Dest::Pict && G().dest != Dest::Object)
        G().dest = Dest::Skip;
    m_tok->SkipGroup();
}

// ---------------------------------------------------------------------------------------------
// Control words

void KvRtfParser::HandleWord(const KvRtfTokenizer::Token& t)
{
    FlushBytes();
    const Kw kw = Lookup(t.text);
    const int n = t.param;
    if (kw == Kw::Bin) {
        const QByteArrayView data = m_tok->TakeBinary(t.hasParam ? n : 0);
        if (m_skipCount > 0) {
            --m_skipCount;
            return;
        }
        if (G().dest == Dest::Pict && m_sink.WantsPictureData())
            m_pict.data.append(data);
        return;
    }
    if (m_skipCount > 0) {
        --m_skipCount;
        return;
    }
    Group& g = G();
    if (m_ignorable) {
        m_ignorable = false;
        if (!IsDestination(kw) || (kw == Kw::Ud && g.dest != Dest::Upr)) {
            SkipGroup();
            return;
        }
    }
    const Dest dest = g.dest;
    if (dest == Dest::Skip || dest == Dest::Object)
        return;
    if (dest == Dest::Upr) {
        if (kw == Kw::Ud)
            g.dest = g.outerDest;
        return;
    }
    const bool inText = dest == Dest::Text;
    if (dest == Dest::Pict && (kw < Kw::PngBlip || kw > Kw::PicScaleY))
        return; // the extractor skips picture data unread: nothing else may count here

    switch (kw) {
    case Kw::Unknown:
    case Kw::Bin:
    case Kw::Rtf:
        break;
    case Kw::Ansi:
        m_ansiCodePage = 1252;
        m_cpFont = INT_MIN;
        break;
    case Kw::Mac:
        m_ansiCodePage = 10000;
        m_cpFont = INT_MIN;
        break;
    case Kw::Pc:
        m_ansiCodePage = 437;
        m_cpFont = INT_MIN;
        break;
    case Kw::Pca:
        m_ansiCodePage = 850;
        m_cpFont = INT_MIN;
        break;
    case Kw::AnsiCpg:
        m_ansiCodePage = KvRtfCodePages::NormalizeAnsi(n);
        m_cpFont = INT_MIN;
        break;
    case Kw::Deff:
        m_defaultFont = n;
        if (g.cs.font < 0)
            g.cs.font = n;
        break;
    case Kw::Uc:
        g.uc = std::clamp(n, 0, 100);
        break;
    case Kw::U:
        AddUnicode(n);
        break;
    case Kw::Upr:
        g.outerDest = dest;
        g.dest = Dest::Upr;
        break;
    case Kw::Ud:
        break;

    case Kw::FontTbl:
        g.dest = Dest::FontTable;
        m_fontEntry = -1;
        m_fontPending = KvRtfFont();
        break;
    case Kw::ColorTbl:
        g.dest = Dest::ColorTable;
        m_colors.clear();
        m_red = m_green = m_blue = -1;
        break;
    case Kw::StyleSheet:
        g.dest = Dest::StyleSheet;
        m_styleEntry = 0;
        m_styleName.clear();
        break;
    case Kw::Info:
    case Kw::SkipDest:
        SkipGroup();
        break;
    case Kw::ListTable:
        g.dest = Dest::ListTable;
        break;
    case Kw::List:
        if (dest == Dest::ListTable) {
            g.dest = Dest::List;
            m_levels.clear();
            m_listId = 0;
        } else {
            SkipGroup();
        }
        break;
    case Kw::ListLevel:
        if (dest == Dest::List) {
            g.dest = Dest::ListLevel;
            m_level = ListLevel();
        } else {
            SkipGroup();
        }
        break;
    case Kw::LevelText:
        if (dest == Dest::ListLevel) {
            g.dest = Dest::LevelText;
            m_levelText.clear();
        } else {
            SkipGroup();
        }
        break;
    case Kw::ListOverrideTable:
        g.dest = Dest::ListOverrideTable;
        break;
    case Kw::Field:
        g.field = static_cast<int>(m_fields.size());
        m_fields.push_back(Field{QString(), dest});
        break;
    case Kw::FldInst:
        if (g.field >= 0 && dest != Dest::FieldInst)
            g.dest = Dest::FieldInst;
        else if (g.field < 0)
            SkipGroup();
        break;
    case Kw::FldRslt:
        if (g.field < 0)
            break;
        if (m_fields[g.field].outer != Dest::Text) {
            SkipGroup();
            break;
        }
        g.dest = Dest::Text;
        if (const QString href = ParseHyperlink(m_fields[g.field].instruction); !href.isEmpty()) {
            g.cs.link = static_cast<int>(m_links.size());
            m_links.append(href);
        }
        break;
    case Kw::Pict:
        if (!inText) {
            SkipGroup();
            break;
        }
        g.dest = Dest::Pict;
        g.pictureOwner = true;
        m_pict = KvRtfPicture();
        m_pictNibble = -1;
        if (!m_sink.WantsPictureData())
            m_tok->SkipGroup();
        break;
    case Kw::Object:
        if (!inText) {
            SkipGroup();
            break;
        }
        g.dest = Dest::Object;
        g.pictureOwner = true;
        m_tok->SkipGroup();
        break;
    case Kw::PnText:
    case Kw::ListText:
        if (!inText) {
            SkipGroup();
            break;
        }
        g.dest = Dest::ListText;
        m_listText.clear();
        m_listTextCs = g.cs;
        break;
    case Kw::Pn:
        if (!inText) {
            SkipGroup();
            break;
        }
        g.dest = Dest::Pn;
        m_para.pnKind = KvRtfListKind::Decimal;
        m_para.pnLevel = 0;
        m_para.pnBefore.clear();
        m_para.pnAfter.clear();
        break;
    case Kw::PnTxtB:
        if (dest == Dest::Pn) {
            g.dest = Dest::PnBefore;
            m_para.pnBefore.clear();
        } else {
            SkipGroup();
        }
        break;
    case Kw::PnTxtA:
        if (dest == Dest::Pn) {
            g.dest = Dest::PnAfter;
            m_para.pnAfter.clear();
        } else {
            SkipGroup();
        }
        break;
    case Kw::ShpPict:
        break;
    case Kw::NonShpPict:
        SkipGroup();
        break;

    case Kw::FCharset:
        if (dest == Dest::FontTable)
            m_fontPending.charset = n;
        break;
    case Kw::Cpg:
        if (dest == Dest::FontTable)
            m_fontPending.codePage = n;
        break;
    case Kw::Fprq:
        if (dest == Dest::FontTable)
            m_fontPending.pitch = n;
        break;
    case Kw::FFamily:
        break;
    case Kw::Red:
        m_red = std::clamp(n, 0, 255);
        break;
    case Kw::Green:
        m_green = std::clamp(n, 0, 255);
        break;
    case Kw::Blue:
        m_blue = std::clamp(n, 0, 255);
        break;

    case Kw::S:
        if (dest == Dest::StyleSheet)
            m_styleEntry = n;
        else if (inText)
            m_para.style = n;
        break;
    case Kw::Cs:
        if (dest == Dest::StyleSheet)
            m_styleEntry = -1; // character and table styles: names not kept
        break;
    case Kw::ListId:
        if (dest == Dest::List)
            m_listId = n;
        else if (dest == Dest::ListOverrideTable)
            m_overrideListId = n;
        break;
    case Kw::LevelNfc:
        if (dest == Dest::ListLevel) {
            m_level.kind = KindForNfc(n);
            m_level.none = n == 255;
        }
        break;
    case Kw::Ls:
        if (dest == Dest::ListOverrideTable)
            m_overrides.insert(n, m_overrideListId);
        else if (inText)
            m_para.listOverride = n;
        break;
    case Kw::Ilvl:
        if (inText)
            m_para.listLevel = std::clamp(n, 0, 8);
        break;
    case Kw::PnLvlBlt:
        if (dest == Dest::Pn)
            m_para.pnKind = KvRtfListKind::Bullet;
        break;
    case Kw::PnLvlBody:
        break;
    case Kw::PnLvlCont:
        if (dest == Dest::Pn)
            m_para.pnKind = KvRtfListKind::None;
        break;
    case Kw::PnLvl:
        if (dest == Dest::Pn)
            m_para.pnLevel = std::clamp(n - 1, 0, 8);
        break;
    case Kw::PnDec:
    case Kw::PnLcLtr:
    case Kw::PnUcLtr:
    case Kw::PnLcRm:
    case Kw::PnUcRm:
        if (dest == Dest::Pn && m_para.pnKind != KvRtfListKind::Bullet) {
            static constexpr KvRtfListKind kinds[] = {
                KvRtfListKind::Decimal, KvRtfListKind::LowerAlpha, KvRtfListKind::UpperAlpha,
                KvRtfListKind::LowerRoman, KvRtfListKind::UpperRoman};
            m_para.pnKind = kinds[static_cast<int>(kw) - static_cast<int>(Kw::PnDec)];
        }
        break;

    case Kw::Par:
    case Kw::Sect:
    case Kw::Page:
        if (inText)
            ParagraphEnd();
        break;
    case Kw::Line:
        AddChar(0x2028);
        break;
    case Kw::Tab:
        AddChar(u'\t');
        break;
    case Kw::EmDash:
        AddChar(0x2014);
        break;
    case Kw::EnDash:
        AddChar(0x2013);
        break;
    case Kw::EmSpace:
        AddChar(0x2003);
        break;
    case Kw::EnSpace:
        AddChar(0x2002);
        break;
    case Kw::QmSpace:
        AddChar(0x2005);
        break;
    case Kw::Bullet:
        AddChar(0x2022);
        break;
    case Kw::LQuote:
        AddChar(0x2018);
        break;
    case Kw::RQuote:
        AddChar(0x2019);
        break;
    case Kw::LDblQuote:
        AddChar(0x201C);
        break;
    case Kw::RDblQuote:
        AddChar(0x201D);
        break;
    case Kw::Zwj:
        AddChar(0x200D);
        break;
    case Kw::Zwnj:
        AddChar(0x200C);
        break;
    case Kw::LtrMark:
        AddChar(0x200E);
        break;
    case Kw::RtlMark:
        AddChar(0x200F);
        break;

    case Kw::Plain: {
        const int link = g.cs.link;
        g.cs = KvRtfCharState();
        g.cs.font = m_defaultFont;
        g.cs.link = link;
        break;
    }
    case Kw::B:
        g.cs.bold = !t.hasParam || n != 0;
        break;
    case Kw::I:
        g.cs.italic = !t.hasParam || n != 0;
        break;
    case Kw::Ul:
        g.cs.underline = (!t.hasParam || n != 0) ? int(KvRtfUnderline::Single) : 0;
        break;
    case Kw::UlNone:
        g.cs.underline = 0;
        break;
    case Kw::UlD:
        g.cs.underline = int(KvRtfUnderline::Dotted);
        break;
    case Kw::UlDb:
        g.cs.underline = int(KvRtfUnderline::Double);
        break;
    case Kw::UlW:
        g.cs.underline = int(KvRtfUnderline::Words);
        break;
    case Kw::UlWave:
        g.cs.underline = int(KvRtfUnderline::Wave);
        break;
    case Kw::UlDash:
        g.cs.underline = int(KvRtfUnderline::Dash);
        break;
    case Kw::UlDashD:
        g.cs.underline = int(KvRtfUnderline::DashDot);
        break;
    case Kw::UlDashDd:
        g.cs.underline = int(KvRtfUnderline::DashDotDot);
        break;
    case Kw::UlTh:
        g.cs.underline = int(KvRtfUnderline::Thick);
        break;
    case Kw::Strike:
        g.cs.strike = !t.hasParam || n != 0;
        break;
    case Kw::Sub:
        g.cs.verticalAlign = 2;
        break;
    case Kw::Super:
        g.cs.verticalAlign = 1;
        break;
    case Kw::NoSupersub:
        g.cs.verticalAlign = 0;
        break;
    case Kw::Up:
        g.cs.baselineShift = t.hasParam ? std::clamp(n, 0, 32767) : 6;
        break;
    case Kw::Dn:
        g.cs.baselineShift = -(t.hasParam ? std::clamp(n, 0, 32767) : 6);
        break;
    case Kw::Fs:
        g.cs.fontSize = t.hasParam && n > 0 ? std::min(n, 3276) : 24;
        break;
    case Kw::F:
        if (dest == Dest::FontTable) {
            if (m_fontEntry >= 0 || !m_fontPending.name.isEmpty())
                FinishFontEntry();
            m_fontEntry = n;
        } else {
            g.cs.font = n;
        }
        break;
    case Kw::Cf:
        g.cs.foreground = std::max(n, 0);
        break;
    case Kw::Cb:
    case Kw::Highlight:
        g.cs.background = std::max(n, 0);
        break;
    case Kw::Caps:
        g.cs.caps = (!t.hasParam || n != 0) ? 1 : 0;
        break;
    case Kw::Scaps:
        g.cs.caps = (!t.hasParam || n != 0) ? 2 : 0;
        break;
    case Kw::V:
        g.cs.hidden = !t.hasParam || n != 0;
        break;

    case Kw::Pard:
        if (inText)
            m_para = KvRtfParaState();
        break;
    case Kw::Ql:
    case Kw::Qc:
    case Kw::Qr:
    case Kw::Qj:
        if (inText)
            m_para.align = static_cast<int>(kw) - static_cast<int>(Kw::Ql);
        break;
    case Kw::Li:
        if (inText)
            m_para.leftIndent = n;
        break;
    case Kw::Ri:
        if (inText)
            m_para.rightIndent = n;
        break;
    case Kw::Fi:
        if (inText)
            m_para.firstIndent = n;
        break;
    case Kw::Sb:
        if (inText)
            m_para.spaceBefore = n;
        break;
    case Kw::Sa:
        if (inText)
            m_para.spaceAfter = n;
        break;
    case Kw::Sl:
        if (inText)
            m_para.lineSpacing = n;
        break;
    case Kw::SlMult:
        if (inText)
            m_para.lineMult = !t.hasParam || n != 0;
        break;
    case Kw::Tqr:
    case Kw::Tqc:
    case Kw::Tqdec:
        if (inText)
            m_para.pendingTabKind = kw == Kw::Tqc ? 1 : kw == Kw::Tqr ? 2 : 3;
        break;
    case Kw::Tx:
        if (inText && m_para.tabs.size() < 64) {
            m_para.tabs.append(KvRtfTab{n, m_para.pendingTabKind});
            m_para.pendingTabKind = 0;
        }
        break;
    case Kw::Intbl:
        if (inText)
            m_para.inTable = true;
        break;
    case Kw::Itap:
        if (inText)
            m_para.inTable = n > 0;
        break;
    case Kw::Trowd:
        if (inText)
            m_rowCellCount = 0;
        break;
    case Kw::Cellx:
        if (inText)
            ++m_rowCellCount;
        break;
    case Kw::Cell:
        if (inText)
            CellEnd();
        break;
    case Kw::Row:
        if (inText)
            RowEnd();
        break;
    case Kw::NestCell:
        if (inText)
            ParagraphEnd();
        break;

    case Kw::PngBlip:
        m_pict.kind = KvRtfPicture::Kind::Png;
        break;
    case Kw::JpegBlip:
        m_pict.kind = KvRtfPicture::Kind::Jpeg;
        break;
    case Kw::EmfBlip:
        m_pict.kind = KvRtfPicture::Kind::Emf;
        break;
    case Kw::WMetafile:
        m_pict.kind = KvRtfPicture::Kind::Wmf;
        break;
    case Kw::DiBitmap:
    case Kw::WBitmap:
        m_pict.kind = KvRtfPicture::Kind::Bitmap;
        break;
    case Kw::MacPict:
        m_pict.kind = KvRtfPicture::Kind::Mac;
        break;
    case Kw::PicW:
        m_pict.width = n;
        break;
    case Kw::PicH:
        m_pict.height = n;
        break;
    case Kw::PicWGoal:
        m_pict.goalWidth = n;
        break;
    case Kw::PicHGoal:
        m_pict.goalHeight = n;
        break;
    case Kw::PicScaleX:
        m_pict.scaleX = n;
        break;
    case Kw::PicScaleY:
        m_pict.scaleY = n;
        break;
    }
}

void KvRtfParser::HandleSymbol(char c)
{
    FlushBytes();
    if (c == '*') {
        m_ignorable = true;
        return;
    }
    if (m_skipCount > 0) {
        --m_skipCount;
        return;
    }
    if (m_ignorable) {
        m_ignorable = false;
        SkipGroup();
        return;
    }
    switch (c) {
    case '\\':
    case '{':
    case '}':
        AddChar(static_cast<char16_t>(c));
        break;
    case '~':
        AddChar(0x00A0);
        break;
    case '-':
        AddChar(0x00AD);
        break;
    case '_':
        AddChar(0x2011);
        break;
    case '\n':
        if (G().dest == Dest::Text)
            ParagraphEnd();
        break;
    case '\t':
        AddChar(u'\t');
        break;
    default:
        break;
    }
}

void KvRtfParser::HandleHex(unsigned char b)
{
    if (m_skipCount > 0) {
        --m_skipCount;
        return;
    }
    if (m_ignorable) {
        m_ignorable = false;
        SkipGroup();
        return;
    }
    const Dest d = G().dest;
    if (d == Dest::Skip || d == Dest::Upr || d == Dest::Object || d == Dest::Pict)
        return;
    if (!m_bytes.isEmpty()) { // the common case inside runs of \'xx: no checks needed
        const int cp = CurrentCodePage();
        if (cp == m_bytesCodePage) {
            m_bytes.append(static_cast<char>(b));
            return;
        }
    }
    const char c = static_cast<char>(b);
    AddBytes(std::string_view(&c, 1));
}

void KvRtfParser::HandleTextBytes(std::string_view bytes)
{
    if (m_skipCount > 0) {
        const size_t n = std::min<size_t>(m_skipCount, bytes.size());
        m_skipCount -= static_cast<int>(n);
        bytes.remove_prefix(n);
        if (bytes.empty())
            return;
    }
    if (m_ignorable) {
        m_ignorable = false;
        SkipGroup();
        return;
    }
    const Dest d = G().dest;
    if (d == Dest::Skip || d == Dest::Upr || d == Dest::Object)
        return;
    if (d == Dest::Pict) {
        if (!m_sink.WantsPictureData())
            return;
        for (const char c : bytes) {
            const int h = HexDigit(c);
            if (h < 0)
                continue;
            if (m_pictNibble < 0) {
                m_pictNibble = h;
            } else {
                m_pict.data.append(static_cast<char>(m_pictNibble * 16 + h));
                m_pictNibble = -1;
            }
        }
        return;
    }
    AddBytes(bytes);
}

// ---------------------------------------------------------------------------------------------
// Characters

int KvRtfParser::CurrentCodePage()
{
    if (G().dest == Dest::FontTable) {
        if (m_fontPending.codePage > 0)
            return m_fontPending.codePage;
        return m_fontPending.charset >= 0
                   ? KvRtfCodePages::ForCharset(m_fontPending.charset, m_ansiCodePage)
                   : m_ansiCodePage;
    }
    const int font = G().cs.font;
    if (font == m_cpFont)
        return m_cpValue;
    int cp = m_ansiCodePage;
    if (const KvRtfFont* f = Font(font)) {
        if (f->codePage > 0)
            cp = f->codePage;
        else if (f->charset >= 0)
            cp = KvRtfCodePages::ForCharset(f->charset, m_ansiCodePage);
    }
    m_cpFont = font;
    m_cpValue = cp;
    return cp;
}

void KvRtfParser::AddBytes(std::string_view bytes)
{
    if (m_bytes.isEmpty() && IsPrintableAscii(bytes)) {
        if (G().dest == Dest::Text) {
            EnsureContent();
            if (m_plain) {
                if (!G().cs.hidden)
                    m_plain->append(
                        QLatin1StringView(bytes.data(), static_cast<qsizetype>(bytes.size())));
                return;
            }
            if (!m_run.isEmpty() && !(m_runCs == G().cs))
                FlushRun();
            m_runCs = G().cs;
            m_run.append(QLatin1StringView(bytes.data(), static_cast<qsizetype>(bytes.size())));
        } else {
            AddText(QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size())));
        }
        return;
    }
    const int cp = CurrentCodePage();
    if (!m_bytes.isEmpty() && cp != m_bytesCodePage)
        FlushBytes();
    m_bytesCodePage = cp;
    m_bytes.append(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

void KvRtfParser::FlushBytes()
{
    if (m_bytes.isEmpty())
        return;
    QString& text = m_decoded;
    text.resize(0); // keeps the buffer
    if (!m_decoders.Decode(m_bytesCodePage, m_bytes, text) && !m_warnedCodePage) {
        m_warnedCodePage = true;
        m_warnings << u"Code page %1 is not available; its text was read as windows-1252."_qs.arg(
            m_bytesCodePage);
    }
    m_bytes.resize(0);
    AddText(text);
}

void KvRtfParser::AddChar(char16_t c)
{
    FlushBytes();
    m_highSurrogate = 0;
    AddText(QStringView(&c, 1));
}

void KvRtfParser::AddUnicode(int value)
{
    m_skipCount = G().uc;
    if (value < 0)
        value += 65536;
    if (value <= 0 || value > 0x10FFFF)
        return;
    if (value >= 0xD800 && value <= 0xDBFF) {
        m_highSurrogate = static_cast<char16_t>(value);
        return;
    }
    if (value >= 0xDC00 && value <= 0xDFFF) {
        if (m_highSurrogate != 0) {
            const char16_t pair[2] = {m_highSurrogate, static_cast<char16_t>(value)};
            m_highSurrogate = 0;
            AddText(QStringView(pair, 2));
        }
        return;
    }
    m_highSurrogate = 0;
    if (value > 0xFFFF) {
        const char32_t cp = static_cast<char32_t>(value);
        const char16_t pair[2] = {QChar::highSurrogate(cp), QChar::lowSurrogate(cp)};
        AddText(QStringView(pair, 2));
        return;
    }
    if (value == 0xF0B7) // Symbol-font bullet in the private use area
        value = 0x2022;
    const char16_t c = static_cast<char16_t>(value);
    AddText(QStringView(&c, 1));
}

void KvRtfParser::AddText(QStringView text)
{
    if (text.isEmpty())
        return;
    Group& g = G();
    switch (g.dest) {
    case Dest::Text:
        EnsureContent();
        if (!m_run.isEmpty() && !(m_runCs == g.cs))
            FlushRun();
        m_runCs = g.cs;
        AddRunText(text);
        break;
    case Dest::FontTable:
        for (const QChar c : text) {
            if (c == u';')
                FinishFontEntry();
            else
                m_fontPending.name.append(c);
        }
        break;
    case Dest::ColorTable:
        for (const QChar c : text) {
            if (c != u';')
                continue;
            if (m_red < 0 && m_green < 0 && m_blue < 0)
                m_colors.append(QColor());
            else
                m_colors.append(
                    QColor(std::max(m_red, 0), std::max(m_green, 0), std::max(m_blue, 0)));
            m_red = m_green = m_blue = -1;
        }
        break;
    case Dest::StyleSheet:
        for (const QChar c : text) {
            if (c == u';')
                FinishStyleEntry();
            else if (m_styleName.size() < 256)
                m_styleName.append(c);
        }
        break;
    case Dest::LevelText:
        if (m_levelText.size() < 64)
            m_levelText.append(text);
        break;
    case Dest::FieldInst:
        if (g.field >= 0 && m_fields[g.field].instruction.size() < 65536)
            m_fields[g.field].instruction.append(text);
        break;
    case Dest::ListText:
        if (m_listText.size() < 256)
            m_listText.append(text);
        break;
    case Dest::PnBefore:
        if (m_para.pnBefore.size() < 32)
            m_para.pnBefore.append(text);
        break;
    case Dest::PnAfter:
        if (m_para.pnAfter.size() < 32)
            m_para.pnAfter.append(text);
        break;
    default:
        break;
    }
}

// Text that would disturb the block structure of a document is left out or mapped here, so
// that every sink sees the same characters. A plain-text buffer gets line and paragraph
// separators as "\n" and non-breaking spaces as blanks, as QTextDocument::toPlainText() has them.
void KvRtfParser::AddRunText(QStringView text)
{
    if (m_plain) {
        if (!m_runCs.hidden)
            AppendRunText<true>(text, *m_plain);
        return;
    }
    m_runAscii = false;
    AppendRunText<false>(text, m_run);
}

namespace {

// False for a character that goes into a run as it is. Otherwise replacement is what
// stands for it, 0 when it is left out.
template <bool Plain> bool MapRunChar(char16_t u, char16_t& replacement)
{
    replacement = 0;
    if (u < 0x20)
        return u != u'\t';
    switch (u) {
    case 0x00A0:
        replacement = u' ';
        return Plain;
    case 0x2028:
        replacement = u'\n';
        return Plain;
    case 0x2029:
        replacement = Plain ? u'\n' : char16_t(0x2028);
        return true;
    case 0xFDD0:
    case 0xFDD1:
    case 0xFFFC:
    case 0xFFFE:
    case 0xFFFF:
        return true;
    default:
        // Surrogates pass: pairs from \u arrive together, lone halves are dropped earlier.
        return false;
    }
}

} // namespace

template <bool Plain> void KvRtfParser::AppendRunText(QStringView text, QString& target)
{
    const char16_t* p = text.utf16();
    const char16_t* const end = p + text.size();
    const char16_t* clean = p; // [clean, p) is appended as it is
    for (; p != end; ++p) {
        char16_t replacement;
        if ((*p >= 0x20 && *p < 0xA0) || !MapRunChar<Plain>(*p, replacement))
            continue;
        target.append(QStringView(clean, p));
        if (replacement)
            target.append(QChar(replacement));
        clean = p + 1;
    }
    target.append(QStringView(clean, end));
}

void KvRtfParser::FlushRun()
{
    if (m_run.isEmpty())
        return;
    m_sink.Text(m_run, m_runCs, m_runAscii);
    m_run.resize(0);
    m_runAscii = true;
}

// ---------------------------------------------------------------------------------------------
// Paragraphs and tables

void KvRtfParser::EnsureContent()
{
    if (m_para.inTable != m_inTable || m_cellPending || m_rowPending)
        SyncTable(m_para.inTable);
    if (m_blockPending) {
        FlushRun();
        m_sink.NewBlock();
        m_blockPending = false;
    }
    if (!m_listText.isEmpty())
        EmitListText();
}

void KvRtfParser::EmitListText()
{
    KvRtfParaState p;
    p.listOverride = m_para.listOverride;
    p.listLevel = m_para.listLevel;
    p.pnKind = m_para.pnKind;
    ResolveList(p);
    QString text;
    std::swap(text, m_listText);
    if (p.listKind != KvRtfListKind::None)
        return; // the list draws its own numbers
    FlushRun();
    m_runCs = m_listTextCs;
    AddRunText(text);
    FlushRun();
}

void KvRtfParser::SyncTable(bool paragraphInTable)
{
    if (paragraphInTable && !m_inTable) {
        FlushRun();
        m_tableColumns = std::clamp(m_rowCellCount, 1, 64);
        m_sink.BeginTable(m_tableColumns);
        m_inTable = true;
        m_row = m_column = 0;
        m_cellPending = m_rowPending = false;
        m_blockPending = false;
        return;
    }
    if (!paragraphInTable && m_inTable) {
        EndTable();
        return;
    }
    if (!m_inTable)
        return;
    if (m_rowPending) {
        FlushRun();
        ++m_row;
        m_column = 0;
        m_sink.NextCell(m_row, 0);
        m_rowPending = m_cellPending = m_blockPending = false;
    } else if (m_cellPending) {
        FlushRun();
        m_cellPending = m_blockPending = false;
        if (m_column + 1 < m_tableColumns)
            m_sink.NextCell(m_row, ++m_column);
        else
            m_sink.NewBlock(); // more cells than columns: further paragraphs of the last cell
    }
}

void KvRtfParser::EndTable()
{
    FlushRun();
    if (!m_rowPending) {
        while (m_column + 1 < m_tableColumns)
            m_sink.NextCell(m_row, ++m_column);
    }
    m_sink.EndTable();
    m_inTable = false;
    m_cellPending = m_rowPending = m_blockPending = false;
}

void KvRtfParser::ParagraphEnd()
{
    EnsureContent();
    FlushRun();
    ResolveList(m_para);
    m_sink.EndBlock(m_para);
    m_blockPending = true;
}

void KvRtfParser::CellEnd()
{
    m_para.inTable = true;
    EnsureContent();
    FlushRun();
    ResolveList(m_para);
    m_sink.EndBlock(m_para);
    m_cellPending = true;
}

void KvRtfParser::RowEnd()
{
    if (!m_inTable || m_rowPending)
        return;
    if (!m_cellPending)
        CellEnd();
    FlushRun();
    m_cellPending = false;
    while (m_column + 1 < m_tableColumns)
        m_sink.NextCell(m_row, ++m_column);
    m_rowPending = true;
}

void KvRtfParser::ResolveList(KvRtfParaState& p) const
{
    p.listKind = KvRtfListKind::None;
    p.listPrefix.clear();
    p.listSuffix.clear();
    p.listIndent = 0;
    p.listKey = 0;
    p.listContiguous = false;
    if (p.listOverride > 0) {
        const int level = std::clamp(p.listLevel, 0, 8);
        const auto list = m_lists.constFind(m_overrides.value(p.listOverride, -1));
        if (list != m_lists.constEnd() && level < list->size()) {
            const ListLevel& l = list->at(level);
            if (l.none)
                return;
            p.listKind = l.kind;
            p.listPrefix = l.prefix;
            p.listSuffix = l.suffix;
        } else {
            return; // no list table entry: the \listtext numbers stay as text
        }
        p.listIndent = level;
        p.listKey = (qint64(p.listOverride) << 4) | level;
        return;
    }
    if (p.pnKind == KvRtfListKind::None)
        return;
    p.listKind = p.pnKind;
    if (p.pnKind != KvRtfListKind::Bullet) {
        p.listPrefix = p.pnBefore;
        p.listSuffix = p.pnAfter;
    }
    p.listIndent = p.pnLevel;
    p.listKey = -1 - ((qint64(p.pnLevel) << 8) | qint64(p.pnKind));
    p.listContiguous = true;
}

// ---------------------------------------------------------------------------------------------
// Tables of the header

void KvRtfParser::FinishFontEntry()
{
    if (m_fontEntry >= 0) {
        m_fontPending.name = m_fontPending.name.trimmed();
        m_fonts.insert(m_fontEntry, m_fontPending);
    }
    m_fontPending = KvRtfFont();
    m_fontEntry = -1;
    m_cpFont = INT_MIN;
}

void KvRtfParser::FinishStyleEntry()
{
    if (m_styleEntry >= 0 && m_styleNames.size() < 4096)
        m_styleNames.insert(m_styleEntry, m_styleName.trimmed());
    m_styleName.clear();
    m_styleEntry = 0;
}

void KvRtfParser::FinishLevelText()
{
    // First character: the length; characters below U+0009 stand for level numbers.
    const QString text = m_levelText.mid(1);
    qsizetype first = -1, last = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i].unicode() < 9) {
            if (first < 0)
                first = i;
            last = i;
        }
    }
    if (first < 0) {
        m_level.prefix.clear();
        m_level.suffix.clear();
        return;
    }
    m_level.prefix = text.left(first);
    QString suffix = text.mid(last + 1);
    if (suffix.endsWith(u';'))
        suffix.chop(1);
    m_level.suffix = suffix;
}

namespace {

// Takes the first picture of a text: what an object shows.
class ResultPictureSink : public KvRtfSink
{
public:
    void Text(QStringView, const KvRtfCharState&, bool) override {}
    void Picture(const KvRtfPicture& picture, const KvRtfCharState&) override
    {
        if (!found) {
            found = true;
            pict = picture;
        }
    }
    void EndBlock(const KvRtfParaState&) override {}
    void NewBlock() override {}
    void BeginTable(int) override {}
    void NextCell(int, int) override {}
    void EndTable() override {}

    bool found = false;
    KvRtfPicture pict;
};

} // namespace

void KvRtfParser::ReadObject(QByteArrayView group)
{
    using T = KvRtfTokenizer::Type;
    KvRtfTokenizer tok(group);
    int depth = 0;
    for (KvRtfTokenizer::Token t = tok.Next(); t.type != T::End; t = tok.Next()) {
        switch (t.type) {
        case T::GroupStart:
            ++depth;
            break;
        case T::GroupEnd:
            --depth;
            break;
        case T::Word:
            if (depth == 1 && t.text == "objw")
                m_pict.goalWidth = t.param;
            else if (depth == 1 && t.text == "objh")
                m_pict.goalHeight = t.param;
            else if (depth == 2 && t.text == "result") {
                const qsizetype from = tok.Offset();
                tok.SkipGroup();
                QByteArray result = "{\\rtf1 ";
                result += group.sliced(from, tok.Offset() - from);
                result += '}';
                ResultPictureSink sink;
                KvRtfParser parser(sink);
                parser.m_nested = true;
                parser.Parse(result);
                using K = KvRtfPicture::Kind;
                if (sink.found && (sink.pict.kind == K::Png || sink.pict.kind == K::Jpeg)) {
                    m_pict.resultKind = sink.pict.kind;
                    m_pict.data = sink.pict.data;
                    if (m_pict.goalWidth <= 0 || m_pict.goalHeight <= 0) {
                        m_pict.goalWidth = sink.pict.goalWidth;
                        m_pict.goalHeight = sink.pict.goalHeight;
                    }
                }
            }
            break;
        default:
            break;
        }
    }
}

void KvRtfParser::FinishPicture(const Group& g)
{
    if (m_sink.WantsPictureData()) {
        using K = KvRtfPicture::Kind;
        if (m_pict.kind != K::Png && m_pict.kind != K::Jpeg)
            m_pict.rawGroup = m_tok->Slice(g.start, m_tok->Offset()).toByteArray();
        if (m_pict.kind == K::Object && !m_nested)
            ReadObject(m_pict.rawGroup);
    }
    EnsureContent();
    FlushRun();
    m_sink.Picture(m_pict, g.cs);
    m_pict = KvRtfPicture();
}

QString KvRtfParser::ParseHyperlink(const QString& instruction) const
{
    // HYPERLINK "url" \l "anchor" \o "tip" ...
    QStringList args;
    const QString s = instruction.trimmed();
    qsizetype i = 0;
    while (i < s.size() && args.size() < 16) {
        while (i < s.size() && s[i].isSpace())
            ++i;
        if (i >= s.size())
            break;
        QString arg;
        if (s[i] == u'"') {
            ++i;
            while (i < s.size() && s[i] != u'"')
                arg.append(s[i++]);
            ++i;
        } else {
            while (i < s.size() && !s[i].isSpace())
                arg.append(s[i++]);
        }
        args.append(arg);
    }
    if (args.isEmpty() || args.first().compare(u"HYPERLINK"_qs, Qt::CaseInsensitive) != 0)
        return {};
    QString url, anchor;
    for (qsizetype k = 1; k < args.size(); ++k) {
        const QString& a = args[k];
        if (a.startsWith(u'\\') && a.size() == 2) {
            const QChar sw = a[1].toLower();
            if (sw == u'l' && k + 1 < args.size())
                anchor = args[++k];
            else if ((sw == u'o' || sw == u't') && k + 1 < args.size())
                ++k;
        } else if (url.isEmpty()) {
            url = a;
        }
    }
    if (!anchor.isEmpty())
        return url + u'#' + anchor;
    return url;
}
