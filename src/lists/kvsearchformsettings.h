#pragma once

#include "lists/kvsearchcrit.h"

#include <QDate>
#include <QString>

class TexProfileFile;

// What the search window keeps between its sessions (section "SearchF" of the settings
// file): the criteria of its controls, the full-path box and the width of its list's
// first column. The terms themselves live in the window's history boxes, the search folder
// nowhere; both stay empty here.
struct KvSearchFormSettings
{
    static inline const QString Section = u"SearchF"_qs;
    static constexpr int DefaultColumnWidth = 130;
    static constexpr int MinColumnWidth = 10;

    KvSearchCrit crit;
    bool showFullPath = false;
    int fldrColumnWidth = DefaultColumnWidth;

    // Missing keys take their defaults; a negative link or date condition reads as 0, one
    // above the last as the last; a day that is 0, missing or not a number is today.
    static KvSearchFormSettings Read(const TexProfileFile& file, const QDate& today);
    // Writes the keys (the day as a whole day number) without flushing.
    void Write(TexProfileFile& file) const;

    // Days since 30 December 1899, the form of KvSearchCrit::SDate.
    static double DayNumber(const QDate& day);
    // The day of a KvSearchCrit::SDate value (its fraction, the time of day, ignored).
    static QDate DayOf(double dayNumber);
};
