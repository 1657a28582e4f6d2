#pragma once

#include "lists/kvelementlistener.h"

// What the paste command pastes: the copied page or folder (copy id) or the page a
// referrer is to stand for (referrer id); at most one of them is set, and it stays set
// after a paste. As the first listener of the element lists it forgets an element that is
// removed for good.
class KvPasteSource : public KvElementListener
{
public:
    const QString& CopyId() const { return m_copyId; }
    const QString& ReferrerId() const { return m_referrerId; }
    bool HasAny() const { return !m_copyId.isEmpty() || !m_referrerId.isEmpty(); }
    // A copy id names a page when it begins with "Page", else a folder.
    bool CopiesPage() const { return m_copyId.startsWith(u"Page"); }

    void SetCopy(const QString& id);
    void SetReferrer(const QString& id);
    void Clear();

    QString ListenerName() const override { return u"KvPasteSource"_qs; }
    void ForgetIds(const QStringList& ids) override;
    void Renewed(const QStringList&) override {}

private:
    QString m_copyId;
    QString m_referrerId;
};
