#pragma once

#include "platform/kvexception.h"
#include "store/kvpropreader.h"

#include <QHash>
#include <QStringList>
#include <utility>

class TexIniFile;

// A read-only snapshot of a property store: every non-empty line of every member, members in
// the store's file-list order. Sections are found by their exact header line (letter case
// counts; the first header wins), keys by lines that begin with "key=". Values are read by
// the store's rule (blanks around and one pair of enclosing quotes dropped); an empty value
// reads as the default. Later writes to the store are not seen.
class TexMemIniFile : public KvPropReader
{
public:
    // A member file exists but cannot be read.
    class EFileRead : public KvException
    {
    public:
        explicit EFileRead(const QString& fileName);
    };

    // Flushes the store and reads all its members.
    explicit TexMemIniFile(TexIniFile& source);
    // Reads the given files in this order; files that do not exist are skipped.
    explicit TexMemIniFile(const QStringList& files);

    QString ReadString(const QString& section, const QString& key, const QString& def) override;
    // Decimal (or "$"/"0x" hexadecimal); the default when absent or not a number.
    int ReadInteger(const QString& section, const QString& key, int def) override;
    // True only for a value that reads as 1; the default when the key is absent.
    bool ReadBool(const QString& section, const QString& key, bool def) override;
    // The key name of every line of the section (empty for a line without "=").
    QStringList ReadSection(const QString& section) override;
    // Every header's name, in line order, duplicates included.
    QStringList ReadSections() override;
    // The value (only the value) of every line of the section.
    QStringList ReadSectionValues(const QString& section) override;
    bool FindSection(const QString& section);
    bool ValueExists(const QString& section, const QString& key) override;

    const QStringList& Lines() const { return m_lines; }

private:
    void readFiles(const QStringList& files);
    void buildIndex();
    // The value of a key line, read as the store reads it.
    static QString valueOf(const QString& line);
    // Index of the section's line holding the key, or -1.
    qsizetype findKey(const QString& section, const QString& key);

    QStringList m_lines;
    // Header line -> first and last index of its key lines (last = first - 1 when none).
    QHash<QString, std::pair<qsizetype, qsizetype>> m_sections;
    QString m_cachedSection;
    bool m_cacheValid = false;
    qsizetype m_firstLine = 0; // 0: not found
    qsizetype m_lastLine = -1;
};
