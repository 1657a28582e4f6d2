#include "lists/kvkeywordpositioning.h"

int KvKeywordPositioning::TextChanged(const QString& fieldText, const QStringList& rows)
{
    m_pattern = fieldText.toUpper();
    if (m_pattern.startsWith(u'*'))
        m_pattern.remove(0, 1);
    m_contains = fieldText.contains(u'*');
    m_stepButtons = fieldText.startsWith(u'*') && fieldText.size() > 1;
    m_forward = true;
    if (m_pattern.isEmpty()) {
        m_notFound = false;
        return -1;
    }
    return FindFrom(rows, 0, int(rows.size()));
}

int KvKeywordPositioning::Next(const QStringList& rows, int selected)
{
    const int from = m_notFound && m_forward ? 0 : selected + 1;
    m_forward = true;
    m_contains = true;
    return FindFrom(rows, from, int(rows.size()));
}

int KvKeywordPositioning::Previous(const QStringList& rows, int selected)
{
    const int from = m_notFound && !m_forward ? int(rows.size()) - 1 : selected - 1;
    m_forward = false;
    m_contains = true;
    return FindFrom(rows, 0, from);
}

// Forward: rows from..to-1; backward: rows to down to 0.
int KvKeywordPositioning::FindFrom(const QStringList& rows, int from, int to)
{
    m_notFound = true;
    if (m_forward) {
        for (int row = std::max(0, from); row < to && row < rows.size(); ++row) {
            if (Fits(rows[row])) {
                m_notFound = false;
                return row;
            }
        }
    } else {
        for (int row = std::min(to, int(rows.size()) - 1); row >= 0; --row) {
            if (Fits(rows[row])) {
                m_notFound = false;
                return row;
            }
        }
    }
    return -1;
}

bool KvKeywordPositioning::Fits(const QString& row) const
{
    const QString upper = row.toUpper();
    return m_contains ? upper.contains(m_pattern) : upper.startsWith(m_pattern);
}
