#pragma once

#include <QList>
#include <QString>

// One status of the catalogue: its name and the path of its icon.
struct KvAdditionalStatus
{
    QString name;
    QString iconFile;
};

// The statuses beyond the thirteen built-in ones: section "AdditionalStatus" of the
// settings file, or of a file of the same name in the data directory, which takes
// precedence. Each key is a status name, its value the icon path (relative paths are taken
// relative to the file's directory). Status 14 + k is entry k.
class KvAddStatus
{
public:
    static inline const QString SectionName = u"AdditionalStatus"_qs;

    // Reads the catalogue of the settings file.
    KvAddStatus();
    // Reads the catalogue of the given file (tests, other sources).
    explicit KvAddStatus(const QString& sourceFile);

    // The data directory's copy of the settings file when there is one, else the settings
    // file; reads the catalogue again.
    void LoadForDirectory(const QString& dataDirectory);

    int Count() const { return int(m_entries.size()); }
    QString NameAt(int k) const;
    QString IconFileAt(int k) const;
    const QList<KvAdditionalStatus>& Entries() const { return m_entries; }
    const QString& SourceFile() const { return m_source; }

    // How many catalogue images the tree image list received last time; the image layer
    // takes that many off the end before it appends the current ones.
    int AddedIconCount() const { return m_addedIcons; }
    void SetAddedIconCount(int n) { m_addedIcons = n; }

private:
    void Read();

    QString m_source;
    QList<KvAdditionalStatus> m_entries;
    int m_addedIcons = 0;
};

// Text of status n: the built-in texts 11200 + n up to 13, beyond that the catalogue's
// names; empty for a number that nothing defines.
QString StatusText(int n, const KvAddStatus* catalogue);
