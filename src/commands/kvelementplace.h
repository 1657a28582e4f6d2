#pragma once

#include "commands/kvcommandcontext.h"

class KvFolder;
class KvObject;

// Where obj stands in the notebook of top and trash; fullAccess is the directory's
// access. An absent or removed element has no place (exists false).
KvElementPlace KvPlaceOf(const KvObject* obj, const KvFolder* top, const KvFolder* trash,
                         bool fullAccess);
