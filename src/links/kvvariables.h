#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class KvAddStatus;
class KvFolder;
class KvPage;
class QTextDocument;

// The values of the template variables for one page, or for a template's name. Each is
// the text that replaces its variable.
struct KvVariableValues
{
    QString user;
    QString title;
    QString folder;
    QString path;
    QString dir;
    QString state;
    QDateTime now;
    QDateTime modified; // of the content file; the current time when there is none yet
    QString keywords;

    // The value of variable number index (in the order of KvVariables::Names).
    QString Value(int index) const;

    // The values in a page's text: its name, folder, folder path (top folder down to its
    // folder, joined by pathDelimiter), status, content file time and keywords.
    static KvVariableValues ForPage(const KvPage& page, const KvAddStatus* catalogue,
                                    const QDateTime& now, const QString& pathDelimiter,
                                    const QString& dataDir);
    // The values of a page not made yet: name and status in folder, with keywords; no
    // content file.
    static KvVariableValues ForNewPage(const QString& name, int status, const QString& keywords,
                                       const KvFolder& folder, const KvAddStatus* catalogue,
                                       const QDateTime& now, const QString& pathDelimiter,
                                       const QString& dataDir);
    // The values in a template's name: the template's name, status, content file time and
    // keywords; the folder of the new page and its path including it.
    static KvVariableValues ForTemplateName(const KvPage& templ, const KvFolder& folder,
                                            const KvAddStatus* catalogue, const QDateTime& now,
                                            const QString& pathDelimiter, const QString& dataDir);
};

// The variables of templates and print headers, and the two ways they are replaced.
namespace KvVariables {

// In the order they are replaced.
const QStringList& Names();
// True when text holds a variable name (letter case counts).
bool Contains(const QString& text);
// The string form (names of templates, headers): the first occurrence of each variable,
// letter case counting, is replaced, in the order of the names.
QString ReplaceInString(const QString& text, const KvVariableValues& values);
// The rich-text form: every occurrence, letter case aside, variable after variable, each
// search starting again at the beginning, so that a variable inside an earlier value is
// replaced too; the text just inserted is not searched again for the same variable. A
// value takes the format of the name it replaces. The selection (start, length) follows
// the text: moved by what changed before it, kept out of replaced names.
void ReplaceInDocument(QTextDocument& doc, int& selStart, int& selLength,
                       const KvVariableValues& values);

} // namespace KvVariables
