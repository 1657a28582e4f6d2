#pragma once

#include "commands/kvcommandhandler.h"

#include <memory>

class KvStyles;
class QComboBox;

// Commands of the named text styles: apply, create, rename, delete and redefine, on the
// styles of the settings directory, with the styles box of the tool bar.
class KvStyleCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvStyleCommands(KvWindowServices& services, QObject* parent = nullptr);
    ~KvStyleCommands() override;
    bool EnableCommands(const KvCommandContext& context) override;
    // Loads the styles and fills the styles box.
    void AttachControls() override;

    void StyleApply();
    // Create (a new style from the selection) or rename (the selected style).
    void StyleRename(bool create);
    void StyleDelete();
    void StyleRedefine();

    // The style selected in the box; empty when none.
    QString SelectedStyle() const;
    KvStyles* Styles() const { return m_styles.get(); }

private:
    // Fills the box in the list's order and selects a name (or the index, when the name is
    // not there).
    void fillList(const QString& select, int index = -1);
    // The background of the current page's layout: what a style takes as none.
    int defaultBackground() const;

    std::unique_ptr<KvStyles> m_styles;
    QComboBox* m_box = nullptr;
};
