#pragma once

#include <QString>

class KvPage;

// Asks the user for the password of a page. The window layer installs one that shows the
// password dialog (which verifies the text before it closes); tests install a script.
class KvPasswordAsker
{
public:
    virtual ~KvPasswordAsker() = default;
    // False when the user cancelled; otherwise password holds the text given.
    virtual bool AskPassword(KvPage& page, QString& password) = 0;

    // The asker in use; none installed means every question is cancelled.
    static KvPasswordAsker* Current();
    static void SetCurrent(KvPasswordAsker* asker);
};
