#pragma once

#include "commands/kvsearchservices.h"
#include "lists/kvsearchcrit.h"

#include <QObject>
#include <QPointer>

class KvFolder;
class KvObject;
class KvResultListView;
class KvSearchResultPanel;
class TMainF;
class TSearchF;

// The main window's side of the search: it opens the search window and keeps what the
// window leaves behind — the last criteria, the rows of the result panel, the panel's
// buttons — and shows a result marked. The window owns one; the commands reach it as
// KvSearchServices.
class KvMainSearch : public QObject, public KvSearchServices
{
    Q_OBJECT
public:
    explicit KvMainSearch(TMainF& window);
    ~KvMainSearch() override;

    // Connects the result panel (rows, double click, Stop, new search, full path) once the
    // window's controls exist.
    void AttachPanel();

    // The search window while it exists.
    TSearchF* Form() const;
    KvSearchResultPanel& Panel() const;
    KvResultListView& ResultList() const;

    // The criteria of the last search, for marking shown results and reopening the search
    // window; openWithLast: the window opens with them.
    const KvSearchCrit& LastCriteria() const { return m_lastCrit; }
    void SetLastCriteria(const KvSearchCrit& crit, bool openWithLast);
    bool OpenWithLast() const { return m_openWithLast; }

    // KvSearchServices
    void PageSearch(KvFolder* folder) override;
    void ShowSelectedResult() override;
    void CopyResultLinks() override;
    void RemoveSelectedResults() override;
    bool SwitchToObjectWithID(const QString& id, const KvSearchCrit* criteria) override;
    std::unique_ptr<KvKeywordDialog> KeywordDialog(bool mayShowElements) override;

    // The panel's buttons: the search window's search stops; a new search opens it.
    void StopBtnClick();
    void NewSearchBtnClick();
    // The search window has closed.
    void OnSearchFormClose(TSearchF& form);
    // Rebuilds the row of obj in the main list (a new name, new properties); when it had
    // one and the search window exists, that window's list follows. False without a row.
    bool SingleUpdateSearchRes(const KvObject& obj);
    // The element of id is gone: message 12021 (title 12020) and true.
    static bool ReportGone(const QString& id);
    // The context menu of the result list at pos (viewport coordinates).
    void ResultLVPMPopup(const QPoint& pos);
    // The directory closes: the search window closes (a running search stopped and
    // waited for), the rows and the count go.
    void CloseForDirectory();

private:
    void fullPathClicked(bool on);
    void updateFoundLabel();

    TMainF& m_w;
    QPointer<TSearchF> m_form;
    KvSearchCrit m_lastCrit;
    bool m_openWithLast = false;
};
