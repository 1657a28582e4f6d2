#pragma once

#include "richtext/charattributes.h"
#include "richtext/paraattributes.h"

#include <QTextCharFormat>
#include <optional>

class QTextCursor;

// The selection of a page's text as the attribute commands and the text styles see it: the
// page document without a view, or the editor showing it.
class KvTextSelection
{
public:
    virtual ~KvTextSelection() = default;

    // The character attributes of the selection's first character (the typing format
    // without a selection), what it does not set read from the page's layout font.
    virtual KvCharAttributes SelectionCharAttributes() const = 0;
    // The attributes of the selection's first paragraph.
    virtual KvParaAttributes SelectionParagraph() const = 0;
    // Sets the fields of charMask on the selection's characters and those of paraMask on
    // its paragraphs, as one undo step.
    virtual void ApplyAttributes(const KvCharAttributes& chars, unsigned charMask,
                                 const KvParaAttributes& para, unsigned paraMask) = 0;

protected:
    // ApplyAttributes on a cursor over the selection, as one edit block. Without a
    // selection the answer is the format for typing that the character fields give.
    static std::optional<QTextCharFormat> applyOn(QTextCursor& cursor,
                                                  const KvCharAttributes& chars, unsigned charMask,
                                                  const KvParaAttributes& para, unsigned paraMask);
};
