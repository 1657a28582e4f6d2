#pragma once

#include "cli/kvcli.h"
#include "cli/kvcliio.h"
#include "model/blowfishvcl.h"
#include "model/kvaddstatus.h"
#include "model/kvnotebookgenerator.h"
#include "model/kvpagepassword.h"
#include "model/kvpasswordbytes.h"
#include "support/testenv.h"

#include <QDir>
#include <QDirIterator>
#include <QMap>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

namespace korvtest {

struct CliResult
{
    int code = -1;
    QByteArray out;
    QByteArray err;
};

// Runs one command in-process; terminal: what the terminal answers (none: no terminal).
inline CliResult RunCli(const QStringList& args, const QByteArray& stdinText = {},
                        const std::optional<QString>& terminal = std::nullopt)
{
    KvBufferIo io(stdinText);
    if (terminal)
        io.SetTerminalAnswer(*terminal);
    CliResult r;
    r.code = KvCli::Run(args, io);
    r.out = io.OutText();
    r.err = io.ErrText();
    return r;
}

// Every file below dir (names relative to it) with its bytes.
inline QMap<QString, QByteArray> DirContents(const QString& dir)
{
    QMap<QString, QByteArray> files;
    QDirIterator it(dir, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        files.insert(QDir(dir).relativeFilePath(path), ReadAll(path));
    }
    return files;
}

// A member file written by hand: lines joined with CR LF.
inline void WriteMember(const QString& path, const QStringList& lines)
{
    WriteAll(path, (lines.join(u"\r\n"_qs) + u"\r\n"_qs).toUtf8());
}

// The lock file of an instance on another computer.
inline const QByteArray kLockOfAnother =
    "otherhost\r\nsomeone\r\n10.12.2026 08:00:00\r\nN\r\n4242\r\n";
inline const QByteArray kLockedByAnother = "locked by someone on otherhost";

// A refused command: its exit status, nothing on standard output, one line on standard
// error that names the command and holds message, and not a byte below root changed.
inline void ExpectRefusedUnchanged(const QString& root, const QString& command, int code,
                                   const QByteArray& message, const std::function<CliResult()>& run)
{
    const auto before = DirContents(root);
    const CliResult r = run();
    EXPECT_EQ(r.code, code);
    EXPECT_TRUE(r.out.isEmpty()) << r.out.toStdString();
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    EXPECT_TRUE(r.err.startsWith(QByteArray("korvnote-cli " + command.toUtf8() + ": ")))
        << r.err.toStdString();
    EXPECT_TRUE(r.err.contains(message)) << r.err.toStdString();
    EXPECT_TRUE(DirContents(root) == before);
}

inline const QByteArray kPlanRtf =
    "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard Hallo \\b Welt\\b0\\par\r\n}\r\n";
inline const QString kWelcomePassword = u"geheim"_qs;

class CliFixture : public ::testing::Test
{
protected:
    void SetUp() override { m_dir = m_env.Dir(u"data"_qs); }

    KvGeneratedNotebook Generate(int elements, quint32 seed = 5, int protectedPercent = 5)
    {
        KvGeneratorOptions o;
        o.seed = seed;
        o.elements = elements;
        o.protectedPercent = protectedPercent;
        return KvNotebookGenerator::Generate(m_dir, o);
    }

    // A small notebook written line by line: a folder with a page and a referrer, a
    // protected page at the top, a page in the trash and a page that no folder lists.
    void WriteHandMade()
    {
        WriteMember(m_dir + u"objprps.001"_qs, {u"[TopFolder]"_qs,
                                                u"Name=Ordner"_qs,
                                                u"Item0000001=Fldr0000001"_qs,
                                                u"Item0000002=Page0000001"_qs,
                                                u"[TrashFolder]"_qs,
                                                u"Name=Papierkorb"_qs,
                                                u"Item0000001=Page0000003"_qs,
                                                u"[Fldr0000001]"_qs,
                                                u"Name=Projekte"_qs,
                                                u"Item0000001=Page0000002"_qs,
                                                u"Item0000002=Page0000004"_qs,
                                                u"[Page0000001]"_qs,
                                                u"Name=Willkommen"_qs,
                                                u"[Page0000002]"_qs,
                                                u"Name=Plan"_qs,
                                                u"[Page0000003]"_qs,
                                                u"Name=Alt"_qs,
                                                u"[Page0000004]"_qs,
                                                u"Ref2=Page0000001"_qs,
                                                u"[Page0000005]"_qs,
                                                u"Name=Verloren"_qs});
        WriteMember(m_dir + u"Fldrprps.001"_qs,
                    {u"[TopFolder]"_qs, u"Status=0"_qs, u"[Fldr0000001]"_qs, u"Status=2"_qs});
        WriteMember(m_dir + u"Pageprps.001"_qs,
                    {u"[Page0000002]"_qs, u"Status=1"_qs, u"[Page0000001]"_qs, u"PWAskMode=0"_qs,
                     u"PWBF="_qs + KvPagePassword::CheckValue(0, kWelcomePassword), u"EncSCl=0"_qs,
                     u"PWCopy=0"_qs, u"PWList=0"_qs});
        const BlowFishVCL cipher(KvPasswordBytes::Encode(kWelcomePassword));
        ASSERT_TRUE(cipher.EncryptToFile("{\\rtf1\\ansi Willkommen im Notizbuch\\par}",
                                         m_dir + u"Page0000001.kvp"_qs));
        WriteAll(m_dir + u"Page0000002.kvp"_qs, kPlanRtf);
        WriteAll(m_dir + u"Page0000003.kvp"_qs, "{\\rtf1\\ansi Alt\\par}");
        WriteAll(m_dir + u"Page0000005.kvp"_qs, "{\\rtf1\\ansi Verloren\\par}");
    }

    static QString Status(int n) { return StatusText(n, nullptr); }

    SandboxEnv m_env;
    QString m_dir;
};

} // namespace korvtest
