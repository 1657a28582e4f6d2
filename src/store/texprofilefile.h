#pragma once

#include "platform/kvexception.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <utility>
#include <vector>

// One profile (INI) file: "[name]" headers and "key=value" lines, CR LF, UTF-8 without BOM.
// The file is read on first access and served from memory; changes are kept until
// UpdateFile, which replaces the file atomically. Every change is recorded as an intent;
// when another writer changed the file since it was read, the flush reads it again and
// applies this object's intents on top, so the later change wins and several objects on
// one file never lose each other's writes. A flush that would leave the file as it is
// writes nothing.
// Section and key names match without regard to case.
class TexProfileFile
{
public:
    // The file or its directory cannot be written.
    class EIniFileWrite : public KvException
    {
    public:
        explicit EIniFileWrite(const QString& fileName);
        const QString& FileName() const { return m_fileName; }

    protected:
        EIniFileWrite(const QString& message, const QString& fileName);

    private:
        QString m_fileName;
    };
    // Pending changes could not be written; the system's errno says why.
    class EIniFileFlush : public EIniFileWrite
    {
    public:
        EIniFileFlush(const QString& fileName, int error);
        int Error() const { return m_error; }

    private:
        int m_error;
    };

    // Keys and values of a section, in order.
    using KeyValues = QList<std::pair<QString, QString>>;

    explicit TexProfileFile(QString fileName);
    ~TexProfileFile();
    TexProfileFile(const TexProfileFile&) = delete;
    TexProfileFile& operator=(const TexProfileFile&) = delete;

    const QString& FileName() const { return m_fileName; }

    QString ReadString(const QString& section, const QString& key, const QString& def) const;
    void WriteString(const QString& section, const QString& key, const QString& value);
    // Decimal, or hexadecimal with a leading "0x" or "$"; the default when not a number.
    int ReadInteger(const QString& section, const QString& key, int def) const;
    void WriteInteger(const QString& section, const QString& key, int value);
    // True when the value reads as an integer other than 0.
    bool ReadBool(const QString& section, const QString& key, bool def) const;
    void WriteBool(const QString& section, const QString& key, bool value);

    // Key names of the section in file order.
    QStringList ReadSection(const QString& section) const;
    // Section names in file order.
    QStringList ReadSections() const;
    // "key=value" for every key of the section.
    QStringList ReadSectionValues(const QString& section) const;
    bool SectionExists(const QString& section) const;
    bool ValueExists(const QString& section, const QString& key) const;

    void EraseSection(const QString& section);
    // Drops the lines that are neither blank, a comment, a section header nor a key line
    // of a section (what a write cut short elsewhere leaves); returns how many went. The
    // next UpdateFile writes the mended file, ending with a complete line. For repairs.
    int DropUnparsableLines();
    // The section holds exactly these keys afterwards, in this order, at its place in the
    // file (at the end when it is new); a later section of the same name goes.
    void ReplaceSection(const QString& section, const KeyValues& keys);
    // Reports nothing, also when the file cannot be written.
    void DeleteKey(const QString& section, const QString& key);

    // Writes pending changes. When they cannot be written, raises EIniFileFlush; the
    // changes stay pending for the next call.
    void UpdateFile();
    // The same without raising, for destructors: a failure goes to the application log and
    // its errno to *error. Returns success.
    bool TryUpdateFile(int* error = nullptr) noexcept;
    // What the next UpdateFile would write: the file as it is on disk now with the pending
    // changes applied. False when it would write nothing; *error then tells whether the file
    // could not be read (EIO) or there is nothing to write (0).
    bool PendingBytes(QByteArray& bytes, int* error = nullptr);
    bool Modified() const { return !m_pending.empty(); }
    bool IsLoaded() const { return m_loaded; }
    // Reads the file again when another writer changed it; pending changes are kept.
    void Refresh();

    // Parsing helpers shared with the other readers of the format.
    static QString UnquoteValue(QStringView raw);
    static QString QuoteValue(const QString& value);
    static bool ParseInteger(QStringView text, int& value);
    // Decodes one file's bytes into lines: UTF-8, a line that is not valid UTF-8 as
    // Windows-1252; a leading BOM is skipped; CR LF, LF and CR all end a line.
    static QStringList DecodeLines(const QByteArray& bytes);
    // The name of a header line "[name]"; a null string when the line is no header.
    static QString HeaderName(const QString& line);

    // What identifies one version of a file on disk.
    struct DiskStamp
    {
        bool exists = false;
        qint64 size = 0;
        qint64 mtimeNs = 0;
        quint64 inode = 0;
        quint64 device = 0;
        bool operator==(const DiskStamp&) const = default;
    };
    static DiskStamp StampOf(const QString& path);
    // The version on disk the content in memory was read from or last written as.
    const DiskStamp& Stamp() const { return m_stamp; }

private:
    struct Line
    {
        QString text;
        QString lowerKey; // empty for a line without "="
        qsizetype eq = -1;
    };
    struct Section
    {
        QString header; // the header line as read; empty for lines before the first header
        QString name;
        std::vector<Line> lines;
        bool erased = false; // left in place until the next compaction; never written
    };
    enum class OpKind
    {
        Write,
        Delete,
        Erase,
        Replace,
        Mend
    };
    struct Op
    {
        OpKind kind;
        QString section;
        QString key;
        QString value;
        KeyValues keys; // Replace
    };

    void ensureLoaded() const;
    int applyMend();
    void reloadAndReapply();
    void loadFrom(const QByteArray& bytes) const;
    void rebuildHash() const;
    // Drops the erased sections from the list.
    void compact() const;
    const Section* findSection(const QString& section) const;
    Section* findSection(const QString& section);
    static const Line* findKey(const Section& s, const QString& lowerKey);
    void applyWrite(const QString& section, const QString& key, const QString& value);
    void applyDelete(const QString& section, const QString& key);
    void applyErase(const QString& section);
    void applyReplace(const QString& section, const KeyValues& keys);
    static Line keyLine(const QString& key, const QString& value);
    bool writable() const;
    void checkWritable() const;
    QByteArray serialize() const;
    // 0, or the errno of the failure.
    int writeToDisk();

    QString m_fileName;
    mutable bool m_loaded = false;
    mutable std::vector<Section> m_sections;
    mutable QHash<QString, qsizetype> m_index; // lower-case name -> first section with it
    mutable bool m_duplicates = false;         // a name stands for more than one section
    mutable qsizetype m_erased = 0;            // erased sections still in the list
    mutable DiskStamp m_stamp;
    mutable QByteArray m_diskBytes; // the file as last read or written
    mutable bool m_readFailed = false;
    std::vector<Op> m_pending;
};
