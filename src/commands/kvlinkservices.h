#pragma once

#include <QString>

// What the link commands use of the window beside the common services: the hyperlink
// dialog, the desktop for a link's target, and the keyword dialog for a keyword link.
class KvLinkServices
{
public:
    virtual ~KvLinkServices() = default;

    // The hyperlink dialog THyperlinkF: the URL to write on OK, empty on Cancel.
    virtual QString AskLink() = 0;
    // The target (an absolute path or an encoded URL) goes to the desktop at the next idle
    // pass.
    virtual void OpenLater(const QString& target) = 0;
    // The keyword dialog positioned at keyword, as the keyword command opens it.
    virtual void ShowKeyword(const QString& keyword) = 0;
};
