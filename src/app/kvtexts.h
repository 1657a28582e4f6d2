#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QHash>
#include <QString>
#include <QStringList>

// A hint split into the tooltip of a control and the text of the status bar.
struct KvHint
{
    QString tooltip;
    QString statusText;
};

// The numbered text table of the program (German), and the rules that turn
// references and message templates into the texts the user sees.
class KvTexts
{
public:
    // The text with that number; empty when the table has none.
    static QString Text(int number);

    // "Label#1000" and "#1000" become text 1000; "Label#rest" becomes "rest" when
    // "rest" is no number other than 0; a text without "#" stays as it is.
    static QString ResolveReference(const QString& text);
    // A hint given as a bare number becomes that text; any other hint becomes empty.
    static QString ResolveHintNumber(const QString& hint);
    // Replaces the first "%v%" in text by value.
    static QString FillPlaceholder(const QString& text, const QString& value);
    // Fills the placeholders one after the other, in reading order.
    static QString FillPlaceholders(const QString& text, const QStringList& values);
    // Text number with its placeholders filled.
    static QString Message(int number, const QStringList& values = {});

    // A date and time as messages show them, in the German form "31.12.2024 23:59".
    static QString DateTimeText(const QDateTime& dateTime);

    // "short|long": short is the tooltip, long the status-bar text. Without "|" the
    // text serves as both; "|long" gives no tooltip.
    static KvHint SplitHint(const QString& hint);

    // Parses the table file format: "NUMBER<TAB>text" per line, "#" lines are
    // comments, "\r\n", "\t" and "\\" inside a text are escapes.
    static QHash<int, QString> ParseTable(const QByteArray& utf8);
    // Turns the escapes of the table file into the characters they stand for.
    static QString Unescape(const QString& text);
};
