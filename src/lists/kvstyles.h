#pragma once

#include "lists/kvstyle.h"

#include <map>
#include <memory>

class KvTextSelection;
class TexIniFile;

// The text styles of the styles store, by name (exact, byte-wise), and the order of the
// styles list: by the name in upper case with "Ä", "Ö", "Ü", "ß" as "AE", "OE", "UE", "SS",
// then by the exact name.
class KvStyles
{
public:
    // One entry of the styles list: the name and the kind of its icon (KvStyle::Kind).
    struct Entry
    {
        QString name;
        int kind = 0;
        bool operator==(const Entry&) const = default;
    };

    // Loads every style of the store; of two with one name the later section wins.
    explicit KvStyles(KvStyle::Store store);
    ~KvStyles();

    bool NameExists(const QString& name) const;
    // Nothing when the name exists; else a new style in the next free "Styl" section with
    // the attributes of the selection, saved.
    KvStyle* Create(const QString& name, const KvTextSelection& selection, int defaultBackground,
                    bool textAttributes, bool paraAttributes);
    // False when there is no style of the old name (a new name that exists is the caller's
    // to refuse).
    bool Rename(const QString& oldName, const QString& newName);
    // The style is removed from the store; false when there is none of the name.
    bool Delete(const QString& name);
    bool Redefine(const QString& name, const KvTextSelection& selection, int defaultBackground,
                  bool textAttributes, bool paraAttributes);
    bool Apply(const QString& name, KvTextSelection& selection) const;
    // The style's section, empty when there is none of the name.
    QString SectionOf(const QString& name) const;
    KvStyle* Find(const QString& name) const;

    // The styles list in its order.
    QList<Entry> List() const;
    // The key the list is ordered by.
    static QString SortKey(const QString& name);

private:
    KvStyle::Store m_store;
    std::map<QString, std::unique_ptr<KvStyle>> m_styles;
};
