// libFuzzer target: the profile-file reader on arbitrary bytes, and a write and read back of
// everything it read.
#include "store/texmeminifile.h"
#include "store/texprofilefile.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>

namespace {

QTemporaryDir* g_dir = nullptr;

void check(bool ok)
{
    if (!ok)
        std::abort();
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    check(f.open(QIODevice::WriteOnly | QIODevice::Truncate) && f.write(bytes) == bytes.size());
}

// Every value survives a write and a read, whatever it holds.
void checkQuoting(const QStringList& lines)
{
    for (const QString& line : lines) {
        check(TexProfileFile::UnquoteValue(TexProfileFile::QuoteValue(line)) == line);
        const QString unquoted = TexProfileFile::UnquoteValue(line);
        check(TexProfileFile::UnquoteValue(TexProfileFile::QuoteValue(unquoted)) == unquoted);
        int value = 0;
        TexProfileFile::ParseInteger(line, value);
        TexProfileFile::HeaderName(line);
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static std::unique_ptr<QCoreApplication> app = std::make_unique<QCoreApplication>(*argc, *argv);
    static QTemporaryDir dir; // TMPDIR on a memory file system keeps the syncs cheap
    check(dir.isValid());
    g_dir = &dir;
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QStringList lines = TexProfileFile::DecodeLines(bytes);
    checkQuoting(lines);

    const QString source = g_dir->filePath(u"source.ini"_qs);
    const QString copy = g_dir->filePath(u"copy.ini"_qs);
    QFile::remove(copy);
    writeFile(source, bytes);

    // Everything the reader finds is written to a new file through the store's writer.
    TexProfileFile in(source);
    const QStringList sections = in.ReadSections();
    {
        TexProfileFile out(copy);
        for (const QString& section : sections) {
            const QStringList keys = in.ReadSection(section);
            check(in.ReadSectionValues(section).size() == keys.size());
            for (const QString& key : keys) {
                const QString value = in.ReadString(section, key, QString());
                in.ReadInteger(section, key, 0);
                in.ReadBool(section, key, false);
                out.WriteString(section, key, value);
                check(out.ReadString(section, key, QString()) == value);
            }
            if (keys.isEmpty())
                out.ReplaceSection(section, {});
        }
        out.UpdateFile();
    }

    // The copy reads back the same through the store, and through a snapshot where the
    // snapshot's stricter rules (exact header and key, no "[" at a line start) allow.
    TexProfileFile back(copy);
    TexMemIniFile snap(QStringList{copy});
    for (const QString& section : sections) {
        check(back.SectionExists(section));
        for (const QString& key : in.ReadSection(section)) {
            const QString value = in.ReadString(section, key, QString());
            check(back.ReadString(section, key, QString()) == value);
        }
    }
    for (const QString& section : back.ReadSections()) {
        const QStringList keys = back.ReadSection(section);
        // A line that begins with "[" ends a section for the snapshot.
        if (std::any_of(keys.begin(), keys.end(),
                        [](const QString& k) { return k.startsWith(u'['); }))
            continue;
        for (const QString& key : keys) {
            const QString value = back.ReadString(section, key, QString());
            check(snap.ReadString(section, key, u"\x01"_qs) ==
                  (value.isEmpty() ? u"\x01"_qs : value));
        }
    }
    return 0;
}
