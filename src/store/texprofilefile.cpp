#include "store/texprofilefile.h"

#include "platform/applog.h"
#include "platform/kvatomicfile.h"
#include "store/storetexts.h"

#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Serialises writers of one directory between processes while a file is checked,
// merged and replaced. Best effort: where the file system has no locks, nothing is held.
class DirLock
{
public:
    explicit DirLock(const QByteArray& dir)
    {
        m_fd = ::open(dir.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (m_fd >= 0)
            ::flock(m_fd, LOCK_EX);
    }
    ~DirLock()
    {
        if (m_fd >= 0)
            ::close(m_fd); // closing releases the lock
    }
    DirLock(const DirLock&) = delete;
    DirLock& operator=(const DirLock&) = delete;

private:
    int m_fd = -1;
};

QString directoryOf(const QString& path)
{
    const qsizetype slash = path.lastIndexOf(u'/');
    if (slash < 0)
        return u"."_qs;
    if (slash == 0)
        return u"/"_qs;
    return path.left(slash);
}

bool isQuote(QChar c)
{
    return c == u'"' || c == u'\'';
}

} // namespace

QString TexProfileFile::HeaderName(const QString& line)
{
    const QStringView t = QStringView(line).trimmed();
    if (!t.startsWith(u'['))
        return QString();
    const qsizetype close = t.indexOf(u']');
    if (close < 0)
        return QString();
    QString name = t.mid(1, close - 1).trimmed().toString();
    if (name.isNull())
        name = u""_qs;
    return name;
}

TexProfileFile::EIniFileWrite::EIniFileWrite(const QString& fileName)
    : EIniFileWrite(KvStoreText::IniFileWrite().replace(u"%s"_qs, fileName), fileName)
{}

TexProfileFile::EIniFileWrite::EIniFileWrite(const QString& message, const QString& fileName)
    : KvException(message), m_fileName(fileName)
{}

TexProfileFile::EIniFileFlush::EIniFileFlush(const QString& fileName, int error)
    : EIniFileWrite(KvStoreText::FlushFailed(fileName, KvAtomicFile::ErrorString(error)), fileName),
      m_error(error)
{}

TexProfileFile::TexProfileFile(QString fileName) : m_fileName(std::move(fileName)) {}

TexProfileFile::~TexProfileFile()
{
    TryUpdateFile();
}

// ---- format helpers ----

QString TexProfileFile::UnquoteValue(QStringView raw)
{
    QStringView v = raw.trimmed();
    if (v.size() >= 2 && isQuote(v.front()) && v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v.toString();
}

QString TexProfileFile::QuoteValue(const QString& value)
{
    QString v = value;
    // A value is one line; a line break would split it and could forge a section header.
    if (v.contains(u'\r') || v.contains(u'\n')) {
        v.replace(u'\r', u' ');
        v.replace(u'\n', u' ');
    }
    if (v.isEmpty())
        return v;
    // Reading drops blanks around a value and one pair of enclosing quotes; a value that
    // has either gets a pair of its own, so that it reads back as it was written.
    if (v.size() >= 2 && isQuote(v.front()) && v.back() == v.front()) {
        const QChar other = v.front() == u'"' ? u'\'' : u'"';
        return other + v + other;
    }
    if (v.front().isSpace() || v.back().isSpace())
        return u'"' + v + u'"';
    return v;
}

bool TexProfileFile::ParseInteger(QStringView text, int& value)
{
    QStringView t = text.trimmed();
    bool negative = false;
    if (t.startsWith(u'-') || t.startsWith(u'+')) {
        negative = t.front() == u'-';
        t = t.mid(1);
    }
    int base = 10;
    if (t.startsWith(u'$')) {
        base = 16;
        t = t.mid(1);
    } else if (t.startsWith(u"0x", Qt::CaseInsensitive)) {
        base = 16;
        t = t.mid(2);
    }
    if (t.isEmpty())
        return false;
    quint64 n = 0;
    for (QChar c : t) {
        int d;
        const char16_t u = c.unicode();
        if (u >= u'0' && u <= u'9')
            d = u - u'0';
        else if (base == 16 && u >= u'a' && u <= u'f')
            d = u - u'a' + 10;
        else if (base == 16 && u >= u'A' && u <= u'F')
            d = u - u'A' + 10;
        else
            return false;
        n = n * base + d;
        if (n > 0xFFFFFFFFull)
            return false;
    }
    if (base == 10) {
        if (negative ? n > 2147483648ull : n > 2147483647ull)
            return false;
        value = negative ? int(-qint64(n)) : int(n);
    } else {
        // Hexadecimal covers the full 32 bits, as colour values need; a sign negates in 32
        // bits, unsigned, so that -0x80000000 is no overflow.
        const quint32 bits = quint32(n);
        value = int(negative ? 0u - bits : bits);
    }
    return true;
}

QStringList TexProfileFile::DecodeLines(const QByteArray& bytes)
{
    QByteArrayView data(bytes);
    if (data.startsWith("\xEF\xBB\xBF"))
        data = data.sliced(3);
    QStringList lines;
    auto splitText = [&lines](const QString& text) {
        qsizetype start = 0;
        const qsizetype n = text.size();
        for (qsizetype i = 0; i < n; ++i) {
            const QChar c = text.at(i);
            if (c == u'\r' || c == u'\n') {
                lines.append(text.mid(start, i - start));
                if (c == u'\r' && i + 1 < n && text.at(i + 1) == u'\n')
                    ++i;
                start = i + 1;
            }
        }
        if (start < n)
            lines.append(text.mid(start));
    };
    {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        const QString text = utf8.decode(data);
        if (!utf8.hasError()) {
            splitText(text);
            return lines;
        }
    }
    // Some line is not UTF-8: decide line by line.
    qsizetype start = 0;
    const qsizetype n = data.size();
    auto decodeLine = [&lines](QByteArrayView raw) {
        QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
        QString text = utf8.decode(raw);
        if (utf8.hasError()) {
            QStringDecoder cp1252("windows-1252");
            text = cp1252.isValid() ? QString(cp1252.decode(raw)) : QString::fromLatin1(raw);
        }
        lines.append(text);
    };
    for (qsizetype i = 0; i < n; ++i) {
        const char c = data.at(i);
        if (c == '\r' || c == '\n') {
            decodeLine(data.sliced(start, i - start));
            if (c == '\r' && i + 1 < n && data.at(i + 1) == '\n')
                ++i;
            start = i + 1;
        }
    }
    if (start < n)
        decodeLine(data.sliced(start));
    return lines;
}

// ---- loading ----

TexProfileFile::DiskStamp TexProfileFile::StampOf(const QString& path)
{
    DiskStamp s;
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0)
        return s;
    s.exists = true;
    s.size = st.st_size;
    s.mtimeNs = qint64(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    s.inode = st.st_ino;
    s.device = st.st_dev;
    return s;
}

void TexProfileFile::ensureLoaded() const
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_stamp = StampOf(m_fileName);
    m_diskBytes.clear();
    m_readFailed = false;
    if (m_stamp.exists) {
        QFile f(m_fileName);
        if (f.open(QIODevice::ReadOnly)) {
            m_diskBytes = f.readAll();
        } else {
            m_readFailed = true;
            KvAppLog::Write(u"TexProfileFile: cannot read "_qs + m_fileName);
        }
    }
    loadFrom(m_diskBytes);
}

void TexProfileFile::loadFrom(const QByteArray& bytes) const
{
    m_sections.clear();
    m_erased = 0;
    m_sections.emplace_back(); // lines before the first header
    const QStringList lines = DecodeLines(bytes);
    for (const QString& text : lines) {
        const QString name = HeaderName(text);
        if (!name.isNull()) {
            Section s;
            s.header = text;
            s.name = name;
            m_sections.push_back(std::move(s));
            continue;
        }
        Line line;
        line.text = text;
        line.eq = text.indexOf(u'=');
        if (line.eq >= 0)
            line.lowerKey = QStringView(text).left(line.eq).trimmed().toString().toLower();
        m_sections.back().lines.push_back(std::move(line));
    }
    rebuildHash();
}

void TexProfileFile::rebuildHash() const
{
    m_index.clear();
    m_index.reserve(qsizetype(m_sections.size()));
    m_duplicates = false;
    // Backwards, so that of two sections with one name the first wins.
    for (size_t i = m_sections.size(); i-- > 1;) {
        if (m_sections[i].erased)
            continue;
        const QString lower = m_sections[i].name.toLower();
        if (m_index.contains(lower))
            m_duplicates = true;
        m_index.insert(lower, qsizetype(i));
    }
}

void TexProfileFile::compact() const
{
    std::erase_if(m_sections, [](const Section& s) { return s.erased; });
    m_erased = 0;
    rebuildHash();
}

void TexProfileFile::Refresh()
{
    if (m_loaded && StampOf(m_fileName) != m_stamp)
        reloadAndReapply();
}

void TexProfileFile::reloadAndReapply()
{
    m_loaded = false;
    ensureLoaded();
    for (const Op& op : m_pending) {
        switch (op.kind) {
        case OpKind::Write:
            applyWrite(op.section, op.key, op.value);
            break;
        case OpKind::Delete:
            applyDelete(op.section, op.key);
            break;
        case OpKind::Erase:
            applyErase(op.section);
            break;
        case OpKind::Replace:
            applyReplace(op.section, op.keys);
            break;
        case OpKind::Mend:
            applyMend();
            break;
        }
    }
}

// ---- lookups ----

const TexProfileFile::Section* TexProfileFile::findSection(const QString& section) const
{
    ensureLoaded();
    const auto it = m_index.constFind(section.toLower());
    return it == m_index.cend() ? nullptr : &m_sections[size_t(*it)];
}

TexProfileFile::Section* TexProfileFile::findSection(const QString& section)
{
    return const_cast<Section*>(std::as_const(*this).findSection(section));
}

const TexProfileFile::Line* TexProfileFile::findKey(const Section& s, const QString& lowerKey)
{
    for (const Line& line : s.lines) {
        if (line.eq >= 0 && line.lowerKey == lowerKey)
            return &line;
    }
    return nullptr;
}

QString TexProfileFile::ReadString(const QString& section, const QString& key,
                                   const QString& def) const
{
    const Section* s = findSection(section);
    if (!s)
        return def;
    const Line* line = findKey(*s, key.trimmed().toLower());
    if (!line)
        return def;
    return UnquoteValue(QStringView(line->text).mid(line->eq + 1));
}

int TexProfileFile::ReadInteger(const QString& section, const QString& key, int def) const
{
    int value = def;
    if (!ParseInteger(ReadString(section, key, QString()), value))
        return def;
    return value;
}

bool TexProfileFile::ReadBool(const QString& section, const QString& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

QStringList TexProfileFile::ReadSection(const QString& section) const
{
    QStringList keys;
    if (const Section* s = findSection(section)) {
        for (const Line& line : s->lines) {
            if (line.eq >= 0)
                keys.append(QStringView(line.text).left(line.eq).trimmed().toString());
        }
    }
    return keys;
}

QStringList TexProfileFile::ReadSections() const
{
    ensureLoaded();
    QStringList names;
    names.reserve(qsizetype(m_sections.size()) - 1);
    for (size_t i = 1; i < m_sections.size(); ++i) {
        if (!m_sections[i].erased)
            names.append(m_sections[i].name);
    }
    return names;
}

QStringList TexProfileFile::ReadSectionValues(const QString& section) const
{
    QStringList result;
    if (const Section* s = findSection(section)) {
        for (const Line& line : s->lines) {
            if (line.eq < 0)
                continue;
            // A repeated key reads as its first occurrence, as ReadString does.
            const Line* first = findKey(*s, line.lowerKey);
            result.append(QStringView(line.text).left(line.eq).trimmed() + u'=' +
                          UnquoteValue(QStringView(first->text).mid(first->eq + 1)));
        }
    }
    return result;
}

bool TexProfileFile::SectionExists(const QString& section) const
{
    return findSection(section) != nullptr;
}

bool TexProfileFile::ValueExists(const QString& section, const QString& key) const
{
    const Section* s = findSection(section);
    return s && findKey(*s, key.trimmed().toLower());
}

// ---- changes ----

bool TexProfileFile::writable() const
{
    ensureLoaded();
    if (m_readFailed)
        return false; // writing would replace content never seen
    return KvAtomicFile::CanReplace(m_fileName);
}

void TexProfileFile::checkWritable() const
{
    if (!writable())
        throw EIniFileWrite(m_fileName);
}

void TexProfileFile::applyWrite(const QString& section, const QString& key, const QString& value)
{
    const QString lineText = key + u'=' + QuoteValue(value);
    Section* s = findSection(section);
    if (!s) {
        Section ns;
        ns.name = section;
        ns.header = u'[' + section + u']';
        m_sections.push_back(std::move(ns));
        m_index.insert(section.toLower(), qsizetype(m_sections.size() - 1));
        s = &m_sections.back();
    }
    const QString lowerKey = key.trimmed().toLower();
    for (Line& line : s->lines) {
        if (line.eq >= 0 && line.lowerKey == lowerKey) {
            // Keep the key's spelling as it is in the file.
            line.text = QStringView(line.text).left(line.eq) + u'=' + QuoteValue(value);
            return;
        }
    }
    Line line;
    line.text = lineText;
    line.eq = key.size();
    line.lowerKey = lowerKey;
    // After the last non-empty line, so that blank lines between sections stay between them.
    auto pos = s->lines.end();
    while (pos != s->lines.begin() && std::prev(pos)->text.trimmed().isEmpty())
        --pos;
    s->lines.insert(pos, std::move(line));
}

void TexProfileFile::applyDelete(const QString& section, const QString& key)
{
    Section* s = findSection(section);
    if (!s)
        return;
    const QString lowerKey = key.trimmed().toLower();
    std::erase_if(s->lines,
                  [&](const Line& line) { return line.eq >= 0 && line.lowerKey == lowerKey; });
}

void TexProfileFile::applyErase(const QString& section)
{
    ensureLoaded();
    const QString lower = section.toLower();
    const auto it = m_index.find(lower);
    if (it == m_index.end())
        return;
    if (!m_duplicates) {
        // One section of the name: marked, not moved, so that erasing many sections of a
        // large file stays linear.
        Section& s = m_sections[size_t(*it)];
        s.erased = true;
        s.lines.clear();
        m_index.erase(it);
        if (++m_erased > 256 && m_erased * 2 > qsizetype(m_sections.size()))
            compact();
        return;
    }
    std::erase_if(m_sections, [&](const Section& s) {
        return !s.header.isEmpty() && s.name.toLower() == lower;
    });
    rebuildHash();
}

TexProfileFile::Line TexProfileFile::keyLine(const QString& key, const QString& value)
{
    Line line;
    line.text = key + u'=' + QuoteValue(value);
    line.eq = key.size();
    line.lowerKey = key.trimmed().toLower();
    return line;
}

void TexProfileFile::applyReplace(const QString& section, const KeyValues& keys)
{
    std::vector<Line> lines;
    lines.reserve(size_t(keys.size()));
    for (const auto& [key, value] : keys)
        lines.push_back(keyLine(key, value));
    Section* s = findSection(section);
    if (!s) {
        Section ns;
        ns.name = section;
        ns.header = u'[' + section + u']';
        ns.lines = std::move(lines);
        m_sections.push_back(std::move(ns));
        m_index.insert(section.toLower(), qsizetype(m_sections.size() - 1));
        return;
    }
    // Blank lines at the end separate it from the next section and stay.
    auto blank = s->lines.end();
    while (blank != s->lines.begin() && std::prev(blank)->text.trimmed().isEmpty())
        --blank;
    lines.insert(lines.end(), std::make_move_iterator(blank),
                 std::make_move_iterator(s->lines.end()));
    s->lines = std::move(lines);
    // A second section of the name would come to light once this one is erased.
    const QString lower = section.toLower();
    const size_t keep = size_t(s - m_sections.data());
    const size_t before = m_sections.size();
    for (size_t i = m_sections.size(); i-- > keep + 1;) {
        if (!m_sections[i].erased && !m_sections[i].header.isEmpty() &&
            m_sections[i].name.toLower() == lower)
            m_sections.erase(m_sections.begin() + qsizetype(i));
    }
    if (m_sections.size() != before)
        rebuildHash();
}

// Every change is kept as an intent, also one that changes nothing in memory: the disk may
// hold something else by the time of the flush, which decides after reading it again.

void TexProfileFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    checkWritable();
    applyWrite(section, key, value);
    m_pending.push_back({OpKind::Write, section, key, value, {}});
}

void TexProfileFile::WriteInteger(const QString& section, const QString& key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TexProfileFile::WriteBool(const QString& section, const QString& key, bool value)
{
    WriteString(section, key, value ? u"1"_qs : u"0"_qs);
}

void TexProfileFile::EraseSection(const QString& section)
{
    checkWritable();
    applyErase(section);
    m_pending.push_back({OpKind::Erase, section, QString(), QString(), {}});
}

void TexProfileFile::ReplaceSection(const QString& section, const KeyValues& keys)
{
    checkWritable();
    applyReplace(section, keys);
    m_pending.push_back({OpKind::Replace, section, QString(), QString(), keys});
}

int TexProfileFile::DropUnparsableLines()
{
    checkWritable();
    const int dropped = applyMend();
    m_pending.push_back({OpKind::Mend, QString(), QString(), QString(), {}});
    return dropped;
}

int TexProfileFile::applyMend()
{
    ensureLoaded();
    int dropped = 0;
    for (size_t i = 0; i < m_sections.size(); ++i) {
        const bool beforeFirstHeader = i == 0;
        dropped += int(std::erase_if(m_sections[i].lines, [&](const Line& line) {
            const QStringView t = QStringView(line.text).trimmed();
            if (t.isEmpty() || t.startsWith(u';'))
                return false;
            return beforeFirstHeader || line.eq < 0;
        }));
    }
    return dropped;
}

void TexProfileFile::DeleteKey(const QString& section, const QString& key)
{
    // Nothing is reported; memory and disk stay alike when the file cannot be written.
    if (!writable())
        return;
    applyDelete(section, key);
    m_pending.push_back({OpKind::Delete, section, key, QString(), {}});
}

// ---- writing ----

QByteArray TexProfileFile::serialize() const
{
    QString text;
    for (const Section& s : m_sections) {
        if (s.erased)
            continue;
        if (!s.header.isEmpty())
            text += s.header + u"\r\n";
        for (const Line& line : s.lines)
            text += line.text + u"\r\n";
    }
    return text.toUtf8();
}

void TexProfileFile::UpdateFile()
{
    int error = 0;
    if (!TryUpdateFile(&error))
        throw EIniFileFlush(m_fileName, error);
}

bool TexProfileFile::TryUpdateFile(int* error) noexcept
{
    int err = 0;
    if (!m_pending.empty()) {
        try {
            err = writeToDisk();
            if (err == 0)
                m_pending.clear();
        } catch (...) {
            err = ENOMEM; // out of memory and the like: the changes stay pending
        }
    }
    if (error)
        *error = err;
    if (err == 0)
        return true;
    try {
        KvAppLog::Write(u"TexProfileFile::UpdateFile "_qs + m_fileName + u": "_qs +
                        KvAtomicFile::ErrorString(err));
    } catch (...) {
    }
    return false;
}

bool TexProfileFile::PendingBytes(QByteArray& bytes, int* error)
{
    if (error)
        *error = 0;
    if (m_pending.empty())
        return false;
    DirLock lock(QFile::encodeName(directoryOf(m_fileName)));
    if (StampOf(m_fileName) != m_stamp) {
        reloadAndReapply();
        if (m_readFailed) {
            if (error)
                *error = EIO;
            return false;
        }
    }
    bytes = serialize();
    return bytes != m_diskBytes;
}

int TexProfileFile::writeToDisk()
{
    DirLock lock(QFile::encodeName(directoryOf(m_fileName)));

    // Another writer replaced the file since it was read: start from its content.
    if (StampOf(m_fileName) != m_stamp) {
        reloadAndReapply();
        if (m_readFailed)
            return EIO; // writing would replace content never seen
    }
    QByteArray bytes = serialize();
    if (bytes == m_diskBytes)
        return 0; // the changes are on disk already: no write, no sync
    int err = 0;
    if (!KvAtomicFile::WriteFile(m_fileName, bytes, KvAtomicFile::Access::KeepOrDefault, &err))
        return err;
    m_diskBytes = std::move(bytes);
    m_stamp = StampOf(m_fileName);
    m_readFailed = false;
    return 0;
}
