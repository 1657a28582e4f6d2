#pragma once

#include "commands/kvcommandhandler.h"
#include "commands/kvwindowservices.h"

class QActionGroup;
class QComboBox;
class TexRichEdit;

// The view menu's check items for the window's parts, the zoom items and the zoom box.
class KvViewCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvViewCommands(KvWindowServices& services, QObject* parent = nullptr);
    bool EnableCommands(const KvCommandContext& context) override;
    void AttachControls() override;

    // The check item that shows and hides a part.
    QAction* PartItem(KvWindowPart part) const;
    // Shows a zoom ("150%", "130") in the zoom box and checks its item; a percentage
    // without an item of its own goes to the user-defined item, shown with its separator.
    // False for a zoom outside 5% to 1000% (nothing changes).
    bool SelectZoom(const QString& text);
    // Selects the zoom and applies it to the shown page; a refused text is reported
    // (5601) and the zoom box keeps the focus.
    void ChangeZoom(const QString& text);
    // The zoom the box shows, in percent (100 when it shows no valid zoom).
    int CurrentZoom() const;
    // Gives an editor (a page being shown) the zoom of the box.
    void ApplyZoom(TexRichEdit* editor) const;

private:
    QAction* userdefSeparator() const;
    QList<QAction*> zoomItems() const;

    QActionGroup* m_zoomGroup = nullptr;
    QComboBox* m_zoomBox = nullptr;
    bool m_userdefEntry = false; // the box holds the user-defined zoom as its last entry
};
