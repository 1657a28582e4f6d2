#pragma once

#include "lists/kvitemlist.h"
#include "lists/kvsearchcrit.h"

class KvAddStatus;

// A saved search result: the found elements as an item list in a section "List" + seven
// digits, with the criteria that found them, the time it was first saved (a day number,
// 0 until then) and the name the user gave it. The criteria keys follow the list's keys
// in the first section and survive every save of the list.
class KvSearchResult : public KvItemList
{
public:
    static inline const QString SectionPrefix = u"List"_qs;

    // Reads the result from the store.
    KvSearchResult(TexIniFile& store, const QString& section);
    // Reads the result from a snapshot of the store.
    KvSearchResult(TexIniFile& store, const QString& section, TexMemIniFile& snapshot);
    // A result not saved yet.
    KvSearchResult(TexIniFile& store, const QString& section, New);

    // The first write sets the time to now; criteria and name are written when they changed.
    void Write() override;
    bool Dirty() const override { return Changed() || m_critChanged || m_time == 0; }

    void SetCriteria(const KvSearchCrit& crit);
    const KvSearchCrit& Criteria() const { return m_crit; }
    void SetName(const QString& descr);
    const QString& Descr() const { return m_descr; }
    double Time() const { return m_time; }
    QString DisplayName(const KvAddStatus* catalogue) const;

protected:
    TexProfileFile::KeyValues ExtraKeys() const override;
    void ReadExtra(const QHash<QString, QString>& firstSection) override;

private:
    KvSearchCrit m_crit;
    double m_time = 0;
    QString m_descr;
    bool m_critChanged = false;
};
