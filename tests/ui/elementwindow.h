#pragma once

// The main window on a small hand-made notebook, for the tests of the element commands:
//
//   Notizen (TopFolder)
//     Projekte (Fldr0000001)
//       Plan (Page0000001)        "Plan-Text"
//       Notiz (Page0000002)       "Notiz-Text"
//       Alt (Fldr0000002)
//         Archiv (Page0000003)    "Archiv-Text"
//     Einkauf (Page0000004)       "Einkauf-Text"
//     Rezepte (Page0000005)       "Rezepte-Text"
//   Papierkorb (TrashFolder)
//
// Questions and dialogs are answered by the scripted prompter.
#include "app/kvlockdirectory.h"
#include "app/kvoptionsg.h"
#include "app/kvpaths.h"
#include "app/kvscriptedprompter.h"
#include "app/kvtexts.h"
#include "model/blowfishvcl.h"
#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "model/kvnotebookbuild.h"
#include "model/kvpage.h"
#include "model/kvpagepassword.h"
#include "model/kvpasswordbytes.h"
#include "richtext/texrichedit.h"
#include "store/kvdirstores.h"
#include "store/texinifile.h"
#include "store/texprofilefile.h"
#include "support/testenv.h"
#include "ui/kvtvfolder.h"
#include "ui/kvtvpage.h"
#include "ui/textreeview.h"
#include "ui/tmainf.h"
#include "ui/tnamef.h"
#include "ui/tobjselectf.h"
#include "ui/tpasswordf.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* os)
{
    *os << '[' << list.join(u", "_qs).toStdString() << ']';
}
QT_END_NAMESPACE

namespace korvtest {

inline QByteArray Rtf(const QString& text)
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\f0\\fs20 " + text.toUtf8() + "\\par}";
}

class ElementWindow : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KvPaths::ResetDataDirCache();
        KvPrompter::SetCurrent(&prompter);
        dir = env.Dir(u"notes"_qs);
        // The questions of the element commands are asked unless a test says otherwise.
        SetOption(u"MsgDelPageRef"_qs, false);
        SetOption(u"MsgDelFRef"_qs, false);
    }
    void TearDown() override
    {
        window.reset();
        KvPrompter::SetCurrent(nullptr);
        KvPaths::ResetDataDirCache();
        KvLockDirectory::SetProcessCheck({});
        KvDirStores::Close();
    }

    // --- the notebook on disk

    // Writes the notebook above; extra runs on the model before it is stored and closed.
    void MakeNotebook(const std::function<void(KvFolder& top, KvFolder& trash)>& extra = {})
    {
        KvDirStores::Reopen(dir);
        KvDirContext ctx;
        ctx.dataDir = dir;
        KvDirContext::SetCurrent(&ctx);
        {
            KvElementFactory f;
            KvNotebook nb = KvNotebookBuild::Build(f);
            KvFolder& top = *nb.top;
            top.SetName(u"Notizen"_qs);
            nb.trash->SetName(u"Papierkorb"_qs);
            KvFolder* projects = folder(f, u"Fldr0000001"_qs, top, u"Projekte"_qs);
            page(f, u"Page0000001"_qs, *projects, u"Plan"_qs);
            page(f, u"Page0000002"_qs, *projects, u"Notiz"_qs);
            KvFolder* old = folder(f, u"Fldr0000002"_qs, *projects, u"Alt"_qs);
            page(f, u"Page0000003"_qs, *old, u"Archiv"_qs);
            page(f, u"Page0000004"_qs, top, u"Einkauf"_qs);
            page(f, u"Page0000005"_qs, top, u"Rezepte"_qs);
            if (extra)
                extra(top, *nb.trash);
            top.Store();
            nb.trash->Store();
            for (KvObject* o : CollectDescendants(&top))
                o->Store();
            for (KvObject* o : CollectDescendants(nb.trash.get()))
                o->Store();
        }
        KvDirContext::SetCurrent(nullptr);
        KvDirStores::Close();
    }

    static KvFolder* folder(KvElementFactory& f, const QString& id, KvFolder& parent,
                            const QString& name)
    {
        KvFolder* folder = f.CreateFolder(id, &parent, true);
        folder->SetName(name);
        return folder;
    }
    KvPage* page(KvElementFactory& f, const QString& id, KvFolder& parent, const QString& name)
    {
        KvPage* p = f.CreatePage(id, &parent, true);
        p->SetName(name);
        WriteAll(dir + id + u".kvp"_qs, Rtf(name + u"-Text"_qs));
        return p;
    }
    // A referrer of target in parent.
    static KvPage* referrer(KvElementFactory& f, const QString& id, KvFolder& parent,
                            const QString& target)
    {
        KvDirStores::ObjectStore().WriteString(id, u"Ref2"_qs, target);
        KvPage* r = f.CreatePage(id, &parent, true);
        ResolveAllReferrers();
        return r;
    }
    // Protects a page with password "pw": the page store's keys and an encrypted file.
    void protect(const QString& id, const QString& text, bool copyProtection)
    {
        TexIniFile& pages = KvDirStores::PageStore();
        pages.WriteString(id, u"PWAskMode"_qs, u"1"_qs);
        pages.WriteString(id, u"PWBF"_qs, KvPagePassword::CheckValue(0, u"pw"_qs));
        pages.WriteString(id, u"EncSCl"_qs, u"0"_qs);
        pages.WriteString(id, u"PWCopy"_qs, copyProtection ? u"1"_qs : u"0"_qs);
        pages.WriteString(id, u"PWList"_qs, u"0"_qs);
        const BlowFishVCL cipher(KvPasswordBytes::Encode(u"pw"_qs));
        cipher.EncryptToFile(Rtf(text), dir + id + u".kvp"_qs, BlowFishVCL::DefaultBlockSize);
    }

    // A global option in the settings file; the commands read it anew.
    static void SetOption(const QString& key, const QVariant& value)
    {
        TexProfileFile settings(KvPaths::SettingsFile());
        if (value.typeId() == QMetaType::Bool)
            settings.WriteBool(KvOptionsG::Section, key, value.toBool());
        else
            settings.WriteInteger(KvOptionsG::Section, key, value.toInt());
        settings.UpdateFile();
    }

    // --- the window

    TMainF& Open(const QString& mode = u"/d"_qs)
    {
        window.reset();
        window = std::make_unique<TMainF>(QStringList{mode, dir});
        window->resize(1200, 800);
        window->show();
        window->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(window.get()));
        EXPECT_TRUE(WaitUntil([this] { return window->IdlePasses() > 0; }));
        return *window;
    }
    void Close()
    {
        window->close();
        window.reset();
        KvDirStores::Close();
    }

    TexTreeView* Tree() const { return window->findChild<TexTreeView*>(u"FolderTv"_qs); }
    QAction* A(const QString& name) const { return window->Action(name); }
    template <typename T = KvObject> static T* Find(const QString& id)
    {
        return dynamic_cast<T*>(FindObject(id));
    }
    static QTreeWidgetItem* NodeOf(const QString& id)
    {
        auto* bound = dynamic_cast<KvTreeBound*>(FindObject(id));
        return bound ? bound->Node() : nullptr;
    }
    // Shows the element as a click in the tree would.
    void Show(const QString& id)
    {
        ASSERT_TRUE(window->SelectObjectWithID(id)) << id.toStdString();
        window->FolderTvChange();
        Idle();
    }
    // The next idle pass has recomputed the command states.
    void Idle()
    {
        const int passes = window->IdlePasses();
        window->RequestIdle();
        ASSERT_TRUE(WaitUntil([&] { return window->IdlePasses() > passes; }));
    }
    TexRichEdit* Editor() const
    {
        auto* page = dynamic_cast<KvTVPage*>(window->ShownPage());
        return page ? page->EditorWidget() : nullptr;
    }
    // Opens the tree's context menu on the element's node and closes it again.
    void TreeMenuOn(const QString& id)
    {
        QTreeWidgetItem* node = NodeOf(id);
        ASSERT_NE(node, nullptr);
        Tree()->scrollToItem(node);
        window->FolderTvPopupMPopup(Tree()->visualItemRect(node).center());
        auto* menu = window->findChild<QMenu*>(u"FolderTvPopupM"_qs);
        ASSERT_TRUE(WaitUntil([menu] { return menu->isVisible(); }));
        menu->hide();
    }
    // Runs an item of the tree's context menu opened on the element's node.
    void RunTreeMenu(const QString& id, const QString& item)
    {
        TreeMenuOn(id);
        QAction* a = A(item);
        ASSERT_TRUE(a->isEnabled()) << item.toStdString();
        a->trigger();
        Idle();
    }
    // Runs an action through its trigger, as a menu would.
    void Run(const QString& action)
    {
        QAction* a = A(action);
        ASSERT_NE(a, nullptr) << action.toStdString();
        ASSERT_TRUE(a->isEnabled()) << action.toStdString();
        a->trigger();
        Idle();
    }

    // --- scripted answers

    // The name dialog answers name (and status) with OK; a null name cancels.
    void AnswerName(const QString& name, int status = -1)
    {
        prompter.AnswerDialogWith(
            [this, name, status] {
                TNameF* d = TNameF::Active();
                if (!d)
                    return int(QDialog::Rejected);
                named.append({d->windowTitle(), d->Name(), d->HasStatus()});
                if (name.isNull()) {
                    d->reject();
                    return d->result();
                }
                d->SetName(name);
                if (status >= 0)
                    d->SetStatus(status);
                d->accept();
                return d->result();
            },
            TNameF::DialogName);
    }
    // The chooser chooses id; an empty id cancels.
    void AnswerChoice(const QString& id)
    {
        prompter.AnswerDialogWith(
            [id] {
                TObjSelectF* c = TObjSelectF::Active();
                if (!c || id.isEmpty() || !c->Select(id))
                    return int(QDialog::Rejected);
                c->accept();
                return c->result();
            },
            TObjSelectF::DialogName);
    }
    void AnswerPassword(const QString& password)
    {
        prompter.AnswerDialogWith(
            [password] {
                TPasswordF::Active()->SetPassword(password);
                return int(QDialog::Accepted);
            },
            TPasswordF::DialogName);
    }

    // The children's names; folders in brackets.
    static QString Names(const QString& folderId)
    {
        QStringList names;
        if (KvObject* folder = FindObject(folderId)) {
            for (const KvObject* c : folder->Children())
                names.append(dynamic_cast<const KvFolder*>(c) ? u'[' + c->Name() + u']'
                                                              : c->Name());
        }
        return names.join(u',');
    }
    // The names of a node's children in the tree; folders in brackets.
    static QString NodeNames(const QString& folderId)
    {
        QStringList names;
        if (QTreeWidgetItem* node = NodeOf(folderId)) {
            for (int i = 0; i < node->childCount(); ++i) {
                QTreeWidgetItem* c = node->child(i);
                names.append(TexTreeView::NodeKind(c) == KvNodeKind::Folder
                                 ? u'[' + c->text(0) + u']'
                                 : c->text(0));
            }
        }
        return names.join(u',');
    }
    QByteArray Content(const QString& id) const { return ReadAll(dir + id + u".kvp"_qs); }

    // What the name dialog showed when it was answered.
    struct Named
    {
        QString title;
        QString preset;
        bool withStatus = false;
    };
    QList<Named> named;

    SandboxEnv env;
    KvScriptedPrompter prompter;
    QString dir;
    std::unique_ptr<TMainF> window;
};

} // namespace korvtest
