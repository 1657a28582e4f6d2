#pragma once

#include "elements/kvelementoptions.h"

#include <QHash>
#include <QStringList>
#include <optional>

class KvBusy;
class KvElementFactory;
class KvElementLists;
class KvElementWindow;
class KvFolder;
class KvPageTemplate;
class KvPasteSource;

// Everything the element operations work with: the notebook's two roots, the window (or
// the command line's stand-in), the factory that builds elements of the window's kind,
// the list hooks, the busy probe, the template seam, the paste source and the options of
// this command. Nothing is owned. The operations are built on it for each command.
struct KvElementEnv
{
    KvFolder* top = nullptr;
    KvFolder* trash = nullptr;
    KvElementWindow* window = nullptr;
    KvElementFactory* factory = nullptr;
    KvElementLists* lists = nullptr;
    KvBusy* busy = nullptr;
    KvPageTemplate* pageTemplate = nullptr;
    KvPasteSource* paste = nullptr;
    KvElementOptions options;
    // The directory may be written (false: read-only work).
    bool fullAccess = true;
    // The batch list of a command over several result rows: ids deleted or re-created are
    // collected in it; none outside such a command.
    QStringList* batchList = nullptr;

    // Raises KvException when a member the operations need is missing.
    void Check() const;
    bool Busy() const;

    // Folders whose store waits for the end of the bulk scope (KvBulkScope), by id.
    QStringList deferredStores;
    int bulkDepth = 0;
    // Within a bulk scope: the folders (ids) whose own new-page layout uses a page (id) as
    // template, gathered once.
    std::optional<QHash<QString, QStringList>> templateUsers;
    // Folders (ids) to sort at the end of the bulk scope, before the waiting stores.
    QStringList deferredSorts;
};
