// Reading every section of a 100,000-section store: through the snapshot, through the
// indexed store, and as a plain read of the same bytes for comparison.
#include "store/texinifile.h"
#include "store/texmeminifile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <benchmark/benchmark.h>

namespace {

constexpr int kSections = 100000;

struct Fixture
{
    QTemporaryDir dir;
    QString base;
    QStringList members;
    qint64 bytes = 0;

    Fixture()
    {
        base = dir.path() + u"/objprps"_qs;
        QByteArray member;
        int number = 0;
        auto flush = [&] {
            const QString path = base + u".%1"_qs.arg(++number, 3, 10, QLatin1Char('0'));
            QFile f(path);
            if (!f.open(QIODevice::WriteOnly))
                std::abort();
            f.write(member);
            members.append(path);
            bytes += member.size();
            member.clear();
        };
        for (int i = 1; i <= kSections; ++i) {
            const QByteArray id = QByteArray::number(i).rightJustified(7, '0');
            member += "[Page" + id + "]\r\nName=Page number " + QByteArray::number(i) +
                      "\r\nStatus=" + QByteArray::number(i % 14) +
                      "\r\nModified=01.02.2024 10:00:00\r\nParent=Fldr" + id + "\r\n";
            if (member.size() >= 40 * 1024)
                flush();
        }
        if (!member.isEmpty())
            flush();
    }
};

Fixture& fixture()
{
    static Fixture f;
    return f;
}

void BM_PlainRead(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        qint64 total = 0;
        for (const QString& path : std::as_const(f.members)) {
            QFile file(path);
            file.open(QIODevice::ReadOnly);
            total += file.readAll().size();
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
}

template <typename Reader> qint64 readAll(Reader& reader)
{
    qint64 sum = 0;
    const QStringList sections = reader.ReadSections();
    for (const QString& s : sections) {
        sum += reader.ReadString(s, u"Name"_qs, QString()).size();
        sum += reader.ReadInteger(s, u"Status"_qs, 0);
        sum += reader.ReadString(s, u"Parent"_qs, QString()).size();
    }
    if (sections.size() != kSections)
        std::abort();
    return sum;
}

void BM_MemIniFileReadAll(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        TexIniFile store(f.base, 40, true);
        TexMemIniFile snapshot(store);
        benchmark::DoNotOptimize(readAll(snapshot));
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
}

void BM_IndexedIniFileReadAll(benchmark::State& state)
{
    Fixture& f = fixture();
    for (auto _ : state) {
        TexIniFile store(f.base, 40, true);
        benchmark::DoNotOptimize(readAll(store));
    }
    state.SetBytesProcessed(state.iterations() * f.bytes);
}

} // namespace

BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MemIniFileReadAll)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_IndexedIniFileReadAll)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
