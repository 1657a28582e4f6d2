#pragma once

#include "lists/kvitemlist.h"
#include "ui/kvresultitemview.h"

#include <QDialog>
#include <memory>

class KvResultListView;
class QCheckBox;
class QPushButton;
class TMainF;

// The bookmark dialog: the bookmarks as rows, to show one, add, remove, reorder them and
// sort them by a column. It works on the list itself and keeps a copy from its opening:
// Cancel puts the list back as it was, any other end saves it (only where the directory may
// be written). Runs modally through the prompter, so that tests can work it: while it
// runs, Active() is the dialog.
class TBookmarksF : public QDialog
{
    Q_OBJECT
public:
    static inline const QString DialogName = u"TBookmarksF"_qs;
    static inline const QString FormName = u"BookmarksF"_qs;
    // The results: OK, Cancel, show the selected element.
    static constexpr int Closed = 1;
    static constexpr int Cancelled = 2;
    static constexpr int ShowElement = 6;

    TBookmarksF(TMainF& main, KvItemList& bookmarks, bool writable);
    ~TBookmarksF() override;

    // Shows the dialog and ends it: saves or restores the list, writes the settings and
    // unbinds the list. Returns the result.
    int Run();
    // The element of the row selected when the dialog closed.
    const QString& ChosenId() const { return m_chosen; }

    void NewBookmarkBtnClick();
    void DelBookmarkBtnClick();
    void MoveUpBtnClick();
    void MoveDownBtnClick();
    void ShowFullPathCBClick();
    void EnableCommands();

    static TBookmarksF* Active();

    // The controls, for tests.
    KvResultListView* List() const { return m_bookmarkLV; }
    QPushButton* ShowButton() const { return m_showBtn; }
    QPushButton* NewButton() const { return m_newBtn; }
    QPushButton* DeleteButton() const { return m_delBtn; }
    QPushButton* UpButton() const { return m_upBtn; }
    QPushButton* DownButton() const { return m_downBtn; }
    QPushButton* OkButton() const { return m_closeBtn; }
    QPushButton* CancelButton() const { return m_cancelBtn; }
    QCheckBox* FullPathBox() const { return m_showFullPathCB; }

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    void createControls();
    void readSettings();
    void writeSettings();
    // A column click sorted the rows: their order becomes the bookmarks' order.
    void sorted();
    void moveRow(bool up);

    TMainF& m_main;
    KvItemList& m_list;
    const KvItemList m_before;
    const bool m_writable;
    QString m_chosen;

    KvResultListView* m_bookmarkLV = nullptr;
    std::unique_ptr<KvResultItemView> m_view;
    QPushButton* m_showBtn = nullptr;
    QPushButton* m_newBtn = nullptr;
    QPushButton* m_delBtn = nullptr;
    QPushButton* m_upBtn = nullptr;
    QPushButton* m_downBtn = nullptr;
    QCheckBox* m_showFullPathCB = nullptr;
    QPushButton* m_closeBtn = nullptr;
    QPushButton* m_cancelBtn = nullptr;
};
