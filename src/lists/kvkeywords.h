#pragma once

#include "lists/kvcodepointorder.h"

#include <QSet>
#include <QString>
#include <QStringList>
#include <map>

class KvObject;

// The elements that carry one keyword: the keyword as written where it was met first, and
// the element ids in the order met, each once.
struct KwdObjectList
{
    QString displayText;
    QStringList objects;

    // False when the id is listed already.
    bool Add(const QString& id);
    bool Contains(const QString& id) const { return m_listed.contains(id); }

private:
    QSet<QString> m_listed;
};

// The keywords of the notebook, built on demand from a snapshot of the keyword store and
// kept unchanged afterwards: the keyword text of every element, and the index from the
// normalized keyword to its elements. Runs on the thread that owns the model.
class KvKeywords
{
public:
    using ObjectKeywordMap = std::map<QString, QString, KvCodePointLess>;
    using KeywordIndex = std::map<QString, KwdObjectList, KvCodePointLess>;

    // Element id -> keyword text. With referrers, every referrer of an element that has
    // keywords maps to the same text. Loaded at the first call.
    const ObjectKeywordMap& ObjectKeywords(bool withReferrers);
    // Normalized keyword -> its elements: elements that exist, in id order, the spelling of
    // the first one as display text. Built at the first call.
    const KeywordIndex& Index(bool withReferrers);

    // Element id -> keyword text of the store whose member files these are (no referrers):
    // a plain reading of files, so that it may run on any thread.
    static ObjectKeywordMap LoadObjectKeywords(const QStringList& memberFiles);

    // Upper case, then Ä, Ö, Ü as AE, OE, UE and ß as SS.
    static QString Normalize(const QString& keyword);
    // The keywords of a keyword text in order: split at ";" and ",", double quotes shown
    // as blanks, leading blanks and one trailing blank removed, empty ones dropped.
    static QStringList Split(const QString& text);
    // A selection of page text as one keyword: its line and paragraph breaks become blanks.
    static QString FromSelection(const QString& selectedText);

    // A keyword was added to obj: obj (a referrer's target in its place) joins the entry
    // of the keyword, created when missing, followed by its referrers unless they are
    // hidden. Elements listed already are not listed again. The index must be built.
    KwdObjectList& KeywordAdded(const QString& keyword, const KvObject& obj, bool hideReferrers);

    // The rows the keyword dialog shows for an entry's elements: with hideReferrers the
    // referrers are left out, otherwise each element is followed by those of its referrers
    // that are not listed yet. Ids that no longer resolve are left out.
    static QStringList ElementRows(const QStringList& ids, bool hideReferrers);

private:
    ObjectKeywordMap m_objectKeywords;
    bool m_objectKeywordsLoaded = false;
    KeywordIndex m_index;
    bool m_indexBuilt = false;
};
