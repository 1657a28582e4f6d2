#pragma once

#include <QByteArray>
#include <QString>

// Where a command writes and what it reads: standard output, standard error, standard
// input and the terminal. The program uses the console; tests use buffers.
class KvCliIo
{
public:
    virtual ~KvCliIo() = default;
    virtual void Out(const QByteArray& bytes) = 0;
    virtual void Err(const QByteArray& bytes) = 0;
    // One line of standard input without its line end; false at the end of input.
    virtual bool ReadStdinLine(QString& line) = 0;
    // Asks on the terminal without echo; false when there is no terminal or the input ended.
    virtual bool ReadPassword(const QString& prompt, QString& password) = 0;
    // Standard error is a terminal (progress lines may go there).
    virtual bool ErrIsTerminal() const { return false; }

    // What was written so far reaches the reader now (a line of a long command).
    virtual void Flush() {}

    void OutLine(const QString& text) { Out(text.toUtf8() + '\n'); }
    void ErrLine(const QString& text) { Err(text.toUtf8() + '\n'); }
};

// The process's own streams; the password is read from /dev/tty with echo switched off.
class KvConsoleIo : public KvCliIo
{
public:
    void Out(const QByteArray& bytes) override;
    void Err(const QByteArray& bytes) override;
    bool ReadStdinLine(QString& line) override;
    bool ReadPassword(const QString& prompt, QString& password) override;
    bool ErrIsTerminal() const override;
    void Flush() override;
};

// Collects the output; standard input and the terminal answer from given text.
class KvBufferIo : public KvCliIo
{
public:
    explicit KvBufferIo(QByteArray stdinText = {}) : m_in(std::move(stdinText)) {}

    void Out(const QByteArray& bytes) override { m_out += bytes; }
    void Err(const QByteArray& bytes) override { m_err += bytes; }
    bool ReadStdinLine(QString& line) override;
    bool ReadPassword(const QString& prompt, QString& password) override;

    // What the terminal answers; none means there is no terminal.
    void SetTerminalAnswer(const QString& answer)
    {
        m_terminal = answer;
        m_hasTerminal = true;
    }

    bool ErrIsTerminal() const override { return m_errTerminal; }
    void SetErrTerminal(bool on) { m_errTerminal = on; }

    const QByteArray& OutText() const { return m_out; }
    const QByteArray& ErrText() const { return m_err; }

private:
    QByteArray m_in;
    qsizetype m_pos = 0;
    QByteArray m_out;
    QByteArray m_err;
    QString m_terminal;
    bool m_hasTerminal = false;
    bool m_errTerminal = false;
};
