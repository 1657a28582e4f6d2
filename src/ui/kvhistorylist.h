#pragma once

#include <QTreeView>

class KvElementListModel;
class QMenu;

// The drop-down list of the browse history (HistoryLV): hidden until the history command
// shows it over the window; one row per visited element.
class KvHistoryList : public QTreeView
{
    Q_OBJECT
public:
    explicit KvHistoryList(QWidget* parent = nullptr);

    // Resolves the hint, a bare number.
    void LanguageInit();
    void SetContextMenu(QMenu* menu);
    KvElementListModel* Rows() const { return m_rows; }

private:
    KvElementListModel* m_rows = nullptr;
};
