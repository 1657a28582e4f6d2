#include "model/kvnotebookgenerator.h"

#include "model/blowfishvcl.h"
#include "model/kvpagepassword.h"
#include "model/kvpasswordbytes.h"
#include "model/kvsectionnames.h"
#include "platform/kvatomicfile.h"
#include "store/kvstorefont.h"
#include "store/texprofilefile.h"

#include <QDir>
#include <QFile>
#include <random>

namespace {

constexpr qsizetype kMemberLimit = 40 * 1024;

// The member files of one store, filled section by section in writing order.
class MemberWriter
{
public:
    explicit MemberWriter(QString basePath) : m_base(std::move(basePath)) {}
    ~MemberWriter() { Flush(); }

    void Section(const QString& name, const QList<std::pair<QString, QString>>& keys)
    {
        if (keys.isEmpty())
            return;
        if (m_buffer.size() >= kMemberLimit)
            Flush();
        QString text = u'[' + name + u"]\r\n"_qs;
        for (const auto& [key, value] : keys)
            text += key + u'=' + TexProfileFile::QuoteValue(value) + u"\r\n"_qs;
        m_buffer += text.toUtf8();
    }

    void Flush()
    {
        if (m_buffer.isEmpty())
            return;
        ++m_number;
        KvAtomicFile::WriteFile(
            m_base + u'.' + QString::number(m_number).rightJustified(m_number <= 999 ? 3 : 9, u'0'),
            m_buffer);
        m_buffer.clear();
    }

private:
    QString m_base;
    QByteArray m_buffer;
    int m_number = 0;
};

} // namespace

namespace KvNotebookGenerator {

const QStringList& Words()
{
    static const QStringList words = {
        u"Angebot"_qs,  u"Besprechung"_qs, u"Budget"_qs, u"Entwurf"_qs,   u"Idee"_qs,
        u"Kunde"_qs,    u"Liste"_qs,       u"Notiz"_qs,  u"Plan"_qs,      u"Projekt"_qs,
        u"Rechnung"_qs, u"Reise"_qs,       u"Termin"_qs, u"Übersicht"_qs, u"Vertrag"_qs,
        u"Ziel"_qs,     u"Ärger"_qs,       u"Straße"_qs, u"alpha"_qs,     u"beta"_qs};
    return words;
}

} // namespace KvNotebookGenerator

namespace {

using KvNotebookGenerator::Words;

class Generator
{
public:
    Generator(QString dir, const KvGeneratorOptions& o)
        : m_dir(std::move(dir)), m_o(o), m_rng(o.seed)
    {}

    KvGeneratedNotebook Run();

private:
    int Pick(int n) { return int(std::uniform_int_distribution<int>(0, n - 1)(m_rng)); }
    bool Chance(int percent) { return Pick(100) < percent; }
    QString Word() { return Words().at(Pick(int(Words().size()))); }
    QString Name()
    {
        QString n = Word();
        const int extra = Pick(3);
        for (int i = 0; i < extra; ++i)
            n += u' ' + Word();
        return n + u' ' + QString::number(Pick(1000));
    }
    QByteArray Rtf(const QString& title);
    void WriteChildren(const QString& id, MemberWriter& obj,
                       QList<std::pair<QString, QString>> keys);
    QList<std::pair<QString, QString>> Layout(bool withWordWrap);

    QString m_dir;
    KvGeneratorOptions m_o;
    std::mt19937 m_rng;
    KvGeneratedNotebook m_nb;
    int m_ext = 0;
};

QByteArray Generator::Rtf(const QString& title)
{
    // Latin-1 escapes keep the file ASCII like the editor writes it.
    auto esc = [](const QString& s) {
        QByteArray out;
        for (QChar c : s) {
            const ushort u = c.unicode();
            if (u == '\\' || u == '{' || u == '}')
                out += '\\', out += char(u);
            else if (u < 128)
                out += char(u);
            else if (u < 256)
                out += "\\'" + QByteArray::number(u, 16).rightJustified(2, '0');
            else
                out += "\\u" + QByteArray::number(short(u)) + '?';
        }
        return out;
    };
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss "
                     "Arial;}{\\f1\\fmodern Courier New;}}"
                     "{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}\r\n";
    rtf += "\\pard\\b\\fs28 " + esc(title) + "\\b0\\fs20\\par\r\n";
    const int paragraphs = 1 + Pick(8);
    for (int p = 0; p < paragraphs || rtf.size() < m_o.pageBytes; ++p) {
        const int kind = Pick(4);
        if (kind == 1)
            rtf += "\\pard\\fi-200\\li200 \\bullet  ";
        else
            rtf += "\\pard ";
        const int words = 3 + Pick(40);
        for (int w = 0; w < words; ++w) {
            const QByteArray word = esc(Word());
            // The blank after a control word is its delimiter, not text: the blank between
            // two words follows the delimiter.
            switch (Pick(12)) {
            case 0:
                rtf += "\\b " + word + "\\b0  ";
                break;
            case 1:
                rtf += "\\i " + word + "\\i0  ";
                break;
            case 2:
                rtf += "\\cf1 " + word + "\\cf0  ";
                break;
            case 3:
                rtf += "\\f1 " + word + "\\f0  ";
                break;
            default:
                rtf += word + ' ';
            }
        }
        rtf += "\\par\r\n";
    }
    rtf += "}\r\n";
    return rtf;
}

QList<std::pair<QString, QString>> Generator::Layout(bool withWordWrap)
{
    static const QStringList fonts = {u"Arial"_qs, u"Courier New"_qs, u"Times New Roman"_qs};
    static const QStringList colors = {u"clWindow"_qs, u"clYellow"_qs, u"clWhite"_qs,
                                       u"$00E0FFFF"_qs};
    QList<std::pair<QString, QString>> keys;
    keys.append({u"Font"_qs, fonts.at(Pick(3)) + u',' + QString::number(8 + Pick(8)) +
                                 u",,0,clWindowText,0"_qs});
    keys.append({u"BgColor"_qs, colors.at(Pick(4))});
    if (withWordWrap)
        keys.append({u"WordWrap"_qs, Chance(80) ? u"1"_qs : u"0"_qs});
    return keys;
}

void Generator::WriteChildren(const QString& id, MemberWriter& obj,
                              QList<std::pair<QString, QString>> keys)
{
    const QStringList& children = m_nb.children.value(id);
    QString section = id;
    int counter = 0;
    for (int i = 0; i < children.size(); ++i) {
        if (counter == 200) {
            const QString next = KvSectionNames::Format(u"Ext"_qs, ++m_ext);
            keys.append({u"Continuation"_qs, next});
            obj.Section(section, keys);
            keys.clear();
            section = next;
            counter = 0;
        }
        keys.append({KvSectionNames::ItemKey(i + 1), children[i]});
        ++counter;
    }
    obj.Section(section, keys);
}

KvGeneratedNotebook Generator::Run()
{
    QDir().mkpath(m_dir);
    const int folders = m_o.flat           ? 0
                        : m_o.folders >= 0 ? std::min(m_o.folders, m_o.elements)
                                           : std::max(m_o.folderPercent > 0 ? 1 : 0,
                                                      m_o.elements * m_o.folderPercent / 100);
    const int pages = m_o.elements - folders;
    const QString topId = u"TopFolder"_qs;
    const QString trashId = u"TrashFolder"_qs;
    m_nb.names.insert(topId, u"Ordner"_qs);
    m_nb.names.insert(trashId, u"Papierkorb"_qs);
    m_nb.children.insert(topId, {});
    m_nb.children.insert(trashId, {});

    auto parentFor = [&](bool isFolder) -> QString {
        if (m_o.flat || m_nb.folderIds.isEmpty() || (isFolder && Chance(30)))
            return Chance(m_o.trashPercent) ? trashId : topId;
        return m_nb.folderIds.at(Pick(int(m_nb.folderIds.size())));
    };
    for (int i = 1; i <= folders; ++i) {
        const QString id = KvSectionNames::Format(u"Fldr"_qs, i);
        const QString parent = parentFor(true);
        m_nb.children[parent].append(id);
        m_nb.children.insert(id, {});
        m_nb.folderIds.append(id);
        m_nb.names.insert(id, Name());
    }
    QStringList targets;
    for (int i = 1; i <= pages; ++i) {
        const QString id = KvSectionNames::Format(u"Page"_qs, i);
        m_nb.children[parentFor(false)].append(id);
        m_nb.pageIds.append(id);
        if (!targets.isEmpty() && Chance(m_o.referrerPercent)) {
            const QString target = targets.at(Pick(int(targets.size())));
            m_nb.referrers.insert(id, target);
            m_nb.names.insert(id, m_nb.names.value(target));
        } else {
            targets.append(id);
            m_nb.names.insert(id, Name());
        }
    }

    MemberWriter obj(m_dir + u"objprps"_qs);
    MemberWriter fldr(m_dir + u"Fldrprps"_qs);
    MemberWriter page(m_dir + u"Pageprps"_qs);
    MemberWriter kwd(m_dir + u"keywords"_qs);

    auto keywords = [&](const QString& id) {
        if (!Chance(m_o.keywordPercent))
            return;
        QStringList list;
        const int n = 1 + Pick(4);
        for (int k = 0; k < n; ++k) {
            const QString w = Word();
            if (!list.contains(w))
                list.append(w);
        }
        kwd.Section(id, {{u"Kwds"_qs, list.join(u';')}});
    };

    QStringList allFolders{topId, trashId};
    allFolders += m_nb.folderIds;
    for (const QString& id : std::as_const(allFolders)) {
        WriteChildren(id, obj, {{u"Name"_qs, m_nb.names.value(id)}});
        QList<std::pair<QString, QString>> keys;
        keys.append({u"Status"_qs, QString::number(Chance(m_o.statusPercent) ? 1 + Pick(13) : 0)});
        if (id == topId || Chance(20))
            keys.append({u"PagesMultiLine"_qs, QString::number(1 + Pick(3))});
        if (id == topId || Chance(10)) {
            keys.append({u"AutoSort"_qs, Chance(30) ? u"1"_qs : u"0"_qs});
            keys.append({u"NewElemsFirst"_qs, Chance(30) ? u"1"_qs : u"0"_qs});
        }
        if (id == topId || Chance(m_o.layoutPercent))
            keys += Layout(true);
        if (Chance(30))
            keys.append({u"Expand"_qs, u"1"_qs});
        fldr.Section(id, keys);
        if (id != topId && id != trashId)
            keywords(id);
    }

    for (const QString& id : std::as_const(m_nb.pageIds)) {
        if (m_nb.referrers.contains(id)) {
            obj.Section(id, {{u"Ref2"_qs, m_nb.referrers.value(id)}});
            continue;
        }
        obj.Section(id, {{u"Name"_qs, m_nb.names.value(id)}});
        keywords(id);
        QList<std::pair<QString, QString>> keys;
        keys.append({u"Status"_qs, QString::number(Chance(m_o.statusPercent) ? 1 + Pick(13) : 0)});
        if (Chance(10))
            keys.append({u"WriteProtect"_qs, u"1"_qs});
        if (Chance(30)) {
            keys.append({u"SelStart"_qs, QString::number(Pick(50))});
            keys.append({u"SelLength"_qs, u"0"_qs});
            keys.append({u"ScrollPos"_qs, u"[0,"_qs + QString::number(Pick(200)) + u']'});
        }
        QString password;
        if (Chance(m_o.protectedPercent)) {
            password = u"pw"_qs + QString::number(Pick(100000));
            const int cls = Pick(2);
            keys.append({u"PWAskMode"_qs, QString::number(Pick(2))});
            keys.append({u"PWBF"_qs, KvPagePassword::CheckValue(cls, password)});
            keys.append({u"EncSCl"_qs, QString::number(cls)});
            keys.append({u"PWCopy"_qs, u"0"_qs});
            keys.append({u"PWList"_qs, Chance(50) ? u"1"_qs : u"0"_qs});
            m_nb.passwords.insert(id, password);
        }
        if (Chance(m_o.layoutPercent))
            keys += Layout(false);
        page.Section(id, keys);
        if (!m_o.writePageFiles)
            continue;
        const QByteArray rtf = Rtf(m_nb.names.value(id));
        const QString path = m_dir + id + u".kvp"_qs;
        if (!password.isEmpty()) {
            const BlowFishVCL cipher(KvPasswordBytes::Encode(password));
            cipher.EncryptToFile(rtf, path, BlowFishVCL::DefaultBlockSize);
        } else {
            KvAtomicFile::WriteFile(path, rtf);
        }
    }
    return m_nb;
}

} // namespace

namespace KvNotebookGenerator {

KvGeneratedNotebook Generate(const QString& dataDir, const KvGeneratorOptions& options)
{
    QString dir = dataDir;
    if (!dir.endsWith(u'/'))
        dir += u'/';
    Generator g(dir, options);
    return g.Run();
}

} // namespace KvNotebookGenerator
