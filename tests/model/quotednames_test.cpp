#include "model/kvnotebookbuild.h"
#include "modelfixture.h"

using namespace korvtest;

namespace {

// Names the user may type that the profile format treats specially.
const QStringList kNames = {
    u"\"Entwurf\""_qs,   u"'Entwurf'"_qs,   u"\"halb"_qs,      u"halb'"_qs, u"Er sagte \"ja\""_qs,
    u"Peter's Liste"_qs, u"'\"beide\"'"_qs, u"\"'beide'\""_qs, u"\"\""_qs,  u" Rand "_qs,
    u"\"x' "_qs,
};

class QuotedNames : public ModelFixture
{
protected:
    // Drops the model and builds it anew from the files, as opening the directory does.
    KvNotebook Reopen()
    {
        DestroyModel();
        ReopenStores();
        KvElementFactory plain;
        return KvNotebookBuild::Build(plain);
    }
};

TEST_F(QuotedNames, SurviveEveryReopenUnchanged)
{
    Build();
    KvFolder* folder = NewFolder(FldrId(1), top.get(), kNames.first());
    for (qsizetype i = 1; i < kNames.size(); ++i)
        NewPage(PageId(int(i)), folder, kNames[i]);
    for (KvObject* obj : CollectDescendants(top.get()))
        obj->Store();
    top->Store();

    for (int round = 1; round <= 5; ++round) {
        KvNotebook nb = Reopen();
        ASSERT_EQ(nb.top->ChildCount(), 1);
        KvObject* f = nb.top->Children().first();
        ASSERT_EQ(f->ChildCount(), kNames.size() - 1);
        EXPECT_EQ(f->Name(), kNames.first()) << "round " << round;
        for (qsizetype i = 1; i < kNames.size(); ++i)
            EXPECT_EQ(f->Children()[i - 1]->Name(), kNames[i]) << "round " << round;
        // Storing what was read writes it back as it was.
        for (KvObject* obj : CollectDescendants(nb.top.get()))
            obj->Store();
        nb.top->Store();
        if (HasFailure())
            return;
    }
}

} // namespace
