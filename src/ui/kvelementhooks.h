#pragma once

#include "elements/kvnewpagetemplate.h"
#include "elements/kvpastesource.h"
#include "lists/kvbusy.h"
#include "lists/kvelementlists.h"
#include "ui/kvmainelementwindow.h"
#include "ui/kvoptionscache.h"
#include "ui/kvtvfactory.h"

class KvElementDragDrop;
class TMainF;
class TexTreeView;

// What the main window keeps for the element commands: the list hooks with the paste
// source as their first listener, the busy probe, the template seam, the factory of
// tree-bound elements, the window's side of the operations and the options for the
// enabling rules.
struct KvElementHooks
{
    KvElementHooks(TMainF& window, TexTreeView* tree);
    ~KvElementHooks();
    KvElementHooks(const KvElementHooks&) = delete;
    KvElementHooks& operator=(const KvElementHooks&) = delete;

    KvElementLists lists;
    KvBusy busy;
    KvNewPageTemplate pageTemplate;
    KvPasteSource paste;
    KvTVFactory factory;
    KvMainElementWindow window;
    KvOptionsCache options;
    KvElementDragDrop* drag = nullptr; // owned by the window
};
