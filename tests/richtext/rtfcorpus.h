#pragma once

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QString>
#include <QStringList>
#include <gtest/gtest.h>

#ifndef KORV_RTF_CORPUS_DEFAULT
#define KORV_RTF_CORPUS_DEFAULT ""
#endif

namespace korvtest {

// The folder of real-world RTF files: $KORVELLE_RTF_CORPUS, else shared/rtf-corpus beside the
// project. Empty when it does not exist.
inline QString RtfCorpusDir()
{
    QString dir = qEnvironmentVariable("KORVELLE_RTF_CORPUS");
    if (dir.isEmpty())
        dir = QString::fromUtf8(KORV_RTF_CORPUS_DEFAULT);
    if (dir.isEmpty() || !QDir(dir).exists())
        return {};
    return QDir(dir).absolutePath();
}

// All .rtf files below the corpus folder, sorted.
inline QStringList RtfCorpusFiles(const QString& dir)
{
    QStringList files;
    QDirIterator it(dir, {u"*.rtf"_qs}, QDir::Files, QDirIterator::Subdirectories);
    while (it.hasNext())
        files << it.next();
    files.sort();
    return files;
}

inline QByteArray ReadFileBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return {};
    return f.readAll();
}

} // namespace korvtest

// Skips the test loudly when the corpus is missing.
#define KORV_REQUIRE_RTF_CORPUS(dirVar)                                                            \
    const QString dirVar = korvtest::RtfCorpusDir();                                               \
    if (dirVar.isEmpty())                                                                          \
    GTEST_SKIP() << "*** RTF CORPUS NOT FOUND: set KORVELLE_RTF_CORPUS or provide "                \
                    "shared/rtf-corpus beside the project; corpus tests did NOT run ***"
