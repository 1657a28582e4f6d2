#include "elements/kvpastesource.h"

void KvPasteSource::SetCopy(const QString& id)
{
    m_copyId = id;
    m_referrerId.clear();
}

void KvPasteSource::SetReferrer(const QString& id)
{
    m_copyId.clear();
    m_referrerId = id;
}

void KvPasteSource::Clear()
{
    m_copyId.clear();
    m_referrerId.clear();
}

void KvPasteSource::ForgetIds(const QStringList& ids)
{
    if (!m_copyId.isEmpty() && ids.contains(m_copyId))
        m_copyId.clear();
    if (!m_referrerId.isEmpty() && ids.contains(m_referrerId))
        m_referrerId.clear();
}
