#pragma once

#include "ui/kvresultlistview.h"

class QMenu;

// The drop-down list of the browse history (HistoryLV): hidden until the history command
// shows it over the window; one row per page visited. It hides itself when it loses the
// focus or on Esc.
class KvHistoryList : public KvResultListView
{
    Q_OBJECT
public:
    explicit KvHistoryList(QWidget* parent = nullptr);

    // Resolves the hint, a bare number.
    void LanguageInit();
    void SetContextMenu(QMenu* menu);

Q_SIGNALS:
    // The list lost the focus (not to its own menu) or Esc was pressed.
    void left();
    // The menu is about to open on the list's rows.
    void menuRequested();

protected:
    void focusOutEvent(QFocusEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QMenu* m_menu = nullptr;
};
