// The "chooser" row of the benchmark table: opening the element chooser TObjSelectF (built,
// shown and painted once) on the notebook of DIR held in the navigation tree, for folders
// and for either kind, next to copying every node of the navigation tree into a second
// tree, which is what a chooser without a lazy model would do.
//   chooser_bench DIR LABEL
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
#include "ui/tobjselectf.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <QTreeView>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

double medianMs(int repetitions, const std::function<void()>& run)
{
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        QElapsedTimer t;
        t.start();
        run();
        times.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

QString ms(double v)
{
    return QString::number(v, 'f', v >= 100 ? 0 : 1) + u" ms"_qs;
}

// Opens the chooser, lets it lay out and paint once, closes it.
void openChooser(KvNotebook& nb, const TexTreeView& look, const QString& kind,
                 const QString& preselect)
{
    TObjSelectF chooser({nb.top.get(), nb.trash.get()}, kind, preselect, &look);
    chooser.show();
    chooser.Tree()->viewport()->repaint();
    QCoreApplication::processEvents();
}

void copyNodes(const QTreeWidgetItem* from, QTreeWidgetItem* to)
{
    for (int i = 0; i < from->childCount(); ++i) {
        const QTreeWidgetItem* child = from->child(i);
        auto* copy = new QTreeWidgetItem(to, {child->text(0)});
        copy->setIcon(0, child->icon(0));
        copyNodes(child, copy);
        copy->setExpanded(child->isExpanded());
    }
}

void openByCopy(const TexTreeView& look)
{
    QTreeWidget copy;
    for (int i = 0; i < look.topLevelItemCount(); ++i) {
        const QTreeWidgetItem* root = look.topLevelItem(i);
        auto* r = new QTreeWidgetItem(&copy, {root->text(0)});
        copyNodes(root, r);
        r->setExpanded(root->isExpanded());
    }
    copy.show();
    copy.viewport()->repaint();
    QCoreApplication::processEvents();
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
    KvDirStores::Reopen(dir);

    TexTreeView tree;
    tree.resize(300, 600);
    tree.show();
    KvNotebook nb;
    {
        KvTreeBulkUpdate bulk(&tree);
        KvTVFactory factory(&tree);
        nb = KvNotebookBuild::Build(factory);
        static_cast<KvTVFolder*>(nb.top.get())->AttachRootNode();
        static_cast<KvTVFolder*>(nb.trash.get())->AttachRootNode();
    }
    QCoreApplication::processEvents();
    const int objects = RegisteredObjectCount();
    // The preselection of the move commands: the folder of the last element.
    QString preselect = nb.top->Id();
    for (KvObject* obj = nb.top.get(); obj && obj->ChildCount() > 0;)
        obj = obj->Children().last(), preselect = obj->Parent()->Id();

    constexpr int reps = 5;
    const double folders = medianMs(reps, [&] { openChooser(nb, tree, u"Fldr"_qs, preselect); });
    const double either = medianMs(reps, [&] { openChooser(nb, tree, QString(), preselect); });
    const double copied = medianMs(reps, [&] { openByCopy(tree); });

    nb.Reset();
    KvDirStores::Close();
    KvDirContext::SetCurrent(nullptr);

    std::printf("| Notebook (objects) | chooser for folders | chooser for either | copying every "
                "node |\n|---|---:|---:|---:|\n");
    std::printf("%s\n", qPrintable(u"| %1 (%2 objects) | %3 | %4 | %5 |"_qs.arg(
                            label, QString::number(objects), ms(folders), ms(either), ms(copied))));
    return 0;
}
