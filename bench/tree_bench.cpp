// The "window with tree" row of the benchmark table: building the whole notebook of DIR
// into the navigation tree (tree-bound folders and pages, their nodes and images), next to
// building the same model without a tree, in the same process.
//   tree_bench DIR LABEL
// Without arguments it generates a notebook of 100,000 elements in a temporary directory.
#include "benchnotebook.h"
#include "model/kvdircontext.h"
#include "model/kvnotebookbuild.h"
#include "model/kvnotebookgenerator.h"
#include "store/kvdirstores.h"
#include "ui/kvtreebulkupdate.h"
#include "ui/kvtvfactory.h"
#include "ui/kvtvfolder.h"
#include "ui/textreeview.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double medianMs(int repetitions, const std::function<void()>& run,
                const std::function<void()>& after)
{
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
        after();
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QString ms(double v)
{
    return QString::number(v, 'f', v >= 100 ? 0 : 1) + u" ms"_qs;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir tmp;
    const auto [dir, label] =
        KvBenchNotebook::FromArgs(argc, argv, tmp, 100000, u"100,000 elements"_qs);
    KvDirContext ctx;
    ctx.dataDir = dir;
    ctx.writable = false;
    KvDirContext::SetCurrent(&ctx);
    constexpr int reps = 3;
    int objects = 0;
    KvNotebook nb;

    KvElementFactory plain;
    const double modelMs = medianMs(
        reps,
        [&] {
            KvDirStores::Reopen(dir);
            nb = KvNotebookBuild::Build(plain);
        },
        [&] {
            objects = RegisteredObjectCount();
            nb.Reset();
            KvDirStores::Close();
        });

    TexTreeView tree;
    tree.resize(300, 600);
    tree.show();
    const double treeMs = medianMs(
        reps,
        [&] {
            KvDirStores::Reopen(dir);
            KvTreeBulkUpdate bulk(&tree);
            tree.clear();
            KvTVFactory factory(&tree);
            nb = KvNotebookBuild::Build(factory);
            static_cast<KvTVFolder*>(nb.top.get())->AttachRootNode();
            static_cast<KvTVFolder*>(nb.trash.get())->AttachRootNode();
        },
        [&] {
            QCoreApplication::processEvents();
            nb.Reset();
            KvDirStores::Close();
        });
    KvDirContext::SetCurrent(nullptr);

    std::printf("| Notebook | model, no tree | window with tree | ratio |\n|---|---:|---:|---:|\n");
    std::printf("%s\n", qPrintable(u"| %1 (%2 objects) | %3 | %4 | %5 × |"_qs.arg(
                            label, QString::number(objects), ms(modelMs), ms(treeMs),
                            QString::number(treeMs / modelMs, 'f', 1))));
    return 0;
}
