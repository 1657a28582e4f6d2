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

// Generator options that give exactly the pages asked for and the fewest folders at or
// above the number asked for that the generator's whole-percent share allows.
KvGeneratorOptions GeneratorOptions(const KvCliGenerate::Request& r, int wanted)
{
    KvGeneratorOptions o;
    o.seed = r.seed;
    o.protectedPercent = 0;
    if (r.depth == 0 || wanted == 0 || r.pages == 0) {
        o.flat = r.depth == 0;
        o.folderPercent = 0;
        o.elements = r.pages;
        return o;
    }
    qint64 bestExcess = -1;
    // Without a number of folders the generator's own tenth is taken as it comes: removing
    // surplus folders costs a rescan of the directory each.
    const int first = r.folders < 0 ? 10 : 1;
    const int last = r.folders < 0 ? 10 : 99;
    for (int percent = first; percent <= last; ++percent) {
        const qint64 guess = qint64(r.pages) * 100 / (100 - percent);
        for (qint64 elements = std::max<qint64>(r.pages, guess - 3); elements <= guess + 3;
             ++elements) {
            const qint64 folders = std::max<qint64>(1, elements * percent / 100);
            if (elements - folders != r.pages || (r.folders >= 0 && folders < wanted) ||
                elements > std::numeric_limits<int>::max())
                continue;
            if (bestExcess < 0 || std::abs(folders - wanted) < bestExcess) {
                bestExcess = std::abs(folders - wanted);
                o.folderPercent = percent;
                o.elements = int(elements);
            }
        }
    }
    if (bestExcess < 0)
        throw KvCliError(u"cannot make %1 folders for %2 pages"_qs.arg(wanted).arg(r.pages));
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

struct Shape
{
    int folders = 0;
    int depth = 0;
};

// Through the model: removes the folders named in surplus (their children go to the
// folder above), moves every folder nested deeper than depth (when above 0) up to the
// deepest level allowed, and stores the folders whose child lists changed.
Shape Reshape(const QString& dir, const QStringList& surplus, int depth)
{
    KvCliNotebook notebook(dir, true);
    notebook.Build();
    QSet<KvFolder*> changed;
    for (qsizetype i = surplus.size() - 1; i >= 0; --i) {
        auto* folder = dynamic_cast<KvFolder*>(FindObject(surplus[i]));
        if (!folder || !folder->ParentFolder())
            continue;
        KvFolder* parent = folder->ParentFolder();
        const QList<KvObject*> children = folder->Children();
        for (KvObject* child : children)
            child->SetParent(parent, true);
        folder->Remove();
        changed.remove(folder);
        delete folder; // detached by Remove, so ours
        changed.insert(parent);
    }
    for (KvFolder* root : {notebook.Top(), notebook.Trash()}) {
        // Pre-order: a folder is moved before its own sub-folders are looked at.
        for (KvObject* obj : CollectDescendants(root)) {
            auto* folder = dynamic_cast<KvFolder*>(obj);
            if (depth <= 0 || !folder || Nesting(folder) <= depth)
                continue;
            KvFolder* anchor = folder->ParentFolder();
            while (Nesting(anchor) > depth - 1)
                anchor = anchor->ParentFolder();
            changed.insert(folder->ParentFolder());
            folder->SetParent(anchor, true);
            changed.insert(anchor);
        }
    }
    // Stored in pre-order, so that the bytes do not depend on hashing; counted on the way.
    Shape shape;
    for (KvFolder* root : {notebook.Top(), notebook.Trash()}) {
        if (changed.contains(root))
            root->Store();
        for (KvObject* obj : CollectDescendants(root)) {
            auto* folder = dynamic_cast<KvFolder*>(obj);
            if (!folder)
                continue;
            ++shape.folders;
            shape.depth = std::max(shape.depth, Nesting(folder));
            if (changed.contains(folder))
                folder->Store();
        }
    }
    return shape;
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
    const int wanted = r.depth == 0 ? 0 : r.folders < 0 ? std::max(1, r.pages / 10) : r.folders;
    KvGeneratorOptions options = GeneratorOptions(r, wanted);
    options.pageBytes = r.pageBytes;
    const KvGeneratedNotebook nb = KvNotebookGenerator::Generate(r.dir, options);
    Shape shape{int(nb.folderIds.size()),
                std::max(Depth(nb, u"TopFolder"_qs), Depth(nb, u"TrashFolder"_qs))};
    const QStringList surplus =
        r.folders < 0 ? QStringList()
                      : nb.folderIds.mid(std::min<qsizetype>(wanted, nb.folderIds.size()));
    if (!surplus.isEmpty() || (r.depth > 0 && shape.depth > r.depth))
        shape = Reshape(r.dir, surplus, r.depth);
    if (r.protectedPages > 0)
        Protect(r.dir, nb, r.protectedPages, r.password, r.seed);
    io.OutLine(u"generated %1 pages (%2 referrers, %3 protected) and %4 folders, nested %5 "
               "deep, in %6"_qs.arg(
                   QString::number(nb.pageIds.size()), QString::number(nb.referrers.size()),
                   QString::number(r.protectedPages), QString::number(shape.folders),
                   QString::number(shape.depth), QFileInfo(r.dir).absoluteFilePath()));
}

} // namespace KvCliGenerate
