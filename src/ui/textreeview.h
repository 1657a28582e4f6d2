#pragma once

#include "commands/kvbuttonmode.h"

#include <QTreeWidget>

// The navigation tree control. Each node carries the kind of its element in
// NodeKindRole.
class TexTreeView : public QTreeWidget
{
    Q_OBJECT
public:
    static constexpr int NodeKindRole = Qt::UserRole + 1;

    explicit TexTreeView(QWidget* parent = nullptr);

    static void SetNodeKind(QTreeWidgetItem* item, KvNodeKind kind);
    static KvNodeKind NodeKind(const QTreeWidgetItem* item);
    // The kind of the selected node; None without a selection.
    KvNodeKind SelectedNodeKind() const;
};
