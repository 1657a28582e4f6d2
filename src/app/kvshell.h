#pragma once

#include <QString>
#include <QStringList>

// Opening documents and addresses with the desktop's default handler.
namespace KvShell {

struct Result
{
    bool ok = false;
    QString reason; // why it failed, in words the user can act on
};

// Opens a file, directory or address (xdg-open behind QDesktopServices). Returns at once:
// the handler runs as a process of its own.
Result Open(const QString& document);

// While a recorder lives, Open checks the document as always but hands it to the recorder
// instead of the desktop (tests). Recorders do not nest.
class Recorder
{
public:
    Recorder();
    ~Recorder();
    Recorder(const Recorder&) = delete;
    Recorder& operator=(const Recorder&) = delete;

    // The documents handed over, in order.
    const QStringList& Opened() const { return m_opened; }
    // Later opens fail with this reason; empty: they succeed.
    void SetFailure(const QString& reason) { m_failure = reason; }

private:
    friend Result Open(const QString& document);
    QStringList m_opened;
    QString m_failure;
};

} // namespace KvShell
