#include "richtext/kvformatcopy.h"

#include "richtext/textselection.h"

bool KvFormatCopy::ApplyTo(KvTextSelection& target)
{
    if (!m_source)
        return false;
    target.ApplyAttributes(*m_source, KvCharAttributes::All, {}, 0);
    if (!m_sticky)
        End();
    return true;
}

void KvFormatCopy::ToggleSticky(const KvCharAttributes& source)
{
    m_ignoreClick = true;
    if (m_sticky) {
        End();
        return;
    }
    m_sticky = true;
    if (!m_source)
        m_source = source;
}

void KvFormatCopy::End()
{
    m_source.reset();
    m_sticky = false;
}
