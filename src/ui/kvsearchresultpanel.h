#pragma once

#include <QWidget>

class KvResultListView;
class QAction;
class QCheckBox;
class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QToolButton;

// The search-result panel below the page area (SearchResP): the result list ResultLV with
// its rows, the found count, stop and new-search buttons, the full-path box, and the
// saved results with their three buttons. The search fills it; the window only places it.
class KvSearchResultPanel : public QWidget
{
    Q_OBJECT
public:
    explicit KvSearchResultPanel(QWidget* parent = nullptr);

    // Resolves the panel's captions and hints when the window resolves its texts.
    void LanguageInit();
    // The buttons of the saved results show these commands.
    void SetSavedResultCommands(QAction* save, QAction* remove, QAction* rename);

    KvResultListView* ResultList() const { return m_resultLV; }
    QComboBox* SavedResults() const { return m_searchResCoB; }
    QCheckBox* FullPathBox() const { return m_showFullPathCB; }
    QPushButton* StopButton() const { return m_stopBtn; }
    QPushButton* NewSearchButton() const { return m_newSearchBtn; }
    QProgressBar* Progress() const { return m_searchProgress; }
    QLabel* FoundLabel() const { return m_foundLbl; }
    QLabel* ResultLabel() const { return m_resultLbl; }
    // Shows the number of elements found ("12 Elemente").
    void SetFoundCount(int count);
    // The text of a count as the found labels show it.
    static QString FoundText(int count);

    // Width of the list's first column; at least 10 pixels.
    int FirstColumnWidth() const;
    void SetFirstColumnWidth(int width);

private:
    QLabel* m_resultLbl = nullptr;
    QLabel* m_foundLbl = nullptr;
    KvResultListView* m_resultLV = nullptr;
    QCheckBox* m_showFullPathCB = nullptr;
    QPushButton* m_stopBtn = nullptr;
    QProgressBar* m_searchProgress = nullptr;
    QPushButton* m_newSearchBtn = nullptr;
    QComboBox* m_searchResCoB = nullptr;
    QToolButton* m_saveTB = nullptr;
    QToolButton* m_deleteTB = nullptr;
    QToolButton* m_renameTB = nullptr;
};
