#pragma once

#include "app/kvlockdirectory.h"
#include "cli/kvclinotebook.h"
#include "elements/kvelementenv.h"
#include "elements/kvelementwindow.h"
#include "elements/kvpagetemplate.h"
#include "elements/kvpastesource.h"
#include "lists/kvbusy.h"
#include "lists/kvelementlists.h"

#include <memory>

class KvBrowseHistory;
class KvCliIo;
class KvNotebookLists;
class KvFolder;
class KvObject;
class KvPage;

// A data directory opened by a command that changes it, as the program's start-up opens
// it: refused with one line when the access is read-only or another instance holds the
// lock; the lock taken; the notebook built without writing a byte. The command checks
// every argument against it, then calls BeginChanges. SIGINT and SIGTERM only ask the
// command to stop after the current element. The end stores the model, writes the stores
// and releases the lock, in this order.
class KvCliSession
{
public:
    static constexpr int Interrupted = 130;

    KvCliSession(const QString& dir, KvCliIo& io);
    ~KvCliSession();
    KvCliSession(const KvCliSession&) = delete;
    KvCliSession& operator=(const KvCliSession&) = delete;

    // Every check passed: objects may write from now on.
    void BeginChanges();
    // The bookmarks, the saved search results and (when the settings keep it) this user's
    // browse history follow the elements that go; each is written once per command.
    void HookLists();
    // The data directory, with trailing "/".
    const QString& Dir() const { return m_nb->Dir(); }
    KvElementEnv& Env() { return m_env; }
    KvFolder& Top() const { return *m_nb->Top(); }
    KvFolder& Trash() const { return *m_nb->Trash(); }
    const KvAddStatus& Statuses() const { return m_nb->Statuses(); }

    // The element of id, else KvCliError "unknown id".
    KvObject& Element(const QString& id) const;
    KvFolder& Folder(const QString& id) const;
    KvPage& Page(const QString& id) const;
    // The ids without duplicates and without those that lie below another given one (they
    // go with it); unknown ids raise.
    QStringList Outermost(const QStringList& ids) const;

    // A signal asked the command to stop.
    bool StopRequested() const;
    // One line of output, passed on at once.
    void Print(const QString& line);
    KvCliIo& Io() { return m_io; }

private:
    KvCliIo& m_io;
    KvLockDirectory m_lock;
    std::unique_ptr<KvCliNotebook> m_nb;
    KvHeadlessWindow m_window;
    KvElementFactory m_factory;
    KvElementLists m_lists;
    KvPasteSource m_paste;
    KvBusy m_busy;
    KvPageTemplate m_template;
    KvElementEnv m_env;
    std::unique_ptr<KvNotebookLists> m_notebookLists;
    std::unique_ptr<KvBrowseHistory> m_history;
};

// A name given on the command line as the name rule makes it (KvNameRule::Clean); a
// KvCliError when nothing is left (5005) or it is longer than 100 characters.
QString KvCliName(const QString& given);
