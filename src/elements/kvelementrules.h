#pragma once

#include "elements/kvelementoptions.h"

#include <QString>
#include <optional>

class KvFolder;
class KvObject;
class KvPage;

// A Yes/No question with the question icon; going on only on Yes.
struct KvQuestion
{
    QString caption;
    QString text;
};

// Where an element stands among its siblings: first, last (both false without a parent).
struct KvTopLast
{
    bool first = false;
    bool last = false;
};

// What a drop of the dragged element on an element of the tree would do.
struct KvDropVerdict
{
    bool accepted = false;
    int statusText = 5010; // 5010 drag on, 5011 below itself, 5012 release to move
};

// The rules of the element commands as pure functions of the model and the options: which
// commands are possible, which question a confirmation asks, where a template is used, what
// a drag may start and where it may drop. The window's enabling, its context menu and its
// drag handling use them; so do the operations.
namespace KvElementRules {

// The trash itself or any folder below it.
bool InTrash(const KvObject& obj, const KvFolder& trash);
// The top folder or the trash.
bool IsRoot(const KvObject& obj);

bool DeletePossible(const KvPage* page, bool fullAccess, bool busy, const KvElementOptions& o);
bool DeletePossible(KvFolder* folder, bool fullAccess, bool busy, const KvElementOptions& o);
bool Move2FolderPossible(const KvPage* page, bool fullAccess, bool busy, const KvElementOptions& o);
bool Move2FolderPossible(KvFolder* folder, bool fullAccess, bool busy, const KvElementOptions& o);
KvTopLast GetElemStateTopLast(const KvObject* obj);

// The question DeletePageConfirmed / DeleteFolderConfirmed asks; none: go on without
// asking.
std::optional<KvQuestion> DeletePageQuestion(KvPage& page, const KvElementOptions& o, KvFolder& top,
                                             KvFolder& trash);
std::optional<KvQuestion> DeleteFolderQuestion(KvFolder& folder, const KvElementOptions& o,
                                               KvFolder& top, KvFolder& trash);
// The question MovePageConfirmed / MoveFolderConfirmed asks; none: go on.
std::optional<KvQuestion> MovePageQuestion(KvPage& page, const KvElementOptions& o);
std::optional<KvQuestion> MoveFolderQuestion(KvFolder& folder, const KvElementOptions& o);

// Whether a new referrer may stand for page: not when page, or the page it stands for, lies
// in the trash, since emptying the trash would take the referrer with its target.
bool ReferrerPossible(KvPage& page, const KvFolder& trash);
// The referrers outside the trash whose targets lie in it: emptying the trash removes them
// too.
QList<KvObject*> ReferrersOutside(KvFolder& trash);
// The question EmptyTrash asks when MsgEmptyTrash is set: 5032, or 5524 with the number of
// referrers outside the trash that go with their targets; none: go on without asking.
std::optional<KvQuestion> EmptyTrashQuestion(KvFolder& trash, const KvElementOptions& o);

// The first folder whose own (not inherited) new-page layout has page as template: the
// folders below the top folder, the top folder, the folders below the trash, the trash.
KvFolder* TemplateInFolder(const KvPage& page, KvFolder& top, KvFolder& trash);

// Whether a drag of obj may start: write access, no search running, not a root, and
// write protection as WPNoMousePageMove/WPNoPageMove (pages) or
// WPNoMouseFolderMove/WPNoFolderMove (folders holding a protected page) allow.
bool CanStartDrag(KvObject& obj, bool fullAccess, bool searchRunning, const KvElementOptions& o);
// Dropping drag on drop: refused with 5011 below the dragged element, accepted with 5012
// on a folder other than the dragged one, else refused with 5010.
KvDropVerdict DropVerdict(const KvObject& drag, const KvObject& drop);

} // namespace KvElementRules
