#include "modelfixture.h"
#include "platform/kvatomicfile.h"
#include "platform/kvfileseam.h"
#include "richtext/texrichdocument.h"

#include <functional>

using namespace korvtest;

namespace {

// A store that cannot be written: the error reaches the caller of Store, with the file and
// the reason, and the changes reach the disk at the next Store once the disk is back.
class StoreFailure : public ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        Build();
        folder = NewFolder(FldrId(1), top.get(), u"Ordner"_qs);
        page = NewPage(PageId(1), folder, u"Seite"_qs);
        top->Store();
    }
    void TearDown() override
    {
        KvFileSeam::Disarm();
        ModelFixture::TearDown();
    }

    KvFolder* folder = nullptr;
    KvPage* page = nullptr;
};

struct FailureCase
{
    const char* name;
    const char* member; // pattern of the member that fails
    std::function<void(KvFolder&, KvPage&)> change;
    std::function<void(KvFolder&, KvPage&)> store;
    // Reads the change back from a fresh store on the files.
    std::function<bool(const QString& dir)> onDisk;
};

void PrintTo(const FailureCase& c, std::ostream* os)
{
    *os << c.name;
}

bool FreshValue(const QString& dir, const char* base, const QString& section, const char* key,
                const QString& expected)
{
    TexIniFile fresh(dir + QString::fromUtf8(base), 40, true);
    return fresh.ReadString(section, QString::fromUtf8(key), QString()) == expected;
}

const FailureCase kCases[] = {
    {"object store: the name", "*/objprps.*", [](KvFolder& f, KvPage&) { f.SetName(u"Neu"_qs); },
     [](KvFolder& f, KvPage&) { f.Store(); },
     [](const QString& dir) { return FreshValue(dir, "objprps", FldrId(1), "Name", u"Neu"_qs); }},
    {"folder store: the status", "*/Fldrprps.*", [](KvFolder& f, KvPage&) { f.SetStatus(3); },
     [](KvFolder& f, KvPage&) { f.Store(); },
     [](const QString& dir) { return FreshValue(dir, "Fldrprps", FldrId(1), "Status", u"3"_qs); }},
    {"page store: the status", "*/Pageprps.*", [](KvFolder&, KvPage& p) { p.SetStatus(5); },
     [](KvFolder&, KvPage& p) { p.Store(); },
     [](const QString& dir) { return FreshValue(dir, "Pageprps", PageId(1), "Status", u"5"_qs); }},
    {"keyword store", "*/keywords.*", [](KvFolder&, KvPage& p) { p.SetKeywords(u"rot, blau"_qs); },
     [](KvFolder&, KvPage& p) { p.Store(); },
     [](const QString& dir) {
         return FreshValue(dir, "keywords", PageId(1), "Kwds", u"rot, blau"_qs);
     }},
};

class StoreFailureTable : public StoreFailure, public ::testing::WithParamInterface<FailureCase>
{
};

TEST_P(StoreFailureTable, ReachesTheCallerAndTheNextStoreWritesIt)
{
    const FailureCase& c = GetParam();
    c.change(*folder, *page);
    {
        KvFileSeam::Scope seam(
            {KvFileSeam::AnyWrite, QString::fromUtf8(c.member), 1, ENOSPC, true});
        try {
            c.store(*folder, *page);
            ADD_FAILURE() << "no error";
        } catch (const KvException& e) {
            EXPECT_TRUE(e.Message().contains(Dir())) << e.Message().toStdString();
            EXPECT_TRUE(e.Message().endsWith(u": "_qs + KvAtomicFile::ErrorString(ENOSPC)))
                << e.Message().toStdString();
        }
        EXPECT_FALSE(c.onDisk(Dir()));
    }
    c.store(*folder, *page);
    EXPECT_TRUE(c.onDisk(Dir()));
}

INSTANTIATE_TEST_SUITE_P(Stores, StoreFailureTable, ::testing::ValuesIn(kCases));

TEST_F(StoreFailure, UnsavedPageTextStaysInTheEditor)
{
    page->Load(false, false);
    page->GetEditor()->LoadPlainText(u"wichtig"_qs);
    page->GetEditor()->SetModified(true);
    const QString content = page->ContentFilePath();
    {
        KvFileSeam::Scope seam({KvFileSeam::AnyWrite, content, 1, EIO, true});
        try {
            page->Store();
            ADD_FAILURE() << "no error";
        } catch (const TexRichDocument::ESaveError& e) {
            EXPECT_TRUE(e.Message().contains(content)) << e.Message().toStdString();
            EXPECT_TRUE(e.Message().endsWith(KvAtomicFile::ErrorString(EIO)));
        }
        EXPECT_TRUE(page->GetEditor()->IsModified());
        EXPECT_FALSE(QFile::exists(content));
    }
    page->Store();
    EXPECT_FALSE(page->GetEditor()->IsModified());
    page->Unload();
    page->Load(false, false);
    EXPECT_EQ(page->GetEditor()->PlainText().trimmed(), u"wichtig"_qs);
}

} // namespace
