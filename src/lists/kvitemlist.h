#pragma once

#include "lists/kvelementlistener.h"
#include "platform/kvexception.h"
#include "store/texprofilefile.h"

#include <QHash>
#include <QSet>
#include <QStringList>
#include <memory>

class KvItemView;
class KvObject;
class TexIniFile;
class TexMemIniFile;

// An ordered list of element ids kept in one section of a property store, continued in
// "Ext" sections of 200 items each: "Item" + a running seven-digit number per id,
// "Continuation" naming the next section, "ActItem" (first section only) the selected
// entry. Optionally bound to a view that shows one row per listed element that still
// exists; ids of elements that are gone stay listed until the list is saved without them.
// Changes stay in memory until Save. As a listener of the element lists it forgets
// elements that go and, when writable, saves itself once at the end of their batch.
class KvItemList : public KvElementListener
{
public:
    class EItemListRemoved : public KvException
    {
    public:
        EItemListRemoved();
    };

    static constexpr int ItemsPerSection = 200;
    static constexpr int StoreSizeLimitKb = 40;

    // Opens a store of its own on storePath (members of 40 KB, no section index) and loads.
    KvItemList(const QString& storePath, const QString& section);
    // Shares store, which must outlive the list, and loads from it.
    KvItemList(TexIniFile& store, const QString& section);
    // Shares store and loads from snapshot, a snapshot of it: many lists read in one pass.
    KvItemList(TexIniFile& store, const QString& section, TexMemIniFile& snapshot);
    // Shares store for a list that is not stored yet: nothing is read.
    struct New
    {
    };
    KvItemList(TexIniFile& store, const QString& section, New);
    // Copies every field; a store the source owns is duplicated.
    KvItemList(const KvItemList& other);
    KvItemList& operator=(const KvItemList& other);
    ~KvItemList() override;

    // Persistence. Save writes the whole list when it changed (the first section replaced
    // in one step, keeping the keys a derived list adds), else only the selected entry, and
    // flushes the store; Write does the same without the flush, for several lists that are
    // written with one flush.
    void Save();
    virtual void Write();
    virtual void Load();
    void LoadFrom(TexMemIniFile& snapshot);
    // Empties the list, erases its sections, writes the store and marks the list removed.
    virtual void Remove();
    void EraseSections();
    // With a bound view: remembers and writes the selected row's element as ActItem.
    virtual void StoreActItem();

    // Binds the list to view (null: unbinds, the rows stay) and shows its rows, the
    // remembered ActItem selected.
    void AttachView(KvItemView* view, bool fullPath);
    KvItemView* View() const { return m_view; }
    bool FullPath() const { return m_fullPath; }
    // The rows of the bound view built again (elements renamed or moved), the selection
    // kept.
    void RebuildRows();

    // Appends obj's id (null: nothing); a listed id is not added again. show: its row is
    // appended and selected (a listed one only selected). Returns its 1-based position.
    int Add(const KvObject* obj, bool show);
    bool RemoveObject(const KvObject* obj);
    bool RemoveId(const QString& id);
    // The id at the 0-based index; an index beyond the end does nothing.
    bool RemoveAt(int index);
    // Appends the ids not listed yet, leaving the rows as they are.
    void AddIds(const QStringList& ids);
    // Every listed id of the set goes in one pass, with its row; answers how many.
    int RemoveIds(const QSet<QString>& ids);
    void ClearIds(bool keepRows);
    virtual void Clear();
    // The ids at index and index - 1 (index + 1) change places, and so do their rows.
    virtual bool MoveUp(int index);
    virtual bool MoveDown(int index);
    // The element's id changes places with that of the neighbouring row above (below):
    // the nearest listed element that still exists. False when there is none.
    bool MoveRow(const QString& id, bool up);
    // 1-based position; 0 when absent.
    int IndexOf(const QString& id) const;
    bool Contains(const QString& id) const;

    const QStringList& Ids() const;
    int Count() const;
    const QString& Section() const { return m_section; }
    const QStringList& ContinuationSections() const { return m_continuations; }
    const QString& ActItem() const { return m_actItem; }
    bool Changed() const { return m_changed; }
    // Something waits for the next Save (the ids, or what a derived list adds).
    virtual bool Dirty() const { return m_changed; }
    bool IsRemoved() const { return m_removed; }
    TexIniFile& Store() const { return *m_store; }

    // Whether the list hooks may save the list (the directory is writable).
    void SetWritable(bool writable) { m_writable = writable; }
    bool Writable() const { return m_writable; }
    void SetListenerName(const QString& name) { m_listenerName = name; }

    // KvElementListener
    QString ListenerName() const override { return m_listenerName; }
    void ForgetIds(const QStringList& ids) override;
    void Renewed(const QStringList& ids) override;
    void EndBatch(bool save) override;

protected:
    void CheckRemoved() const;
    void SetChanged() { m_changed = true; }
    // Keys a derived list keeps in the first section after the list's own.
    virtual TexProfileFile::KeyValues ExtraKeys() const { return {}; }
    // The first section's keys and values as loaded (the first of a repeated key).
    virtual void ReadExtra(const QHash<QString, QString>& firstSection) { (void)firstSection; }

private:
    void copyFrom(const KvItemList& other);
    void writeSections();
    // The rows of ids a and b change places.
    void swapAt(int a, int b);
    QString selectedListedId() const;

    QString m_section;
    std::unique_ptr<TexIniFile> m_ownedStore;
    TexIniFile* m_store = nullptr;
    QStringList m_ids;
    QSet<QString> m_idSet;
    QStringList m_continuations;
    KvItemView* m_view = nullptr;
    bool m_fullPath = false;
    QString m_actItem;
    bool m_changed = false;
    bool m_removed = false;
    bool m_writable = false;
    QString m_listenerName = u"KvItemList"_qs;
};
