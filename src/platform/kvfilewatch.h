#pragma once

#include <QByteArray>
#include <QString>

// Tells whether one file may have changed since the last question, without looking at the
// file: an inotify watch on its directory reports the name written, renamed over, created
// or removed. The watch is on the directory because writers replace the file by renaming a
// new one over it (KvAtomicFile), which a watch on the file itself would not survive. The
// kernel queues an event when the change happens, so a change this process made is seen by
// the very next question. Nothing is registered with the event loop: a change wakes no one.
// Without a watch (no directory, the system refuses one) the file's stamp is compared.
class KvFileWatch
{
public:
    explicit KvFileWatch(QString path);
    ~KvFileWatch();
    KvFileWatch(const KvFileWatch&) = delete;
    KvFileWatch& operator=(const KvFileWatch&) = delete;

    const QString& Path() const { return m_path; }
    // True at the first question, afterwards when the file changed since the last one (or
    // when that cannot be known: a lost watch, an overflowing queue).
    bool Changed();
    // The directory is watched (else the stamp is compared at every question).
    bool Watching() const { return m_wd >= 0; }

private:
    struct Stamp
    {
        bool exists = false;
        qint64 size = 0;
        qint64 mtimeNs = 0;
        quint64 inode = 0;
        quint64 device = 0;
        bool operator==(const Stamp&) const = default;
    };

    bool addWatch();
    // Reads the queued events; true when one concerned the file.
    bool drain();
    bool stampChanged();

    QString m_path;
    QByteArray m_dir;  // encoded for the system
    QByteArray m_name; // the file's name in it
    int m_fd = -1;
    int m_wd = -1;
    bool m_asked = false;
    Stamp m_stamp;
};
