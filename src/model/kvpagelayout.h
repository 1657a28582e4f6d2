#pragma once

#include "store/kvstorefont.h"

#include <QString>

class KvObject;
class TexIniFile;
class TexRichDocument;

// Default font, background colour and word wrap of a page's editor, kept in the owner's
// section (the target's for a referrer): the page store for pages, the folder store else.
class KvPageLayout
{
public:
    static constexpr int DefaultBgColor = int(0x80000005u); // the window colour

    explicit KvPageLayout(KvObject* owner);
    virtual ~KvPageLayout();
    KvPageLayout(const KvPageLayout&) = delete;
    KvPageLayout& operator=(const KvPageLayout&) = delete;

    virtual KvFontSpec GetFont() const;
    virtual void SetFont(const KvFontSpec& font);
    virtual int GetBgColor() const;
    virtual void SetBgColor(int color);
    virtual bool GetWordWrap() const;
    virtual void SetWordWrap(bool wrap);
    virtual void AssignLayout(const KvPageLayout& other);
    virtual void Store();
    virtual void EraseLayout();
    virtual bool IsModified() const;
    virtual void CopyFrom(const KvPageLayout& other);

    // Font, colour and word wrap into the editor; only the changed ones when onlyChanged.
    void ApplyTo(TexRichDocument& editor, bool onlyChanged) const;

    const QString& SectionName() const { return m_section; }
    KvObject* Owner() const { return m_owner; }
    bool FontChanged() const { return m_fontChanged; }
    bool ColorChanged() const { return m_colorChanged; }
    bool WordWrapChanged() const { return m_wordWrapChanged; }

    // The system default font as a layout without a stored font shows it.
    static KvFontSpec DefaultFont();

protected:
    TexIniFile& StoreFile() const;

    QString m_section;
    KvObject* m_owner;
    KvFontSpec m_font;
    int m_bgColor = DefaultBgColor;
    bool m_wordWrap = true;
    bool m_colorChanged = false;
    bool m_fontChanged = false;
    bool m_wordWrapChanged = false;
};
