#pragma once

#include <QString>

class KvFolder;
class KvPage;

// Where new pages get their proposed name and status and their first content: the seam
// for templates. CreateNewPage asks Propose before the name dialog and hands Fill the
// stored new page; neither is asked when the dialog is cancelled, nor for folders. This
// default proposes text 5800 with status 0 and fills nothing.
class KvPageTemplate
{
public:
    struct Proposal
    {
        QString name;
        int status = 0;
    };

    virtual ~KvPageTemplate() = default;
    virtual Proposal Propose(KvFolder& folder);
    virtual void Fill(KvFolder& folder, KvPage& page);
};
