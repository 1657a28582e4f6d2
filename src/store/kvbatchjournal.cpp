#include "store/kvbatchjournal.h"

#include "platform/applog.h"
#include "platform/kvatomicfile.h"
#include "store/texprofilefile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cerrno>

namespace {

const QByteArray kMagic = "KVJOURNAL 1\n";

QString dirWithSlash(const QString& dataDir)
{
    return dataDir.endsWith(u'/') ? dataDir : dataDir + u'/';
}

QByteArray encodeName(const QString& name)
{
    return QUrl::toPercentEncoding(name);
}

// A name of the journal stands for a file directly in the data directory, nothing else.
bool plainName(const QString& name)
{
    return !name.isEmpty() && name != u"." && name != u".." && !name.contains(u'/') &&
           !name.contains(QChar(0));
}

QByteArray sealed(QByteArray body)
{
    const QByteArray digest = QCryptographicHash::hash(body, QCryptographicHash::Sha256).toHex();
    body += "END " + digest + '\n';
    return body;
}

void writeJournal(const QString& dataDir, const QByteArray& bytes)
{
    // Synced at once even inside a bulk change that defers the syncs of its content files:
    // nothing the journal covers may reach the disk before it.
    const KvAtomicFile::SyncNow now;
    const QString path = KvBatchJournal::Path(dataDir);
    int error = 0;
    if (!KvAtomicFile::WriteFile(path, bytes, KvAtomicFile::Access::KeepOrDefault, &error))
        throw TexProfileFile::EIniFileFlush(path, error);
}

struct Parsed
{
    bool ok = false;
    bool begun = false;
    QString pagePrefix;
    int firstNewPage = 0;
    KvBatchJournal::Redo redo;
};

// Reads one line from pos (without its "\n"); false at the end or without a line end.
bool nextLine(const QByteArray& bytes, qsizetype& pos, QByteArray& line)
{
    const qsizetype end = bytes.indexOf('\n', pos);
    if (end < 0)
        return false;
    line = bytes.mid(pos, end - pos);
    pos = end + 1;
    return true;
}

bool decodeName(const QByteArray& field, QString& name)
{
    name = QUrl::fromPercentEncoding(field);
    return plainName(name);
}

Parsed parse(const QByteArray& bytes)
{
    Parsed p;
    if (!bytes.startsWith(kMagic))
        return p;
    qsizetype pos = kMagic.size();
    QByteArray line;
    while (true) {
        const qsizetype lineStart = pos;
        if (!nextLine(bytes, pos, line))
            return p;
        const QList<QByteArray> f = line.split(' ');
        if (f.value(0) == "END") {
            const QByteArray digest =
                QCryptographicHash::hash(bytes.left(lineStart), QCryptographicHash::Sha256).toHex();
            p.ok = f.size() == 2 && f[1] == digest && pos == bytes.size();
            return p;
        }
        if (f.value(0) == "BEGUN" && f.size() == 3) {
            bool ok = false;
            p.begun = true;
            p.pagePrefix = QString::fromLatin1(f[1]);
            p.firstNewPage = f[2].toInt(&ok);
            if (!ok || p.pagePrefix.isEmpty() || p.firstNewPage <= 0)
                return p;
        } else if (f.value(0) == "WRITE" && f.size() == 3) {
            QString name;
            bool ok = false;
            const qsizetype size = f[2].toLongLong(&ok);
            if (!decodeName(f[1], name) || !ok || size < 0 || pos + size + 1 > bytes.size() ||
                bytes.at(pos + size) != '\n')
                return p;
            p.redo.writes.emplace_back(name, bytes.mid(pos, size));
            pos += size + 1;
        } else if (f.value(0) == "DELETE" && f.size() == 2) {
            QString name;
            if (!decodeName(f[1], name))
                return p;
            p.redo.deletes.append(name);
        } else if (f.value(0) == "RENAME" && f.size() == 3) {
            QString from;
            QString to;
            if (!decodeName(f[1], from) || !decodeName(f[2], to))
                return p;
            p.redo.renames.append({from, to});
        } else {
            return p;
        }
    }
}

// The content files a begun change wrote: prefix, seven digits at least firstNew, ".".
void rollBack(const QString& dir, const QString& prefix, int firstNew)
{
    const QStringList names = QDir(dir).entryList({prefix + u'*'}, QDir::Files | QDir::Hidden);
    for (const QString& name : names) {
        const QStringView digits = QStringView(name).mid(prefix.size(), 7);
        if (name.size() < prefix.size() + 8 || name.at(prefix.size() + 7) != u'.')
            continue;
        bool ok = false;
        const int n = digits.toInt(&ok);
        if (!ok || n < firstNew)
            continue;
        int error = 0;
        if (!KvAtomicFile::Remove(dir + name, &error))
            KvAppLog::Write(u"KvBatchJournal: cannot remove %1: %2"_qs.arg(
                name, KvAtomicFile::ErrorString(error)));
    }
}

} // namespace

namespace KvBatchJournal {

QString Path(const QString& dataDir)
{
    return dirWithSlash(dataDir) + FileName;
}

bool Exists(const QString& dataDir)
{
    return QFileInfo::exists(Path(dataDir));
}

void WriteBegun(const QString& dataDir, const QString& pagePrefix, int firstNewPage)
{
    KV_LOG_SCOPE("KvBatchJournal::WriteBegun");
    writeJournal(dataDir, sealed(kMagic + "BEGUN " + pagePrefix.toLatin1() + ' ' +
                                 QByteArray::number(firstNewPage) + '\n'));
}

void WriteRedo(const QString& dataDir, const Redo& redo)
{
    KV_LOG_SCOPE("KvBatchJournal::WriteRedo");
    QByteArray body = kMagic;
    for (const auto& [name, bytes] : redo.writes) {
        body += "WRITE " + encodeName(name) + ' ' + QByteArray::number(bytes.size()) + '\n';
        body += bytes;
        body += '\n';
    }
    for (const QString& name : redo.deletes)
        body += "DELETE " + encodeName(name) + '\n';
    for (const auto& [from, to] : redo.renames)
        body += "RENAME " + encodeName(from) + ' ' + encodeName(to) + '\n';
    writeJournal(dataDir, sealed(std::move(body)));
}

void RollForward(const QString& dataDir, const Redo& redo)
{
    KV_LOG_SCOPE("KvBatchJournal::RollForward");
    const QString dir = dirWithSlash(dataDir);
    {
        const KvAtomicFile::DeferSync defer;
        for (const auto& [name, bytes] : redo.writes) {
            int error = 0;
            if (!KvAtomicFile::WriteFile(dir + name, bytes, KvAtomicFile::Access::KeepOrDefault,
                                         &error))
                throw TexProfileFile::EIniFileFlush(dir + name, error);
        }
        if (const int error = KvAtomicFile::SyncDeferred())
            throw TexProfileFile::EIniFileFlush(
                redo.writes.empty() ? Path(dataDir) : dir + redo.writes.front().first, error);
    }
    Complete(dataDir, redo);
}

void Complete(const QString& dataDir, const Redo& redo)
{
    KV_LOG_SCOPE("KvBatchJournal::Complete");
    const QString dir = dirWithSlash(dataDir);
    for (const QString& name : redo.deletes) {
        int error = 0;
        if (!KvAtomicFile::Remove(dir + name, &error))
            KvAppLog::Write(u"KvBatchJournal: cannot remove %1: %2"_qs.arg(
                name, KvAtomicFile::ErrorString(error)));
    }
    for (const auto& [from, to] : redo.renames) {
        int error = 0;
        // Done before when the side file is gone.
        if (!KvAtomicFile::RenameOver(dir + from, dir + to, &error) && error != ENOENT)
            throw TexProfileFile::EIniFileFlush(dir + to, error);
    }
    Remove(dataDir);
}

bool Remove(const QString& dataDir)
{
    int error = 0;
    if (KvAtomicFile::Remove(Path(dataDir), &error))
        return true;
    KvAppLog::Write(u"KvBatchJournal: cannot remove the journal: "_qs +
                    KvAtomicFile::ErrorString(error));
    return false;
}

Outcome Recover(const QString& dataDir, bool writable, QString* detail)
{
    KV_LOG_SCOPE("KvBatchJournal::Recover");
    auto say = [detail](const QString& text) {
        if (detail)
            *detail = text;
    };
    const QString path = Path(dataDir);
    QFile file(path);
    if (!file.exists()) {
        say(QString());
        return Outcome::None;
    }
    if (!writable) {
        say(u"a bulk change is unfinished (%1): it is running in another instance, or it "
            "was interrupted and the next opening with full access completes it"_qs.arg(FileName));
        return Outcome::Waiting;
    }
    const Parsed p = file.open(QIODevice::ReadOnly) ? parse(file.readAll()) : Parsed();
    file.close();
    if (!p.ok) {
        const QString aside = path + u".damaged"_qs;
        QFile::remove(aside);
        QFile::rename(path, aside);
        say(u"%1 cannot be read; set aside as %2"_qs.arg(FileName, QFileInfo(aside).fileName()));
        KvAppLog::Write(u"KvBatchJournal: "_qs + (detail ? *detail : QString()));
        return Outcome::Damaged;
    }
    const QString dir = dirWithSlash(dataDir);
    if (p.begun) {
        rollBack(dir, p.pagePrefix, p.firstNewPage);
        Remove(dataDir);
        say(u"an unfinished bulk change was undone"_qs);
        return Outcome::RolledBack;
    }
    RollForward(dataDir, p.redo);
    say(u"an unfinished bulk change was completed"_qs);
    return Outcome::RolledForward;
}

} // namespace KvBatchJournal
