#include "ui/kvtvfactory.h"

#include "ui/kvtvfolder.h"
#include "ui/kvtvpage.h"

std::unique_ptr<KvFolder> KvTVFactory::CreateRoot(const QString& id, quint8 kind)
{
    return std::make_unique<KvTVFolder>(id, m_tree, kind);
}

KvFolder* KvTVFactory::CreateFolder(const QString& id, KvFolder* parent)
{
    // owned by the parent's child list
    return new KvTVFolder(id, dynamic_cast<KvTVFolder*>(parent), KvFolder::NormalFolder, true);
}

KvPage* KvTVFactory::CreatePage(const QString& id, KvFolder* parent)
{
    return new KvTVPage(id, dynamic_cast<KvTVFolder*>(parent), true); // owned by the parent
}
