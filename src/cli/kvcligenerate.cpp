#include "cli/kvcligenerate.h"

#include "cli/kvclierror.h"
#include "cli/kvcliio.h"
#include "cli/kvclinotebook.h"
#include "model/kvfolder.h"
#include "model/kvnotebookgenerator.h"
#include "model/kvpage.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>
#include <algorithm>
#include <random>

namespace {

// Generator options that give exactly the pages asked for and as close to the folders as
// the generator's whole-percent share allows.
KvGeneratorOptions Shape(const KvCliGenerate::Request& r)
{
    KvGeneratorOptions o;
    o.seed = r.seed;
    o.protectedPercent = 0;
    if (r.depth == 0 || r.folders == 0 || r.pages == 0) {
        o.flat = r.depth == 0;
        o.folderPercent = 0;
        o.elements = r.pages;
        return o;
    }
    const int wanted = r.folders < 0 ? std::max(1, r.pages / 10) : r.folders;
    int bestError = -1;
    for (int percent = 1; percent < 100; ++percent) {
        const qint64 guess = qint64(r.pages) * 100 / (100 - percent);
        for (qint64 elements = std::max<qint64>(r.pages, guess - 3); elements <= guess + 3;
             ++elements) {
            const qint64 folders = std::max<qint64>(1, elements * percent / 100);
            if (elements - folders != r.pages || elements > std::numeric_limits<int>::max())
                continue;
            const int error = int(std::abs(folders - wanted));
            if (bestError < 0 || error < bestError) {
                bestError = error;
                o.folderPercent = percent;
                o.elements = int(elements);
            }
        }
    }
    if (bestError < 0)
        throw KvCliError(u"cannot shape %1 pages with %2 folders"_qs.arg(r.pages).arg(wanted));
    return o;
}

int Depth(const KvGeneratedNotebook& nb, const QString& id)
{
    int deepest = 0;
    for (const QString& child : nb.children.value(id)) {
        if (child.contains(u"Fldr"))
            deepest = std::max(deepest, 1 + Depth(nb, child));
    }
    return deepest;
}

// Nesting of a folder: 1 directly below a root.
int Nesting(const KvObject* folder)
{
    int n = 0;
    for (const KvObject* p = folder->Parent(); p; p = p->Parent())
        ++n;
    return n;
}

// Moves every folder nested deeper than depth up to the deepest level allowed, through the
// model, and stores the folders whose child lists changed.
void LimitDepth(const QString& dir, int depth)
{
    KvCliNotebook notebook(dir, true);
    notebook.Build();
    QSet<KvFolder*> changed;
    for (KvFolder* root : {notebook.Top(), notebook.Trash()}) {
        // Pre-order: a folder is moved before its own sub-folders are looked at.
        for (KvObject* obj : CollectDescendants(root)) {
            auto* folder = dynamic_cast<KvFolder*>(obj);
            if (!folder || Nesting(folder) <= depth)
                continue;
            KvFolder* anchor = folder->ParentFolder();
            while (Nesting(anchor) > depth - 1)
                anchor = anchor->ParentFolder();
            changed.insert(folder->ParentFolder());
            folder->SetParent(anchor, true);
            changed.insert(anchor);
        }
    }
    // Stored in pre-order too, so that the result does not depend on hashing.
    for (KvFolder* root : {notebook.Top(), notebook.Trash()}) {
        if (changed.contains(root))
            root->Store();
        for (KvObject* obj : CollectDescendants(root)) {
            auto* folder = dynamic_cast<KvFolder*>(obj);
            if (folder && changed.contains(folder))
                folder->Store();
        }
    }
}

// Protects count pages (not referrers), chosen by the seed, through the model: the page
// is loaded, given the password and stored, which encrypts its content file.
void Protect(const QString& dir, const KvGeneratedNotebook& nb, int count, const QString& password,
             quint32 seed)
{
    QStringList candidates;
    for (const QString& id : nb.pageIds) {
        if (!nb.referrers.contains(id))
            candidates.append(id);
    }
    if (count > candidates.size())
        throw KvCliError(u"only %1 pages can be protected"_qs.arg(candidates.size()));
    std::mt19937 rng(seed);
    std::shuffle(candidates.begin(), candidates.end(), rng);
    KvCliNotebook notebook(dir, true);
    for (int i = 0; i < count; ++i) {
        KvPage page(candidates[i], nullptr, true);
        page.Load(false, false);
        page.SetPassword(password, false);
        page.Store();
    }
}

} // namespace

namespace KvCliGenerate {

void Run(const Request& r, KvCliIo& io)
{
    const QFileInfo info(r.dir);
    if (info.exists() && !info.isDir())
        throw KvCliError(u"not a directory: %1"_qs.arg(r.dir));
    if (info.exists() && KvCliNotebook::HoldsNotebook(r.dir))
        throw KvCliError(u"%1 already holds a notebook"_qs.arg(r.dir));
    if (!QDir().mkpath(r.dir))
        throw KvCliError(u"cannot create %1"_qs.arg(r.dir));
    const KvGeneratorOptions options = Shape(r);
    const KvGeneratedNotebook nb = KvNotebookGenerator::Generate(r.dir, options);
    int depth = std::max(Depth(nb, u"TopFolder"_qs), Depth(nb, u"TrashFolder"_qs));
    if (r.depth > 0 && depth > r.depth) {
        LimitDepth(r.dir, r.depth);
        depth = r.depth;
    }
    if (r.protectedPages > 0)
        Protect(r.dir, nb, r.protectedPages, r.password, r.seed);
    io.OutLine(u"generated %1 pages (%2 referrers, %3 protected) and %4 folders, nested %5 "
               "deep, in %6"_qs.arg(
                   QString::number(nb.pageIds.size()), QString::number(nb.referrers.size()),
                   QString::number(r.protectedPages), QString::number(nb.folderIds.size()),
                   QString::number(depth), QFileInfo(r.dir).absoluteFilePath()));
}

} // namespace KvCliGenerate
