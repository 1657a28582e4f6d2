#include "store/texinifile.h"

#include "platform/applog.h"
#include "platform/kvatomicfile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>

namespace {

const QString kErased = u"*d*"_qs;

bool allDigits(QStringView t)
{
    if (t.isEmpty())
        return false;
    return std::all_of(t.begin(), t.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

} // namespace

TexIniFile::TexIniFile(const QString& basePath, int sizeLimitKb, bool useIndex)
    : m_basePath(QFileInfo(basePath).absoluteFilePath()), m_sizeLimitKb(sizeLimitKb),
      m_useIndex(useIndex)
{
    m_directory = m_basePath.left(m_basePath.lastIndexOf(u'/') + 1);
}

TexIniFile::TexIniFile(const TexIniFile& other)
    : KvPropReader(other), m_basePath(other.m_basePath), m_directory(other.m_directory),
      m_sizeLimitKb(other.m_sizeLimitKb), m_useIndex(other.m_useIndex),
      m_indexLoaded(other.m_indexLoaded), m_index(other.m_index), m_nameCache(other.m_nameCache)
{}

TexIniFile& TexIniFile::operator=(const TexIniFile& other)
{
    if (this == &other)
        return *this;
    UpdateFile();
    m_basePath = other.m_basePath;
    m_directory = other.m_directory;
    m_sizeLimitKb = other.m_sizeLimitKb;
    m_useIndex = other.m_useIndex;
    m_indexLoaded = other.m_indexLoaded;
    m_index = other.m_index;
    m_nameCache = other.m_nameCache;
    m_files.clear();
    m_currentSection = QString();
    m_current.reset();
    m_prefixes.clear();
    return *this;
}

TexIniFile::~TexIniFile()
{
    // A store that goes inside a batch still writes what it holds.
    m_batchDepth = 0;
    TryUpdateFile();
}

// ---- member files ----

int TexIniFile::FileNumber(const QString& path) const
{
    const QStringView suffix = QStringView(path).mid(m_basePath.size() + 1);
    if (!allDigits(suffix) || suffix.size() > 9)
        return 0;
    return suffix.toInt();
}

QString TexIniFile::NewFileName() const
{
    std::vector<int> numbers;
    numbers.reserve(m_files.size());
    for (const auto& file : m_files)
        numbers.push_back(FileNumber(file.first));
    std::sort(numbers.begin(), numbers.end());
    int n = 1;
    for (int c : numbers) {
        if (c > n)
            break;
        n = c + 1;
    }
    const int width = n <= 999 ? 3 : 9;
    return m_basePath + u'.' + QStringLiteral("%1").arg(n, width, 10, QLatin1Char('0'));
}

// On the way (a member switch, a rescan) a failed flush is not an error of the operation
// under way: the member keeps its changes and the next UpdateFile reports it.
void TexIniFile::flushCurrent()
{
    if (!m_current || InBatch())
        return;
    m_current->TryUpdateFile();
    rememberCurrentNames();
}

void TexIniFile::retryUnflushed()
{
    if (InBatch())
        return;
    std::erase_if(m_unflushed,
                  [](const std::unique_ptr<TexProfileFile>& f) { return f->TryUpdateFile(); });
}

void TexIniFile::rememberCurrentNames()
{
    if (!m_current || m_current->Modified() || !m_current->IsLoaded())
        return;
    const TexProfileFile::DiskStamp& stamp = m_current->Stamp();
    if (!stamp.exists)
        return;
    NameCache& cache = m_nameCache[m_current->FileName()];
    if (cache.stamp == stamp)
        return;
    cache.stamp = stamp;
    cache.names = m_current->ReadSections();
    cache.lowerNames.clear();
    for (const QString& name : std::as_const(cache.names))
        cache.lowerNames.insert(name.toLower());
}

const TexIniFile::NameCache& TexIniFile::namesOf(const QString& path)
{
    const TexProfileFile::DiskStamp stamp = TexProfileFile::StampOf(path);
    NameCache& cache = m_nameCache[path];
    if (cache.stamp == stamp && (stamp.exists || cache.names.isEmpty()))
        return cache;
    cache.stamp = stamp;
    cache.names.clear();
    cache.lowerNames.clear();
    if (stamp.exists) {
        QFile f(path);
        if (f.open(QIODevice::ReadOnly)) {
            const QStringList lines = TexProfileFile::DecodeLines(f.readAll());
            for (const QString& line : lines) {
                const QString name = TexProfileFile::HeaderName(line);
                if (name.isNull())
                    continue;
                cache.names.append(name);
                cache.lowerNames.insert(name.toLower());
            }
        } else {
            KvAppLog::Write(u"TexIniFile: cannot read "_qs + path);
            cache.stamp = {}; // try again next time
        }
    }
    return cache;
}

bool TexIniFile::fileHolds(const QString& path, const QString& section)
{
    if (m_current && path == m_current->FileName()) {
        m_current->Refresh(); // the search opens every member anew
        return m_current->SectionExists(section);
    }
    return namesOf(path).lowerNames.contains(section.toLower());
}

void TexIniFile::SwitchFile(const QString& path)
{
    if (m_current) {
        flushCurrent();
        if (m_current->FileName() == path) {
            m_current->Refresh();
            return;
        }
        // Inside a batch every member read stays in memory: switching back costs no read.
        if (m_current->Modified() || InBatch())
            m_unflushed.push_back(std::move(m_current));
    }
    m_current.reset();
    // A member whose last flush failed still holds its changes: take it up again.
    for (auto it = m_unflushed.begin(); it != m_unflushed.end(); ++it) {
        if ((*it)->FileName() == path) {
            m_current = std::move(*it);
            m_unflushed.erase(it);
            m_current->Refresh();
            return;
        }
    }
    m_current = std::make_unique<TexProfileFile>(path);
}

void TexIniFile::RefreshFileList()
{
    // Inside a batch the directory is listed once; the members this store adds and the
    // sizes it writes are kept up to date by the store itself.
    if (InBatch()) {
        if (m_batchListed)
            return;
        m_batchListed = true;
    }
    flushCurrent();
    retryUnflushed();
    ++m_scans;
    m_files.clear();
    const QString baseName = m_basePath.mid(m_directory.size());
    const QDir dir(m_directory);
    const QFileInfoList entries = dir.entryInfoList(
        {baseName + u".*"_qs}, QDir::Files | QDir::Hidden | QDir::System, QDir::Unsorted);
    for (const QFileInfo& info : entries) {
        const QString name = info.fileName();
        if (!name.startsWith(baseName + u'.', Qt::CaseInsensitive))
            continue;
        const QString path = m_directory + name;
        if (FileNumber(path) != 0)
            m_files.emplace(path, quint64(info.size()));
    }
}

void TexIniFile::setEntry(const QString& section, const QString& path, EntryState state)
{
    if (!m_useIndex)
        return;
    Entry& e = m_index[section];
    const bool wasPresent = e.state == EntryState::Present;
    e.path = path;
    e.state = state;
    const bool isPresent = state == EntryState::Present;
    if (wasPresent != isPresent)
        noteName(section, isPresent ? 1 : -1);
}

void TexIniFile::LoadIndex()
{
    m_index.clear();
    m_prefixes.clear();
    RefreshFileList();
    for (const auto& file : m_files) {
        const QString& path = file.first;
        const QStringList names = (m_current && m_current->FileName() == path)
                                      ? m_current->ReadSections()
                                      : namesOf(path).names;
        for (const QString& name : names) {
            Entry& e = m_index[name];
            e.path = path; // a name found in two members keeps the later one
            e.state = EntryState::Present;
        }
    }
    m_indexLoaded = true;
}

TexProfileFile& TexIniFile::FileForNewSection(const QString& section)
{
    const quint64 limit = quint64(m_sizeLimitKb) * 1024;
    QString chosen;
    for (const auto& file : m_files) {
        if (file.second < limit) {
            chosen = file.first;
            break;
        }
    }
    if (chosen.isEmpty()) {
        chosen = NewFileName();
        if (InBatch())
            m_files.emplace(chosen, 0); // listed by no scan until the batch ends
    }
    setEntry(section, chosen, EntryState::Placed);
    if (!m_current || m_current->FileName() != chosen)
        SwitchFile(chosen);
    return *m_current;
}

TexProfileFile& TexIniFile::FileOfSection(const QString& section)
{
    if (m_current && !m_currentSection.isNull() && section == m_currentSection)
        return *m_current;
    m_currentSection = section;
    if (m_useIndex && InBatch())
        return batchFileOfSection(section);
    if (m_useIndex) {
        if (!m_indexLoaded)
            LoadIndex();
        const Entry entry = m_index.try_emplace(section).first->second;
        if (entry.state == EntryState::Erased) {
            RefreshFileList();
            return FileForNewSection(section);
        }
        if (!entry.path.isEmpty()) {
            if (!m_current || m_current->FileName() != entry.path)
                SwitchFile(entry.path);
            if (m_current->SectionExists(section)) {
                setEntry(section, entry.path, EntryState::Present);
                return *m_current;
            }
        }
    }
    RefreshFileList();
    for (const auto& file : m_files) {
        if (!fileHolds(file.first, section))
            continue;
        if (!m_current || m_current->FileName() != file.first)
            SwitchFile(file.first);
        setEntry(section, file.first, EntryState::Present);
        return *m_current;
    }
    return FileForNewSection(section);
}

// Inside a batch the index is taken as complete: this process holds the directory's lock,
// so a section the index does not know, or knows as erased, is new.
TexProfileFile& TexIniFile::batchFileOfSection(const QString& section)
{
    if (!m_indexLoaded)
        LoadIndex();
    const Entry entry = m_index.try_emplace(section).first->second;
    if (!entry.path.isEmpty() &&
        (entry.state == EntryState::Present || entry.state == EntryState::Placed)) {
        if (!m_current || m_current->FileName() != entry.path)
            SwitchFile(entry.path);
        if (entry.state == EntryState::Placed || m_current->SectionExists(section))
            return *m_current;
    }
    RefreshFileList();
    return FileForNewSection(section);
}

void TexIniFile::noteGrowth(const QString& path, qint64 bytes)
{
    if (!InBatch() || bytes <= 0)
        return;
    const auto it = m_files.find(path);
    if (it != m_files.end())
        it->second += quint64(bytes);
}

const QStringList& TexIniFile::FileList()
{
    KV_LOG_SCOPE("TexIniFile::FileList");
    RefreshFileList();
    m_fileListResult.clear();
    for (const auto& file : m_files)
        m_fileListResult.append(file.first);
    return m_fileListResult;
}

// ---- reading ----

QString TexIniFile::ReadString(const QString& section, const QString& key, const QString& def)
{
    KV_LOG_SCOPE("TexIniFile::ReadString");
    return FileOfSection(section).ReadString(section, key, def);
}

int TexIniFile::ReadInteger(const QString& section, const QString& key, int def)
{
    KV_LOG_SCOPE("TexIniFile::ReadInteger");
    return FileOfSection(section).ReadInteger(section, key, def);
}

bool TexIniFile::ReadBool(const QString& section, const QString& key, bool def)
{
    KV_LOG_SCOPE("TexIniFile::ReadBool");
    return FileOfSection(section).ReadBool(section, key, def);
}

QDate TexIniFile::ReadDate(const QString& section, const QString& key, const QDate& def)
{
    KV_LOG_SCOPE("TexIniFile::ReadDate");
    bool ok = false;
    const QDate d = KvValueFormat::TextToDate(ReadString(section, key, QString()), &ok);
    return ok ? d : def;
}

QDateTime TexIniFile::ReadDateTime(const QString& section, const QString& key, const QDateTime& def)
{
    KV_LOG_SCOPE("TexIniFile::ReadDateTime");
    bool ok = false;
    const QDateTime d = KvValueFormat::TextToDateTime(ReadString(section, key, QString()), &ok);
    return ok ? d : def;
}

double TexIniFile::ReadFloat(const QString& section, const QString& key, double def)
{
    KV_LOG_SCOPE("TexIniFile::ReadFloat");
    bool ok = false;
    const double v = KvValueFormat::TextToFloat(ReadString(section, key, QString()), &ok);
    return ok ? v : def;
}

QTime TexIniFile::ReadTime(const QString& section, const QString& key, const QTime& def)
{
    KV_LOG_SCOPE("TexIniFile::ReadTime");
    bool ok = false;
    const QTime t = KvValueFormat::TextToTime(ReadString(section, key, QString()), &ok);
    return ok ? t : def;
}

QStringList TexIniFile::ReadSection(const QString& section)
{
    KV_LOG_SCOPE("TexIniFile::ReadSection");
    return FileOfSection(section).ReadSection(section);
}

QStringList TexIniFile::ReadSections()
{
    KV_LOG_SCOPE("TexIniFile::ReadSections");
    QStringList names;
    if (m_useIndex) {
        if (!m_indexLoaded)
            LoadIndex();
        for (const auto& entry : m_index) {
            if (entry.second.state == EntryState::Present)
                names.append(entry.first);
        }
        return names;
    }
    RefreshFileList();
    for (const auto& file : m_files) {
        if (m_current && m_current->FileName() == file.first)
            names += m_current->ReadSections();
        else
            names += namesOf(file.first).names;
    }
    return names;
}

QStringList TexIniFile::ReadSectionValues(const QString& section)
{
    KV_LOG_SCOPE("TexIniFile::ReadSectionValues");
    return FileOfSection(section).ReadSectionValues(section);
}

bool TexIniFile::SectionExists(const QString& section)
{
    KV_LOG_SCOPE("TexIniFile::SectionExists");
    return FileOfSection(section).SectionExists(section);
}

bool TexIniFile::ValueExists(const QString& section, const QString& key)
{
    KV_LOG_SCOPE("TexIniFile::ValueExists");
    return FileOfSection(section).ValueExists(section, key);
}

KvFontSpec& TexIniFile::ReadFont(const QString& section, const QString& key, KvFontSpec& font)
{
    KV_LOG_SCOPE("TexIniFile::ReadFont");
    KvFontText::Decode(ReadString(section, key, QString()), font);
    return font;
}

QPoint TexIniFile::ReadPoint(const QString& section, const QString& key)
{
    KV_LOG_SCOPE("TexIniFile::ReadPoint");
    QString text = ReadString(section, key, QString());
    if (const qsizetype open = text.indexOf(u'['); open >= 0)
        text.remove(open, 1);
    if (const qsizetype close = text.indexOf(u']'); close >= 0)
        text.remove(close, 1);
    const qsizetype comma = text.indexOf(u',');
    if (comma < 0)
        return QPoint(0, 0);
    int x = 0;
    int y = 0;
    if (!TexProfileFile::ParseInteger(QStringView(text).left(comma), x))
        x = 0;
    if (!TexProfileFile::ParseInteger(QStringView(text).mid(comma + 1), y))
        y = 0;
    return QPoint(x, y);
}

// ---- writing ----

void TexIniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    KV_LOG_SCOPE("TexIniFile::WriteString");
    TexProfileFile& file = FileOfSection(section);
    if (InBatch()) {
        // The member's size as the flush will write it decides where new sections go.
        qint64 growth = value.size();
        if (!file.SectionExists(section))
            growth += section.size() + 4 + key.size() + 3;
        else if (!file.ValueExists(section, key))
            growth += key.size() + 3;
        else
            growth -= file.ReadString(section, key, QString()).size();
        noteGrowth(file.FileName(), growth);
    }
    file.WriteString(section, key, value);
    if (m_useIndex) {
        const auto it = m_index.find(section);
        if (it == m_index.end() || it->second.state != EntryState::Present ||
            it->second.path != file.FileName())
            setEntry(section, file.FileName(), EntryState::Present);
    }
}

void TexIniFile::WriteInteger(const QString& section, const QString& key, int value)
{
    KV_LOG_SCOPE("TexIniFile::WriteInteger");
    WriteString(section, key, QString::number(value));
}

void TexIniFile::WriteBool(const QString& section, const QString& key, bool value)
{
    KV_LOG_SCOPE("TexIniFile::WriteBool");
    WriteString(section, key, value ? u"1"_qs : u"0"_qs);
}

void TexIniFile::WriteDate(const QString& section, const QString& key, const QDate& value)
{
    KV_LOG_SCOPE("TexIniFile::WriteDate");
    WriteString(section, key, KvValueFormat::DateToText(value));
}

void TexIniFile::WriteDateTime(const QString& section, const QString& key, const QDateTime& value)
{
    KV_LOG_SCOPE("TexIniFile::WriteDateTime");
    WriteString(section, key, KvValueFormat::DateTimeToText(value));
}

void TexIniFile::WriteFloat(const QString& section, const QString& key, double value)
{
    KV_LOG_SCOPE("TexIniFile::WriteFloat");
    WriteString(section, key, KvValueFormat::FloatToText(value));
}

void TexIniFile::WriteTime(const QString& section, const QString& key, const QTime& value)
{
    KV_LOG_SCOPE("TexIniFile::WriteTime");
    WriteString(section, key, KvValueFormat::TimeToText(value));
}

void TexIniFile::WriteFont(const QString& section, const QString& key, const KvFontSpec& font)
{
    KV_LOG_SCOPE("TexIniFile::WriteFont");
    WriteString(section, key, KvFontText::Encode(font));
}

void TexIniFile::WritePoint(const QString& section, const QString& key, const QPoint& point)
{
    KV_LOG_SCOPE("TexIniFile::WritePoint");
    WriteString(section, key,
                u'[' + QString::number(point.x()) + u',' + QString::number(point.y()) + u']');
}

void TexIniFile::EraseSection(const QString& section)
{
    KV_LOG_SCOPE("TexIniFile::EraseSection");
    FileOfSection(section).EraseSection(section);
    m_currentSection = QString();
    if (m_useIndex)
        setEntry(section, kErased, EntryState::Erased);
}

void TexIniFile::RewriteSection(const QString& section, const TexProfileFile::KeyValues& keys)
{
    KV_LOG_SCOPE("TexIniFile::RewriteSection");
    TexProfileFile& file = FileOfSection(section);
    if (InBatch()) {
        qint64 growth = file.SectionExists(section) ? 0 : section.size() + 4;
        for (const auto& [key, value] : keys)
            growth += key.size() + value.size() + 3;
        for (const QString& line : file.ReadSectionValues(section))
            growth -= line.size() + 2;
        noteGrowth(file.FileName(), growth);
    }
    file.ReplaceSection(section, keys);
    setEntry(section, file.FileName(), EntryState::Present);
}

void TexIniFile::DeleteKey(const QString& section, const QString& key)
{
    KV_LOG_SCOPE("TexIniFile::DeleteKey");
    FileOfSection(section).DeleteKey(section, key);
}

void TexIniFile::UpdateFile()
{
    KV_LOG_SCOPE("TexIniFile::UpdateFile");
    if (InBatch())
        return;
    flushAll();
}

void TexIniFile::flushAll()
{
    if (m_flushGuard && HasPendingChanges()) {
        const std::function<void()> guard = m_flushGuard; // it may take itself away
        guard();
    }
    QString failedFile;
    int failure = 0;
    auto flush = [&](TexProfileFile& file) {
        int error = 0;
        if (file.TryUpdateFile(&error))
            return true;
        if (failedFile.isNull()) {
            failedFile = file.FileName();
            failure = error;
        }
        return false;
    };
    // Members left behind first: they hold older changes.
    std::erase_if(m_unflushed, [&](const std::unique_ptr<TexProfileFile>& f) { return flush(*f); });
    if (m_current) {
        flush(*m_current);
        rememberCurrentNames();
    }
    if (!failedFile.isNull())
        throw EIniFileFlush(failedFile, failure);
}

void TexIniFile::BeginBatch()
{
    if (m_batchDepth++ == 0)
        m_batchListed = false;
}

void TexIniFile::EndBatch()
{
    KV_LOG_SCOPE("TexIniFile::EndBatch");
    if (m_batchDepth == 0 || --m_batchDepth > 0)
        return;
    const KvAtomicFile::SyncNow now;
    flushAll();
}

void TexIniFile::EndBatchUnwritten()
{
    KV_LOG_SCOPE("TexIniFile::EndBatchUnwritten");
    if (m_batchDepth > 0)
        --m_batchDepth;
}

void TexIniFile::UpdateFileNow()
{
    KV_LOG_SCOPE("TexIniFile::UpdateFileNow");
    if (InBatch())
        return;
    const KvAtomicFile::SyncNow now;
    flushAll();
}

void TexIniFile::PendingWrites(std::vector<std::pair<QString, QByteArray>>& out)
{
    auto take = [&](TexProfileFile& file) {
        QByteArray bytes;
        int error = 0;
        if (file.PendingBytes(bytes, &error))
            out.emplace_back(file.FileName(), std::move(bytes));
        else if (error != 0)
            throw EIniFileFlush(file.FileName(), error);
    };
    for (const std::unique_ptr<TexProfileFile>& file : m_unflushed)
        take(*file);
    if (m_current)
        take(*m_current);
}

bool TexIniFile::HasPendingChanges() const
{
    if (m_current && m_current->Modified())
        return true;
    return std::any_of(m_unflushed.begin(), m_unflushed.end(),
                       [](const std::unique_ptr<TexProfileFile>& f) { return f->Modified(); });
}

bool TexIniFile::TryUpdateFile() noexcept
{
    try {
        UpdateFile();
        return true;
    } catch (...) {
        return false;
    }
}

// ---- derived operations ----

int TexIniFile::prefixNumber(const QString& name, const QString& prefix)
{
    const qsizetype pos = name.indexOf(prefix);
    if (pos < 0)
        return -1;
    qint64 n = 0;
    for (qsizetype i = pos + prefix.size(); i < name.size(); ++i) {
        const QChar c = name.at(i);
        if (c < u'0' || c > u'9')
            break;
        n = n * 10 + (c.unicode() - u'0');
        if (n > 99999999)
            return 0; // beyond any id we hand out
    }
    return int(n);
}

void TexIniFile::noteName(const QString& name, int delta)
{
    for (auto it = m_prefixes.begin(); it != m_prefixes.end(); ++it) {
        const int n = prefixNumber(name, it.key());
        if (n <= 0)
            continue;
        PrefixInfo& info = it.value();
        int& count = info.counts[n];
        count += delta;
        if (count <= 0) {
            info.counts.erase(n);
            if (n < info.firstFree)
                info.firstFree = n;
        } else if (n == info.firstFree) {
            while (info.counts.count(info.firstFree))
                ++info.firstFree;
        }
    }
}

QString TexIniFile::NewSectionName(const QString& prefix)
{
    return NewSectionName(prefix, {});
}

int TexIniFile::HighestNumber(const QString& prefix)
{
    KV_LOG_SCOPE("TexIniFile::HighestNumber");
    if (m_useIndex) {
        const std::map<int, int>& counts = prefixInfo(prefix).counts;
        return counts.empty() ? 0 : counts.rbegin()->first;
    }
    int highest = 0;
    for (const QString& name : ReadSections())
        highest = std::max(highest, prefixNumber(name, prefix));
    return highest;
}

TexIniFile::PrefixInfo& TexIniFile::prefixInfo(const QString& prefix)
{
    if (!m_indexLoaded)
        LoadIndex();
    auto it = m_prefixes.find(prefix);
    if (it == m_prefixes.end()) {
        PrefixInfo info;
        for (const auto& entry : m_index) {
            if (entry.second.state != EntryState::Present)
                continue;
            if (const int n = prefixNumber(entry.first, prefix); n > 0)
                ++info.counts[n];
        }
        int n = 1;
        for (auto c = info.counts.lower_bound(1); c != info.counts.end() && c->first == n; ++c)
            ++n;
        info.firstFree = n;
        it = m_prefixes.insert(prefix, std::move(info));
    }
    return it.value();
}

QString TexIniFile::NewSectionName(const QString& prefix,
                                   const std::function<bool(const QString& id)>& taken)
{
    KV_LOG_SCOPE("TexIniFile::NewSectionName");
    // The first number from `from` on that no section carries.
    auto gapFrom = [](const std::map<int, int>& counts, int from) {
        int n = from;
        for (auto it = counts.lower_bound(from); it != counts.end() && it->first == n; ++it)
            ++n;
        return n;
    };
    auto idOf = [&prefix](int n) -> QString {
        return prefix + QStringLiteral("%1").arg(n, 7, 10, QLatin1Char('0'));
    };
    std::map<int, int> scanned;
    const std::map<int, int>* counts = &scanned;
    int next = 1;
    if (m_useIndex) {
        PrefixInfo& info = prefixInfo(prefix);
        counts = &info.counts;
        next = info.firstFree;
    } else {
        for (const QString& name : ReadSections()) {
            if (const int n = prefixNumber(name, prefix); n > 0)
                ++scanned[n];
        }
        next = gapFrom(scanned, 1);
    }
    while (taken && taken(idOf(next)))
        next = gapFrom(*counts, next + 1);
    return idOf(next);
}

int TexIniFile::rewriteWithout(const QString& section, const QStringList& keys)
{
    TexProfileFile& file = FileOfSection(section);
    const QStringList names = file.ReadSection(section);
    QStringList kept;
    QStringList values;
    int dropped = 0;
    for (const QString& name : names) {
        if (keys.contains(name, Qt::CaseSensitive)) {
            ++dropped;
            continue;
        }
        kept.append(name);
        values.append(file.ReadString(section, name, QString()));
    }
    if (dropped == 0)
        return 0;
    // Erase and rewrite in memory, then one flush: the member never holds half a section.
    file.EraseSection(section);
    for (qsizetype i = 0; i < kept.size(); ++i)
        file.WriteString(section, kept[i], values[i]);
    if (!InBatch())
        file.UpdateFile();
    if (kept.isEmpty()) {
        m_currentSection = QString();
        if (m_useIndex)
            setEntry(section, kErased, EntryState::Erased);
    }
    rememberCurrentNames();
    return dropped;
}

bool TexIniFile::DeleteKeyRewrite(const QString& section, const QString& key)
{
    KV_LOG_SCOPE("TexIniFile::DeleteKeyRewrite");
    if (!ValueExists(section, key))
        return false;
    rewriteWithout(section, {key});
    return true;
}

int TexIniFile::DeleteKeysRewrite(const QString& section, const QStringList& keys)
{
    KV_LOG_SCOPE("TexIniFile::DeleteKeysRewrite");
    if (keys.isEmpty())
        return 0;
    return rewriteWithout(section, keys);
}
