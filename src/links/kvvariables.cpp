#include "links/kvvariables.h"

#include "app/kvpaths.h"
#include "app/kvtexts.h"
#include "links/kvdatetimetext.h"
#include "model/kvaddstatus.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"

#include <QFileInfo>
#include <QTextCursor>
#include <QTextDocument>

namespace {

enum Variable
{
    User,
    Title,
    Folder,
    Path,
    Dir,
    State,
    Date,
    ModDateTime,
    Time,
    Keywords,
    Day
};

constexpr int kSunday = 6000;

// Where a position goes when [at, at + removed) becomes inserted characters: before it
// stays, after it shifts, inside it goes to the start (or, for an end, to the new end).
int Follow(int pos, int at, int removed, int inserted, bool isEnd)
{
    if (pos <= at)
        return pos;
    if (pos >= at + removed)
        return pos + inserted - removed;
    return isEnd ? at + inserted : at;
}

QString FolderPath(const KvFolder& folder, const QString& delimiter)
{
    return folder.PathText(true, delimiter);
}

} // namespace

QString KvVariableValues::Value(int index) const
{
    switch (index) {
    case User:
        return user;
    case Title:
        return title;
    case Folder:
        return folder;
    case Path:
        return path;
    case Dir:
        return dir;
    case State:
        return state;
    case Date:
        return KvDateTimeText::Date(now.date());
    case ModDateTime:
        return KvDateTimeText::Moment(modified.isValid() ? modified : now);
    case Time:
        return KvDateTimeText::Time(now.time());
    case Keywords:
        return keywords;
    case Day:
        // Qt counts Monday 1 ... Sunday 7; the texts begin with Sunday.
        return KvTexts::Text(kSunday + now.date().dayOfWeek() % 7);
    default:
        return {};
    }
}

KvVariableValues KvVariableValues::ForPage(const KvPage& page, const KvAddStatus* catalogue,
                                           const QDateTime& now, const QString& pathDelimiter,
                                           const QString& dataDir)
{
    KvVariableValues v;
    v.user = KvPaths::UserName();
    v.title = page.Name();
    if (const auto* folder = dynamic_cast<const KvFolder*>(page.Parent())) {
        v.folder = folder->Name();
        v.path = FolderPath(*folder, pathDelimiter);
    }
    v.dir = dataDir;
    v.state = StatusText(page.GetStatus(), catalogue);
    v.now = now;
    if (QFileInfo::exists(page.ContentReadPath()))
        v.modified = page.ContentFileTime();
    v.keywords = page.GetKeywords();
    return v;
}

KvVariableValues KvVariableValues::ForNewPage(const QString& name, int status,
                                              const QString& keywords, const KvFolder& folder,
                                              const KvAddStatus* catalogue, const QDateTime& now,
                                              const QString& pathDelimiter, const QString& dataDir)
{
    KvVariableValues v;
    v.user = KvPaths::UserName();
    v.title = name;
    v.folder = folder.Name();
    v.path = FolderPath(folder, pathDelimiter);
    v.dir = dataDir;
    v.state = StatusText(status, catalogue);
    v.now = now;
    v.keywords = keywords;
    return v;
}

KvVariableValues KvVariableValues::ForTemplateName(const KvPage& templ, const KvFolder& folder,
                                                   const KvAddStatus* catalogue,
                                                   const QDateTime& now,
                                                   const QString& pathDelimiter,
                                                   const QString& dataDir)
{
    KvVariableValues v = ForNewPage(templ.Name(), templ.GetStatus(), templ.GetKeywords(), folder,
                                    catalogue, now, pathDelimiter, dataDir);
    if (QFileInfo::exists(templ.ContentReadPath()))
        v.modified = templ.ContentFileTime();
    return v;
}

namespace KvVariables {

const QStringList& Names()
{
    static const QStringList names{u"&USER"_qs, u"&TITLE"_qs,    u"&FOLDER"_qs, u"&PATH"_qs,
                                   u"&DIR"_qs,  u"&STATE"_qs,    u"&DATE"_qs,   u"&MODDATETIME"_qs,
                                   u"&TIME"_qs, u"&KEYWORDS"_qs, u"&DAY"_qs};
    return names;
}

bool Contains(const QString& text)
{
    for (const QString& name : Names()) {
        if (text.contains(name))
            return true;
    }
    return false;
}

QString ReplaceInString(const QString& text, const KvVariableValues& values)
{
    QString result = text;
    const QStringList& names = Names();
    for (int i = 0; i < names.size(); ++i) {
        const qsizetype at = result.indexOf(names[i]);
        if (at >= 0)
            result.replace(at, names[i].size(), values.Value(i));
    }
    return result;
}

void ReplaceInDocument(QTextDocument& doc, int& selStart, int& selLength,
                       const KvVariableValues& values)
{
    const QStringList& names = Names();
    const int last = doc.characterCount() - 1;
    selStart = std::clamp(selStart, 0, last);
    selLength = std::clamp(selLength, 0, last - selStart);
    QTextCursor block(&doc);
    block.beginEditBlock();
    for (int i = 0; i < names.size(); ++i) {
        const QString& name = names[i];
        const QString value = values.Value(i);
        int from = 0;
        for (;;) {
            QTextCursor found = doc.find(name, from);
            if (found.isNull())
                break;
            const int at = found.selectionStart();
            const int length = found.selectionEnd() - at;
            // The value looks like the name it replaces.
            QTextCursor first(&doc);
            first.setPosition(at + 1);
            const QTextCharFormat format = first.charFormat();
            found.insertText(value, format);
            // A caret stays a caret; a selection keeps what is left of it.
            const int end = Follow(selStart + selLength, at, length, int(value.size()), true);
            selStart = Follow(selStart, at, length, int(value.size()), false);
            selLength = selLength == 0 ? 0 : std::max(0, end - selStart);
            from = at + int(value.size());
        }
    }
    block.endEditBlock();
}

} // namespace KvVariables
