#pragma once

#include "platform/kvexception.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>
#include <optional>

class KvPropReader;
class TexIniFile;

// An element of the notebook: the top folder, the trash, a folder or a page. Its id names
// its section in every store. Children in the list are owned and destroyed with their
// parent; an object taken out of the list (RemoveChild, Detach) belongs to whoever took it.
// A removed object stays in memory, flagged, and refuses every further operation.
class KvObject
{
public:
    class EObjectRemoved : public KvException
    {
    public:
        explicit EObjectRemoved(const QString& name);
    };

    enum NotifyKind
    {
        NameChanged = 0,
        Stored = 1,
        Destroyed = 2,
        Removed = 3
    };

    static constexpr int ItemsPerSection = 200;
    static constexpr int MaxKeywordsLength = 1000;

    explicit KvObject(const QString& id);
    virtual ~KvObject();
    KvObject(const KvObject&) = delete;
    KvObject& operator=(const KvObject&) = delete;

    virtual void SetName(const QString& name);
    virtual void LoadChildren();
    virtual void LoadChildrenOfKind(const QString& prefix);
    virtual void Store();
    virtual void StoreKeywords();
    virtual void Remove();
    virtual void MoveUp();
    virtual void MoveDown();
    virtual void AddChild(KvObject* child, bool atEnd);
    virtual void RemoveChild(KvObject* child);
    virtual void CreateChild(const QString& id) = 0;
    virtual void CreateChildOfKind(const QString& id, const QString& prefix) = 0;
    virtual void OnTargetNotify(NotifyKind kind);
    virtual void PassToTarget(NotifyKind kind);
    virtual void EraseStoredSections();
    // Puts the children into the given order: the same children, permuted. Memory only;
    // the object is stored afterwards. Tree-bound folders move their nodes along.
    virtual void ReorderChildren(const QList<KvObject*>& order);

    bool IsRemoved() const { return m_removed; }
    const QString& Id() const;
    const QString& Name() const;
    int ChildCount() const;
    const QList<KvObject*>& Children() const;
    KvObject* Parent() const;
    bool HasChild(const QString& id) const;

    // The referrer side: id of the target, the bound target, the referrers of this object.
    const QString& Ref2() const;
    bool IsReferrer() const;
    KvObject* Target() const;
    QList<KvObject*> Referrers() const;
    // Continuation sections written or read for the children.
    QStringList ContinuationSections() const;

    void SetParent(KvObject* newParent, bool atEnd);
    void Detach();
    int IndexInParent() const;
    bool HasAncestor(const KvObject* obj) const;
    QString PathText(bool includeSelf, const QString& separator) const;
    void ResolveTarget();
    void AddReferrer(KvObject* obj);
    void RemoveReferrer(KvObject* obj);

    QString GetKeywords() const;
    void SetKeywords(const QString& text);
    bool AddKeyword(const QString& word);

    void NotifyReferrers(NotifyKind kind);

    // Id of the object being notified; empty when no notification runs.
    static const QString& NotificationGuard();
    // True while a notification of the object with that id is running.
    static bool IsBeingNotified(const QString& id);

protected:
    // Raises EObjectRemoved when the object was removed.
    void CheckRemoved() const;
    // Stores a newly constructed object unless the directory is read-only.
    void StoreAtConstruction();
    // Construction may write: the directory is writable and no KvReadOnlyConstruction runs.
    static bool ConstructionMayWrite();
    // The section of the page and keyword stores: Ref2 for a referrer, else the id.
    const QString& PropSection() const { return m_ref2.isEmpty() ? m_id : m_ref2; }
    // The name without notifying referrers (tree nodes that mirror a name).
    void SetNameField(const QString& name) { m_name = name; }
    // Deletes a child that was taken out of the list.
    static void Destroy(KvObject* obj);

private:
    friend void ResolveAllReferrers();
    void CollectChildIds(const QString& prefix, bool filter, QStringList& ids);
    void StoreSections(TexIniFile& store);
    // This object or an ancestor is being removed.
    bool InRemoval() const;

    bool m_removed = false;
    bool m_removing = false; // Remove is running
    QString m_id;
    QString m_name;
    std::optional<QString> m_pendingKeywords;
    QList<KvObject*> m_children;
    QSet<QString> m_childIds; // beside the list, so that adding stays O(1)
    KvObject* m_parent = nullptr;
    QList<KvObject*> m_referrers;
    KvObject* m_target = nullptr;
    QString m_ref2;
    QStringList m_continuations;
    // Continuation sections no longer named whose erasure has not reached the disk yet.
    QStringList m_unnamedSections;
    // The stored child list was not read yet; storing must not overwrite it.
    bool m_childListUnread = false;
};

// Objects constructed while it lives never write, even with an empty name: stand-ins
// such as the template page of a layout.
class KvReadOnlyConstruction
{
public:
    KvReadOnlyConstruction();
    ~KvReadOnlyConstruction();
    KvReadOnlyConstruction(const KvReadOnlyConstruction&) = delete;
    KvReadOnlyConstruction& operator=(const KvReadOnlyConstruction&) = delete;
    static bool Active();
};

// One element's id and its row in a list; the move command keeps result rows with it.
struct KvObjectPosition
{
    QString id;
    qint32 row = 0;
};

// The registry of live objects by id (not owning).
KvObject* FindObject(const QString& id);
// Binds every referrer whose target exists.
void ResolveAllReferrers();
// Every object below folder, each child followed by its own descendants.
QList<KvObject*> CollectDescendants(const KvObject* folder);
// Every id that a child list or a continuation of the object store names.
QSet<QString> FindListedIds(KvPropReader& store);
// Sections of the object store that no child list and no continuation names, in store order.
QStringList FindUnreferencedSections(KvPropReader& store);
// Number of registered objects.
int RegisteredObjectCount();
