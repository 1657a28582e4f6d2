#include "store/texmeminifile.h"

#include "platform/applog.h"
#include "platform/kvtexttable.h"
#include "store/texinifile.h"
#include "store/texprofilefile.h"

#include <QFile>
#include <vector>

TexMemIniFile::EFileRead::EFileRead(const QString& fileName)
    : KvException(KvTextTable::Message(5637, {fileName}))
{}

TexMemIniFile::TexMemIniFile(TexIniFile& source)
{
    KV_LOG_SCOPE("TexMemIniFile::TexMemIniFile");
    source.UpdateFile();
    readFiles(source.FileList());
}

TexMemIniFile::TexMemIniFile(const QStringList& files)
{
    KV_LOG_SCOPE("TexMemIniFile::TexMemIniFile");
    readFiles(files);
}

void TexMemIniFile::readFiles(const QStringList& files)
{
    std::vector<QStringList> perFile;
    perFile.reserve(size_t(files.size()));
    qsizetype total = 0;
    for (const QString& path : files) {
        QFile f(path);
        if (!f.open(QIODevice::ReadOnly)) {
            if (!f.exists())
                continue; // vanished since the scan: holds no section
            throw EFileRead(path);
        }
        perFile.push_back(TexProfileFile::DecodeLines(f.readAll()));
        total += perFile.back().size();
    }
    m_lines.reserve(total);
    for (const QStringList& lines : perFile) {
        for (const QString& line : lines) {
            if (!line.isEmpty())
                m_lines.append(line);
        }
    }
    buildIndex();
}

void TexMemIniFile::buildIndex()
{
    // One pass: a range ends before the next line that begins with "[".
    const qsizetype n = m_lines.size();
    qsizetype open = -1;
    auto close = [&](qsizetype end) {
        if (open >= 0 && !m_sections.contains(m_lines[open]))
            m_sections.insert(m_lines[open], {open + 1, end - 1});
    };
    for (qsizetype i = 0; i < n; ++i) {
        if (m_lines[i].startsWith(u'[')) {
            close(i);
            open = i;
        }
    }
    close(n);
}

bool TexMemIniFile::FindSection(const QString& section)
{
    if (!m_cacheValid || section != m_cachedSection || m_cachedSection.isEmpty()) {
        m_cachedSection = section;
        m_cacheValid = true;
        const auto it = m_sections.constFind(u'[' + section + u']');
        if (it == m_sections.cend()) {
            m_firstLine = 0;
            m_lastLine = -1;
        } else {
            m_firstLine = it->first;
            m_lastLine = it->second;
        }
    }
    return m_firstLine != 0;
}

qsizetype TexMemIniFile::findKey(const QString& section, const QString& key)
{
    if (!FindSection(section))
        return -1;
    const qsizetype end = std::min(m_lastLine, m_lines.size() - 1);
    for (qsizetype i = m_firstLine; i <= end; ++i) {
        const QString& line = m_lines[i];
        if (line.size() > key.size() && line.at(key.size()) == u'=' && line.startsWith(key))
            return i;
    }
    return -1;
}

QString TexMemIniFile::valueOf(const QString& line)
{
    // The store's own rule, so that what the store wrote reads back the same here.
    return TexProfileFile::UnquoteValue(QStringView(line).mid(line.indexOf(u'=') + 1));
}

QString TexMemIniFile::ReadString(const QString& section, const QString& key, const QString& def)
{
    const qsizetype i = findKey(section, key);
    if (i < 0)
        return def;
    const QString value = valueOf(m_lines[i]);
    return value.isEmpty() ? def : value;
}

int TexMemIniFile::ReadInteger(const QString& section, const QString& key, int def)
{
    int value = def;
    if (!TexProfileFile::ParseInteger(ReadString(section, key, QString()), value))
        return def;
    return value;
}

bool TexMemIniFile::ReadBool(const QString& section, const QString& key, bool def)
{
    const qsizetype i = findKey(section, key);
    if (i < 0)
        return def;
    int value = 0;
    return TexProfileFile::ParseInteger(valueOf(m_lines[i]), value) && value == 1;
}

QStringList TexMemIniFile::ReadSection(const QString& section)
{
    QStringList keys;
    if (!FindSection(section))
        return keys;
    for (qsizetype i = m_firstLine; i <= m_lastLine && i < m_lines.size(); ++i) {
        const QString& line = m_lines[i];
        const qsizetype eq = line.indexOf(u'=');
        keys.append(eq < 0 ? QString() : line.left(eq));
    }
    return keys;
}

QStringList TexMemIniFile::ReadSections()
{
    QStringList names;
    for (const QString& line : std::as_const(m_lines)) {
        if (!line.startsWith(u'[') || !line.contains(u']'))
            continue;
        QString name = line;
        name.remove(0, 1);
        name.remove(name.indexOf(u']'), 1);
        names.append(name);
    }
    return names;
}

QStringList TexMemIniFile::ReadSectionValues(const QString& section)
{
    QStringList values;
    if (!FindSection(section))
        return values;
    for (qsizetype i = m_firstLine; i <= m_lastLine && i < m_lines.size(); ++i) {
        const QString& line = m_lines[i];
        values.append(line.contains(u'=') ? valueOf(line) : QString());
    }
    return values;
}

bool TexMemIniFile::ValueExists(const QString& section, const QString& key)
{
    return findKey(section, key) >= 0;
}
