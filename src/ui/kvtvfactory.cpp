#include "ui/kvtvfactory.h"

#include "ui/kvtvfolder.h"
#include "ui/kvtvpage.h"

std::unique_ptr<KvFolder> KvTVFactory::CreateRoot(const QString& id, quint8 kind)
{
    return std::make_unique<KvTVFolder>(id, m_tree, kind);
}

KvFolder* KvTVFactory::CreateFolder(const QString& id, KvFolder* parent, bool atEnd)
{
    // owned by the parent's child list
    return new KvTVFolder(id, dynamic_cast<KvTVFolder*>(parent), KvFolder::NormalFolder, atEnd);
}

KvPage* KvTVFactory::CreatePage(const QString& id, KvFolder* parent, bool atEnd)
{
    return new KvTVPage(id, dynamic_cast<KvTVFolder*>(parent), atEnd); // owned by the parent
}
