#pragma once

#include "app/kvscriptedprompter.h"
#include "app/kvtexts.h"
#include "elements/kvelementenv.h"
#include "elements/kvelementids.h"
#include "elements/kvelementwindow.h"
#include "elements/kvpagetemplate.h"
#include "elements/kvpastesource.h"
#include "lists/kvbusy.h"
#include "lists/kvelementlists.h"
#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "model/kvnotebookbuild.h"
#include "model/kvpage.h"
#include "store/kvdirstores.h"
#include "store/kvstorebatch.h"
#include "store/texinifile.h"
#include "support/testenv.h"

#include <gtest/gtest.h>
#include <memory>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '[' << list.join(u", "_qs).toStdString() << ']';
}

namespace korvtest {

// The window as the operations see it: records what they ask of it and answers from a
// script.
class FakeElementWindow : public KvElementWindow
{
public:
    QStringList calls;                   // "show Page0000001", "check Fldr0000002 save", ...
    QList<KvNameRequest> nameAsks;       // every TNameF request
    QList<std::optional<QString>> names; // answers: a name, or none for Cancel
    QList<QString> choices;              // ids the chooser returns, empty for Cancel
    int stopAfter = -1;                  // StopRequested answers true from this call on
    int stopCalls = 0;
    bool progressOpen = false;
    int progressSteps = 0;

    void CheckPointer(KvObject& obj, bool saveFirst) override
    {
        calls.append(u"check "_qs + obj.Id() + (saveFirst ? u" save"_qs : QString()));
    }
    void StoreFolder(KvFolder& folder) override { folder.Store(); }
    bool AskName(KvNameRequest& request) override
    {
        nameAsks.append(request);
        const std::optional<QString> answer = names.isEmpty() ? std::nullopt : names.takeFirst();
        if (!answer)
            return false;
        request.name = *answer;
        return true;
    }
    KvObject* ChooseElement(KvChooseKind, KvObject*) override
    {
        const QString id = choices.isEmpty() ? QString() : choices.takeFirst();
        return id.isEmpty() ? nullptr : FindObject(id);
    }
    void ShowElement(KvObject& obj) override { calls.append(u"show "_qs + obj.Id()); }
    void SelectElement(KvObject& obj) override { calls.append(u"select "_qs + obj.Id()); }
    void FollowExpansion(KvFolder& source, KvFolder& copy) override
    {
        calls.append(u"expand "_qs + source.Id() + u"->"_qs + copy.Id());
    }
    void TabsFollowOrder(KvFolder& folder) override { calls.append(u"tabs "_qs + folder.Id()); }
    void StatusText(const QString&) override {}
    void CommandsChanged() override {}
    void TreeBulkUpdate(const std::function<void()>& work) override { work(); }
    void ProgressOpen(const QString&, int) override { progressOpen = true; }
    void ProgressText(const QString&) override {}
    void ProgressStep() override { ++progressSteps; }
    void ProgressClose() override { progressOpen = false; }
    bool StopRequested() override { return stopAfter >= 0 && ++stopCalls > stopAfter; }

    QStringList CallsStarting(const QString& prefix) const
    {
        QStringList out;
        for (const QString& c : calls) {
            if (c.startsWith(prefix))
                out.append(c);
        }
        return out;
    }
};

// A list that records what it is told.
class FakeListener : public KvElementListener
{
public:
    explicit FakeListener(QString name = u"fake"_qs) : m_name(std::move(name)) {}
    QString ListenerName() const override { return m_name; }
    void ForgetIds(const QStringList& ids) override
    {
        if (throws)
            throw KvException(u"the list is broken"_qs);
        forgotten += ids;
    }
    void Renewed(const QStringList& ids) override { renewed += ids; }
    void BeginBatch() override { ++begins; }
    void EndBatch(bool save) override
    {
        ++ends;
        if (save)
            ++saves;
    }
    void Reset() { *this = FakeListener(m_name); }

    QStringList forgotten;
    QStringList renewed;
    int begins = 0;
    int ends = 0;
    int saves = 0;
    bool throws = false;

private:
    QString m_name;
};

// The template seam as a recorder.
class FakeTemplate : public KvPageTemplate
{
public:
    Proposal Propose(KvFolder& folder) override
    {
        proposed.append(folder.Id());
        return proposal;
    }
    void Fill(KvFolder& folder, KvPage& page) override
    {
        // What Fill may rely on: the page is stored, its folder lists it.
        filled.append(page.Id());
        storedWhenFilled =
            KvDirStores::ObjectStore().SectionExists(page.Id()) && folder.HasChild(page.Id());
    }

    Proposal proposal{u"Vorlage"_qs, 3};
    QStringList proposed;
    QStringList filled;
    bool storedWhenFilled = false;
};

// A data directory with a hand-made notebook, the model built from it, and the element
// operations' environment with fakes.
class ElementsFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_dir = m_sandbox.Dir(u"data"_qs);
        KvDirStores::Reopen(m_dir);
        m_ctx.dataDir = m_dir;
        KvDirContext::SetCurrent(&m_ctx);
        Build();
        lists.AddFirst(&paste);
        lists.Add(&listener);
        lists.SetReporter([this](const QString& m) { reports.append(m); });
        env.window = &window;
        env.factory = &factory;
        env.lists = &lists;
        env.busy = &busy;
        env.pageTemplate = &pageTemplate;
        env.paste = &paste;
        env.options = KvElementOptions{};
    }

    void TearDown() override
    {
        nb.Reset();
        KvDirContext::SetCurrent(nullptr);
        KvDirStores::Close();
    }

    void Build()
    {
        nb = KvNotebookBuild::Build(factory);
        env.top = nb.top.get();
        env.trash = nb.trash.get();
    }

    // Destroys the model, flushes and reopens the stores, builds again from the files.
    void Reload()
    {
        nb.Reset();
        KvDirStores::Close();
        KvDirStores::Reopen(m_dir);
        Build();
    }

    KvFolder& Top() { return *nb.top; }
    KvFolder& Trash() { return *nb.trash; }

    KvFolder* AddFolder(KvFolder& parent, const QString& name)
    {
        KvFolder* f = factory.CreateFolder(KvElementIds::NewFolderId(), &parent);
        f->SetName(name);
        f->Store();
        parent.Store();
        return f;
    }
    KvPage* AddPage(KvFolder& parent, const QString& name, const QByteArray& rtf = {})
    {
        KvPage* p = factory.CreatePage(KvElementIds::NewPageId(), &parent);
        p->SetName(name);
        p->Store();
        parent.Store();
        if (!rtf.isEmpty())
            WriteAll(p->ContentFilePath(), rtf);
        return p;
    }
    // A referrer of target in parent, written as the stores hold one.
    KvPage* AddReferrer(KvFolder& parent, KvPage& target)
    {
        const QString id = KvElementIds::NewPageId();
        KvDirStores::ObjectStore().WriteString(id, u"Ref2"_qs, target.Id());
        KvPage* r = factory.CreatePage(id, &parent);
        parent.Store();
        return r;
    }

    template <typename T = KvObject> T* Find(const QString& id)
    {
        return dynamic_cast<T*>(FindObject(id));
    }

    // The children's names; folders in brackets.
    static QString Names(const KvObject& folder)
    {
        QStringList names;
        for (const KvObject* c : folder.Children())
            names.append(dynamic_cast<const KvFolder*>(c) ? u'[' + c->Name() + u']' : c->Name());
        return names.join(u',');
    }

    const QString& Dir() const { return m_dir; }

    SandboxEnv m_sandbox;
    QString m_dir;
    KvDirContext m_ctx;
    KvElementFactory factory;
    KvNotebook nb;
    FakeElementWindow window;
    KvElementLists lists;
    KvPasteSource paste;
    FakeListener listener;
    KvBusy busy;
    FakeTemplate pageTemplate;
    QStringList reports;
    KvScriptedPrompter prompter;
    KvPrompterScope prompterScope{prompter};
    KvElementEnv env;
};

} // namespace korvtest
