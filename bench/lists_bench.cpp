// The "lists" rows of the benchmark table: loading the saved search results and the
// bookmarks of a data directory, showing a saved result in the window's result list, and
// the lists' clean-up after a deletion, each next to a plain read or copy of the same data.
//   lists_bench DIR LABEL
// DIR holds a notebook of at least 10,000 pages (only read); the lists are written into a
// temporary directory. Without arguments it generates a notebook of 10,000 pages there.
#include "benchnotebook.h"
#include "lists/kvelementlists.h"
#include "lists/kvitemlist.h"
#include "lists/kvnotebooklists.h"
#include "lists/kvrowsview.h"
#include "lists/kvsearchresult.h"
#include "lists/kvsearchresults.h"
#include "model/kvdircontext.h"
#include "model/kvnotebookbuild.h"
#include "model/kvnotebookgenerator.h"
#include "model/kvpage.h"
#include "store/kvdirstores.h"
#include "store/texinifile.h"
#include "ui/kvresultitemview.h"
#include "ui/kvresultlistview.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kResults = 50;
constexpr int kIdsPerResult = 2000;
constexpr int kBookmarks = 450;
constexpr int kShown = 10000;
constexpr int kDeleted = 10000;

double medianMs(int repetitions, const std::function<void()>& prepare,
                const std::function<void()>& run)
{
    std::vector<double> times;
    for (int i = 0; i < repetitions; ++i) {
        if (prepare)
            prepare();
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

QString PageId(int n)
{
    return u"Page"_qs + QString::number(n).rightJustified(7, u'0');
}

// 50 saved results of 2,000 ids each (100,000 different ids) and 450 bookmarks, written
// into listDir anew.
void WriteLists(const QString& listDir)
{
    QDir(listDir).removeRecursively();
    QDir().mkpath(listDir);
    TexIniFile store(KvNotebookLists::StorePath(listDir, KvNotebookLists::ResultStore), 40, true);
    store.BeginBatch();
    for (int r = 0; r < kResults; ++r) {
        KvSearchResult result(store, store.NewSectionName(KvSearchResult::SectionPrefix),
                              KvItemList::New{});
        KvSearchCrit crit;
        crit.SText1 = u"Wort %1"_qs.arg(r);
        result.SetCriteria(crit);
        QStringList ids;
        for (int i = 1; i <= kIdsPerResult; ++i)
            ids.append(PageId(r * kIdsPerResult + i));
        result.AddIds(ids);
        result.Write();
    }
    store.EndBatch();
    KvItemList bookmarks(KvNotebookLists::StorePath(listDir, KvNotebookLists::BookmarkStore),
                         KvNotebookLists::BookmarkSection);
    QStringList ids;
    for (int i = 1; i <= kBookmarks; ++i)
        ids.append(PageId(i * 7));
    bookmarks.AddIds(ids);
    bookmarks.Save();
}

qint64 ReadFiles(const QString& listDir)
{
    qint64 bytes = 0;
    for (const QFileInfo& f : QDir(listDir).entryInfoList(QDir::Files)) {
        QFile file(f.absoluteFilePath());
        if (file.open(QIODevice::ReadOnly))
            bytes += file.readAll().size();
    }
    return bytes;
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTemporaryDir tmp;
    const auto [dir, label] = KvBenchNotebook::FromArgs(argc, argv, tmp, 11000, u"10,000 pages"_qs);
    const QString listDir = tmp.path() + u"/lists/"_qs;
    KvDirContext ctx;
    ctx.dataDir = dir;
    ctx.writable = false;
    KvDirContext::SetCurrent(&ctx);
    KvDirStores::Reopen(dir);
    KvElementFactory factory;
    KvNotebook nb = KvNotebookBuild::Build(factory);
    QStringList pages;
    for (KvObject* obj : CollectDescendants(nb.top.get())) {
        if (dynamic_cast<KvPage*>(obj) && pages.size() < kShown)
            pages.append(obj->Id());
    }

    constexpr int reps = 5;
    WriteLists(listDir);
    qint64 bytes = 0;
    const double readPlain = medianMs(reps, {}, [&] { bytes = ReadFiles(listDir); });
    const double load = medianMs(reps, {}, [&] {
        KvNotebookLists lists(listDir, true, nullptr);
        (void)lists.Results().Entries();
    });

    // One saved result of 10,000 elements shown in the window's list, full path.
    KvResultListView view;
    view.resize(800, 400);
    view.show();
    KvResultItemView rows(view);
    const QString showDir = tmp.path() + u"/show/"_qs;
    QDir().mkpath(showDir);
    {
        KvSearchResults results(KvNotebookLists::StorePath(showDir, KvNotebookLists::ResultStore));
        results.SetWritable(true);
        KvRowsView none;
        none.ShowRows({}, false);
        KvSearchResult& r = results.SaveCurrent(KvSearchCrit{}, &none, true);
        r.AddIds(pages);
        r.Save();
    }
    KvSearchResults shown(KvNotebookLists::StorePath(showDir, KvNotebookLists::ResultStore));
    const double show = medianMs(
        reps, [&] { shown.SelectEntry(0, nullptr, true); },
        [&] {
            shown.SelectEntry(1, &rows, true);
            view.viewport()->repaint();
            QCoreApplication::processEvents();
        });
    const double copyRows = medianMs(reps, {}, [&] {
        QStringList texts;
        for (const QString& id : pages) {
            const KvObject* obj = FindObject(id);
            texts.append(obj->Name() + obj->Parent()->PathText(true, u"/"_qs));
        }
    });

    // The clean-up: every tenth id of the saved results goes, one result shown. In memory
    // (a batch that does not save), then with the changed stores written at its end.
    QStringList deleted;
    for (int i = 1; i <= kDeleted; ++i)
        deleted.append(PageId(i * 10));
    std::unique_ptr<KvNotebookLists> lists;
    KvRowsView cleanView;
    auto prepare = [&] {
        lists.reset();
        WriteLists(listDir);
        lists = std::make_unique<KvNotebookLists>(listDir, true, nullptr);
        lists->Results().SelectEntry(1, &cleanView, false);
    };
    auto forget = [&](bool save) {
        KvElementLists hooks;
        lists->Hook(hooks);
        {
            KvElementLists::Batch batch(hooks, save);
            hooks.ForgetIds(deleted);
        }
        lists.reset();
    };
    const double cleanup = medianMs(reps, prepare, [&] { forget(false); });
    const double cleanupWritten = medianMs(reps, prepare, [&] { forget(true); });
    int members = 0;
    for (const QFileInfo& f : QDir(listDir).entryInfoList({u"srchres.*"_qs}, QDir::Files))
        members += f.size() > 0 ? 1 : 0;
    QSet<QString> scan;
    const double plainScan = medianMs(reps, {}, [&] {
        const QSet<QString> gone(deleted.begin(), deleted.end());
        int kept = 0;
        for (int i = 1; i <= kResults * kIdsPerResult; ++i)
            kept += gone.contains(PageId(i)) ? 0 : 1;
        scan.insert(QString::number(kept));
    });

    nb.Reset();
    KvDirStores::Close();
    KvDirContext::SetCurrent(nullptr);

    std::printf("| Lists (%s) | Korvelle | plain work on the same data | ratio |\n"
                "|---|---:|---:|---:|\n",
                qPrintable(label));
    auto row = [](const QString& what, double ours, const QString& plainWhat, double plain) {
        std::printf("%s\n", qPrintable(u"| %1 | %2 | %3: %4 | %5 × |"_qs.arg(
                                what, ms(ours), plainWhat, ms(plain),
                                QString::number(ours / std::max(plain, 0.001), 'f', 1))));
    };
    row(u"loading 50 saved results of 2,000 ids and 450 bookmarks (%1 MB)"_qs.arg(
            QString::number(double(bytes) / 1e6, 'f', 1)),
        load, u"reading the files"_qs, readPlain);
    row(u"showing a saved result of 10,000 elements with full paths"_qs, show,
        u"building the rows' texts"_qs, copyRows);
    row(u"clean-up: 10,000 deleted elements against 100,000 listed ids"_qs, cleanup,
        u"one set lookup per listed id"_qs, plainScan);
    row(u"the same with the changed results written (%1 member files)"_qs.arg(members),
        cleanupWritten, u"one set lookup per listed id"_qs, plainScan);
    return 0;
}
