#include "lists/kvsearchelement.h"

#include "platform/kvwipe.h"

void KvSearchElement::Wipe()
{
    if (loadedText)
        KvWipe::Wipe(*loadedText);
    if (pendingRtf)
        KvWipe::Wipe(*pendingRtf);
    if (password)
        password->Wipe();
}
