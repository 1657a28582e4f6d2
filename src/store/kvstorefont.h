#pragma once

#include "store/kvvalueformat.h"

#include <QFont>

// A font as the stores keep it: the font itself plus the colour, pitch and character set
// that QFont does not carry. Pitch: 0 default, 1 variable, 2 fixed.
struct KvFontSpec
{
    QFont font;
    int color = KvColor::clWindowText;
    int pitch = 0;
    int charset = 1;

    bool operator==(const KvFontSpec&) const = default;
};

namespace KvFontText {

// "name,size,styles,pitch,color,charset", e.g. "Arial,10,BI,0,clWindowText,0".
QString Encode(const KvFontSpec& spec);
// Applies the fields of the text in turn; missing trailing fields leave their property as it
// is. The styles are cleared first.
void Decode(const QString& text, KvFontSpec& spec);

} // namespace KvFontText
