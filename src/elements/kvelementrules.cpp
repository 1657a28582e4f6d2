#include "elements/kvelementrules.h"

#include "model/kvfolder.h"
#include "model/kvpage.h"

namespace KvElementRules {

bool InTrash(const KvObject&, const KvFolder&)
{
    return false;
}
bool IsRoot(const KvObject&)
{
    return false;
}
bool DeletePossible(const KvPage*, bool, bool, const KvElementOptions&)
{
    return false;
}
bool DeletePossible(KvFolder*, bool, bool, const KvElementOptions&)
{
    return false;
}
bool Move2FolderPossible(const KvPage*, bool, bool, const KvElementOptions&)
{
    return false;
}
bool Move2FolderPossible(KvFolder*, bool, bool, const KvElementOptions&)
{
    return false;
}
KvTopLast GetElemStateTopLast(const KvObject*)
{
    return {};
}
std::optional<KvQuestion> DeletePageQuestion(KvPage&, const KvElementOptions&, KvFolder&, KvFolder&)
{
    return std::nullopt;
}
std::optional<KvQuestion> DeleteFolderQuestion(KvFolder&, const KvElementOptions&, KvFolder&,
                                               KvFolder&)
{
    return std::nullopt;
}
std::optional<KvQuestion> MovePageQuestion(KvPage&, const KvElementOptions&)
{
    return std::nullopt;
}
std::optional<KvQuestion> MoveFolderQuestion(KvFolder&, const KvElementOptions&)
{
    return std::nullopt;
}
KvFolder* TemplateInFolder(const KvPage&, KvFolder&, KvFolder&)
{
    return nullptr;
}
bool CanStartDrag(KvObject&, bool, bool, const KvElementOptions&)
{
    return false;
}
KvDropVerdict DropVerdict(const KvObject&, const KvObject&)
{
    return {};
}

} // namespace KvElementRules
