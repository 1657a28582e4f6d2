#pragma once

#include "model/kvpagelayout.h"

#include <memory>

class KvFolder;
class KvPage;

// The layout pages created in a folder receive, with the template page whose content they
// start with. Inherited from the parent folder while the folder has no Font key of its own.
class KvNewPageLayout : public KvPageLayout
{
public:
    explicit KvNewPageLayout(KvFolder* owner);
    ~KvNewPageLayout() override;

    KvFontSpec GetFont() const override;
    void SetFont(const KvFontSpec& font) override;
    int GetBgColor() const override;
    void SetBgColor(int color) override;
    bool GetWordWrap() const override;
    void SetWordWrap(bool wrap) override;
    void AssignLayout(const KvPageLayout& other) override;
    void Store() override;
    void EraseLayout() override;
    bool IsModified() const override;
    void CopyFrom(const KvPageLayout& other) override;

    virtual KvPage* GetTemplatePage() const;
    virtual void SetTemplatePage(KvObject* object);
    virtual void CopyLayout(const KvNewPageLayout& other);
    virtual void ReadTemplate();

    bool Inherited() const { return m_inherited; }
    void SetInherited(bool inherited);
    // The new-page layout of the owner folder's parent; none for a root folder.
    KvNewPageLayout* ParentLayout() const;
    bool TemplateChanged() const { return m_templateChanged; }

private:
    void SetTemplateId(const QString& id);

    bool m_inherited = false;
    bool m_templateChanged = false;
    std::unique_ptr<KvPage> m_templatePage;
};
