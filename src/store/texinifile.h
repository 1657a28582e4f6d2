#pragma once

#include "store/kvpropreader.h"
#include "store/kvstorefont.h"
#include "store/texprofilefile.h"

#include <QDate>
#include <QDateTime>
#include <QPoint>
#include <QSet>
#include <QTime>
#include <functional>
#include <map>
#include <memory>

// A property store: a family of profile files base.001, base.002, ... (base.000001000 from
// number 1000 on) that together hold sections addressed by name. A new section goes to the
// first member below the size limit; an optional index maps section names to members.
class TexIniFile : public KvPropReader
{
public:
    using EIniFileWrite = TexProfileFile::EIniFileWrite;
    using EIniFileFlush = TexProfileFile::EIniFileFlush;

    TexIniFile(const QString& basePath, int sizeLimitKb, bool useIndex);
    TexIniFile(const TexIniFile& other);
    TexIniFile& operator=(const TexIniFile& other);
    ~TexIniFile() override;

    QString ReadString(const QString& section, const QString& key, const QString& def) override;
    virtual void WriteString(const QString& section, const QString& key, const QString& value);
    int ReadInteger(const QString& section, const QString& key, int def) override;
    virtual void WriteInteger(const QString& section, const QString& key, int value);
    bool ReadBool(const QString& section, const QString& key, bool def) override;
    virtual void WriteBool(const QString& section, const QString& key, bool value);
    virtual QDate ReadDate(const QString& section, const QString& key, const QDate& def);
    virtual QDateTime ReadDateTime(const QString& section, const QString& key,
                                   const QDateTime& def);
    virtual double ReadFloat(const QString& section, const QString& key, double def);
    virtual QTime ReadTime(const QString& section, const QString& key, const QTime& def);
    virtual void WriteDate(const QString& section, const QString& key, const QDate& value);
    virtual void WriteDateTime(const QString& section, const QString& key, const QDateTime& value);
    virtual void WriteFloat(const QString& section, const QString& key, double value);
    virtual void WriteTime(const QString& section, const QString& key, const QTime& value);
    // Key names of the section in file order.
    QStringList ReadSection(const QString& section) override;
    QStringList ReadSections() override;
    // "key=value" lines of the section.
    QStringList ReadSectionValues(const QString& section) override;
    virtual void EraseSection(const QString& section);
    // Replaces the keys of the section in one step in its member (a new section is placed
    // as by WriteString): after a flush the member holds the old keys or the new ones.
    void RewriteSection(const QString& section, const TexProfileFile::KeyValues& keys);
    virtual void DeleteKey(const QString& section, const QString& key);
    // Writes the pending changes of every member. A member that cannot be written raises
    // EIniFileFlush (the first one, after all were tried) and keeps its changes for the next
    // call.
    virtual void UpdateFile();
    // The same without raising, for destructors; failures go to the application log.
    bool TryUpdateFile() noexcept;

    // A bulk change (KvStoreBatch): until the matching EndBatch no flush writes, and the
    // index answers for absent and erased sections without listing the directory. The
    // outermost EndBatch writes every changed member once; it raises as UpdateFile does.
    void BeginBatch();
    void EndBatch();
    // Ends the batch without writing: the changes stay pending for the next flush.
    void EndBatchUnwritten();
    bool InBatch() const { return m_batchDepth > 0; }
    // Outside a batch, writes now: the crash order of a child list that spans members.
    // Inside one it waits for the batch's end, whose journal makes all of its members one
    // change.
    void UpdateFileNow();
    // Path and bytes of every member the next flush would write (the member as on disk with
    // this store's changes applied). Raises EIniFileFlush when a member cannot be read.
    void PendingWrites(std::vector<std::pair<QString, QByteArray>>& out);
    // Changes in memory that no flush has written yet.
    bool HasPendingChanges() const;
    // Runs before every flush outside a batch; what it raises ends the flush before anything
    // is written. Empty: none.
    void SetFlushGuard(std::function<void()> guard) { m_flushGuard = std::move(guard); }

    bool SectionExists(const QString& section);
    bool ValueExists(const QString& section, const QString& key) override;
    KvFontSpec& ReadFont(const QString& section, const QString& key, KvFontSpec& font);
    void WriteFont(const QString& section, const QString& key, const KvFontSpec& font);
    // "[x,y]"
    QPoint ReadPoint(const QString& section, const QString& key);
    void WritePoint(const QString& section, const QString& key, const QPoint& point);
    // The next free object id for the prefix: prefix + 7 digits.
    QString NewSectionName(const QString& prefix);
    // The highest number that a section named prefix + digits carries; 0 when none.
    int HighestNumber(const QString& prefix);
    // The same, passing over every id for which taken answers true (an id whose content
    // file was left behind).
    QString NewSectionName(const QString& prefix,
                           const std::function<bool(const QString& id)>& taken);
    bool DeleteKeyRewrite(const QString& section, const QString& key);
    int DeleteKeysRewrite(const QString& section, const QStringList& keys);
    // Member file paths after a fresh scan; overwritten by the next call.
    const QStringList& FileList();

    const QString& BasePath() const { return m_basePath; }
    const QString& Directory() const { return m_directory; }
    int SizeLimitKb() const { return m_sizeLimitKb; }
    bool UsesIndex() const { return m_useIndex; }
    // How often the store listed its directory (what a batch spares).
    int DirectoryScans() const { return m_scans; }

protected:
    TexProfileFile& FileOfSection(const QString& section);
    TexProfileFile& FileForNewSection(const QString& section);
    QString NewFileName() const;
    int FileNumber(const QString& path) const;
    void SwitchFile(const QString& path);
    void RefreshFileList();
    void LoadIndex();

private:
    enum class EntryState : quint8
    {
        Unplaced, // looked up, in no member yet
        Placed,   // assigned a member that does not hold it yet
        Present,  // held by the member
        Erased,
    };
    struct Entry
    {
        QString path;
        EntryState state = EntryState::Unplaced;
    };
    // Section names of one member as of one version on disk.
    struct NameCache
    {
        TexProfileFile::DiskStamp stamp;
        QStringList names;
        QSet<QString> lowerNames;
    };
    // Numbers in use for one prefix of NewSectionName, and the first free one.
    struct PrefixInfo
    {
        std::map<int, int> counts; // number -> how many sections carry it
        int firstFree = 1;
    };

    void setEntry(const QString& section, const QString& path, EntryState state);
    // The numbers in use for prefix, counted once from the index and kept up to date.
    PrefixInfo& prefixInfo(const QString& prefix);
    static int prefixNumber(const QString& name, const QString& prefix);
    void noteName(const QString& name, int delta);
    bool fileHolds(const QString& path, const QString& section);
    const NameCache& namesOf(const QString& path);
    void rememberCurrentNames();
    void flushCurrent();
    void retryUnflushed();
    // Every member with pending changes is written; raises the first failure.
    void flushAll();
    TexProfileFile& batchFileOfSection(const QString& section);
    // Inside a batch: what a write adds to a member's recorded size.
    void noteGrowth(const QString& path, qint64 bytes);
    int rewriteWithout(const QString& section, const QStringList& keys);
    QString currentPath() const { return m_current ? m_current->FileName() : QString(); }

    QString m_basePath;
    QString m_directory;
    int m_sizeLimitKb;
    bool m_useIndex;
    bool m_indexLoaded = false;
    std::map<QString, Entry> m_index;
    std::map<QString, quint64> m_files;
    QString m_currentSection;
    std::unique_ptr<TexProfileFile> m_current;
    // Members left with changes a flush could not write; tried again at every flush. Inside
    // a batch also every member read, written at its end.
    std::vector<std::unique_ptr<TexProfileFile>> m_unflushed;
    QStringList m_fileListResult;
    QHash<QString, NameCache> m_nameCache;
    QHash<QString, PrefixInfo> m_prefixes;
    std::function<void()> m_flushGuard;
    int m_batchDepth = 0;
    bool m_batchListed = false; // the directory was listed in this batch
    int m_scans = 0;
};
