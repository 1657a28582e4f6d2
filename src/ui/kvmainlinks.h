#pragma once

#include "commands/kvlinkservices.h"

class TMainF;

// The main window's side of the link commands: the hyperlink dialog with its element and
// keyword pickers, the pending document of the idle pass, and the keyword dialog.
class KvMainLinks : public KvLinkServices
{
public:
    explicit KvMainLinks(TMainF& window) : m_w(window) {}

    QString AskLink() override;
    void OpenLater(const QString& target) override;
    void ShowKeyword(const QString& keyword) override;

private:
    TMainF& m_w;
};
