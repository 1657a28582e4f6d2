#pragma once

#include "platform/kvexception.h"
#include "richtext/charattributes.h"
#include "richtext/paraattributes.h"

#include <QPair>
#include <QString>
#include <functional>

class KvTextSelection;
class TexIniFile;

// One named text style of the styles store: character attributes, paragraph attributes or
// both, taken from a selection and applied to another. Section "Styl" + 7 digits, keys
// Descr, TextA, ParaA, Font and BgColor (with text attributes) and the ten paragraph keys
// (with paragraph attributes). A removed style refuses every further operation.
class KvStyle
{
public:
    class EObjectRemoved : public KvException
    {
    public:
        explicit EObjectRemoved(const QString& name);
    };

    static inline const QString SectionPrefix = u"Styl"_qs;
    // The styles store; asked at every use, as the process may open it anew.
    using Store = std::function<TexIniFile&()>;

    // Reads the style's section; an empty name is read from Descr (default 5800).
    KvStyle(Store store, const QString& section, const QString& name = {});
    virtual ~KvStyle();
    KvStyle(const KvStyle&) = delete;
    KvStyle& operator=(const KvStyle&) = delete;

    const QString& Name() const { return m_name; }
    virtual void SetName(const QString& name);
    // Rewrites the section with the keys the flags call for and writes the store file.
    virtual void Save();
    // Erases the section and writes the store file; the style is removed from then on.
    void Remove();
    bool Removed() const { return m_removed; }
    const QString& Section() const { return m_section; }

    bool TextAttributes() const;
    void SetTextAttributes(bool on);
    bool ParaAttributes() const;
    void SetParaAttributes(bool on);
    // 0 text attributes only, 1 paragraph attributes only, 2 both.
    int Kind() const;

    // The attributes of the selection, as the flags say; a background equal to the page's
    // (defaultBackground) is taken as none of its own (the window colour).
    void TakeFrom(const KvTextSelection& selection, int defaultBackground);
    // The style's attributes on the selection, as one step.
    void ApplyTo(KvTextSelection& selection) const;

    const KvCharAttributes& Chars() const;
    const KvParaAttributes& Para() const;
    // The keys of the section as Save writes them, without Descr, TextA and ParaA.
    QList<QPair<QString, QString>> AttributeKeys() const;

private:
    void check() const;
    void read();

    Store m_store;
    QString m_section;
    QString m_name;
    bool m_textA = true;
    bool m_paraA = false;
    KvCharAttributes m_chars;
    KvParaAttributes m_para;
    bool m_removed = false;
};
