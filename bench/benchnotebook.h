#pragma once

#include "model/kvnotebookgenerator.h"

#include <QDir>
#include <QString>
#include <QTemporaryDir>

// The notebook a benchmark program measures: the data directory and its label as bench/run
// passes them (argv[1], argv[2]), or, run alone, one of `elements` generated into tmp.
struct KvBenchNotebook
{
    QString dir; // ends with "/"
    QString label;

    static KvBenchNotebook FromArgs(int argc, char** argv, const QTemporaryDir& tmp, int elements,
                                    const QString& label)
    {
        if (argc >= 3)
            return {QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + u'/',
                    QString::fromLocal8Bit(argv[2])};
        const QString dir = tmp.path() + u"/nb/"_qs;
        QDir().mkpath(dir);
        KvGeneratorOptions o;
        o.elements = elements;
        o.seed = 42;
        KvNotebookGenerator::Generate(dir, o);
        return {dir, label};
    }
};
