// Building the whole model of a generated notebook from store snapshots, as opening a data
// directory does: both root folders, every folder and page, then the referrers bound.
#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "model/kvnotebookgenerator.h"
#include "store/kvdirstores.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>
#include <map>
#include <memory>

namespace {

struct Notebook
{
    QTemporaryDir dir;
    QString path;

    explicit Notebook(int elements, bool flat = false)
    {
        path = dir.path() + u'/';
        KvGeneratorOptions o;
        o.seed = 42;
        o.elements = elements;
        o.flat = flat;
        o.writePageFiles = false; // the build does not read content files
        KvNotebookGenerator::Generate(path, o);
    }
};

Notebook& notebook(int elements)
{
    static std::map<int, std::unique_ptr<Notebook>> notebooks;
    auto& nb = notebooks[elements];
    if (!nb)
        nb = std::make_unique<Notebook>(elements);
    return *nb;
}

void BM_BuildModel(benchmark::State& state)
{
    Notebook& nb = notebook(int(state.range(0)));
    KvDirContext ctx;
    ctx.dataDir = nb.path;
    ctx.writable = false;
    KvDirContext::SetCurrent(&ctx);
    for (auto _ : state) {
        KvDirStores::Reopen(nb.path);
        std::unique_ptr<KvFolder> top;
        std::unique_ptr<KvFolder> trash;
        {
            KvSnapshotScope snapshots;
            top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
            trash =
                std::make_unique<KvFolder>(u"TrashFolder"_qs, nullptr, KvFolder::TrashFolder, true);
            top->LoadChildren();
            trash->LoadChildren();
            ResolveAllReferrers();
        }
        benchmark::DoNotOptimize(top->ChildCount() + trash->ChildCount());
        state.PauseTiming();
        top.reset();
        trash.reset();
        state.ResumeTiming();
    }
    KvDirContext::SetCurrent(nullptr);
    KvDirStores::Close();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_BuildModel)->Arg(50000)->Arg(100000)->Unit(benchmark::kMillisecond)->Iterations(3);

// Storing one folder with all elements as direct children: its child list in sections of
// 200 and the continuation names.
void BM_StoreFlatFolder(benchmark::State& state)
{
    static std::map<int, std::unique_ptr<Notebook>> flat;
    auto& nb = flat[int(state.range(0))];
    if (!nb)
        nb = std::make_unique<Notebook>(int(state.range(0)), true);
    KvDirContext ctx;
    ctx.dataDir = nb->path;
    KvDirContext::SetCurrent(&ctx);
    KvDirStores::Reopen(nb->path);
    auto top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    {
        KvSnapshotScope snapshots;
        top->LoadChildren();
    }
    for (auto _ : state)
        top->Store();
    top.reset();
    KvDirContext::SetCurrent(nullptr);
    KvDirStores::Close();
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

BENCHMARK(BM_StoreFlatFolder)->Arg(10000)->Arg(20000)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
