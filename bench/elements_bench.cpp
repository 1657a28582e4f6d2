// The element commands over many elements, each as one command with its member files
// written (what korvnote-cli does): creating, moving and trashing 1,000 pages, emptying a
// trash of 10,000 elements, sorting a folder of 10,000 children, copying a folder of 1,000
// pages. Every row starts from a freshly generated notebook (not timed); the figure is the
// median of three runs, next to the files the command wrote and the time per 1,000
// elements.
//
//   elements_bench WORKDIR [WORD]   (WORD: only the rows whose text holds it)
#include "elements/kvbulkscope.h"
#include "elements/kvelementcopy.h"
#include "elements/kvelementedit.h"
#include "elements/kvelementenv.h"
#include "elements/kvelementmove.h"
#include "elements/kvelementwindow.h"
#include "elements/kvpagetemplate.h"
#include "elements/kvpastesource.h"
#include "lists/kvbusy.h"
#include "lists/kvelementlists.h"
#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "model/kvnotebookbuild.h"
#include "model/kvnotebookgenerator.h"
#include "model/kvpage.h"
#include "platform/kvfileseam.h"
#include "store/kvdirstores.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

// A generated notebook opened for changes, with the operations' environment.
class Bench
{
public:
    Bench(const QString& dir, const KvGeneratorOptions& options) : m_dir(dir)
    {
        QDir(dir).removeRecursively();
        QDir().mkpath(dir);
        KvNotebookGenerator::Generate(dir, options);
        m_ctx.dataDir = dir;
        KvDirStores::Reopen(dir);
        KvDirContext::SetCurrent(&m_ctx);
        m_nb = KvNotebookBuild::Build(m_factory);
        m_lists.AddFirst(&m_paste);
        m_env.top = m_nb.top.get();
        m_env.trash = m_nb.trash.get();
        m_env.window = &m_window;
        m_env.factory = &m_factory;
        m_env.lists = &m_lists;
        m_env.busy = &m_busy;
        m_env.pageTemplate = &m_template;
        m_env.paste = &m_paste;
        m_env.options = KvElementOptions{}.WithoutQuestions();
    }
    ~Bench()
    {
        m_nb.Reset();
        KvDirContext::SetCurrent(nullptr);
        KvDirStores::Close();
        QDir(m_dir).removeRecursively();
    }

    KvElementEnv& Env() { return m_env; }
    KvFolder& Top() { return *m_nb.top; }
    KvFolder& Trash() { return *m_nb.trash; }

    KvFolder* FirstFolder()
    {
        for (KvObject* c : Top().Children()) {
            if (auto* f = dynamic_cast<KvFolder*>(c))
                return f;
        }
        return &Top();
    }

    // Pages outside the trash that write protection lets move, in tree order.
    QList<KvPage*> Pages(int n)
    {
        QList<KvPage*> pages;
        for (KvObject* obj : CollectDescendants(&Top())) {
            auto* p = dynamic_cast<KvPage*>(obj);
            if (p && !p->GetWriteProtect() && pages.size() < n)
                pages.append(p);
        }
        return pages;
    }

private:
    QString m_dir;
    KvDirContext m_ctx;
    KvElementFactory m_factory;
    KvNotebook m_nb;
    KvHeadlessWindow m_window;
    KvElementLists m_lists;
    KvPasteSource m_paste;
    KvBusy m_busy;
    KvPageTemplate m_template;
    KvElementEnv m_env;
};

struct Figure
{
    double ms = 0;
    int files = 0;
    int elements = 0;
};

// Runs setup (not timed) and the command three times; the median time.
Figure Measure(const std::function<int(Bench&)>& command, const KvGeneratorOptions& options,
               const QString& dir, const std::function<void(Bench&)>& setup = {})
{
    std::vector<Figure> runs;
    for (int rep = 0; rep < 3; ++rep) {
        Bench bench(dir, options);
        if (setup)
            setup(bench);
        // Counts the files put in place; nothing fails.
        KvFileSeam::Failure count;
        count.ops = KvFileSeam::Rename;
        count.nth = 1 << 30;
        KvFileSeam::Scope seam(count);
        QElapsedTimer t;
        t.start();
        Figure f;
        f.elements = command(bench);
        f.ms = double(t.nsecsElapsed()) / 1e6;
        f.files = KvFileSeam::Seen();
        runs.push_back(f);
    }
    std::sort(runs.begin(), runs.end(),
              [](const Figure& a, const Figure& b) { return a.ms < b.ms; });
    return runs[1];
}

QString g_only;

bool Wanted(const char* what)
{
    return g_only.isEmpty() || QString::fromUtf8(what).contains(g_only);
}

void Row(const char* what, const Figure& f)
{
    const double per1000 = f.elements > 0 ? f.ms * 1000.0 / f.elements : 0;
    std::printf("| %s | %d | %.0f ms | %.0f ms | %d |\n", what, f.elements, f.ms, per1000, f.files);
    std::fflush(stdout);
}

KvGeneratorOptions Options(int elements)
{
    KvGeneratorOptions o;
    o.seed = 42;
    o.elements = elements;
    o.protectedPercent = 0;
    return o;
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (app.arguments().size() < 2 || app.arguments().size() > 3) {
        std::fputs("usage: elements_bench WORKDIR [WORD]\n", stderr);
        return 2;
    }
    g_only = app.arguments().value(2);
    const QString dir = QDir(app.arguments()[1]).absolutePath() + u"/elements/"_qs;
    std::printf("| Command, member files written | elements | time | per 1,000 | files "
                "written |\n|---|---:|---:|---:|---:|\n");

    if (Wanted("creating 1,000 pages in a folder"))

        Row("creating 1,000 pages in a folder",
            Measure(
                [](Bench& b) {
                    KvElementEdit edit(b.Env());
                    KvFolder* folder = b.FirstFolder();
                    KvBulkScope bulk(b.Env());
                    for (int i = 0; i < 1000; ++i)
                        edit.CreateNewPage(*folder, u"Neue Seite %1"_qs.arg(i), 0);
                    bulk.Commit();
                    return 1000;
                },
                Options(10000), dir));

    if (Wanted("creating 1,000 pages in a folder that sorts itself"))
        Row("creating 1,000 pages in a folder that sorts itself",
            Measure(
                [](Bench& b) {
                    KvElementEdit edit(b.Env());
                    KvFolder* folder = b.FirstFolder();
                    KvBulkScope bulk(b.Env());
                    for (int i = 0; i < 1000; ++i)
                        edit.CreateNewPage(*folder, u"Neue Seite %1"_qs.arg(999 - i), 0);
                    bulk.Commit();
                    return 1000;
                },
                Options(10000), dir,
                [](Bench& b) {
                    KvFolder* folder = b.FirstFolder();
                    folder->SetSortInherited(false);
                    folder->SetAutoSort(true);
                    folder->Store();
                }));

    if (Wanted("moving 1,000 pages into one folder"))

        Row("moving 1,000 pages into one folder",
            Measure(
                [](Bench& b) {
                    KvElementMove move(b.Env());
                    KvFolder* target = b.FirstFolder();
                    QStringList ids;
                    for (KvPage* p : b.Pages(3000)) {
                        if (!p->HasAncestor(target) && ids.size() < 1000)
                            ids.append(p->Id());
                    }
                    KvBulkScope bulk(b.Env());
                    for (const QString& id : std::as_const(ids))
                        move.Move(*FindObject(id), *target, false);
                    bulk.Commit();
                    return int(ids.size());
                },
                Options(10000), dir));

    if (Wanted("trashing 1,000 pages"))

        Row("trashing 1,000 pages",
            Measure(
                [](Bench& b) {
                    KvElementEdit edit(b.Env());
                    KvElementMove move(b.Env());
                    QStringList ids;
                    for (KvPage* p : b.Pages(1000))
                        ids.append(p->Id());
                    KvBulkScope bulk(b.Env());
                    QElapsedTimer t;
                    qint64 lists = 0, moves = 0;
                    for (const QString& id : std::as_const(ids)) {
                        KvObject* obj = FindObject(id);
                        if (obj->HasAncestor(&b.Trash()))
                            continue; // a referrer that went along
                        t.start();
                        edit.DeleteElemsFromLists(*obj, true);
                        lists += t.nsecsElapsed();
                        t.start();
                        move.Move(*obj, b.Trash(), false);
                        moves += t.nsecsElapsed();
                    }
                    t.start();
                    bulk.Commit();
                    if (qEnvironmentVariableIsSet("KORV_BENCH_TRACE"))
                        std::fprintf(stderr, "lists %lld ms, moves %lld ms, commit %lld ms\n",
                                     lists / 1000000, moves / 1000000, t.nsecsElapsed() / 1000000);
                    return int(ids.size());
                },
                Options(10000), dir));

    {
        KvGeneratorOptions o = Options(20000);
        o.trashPercent = 50;
        if (Wanted("emptying a trash of 10,000 elements"))
            Row("emptying a trash of 10,000 elements",
                Measure(
                    [](Bench& b) {
                        const int n = int(CollectDescendants(&b.Trash()).size());
                        KvElementEdit(b.Env()).EmptyTrash();
                        return n;
                    },
                    o, dir));
    }

    {
        KvGeneratorOptions o = Options(10000);
        o.flat = true;
        if (Wanted("sorting a folder of 10,000 children"))
            Row("sorting a folder of 10,000 children",
                Measure(
                    [](Bench& b) {
                        KvBulkScope bulk(b.Env());
                        KvElementMove(b.Env()).SortElements(b.Top());
                        KvBulkScope::StoreFolder(b.Env(), b.Top());
                        bulk.Commit();
                        return b.Top().ChildCount();
                    },
                    o, dir));
    }

    {
        KvGeneratorOptions o = Options(1000);
        o.flat = true;
        o.folderPercent = 0;
        o.trashPercent = 0;
        o.referrerPercent = 0;
        if (Wanted("copying a folder of 1,000 pages"))
            Row("copying a folder of 1,000 pages",
                Measure(
                    [](Bench& b) {
                        auto* source = dynamic_cast<KvFolder*>(b.Top().Children().last());
                        KvElementCopy(b.Env()).CopyFolder2Folder(*source, b.Top());
                        return int(CollectDescendants(source).size());
                    },
                    o, dir,
                    [](Bench& b) {
                        // The pages of the flat notebook moved into one folder first.
                        KvElementEdit edit(b.Env());
                        KvFolder* folder = edit.CreateNewFolder(b.Top(), u"Quelle"_qs);
                        const QString id = folder->Id();
                        KvElementMove move(b.Env());
                        KvBulkScope bulk(b.Env());
                        QStringList pages;
                        for (KvObject* c : b.Top().Children()) {
                            if (dynamic_cast<KvPage*>(c))
                                pages.append(c->Id());
                        }
                        for (const QString& p : std::as_const(pages))
                            move.Move(*FindObject(p), *dynamic_cast<KvFolder*>(FindObject(id)),
                                      false);
                        bulk.Commit();
                    }));
    }
    return 0;
}
