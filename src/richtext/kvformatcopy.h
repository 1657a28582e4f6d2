#pragma once

#include "richtext/charattributes.h"

#include <optional>
#include <utility>

class KvTextSelection;

// Format copy ("Format übertragen"): the character attributes of one selection, kept while
// armed and applied to the next selection the user makes. Only the adapter's attributes go
// over: no link target, no hidden text, no picture, no copy of the text.
class KvFormatCopy
{
public:
    bool Armed() const { return m_source.has_value(); }
    bool Sticky() const { return m_sticky; }
    const std::optional<KvCharAttributes>& Source() const { return m_source; }

    void Arm(const KvCharAttributes& source) { m_source = source; }
    // The attributes go to the target's selection as one step; unless sticky, format copy
    // ends. False when it was not armed.
    bool ApplyTo(KvTextSelection& target);
    // A double click on the button: sticky on (armed with source unless armed already) or
    // off (format copy ends). The click that belongs to the double click is to be ignored.
    void ToggleSticky(const KvCharAttributes& source);
    // True once after a double click: the click that came with it does nothing.
    bool TakeIgnoredClick() { return std::exchange(m_ignoreClick, false); }
    void End();

private:
    std::optional<KvCharAttributes> m_source;
    bool m_sticky = false;
    bool m_ignoreClick = false;
};
