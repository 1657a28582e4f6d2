#include "model/blowfishvcl.h"
#include "support/testenv.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <atomic>
#include <cstdlib>
#include <gtest/gtest.h>
#include <random>

// The largest single allocation while armed: a corrupt length must be rejected before
// anything is allocated for it.
namespace {
std::atomic<bool> g_armed{false};
std::atomic<size_t> g_largest{0};

void Note(size_t size)
{
    if (!g_armed.load(std::memory_order_relaxed))
        return;
    size_t seen = g_largest.load(std::memory_order_relaxed);
    while (size > seen && !g_largest.compare_exchange_weak(seen, size)) {
    }
}
} // namespace

#if defined(__SANITIZE_ADDRESS__)
// The sanitizer owns malloc; it reports every allocation to these hooks instead (declared
// here: not every compiler ships the header that declares it).
extern "C" int __sanitizer_install_malloc_and_free_hooks(void (*)(const volatile void*, size_t),
                                                         void (*)(const volatile void*));
namespace {
void MallocHook(const volatile void*, size_t size)
{
    Note(size);
}
void FreeHook(const volatile void*) {}
const int g_hooks = __sanitizer_install_malloc_and_free_hooks(MallocHook, FreeHook);
} // namespace
#else
// glibc's own entry points do the work.
extern "C" {
void* __libc_malloc(size_t);
void* __libc_calloc(size_t, size_t);
void* __libc_realloc(void*, size_t);
void __libc_free(void*);

void* malloc(size_t size)
{
    Note(size);
    return __libc_malloc(size);
}
void* calloc(size_t n, size_t size)
{
    Note(n * size);
    return __libc_calloc(n, size);
}
void* realloc(void* p, size_t size)
{
    Note(size);
    return __libc_realloc(p, size);
}
void free(void* p)
{
    __libc_free(p);
}
}
#endif

namespace {

constexpr size_t kSmallAllocation = 64 * 1024;

class AllocationWatch
{
public:
    AllocationWatch()
    {
        g_largest = 0;
        g_armed = true;
    }
    ~AllocationWatch() { g_armed = false; }
    size_t Largest() const { return g_largest; }
};

QByteArray Le32(quint32 v)
{
    const char bytes[4] = {char(v), char(v >> 8), char(v >> 16), char(v >> 24)};
    return QByteArray(bytes, 4);
}

QByteArray Header(quint32 encoded, quint32 plain)
{
    return QByteArray(Le32(encoded) + Le32(plain));
}

const QByteArray& ValidRecord()
{
    static const QByteArray record = BlowFishVCL(QByteArray("pw")).EncryptData("sixteen bytes!!!");
    return record;
}

struct CorruptCase
{
    const char* name;
    QByteArray bytes;
};

void PrintTo(const CorruptCase& c, std::ostream* os)
{
    *os << c.name;
}

std::vector<CorruptCase> CorruptCases()
{
    const QByteArray valid = ValidRecord();
    return {
        {"truncated length field", QByteArray("\x08\x00\x00", 3)},
        {"truncated plain length", Le32(8) + QByteArray("\x01", 1)},
        {"length field cut after a valid record", valid + QByteArray("\x10\x00", 2)},
        {"truncated data", valid.left(valid.size() - 1)},
        {"data shorter than a large announced length",
         Header(1048576, 1048576) + QByteArray(16, 'x')},
        {"plain length above encoded", Header(8, 9) + QByteArray(8, 'x')},
        {"plain length far above encoded", Header(8, 0xFFFFFFFFu) + QByteArray(8, 'x')},
        {"encoded above the limit", Header(1048584, 8) + QByteArray(16, 'x')},
        {"encoded at the top of the range", Header(0xFFFFFFF8u, 8) + QByteArray(16, 'x')},
        {"encoded not a multiple of 8", Header(12, 12) + QByteArray(12, 'x')},
        {"encoded not a multiple of 8 after a valid record",
         valid + Header(7, 7) + QByteArray(7, 'x')},
    };
}

class CorruptRecords : public ::testing::TestWithParam<CorruptCase>
{
protected:
    BlowFishVCL cipher{QByteArray("pw")};
    korvtest::SandboxEnv env;
};

TEST(AllocationWatchSelfCheck, SeesLargeAllocations)
{
    AllocationWatch watch;
    QByteArray big(1 << 20, 'x');
    EXPECT_GE(watch.Largest(), size_t(1 << 20));
}

TEST_P(CorruptRecords, InMemoryRaisesDecryptErrorWithoutLargeAllocations)
{
    size_t largest = 0;
    {
        AllocationWatch watch;
        EXPECT_THROW(cipher.DecryptData(GetParam().bytes), BlowFishVCL::EDecryptError);
        largest = watch.Largest();
    }
    EXPECT_LT(largest, kSmallAllocation);
}

TEST_P(CorruptRecords, FileRaisesDecryptErrorWithoutLargeAllocations)
{
    const QString source = env.Root() + u"Page0000001.kvp"_qs;
    const QString plain = env.Root() + u"plain.rtf"_qs;
    korvtest::WriteAll(source, GetParam().bytes);
    size_t largest = 0;
    {
        AllocationWatch watch;
        EXPECT_THROW(cipher.DecryptFile(source, plain), BlowFishVCL::EDecryptError);
        largest = watch.Largest();
    }
    EXPECT_LT(largest, kSmallAllocation);
    EXPECT_FALSE(QFile::exists(plain));
    QByteArray out;
    EXPECT_THROW(cipher.DecryptFileToMemory(source, out), BlowFishVCL::EDecryptError);
}

INSTANTIATE_TEST_SUITE_P(Table, CorruptRecords, ::testing::ValuesIn(CorruptCases()),
                         [](const ::testing::TestParamInfo<CorruptCase>& info) {
                             std::string name = info.param.name;
                             for (char& c : name)
                                 if (!std::isalnum(uchar(c)))
                                     c = '_';
                             return name;
                         });

TEST(CorruptRecordEdges, EmptyFileIsEmptyContent)
{
    // An empty plain file encrypts to an empty file, so an empty file decrypts to nothing.
    korvtest::SandboxEnv env;
    BlowFishVCL cipher(QByteArray("pw"));
    EXPECT_TRUE(cipher.DecryptData(QByteArray()).isEmpty());
    const QString source = env.Root() + u"empty.kvp"_qs;
    korvtest::WriteAll(source, QByteArray());
    ASSERT_TRUE(cipher.DecryptFile(source, env.Root() + u"plain"_qs));
    EXPECT_TRUE(korvtest::ReadAll(env.Root() + u"plain"_qs).isEmpty());
}

TEST(CorruptRecordEdges, AllowedExtremesStillDecrypt)
{
    BlowFishVCL cipher(QByteArray("pw"));
    // Empty records and a record of exactly the limit are well-formed.
    QByteArray bytes = Header(0, 0) + ValidRecord() + Header(0, 0);
    EXPECT_EQ(cipher.DecryptData(bytes), QByteArray("sixteen bytes!!!"));
    const QByteArray big(BlowFishVCL::MaxRecordLength, 'a');
    EXPECT_EQ(cipher.DecryptData(cipher.EncryptData(big, BlowFishVCL::MaxRecordLength)), big);
}

// Random damage to valid files never crashes: the result is plain bytes no longer than
// the input or EDecryptError.
TEST(CorruptRecordFuzz, MutatedFilesDecryptOrRaise)
{
    korvtest::SandboxEnv env;
    BlowFishVCL cipher(QByteArray("fuzz"));
    QByteArray plain(10000, Qt::Uninitialized);
    for (int i = 0; i < plain.size(); ++i)
        plain[i] = char(i % 97);
    const QByteArray original = cipher.EncryptData(plain, 1024);
    std::mt19937 rng(20261210u);
    const QString path = env.Root() + u"fuzz.kvp"_qs;
    int raised = 0;
    int decrypted = 0;
    for (int round = 0; round < 600; ++round) {
        QByteArray bytes = original;
        const int edits = 1 + int(rng() % 4);
        for (int e = 0; e < edits; ++e) {
            const qsizetype at = bytes.isEmpty() ? 0 : qsizetype(rng() % bytes.size());
            switch (rng() % 5) {
            case 0:
                if (!bytes.isEmpty())
                    bytes[at] = char(bytes[at] ^ char(1 + rng() % 255));
                break;
            case 1:
                bytes.truncate(at);
                break;
            case 2:
                bytes.insert(at, QByteArray(int(1 + rng() % 9), char(rng())));
                break;
            case 3:
                bytes.remove(at, qsizetype(1 + rng() % 9));
                break;
            default: {
                // Damage a length field of a record boundary of the original layout.
                const qsizetype record = qsizetype(rng() % 10) * (1024 + 8);
                if (record + 8 <= bytes.size())
                    bytes.replace(record + (rng() % 2) * 4, 4, Le32(quint32(rng())));
                break;
            }
            }
        }
        SCOPED_TRACE(round);
        const bool viaFile = round % 3 == 0;
        try {
            QByteArray out;
            if (viaFile) {
                korvtest::WriteAll(path, bytes);
                ASSERT_TRUE(cipher.DecryptFileToMemory(path, out));
            } else {
                out = cipher.DecryptData(bytes);
            }
            EXPECT_LE(out.size(), bytes.size());
            ++decrypted;
        } catch (const BlowFishVCL::EDecryptError&) {
            ++raised;
        }
    }
    EXPECT_GT(raised, 0);
    EXPECT_GT(decrypted, 0);
}

} // namespace
