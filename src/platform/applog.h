#pragma once

#include <QString>
#include <functional>

// The application log "applog.txt": one line per call, "date time text" and CR LF.
// Off unless switched on; the file is created empty at the first line of the process.
namespace KvAppLog {

void SetEnabled(bool on);
bool Enabled();
// Where the log lives; asked once, when the first line is written.
void SetDirectoryResolver(std::function<QString()> resolver);
void Write(const QString& text);
// Closes the file; the next line creates it anew (tests).
void Close();

} // namespace KvAppLog

// Writes "Class::Operation entry" now and "... end" (or "end(n)") when it leaves scope.
class KvLogScope
{
public:
    explicit KvLogScope(const char* operation);
    ~KvLogScope();
    KvLogScope(const KvLogScope&) = delete;
    KvLogScope& operator=(const KvLogScope&) = delete;
    // Marks an early way out: the closing line becomes "end(n)".
    void Exit(int n) { m_exit = n; }

private:
    const char* m_operation;
    int m_exit = 0;
};

#define KV_LOG_SCOPE(op) KvLogScope kvLogScope_(op)
