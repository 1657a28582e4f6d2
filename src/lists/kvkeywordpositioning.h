#pragma once

#include <QString>
#include <QStringList>

// Positioning the keyword list by typing: the field's text, upper case, is looked for at
// the start of each row, or anywhere in it when the text holds a "*" (a leading "*" is not
// part of the pattern). Next and previous continue a search that began with "*". The
// answers are row indexes to select, -1 when nothing fits (the field then shows red).
class KvKeywordPositioning
{
public:
    // The field's text changed; searches all rows from the first. An empty pattern only
    // takes the red away.
    int TextChanged(const QString& fieldText, const QStringList& rows);
    // From the row after the selected one, or from the first row when the last search
    // forward found nothing.
    int Next(const QStringList& rows, int selected);
    // From the row before the selected one backwards, or from the last row when the last
    // search backward found nothing.
    int Previous(const QStringList& rows, int selected);

    bool NotFound() const { return m_notFound; }
    // The next and previous buttons show only for a text that began with "*" and has more.
    bool ShowsStepButtons() const { return m_stepButtons; }

private:
    int FindFrom(const QStringList& rows, int from, int to);
    bool Fits(const QString& row) const;

    QString m_pattern;
    bool m_contains = false;
    bool m_forward = true;
    bool m_notFound = false;
    bool m_stepButtons = false;
};
