#pragma once

#include "app/kvtexts.h"
#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "model/kvobject.h"
#include "model/kvpage.h"
#include "store/kvdirstores.h"
#include "store/texinifile.h"
#include "support/testenv.h"

#include <gtest/gtest.h>
#include <memory>

// Readable failure messages: texts as text, not as bytes.
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '[' << list.join(u", "_qs).toStdString() << ']';
}

namespace korvtest {

// A data directory with the four stores of the model, installed as the current context.
class ModelFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = m_env.Dir(u"data"_qs);
        OpenStores();
        KvDirContext::SetCurrent(&m_ctx);
    }

    void TearDown() override
    {
        top.reset();
        trash.reset();
        KvDirContext::SetCurrent(nullptr);
        CloseStores();
    }

    void OpenStores()
    {
        KvDirStores::Reopen(m_dir);
        m_ctx.dataDir = m_dir;
    }

    void CloseStores() { KvDirStores::Close(); }

    // Flushes and opens the stores anew, so that reads come from the files.
    void ReopenStores()
    {
        CloseStores();
        OpenStores();
    }

    // The two roots with everything below them, read from the stores.
    void Build()
    {
        top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
        trash = std::make_unique<KvFolder>(u"TrashFolder"_qs, nullptr, KvFolder::TrashFolder, true);
        top->LoadChildren();
        trash->LoadChildren();
        ResolveAllReferrers();
    }

    void DestroyModel()
    {
        top.reset();
        trash.reset();
    }

    KvFolder* NewFolder(const QString& id, KvFolder* parent, const QString& name)
    {
        auto* f = new KvFolder(id, parent, KvFolder::NormalFolder, true);
        f->SetName(name);
        return f;
    }

    KvPage* NewPage(const QString& id, KvFolder* parent, const QString& name)
    {
        auto* p = new KvPage(id, parent, true);
        p->SetName(name);
        return p;
    }

    TexIniFile& Obj() { return KvDirStores::ObjectStore(); }
    TexIniFile& Fldr() { return KvDirStores::FolderStore(); }
    TexIniFile& Page() { return KvDirStores::PageStore(); }
    TexIniFile& Kwd() { return KvDirStores::KeywordStore(); }
    KvDirContext& Ctx() { return m_ctx; }
    const QString& Dir() const { return m_dir; }

    SandboxEnv m_env;
    QString m_dir;
    KvDirContext m_ctx;
    std::unique_ptr<KvFolder> top;
    std::unique_ptr<KvFolder> trash;
};

inline QString PageId(int n)
{
    return u"Page"_qs + QString::number(n).rightJustified(7, u'0');
}

inline QString FldrId(int n)
{
    return u"Fldr"_qs + QString::number(n).rightJustified(7, u'0');
}

} // namespace korvtest
