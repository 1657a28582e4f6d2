#include "elements/kvpagetemplate.h"

#include "app/kvtexts.h"

KvPageTemplate::Proposal KvPageTemplate::Propose(KvFolder&)
{
    return {KvTexts::Text(5800), 0};
}

void KvPageTemplate::Fill(KvFolder&, KvPage&) {}
