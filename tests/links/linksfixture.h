#pragma once

// A small notebook for the link and template tests:
//
//   Notizen (TopFolder)
//     Projekte (Fldr0000001)
//       Plan (Page0000001)
//     Einkauf (Page0000002)
//   Papierkorb (TrashFolder)
//     Alt (Page0000003)
#include "app/kvscriptedprompter.h"
#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "model/kvnotebookbuild.h"
#include "model/kvpage.h"
#include "store/kvdirstores.h"
#include "support/testenv.h"

#include <QLocale>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace korvtest {

inline QByteArray Rtf(const QString& text)
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 " + text.toUtf8() + "\\par}";
}

class LinksFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        m_dir = m_env.Dir(u"data"_qs);
        KvDirStores::Reopen(m_dir);
        m_ctx.dataDir = m_dir;
        KvDirContext::SetCurrent(&m_ctx);
        nb = KvNotebookBuild::Build(factory);
        nb.top->SetName(u"Notizen"_qs);
        nb.trash->SetName(u"Papierkorb"_qs);
        projects = factory.CreateFolder(u"Fldr0000001"_qs, nb.top.get());
        projects->SetName(u"Projekte"_qs);
        plan = page(u"Page0000001"_qs, *projects, u"Plan"_qs);
        shopping = page(u"Page0000002"_qs, *nb.top, u"Einkauf"_qs);
        old = page(u"Page0000003"_qs, *nb.trash, u"Alt"_qs);
        for (KvObject* o :
             {static_cast<KvObject*>(nb.top.get()), static_cast<KvObject*>(nb.trash.get()),
              static_cast<KvObject*>(projects)})
            o->Store();
    }
    void TearDown() override
    {
        nb.Reset();
        KvDirContext::SetCurrent(nullptr);
        KvDirStores::Close();
        QLocale::setDefault(QLocale::system());
    }

    KvPage* page(const QString& id, KvFolder& parent, const QString& name)
    {
        KvPage* p = factory.CreatePage(id, &parent);
        p->SetName(name);
        p->Store();
        WriteAll(p->ContentFilePath(), Rtf(name + u"-Text"_qs));
        return p;
    }

    SandboxEnv m_env;
    QString m_dir;
    KvDirContext m_ctx;
    KvElementFactory factory;
    KvNotebook nb;
    KvFolder* projects = nullptr;
    KvPage* plan = nullptr;
    KvPage* shopping = nullptr;
    KvPage* old = nullptr;
    KvScriptedPrompter prompter;
    KvPrompterScope prompterScope{prompter};
};

} // namespace korvtest
