#pragma once

#include "commands/kvsearchservices.h"
#include "lists/kvkeywordpositioning.h"
#include "lists/kvkeywords.h"

#include <QDialog>
#include <functional>
#include <memory>

class KvResultListView;
class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QMenu;
class QPushButton;
class QSplitter;
class QToolButton;
class TMainF;

// The keyword dialog: every keyword of the notebook, the folders and pages that carry the
// selected one, positioning by typing, copying a keyword, showing an element and — when
// its opener installs an apply handler — adding the selected keyword. Runs modally through
// the prompter, so that tests can work it: while it runs, Active() is the dialog.
class TKeywordsF : public QDialog, public KvKeywordDialog
{
    Q_OBJECT
public:
    static inline const QString DialogName = u"TKeywordsF"_qs;
    static inline const QString FormName = u"KeywordsF"_qs;
    static constexpr int MaxPositioningLength = 50;

    // mayShowElements: the show button and a double click on an element close the dialog
    // with ShowElement.
    TKeywordsF(TMainF& main, bool mayShowElements, QWidget* parent = nullptr);
    ~TKeywordsF() override;

    // KvKeywordDialog
    void SetApplyHandler(std::function<void()> apply) override;
    int Run() override;
    QString SelectedKeyword() const override;
    QString SelectedObject() const override;
    void KeywordAdded2Object(const QString& keyword, const KvObject& obj) override;

    // The list of keywords from a fresh index; the selected row stays.
    void FillKwdList();
    // The elements of the selected keyword.
    void RefreshObjectsLV();
    // OK instead of the close button; a double click on a keyword closes the dialog.
    void ShowSelectMode() override;
    // The positioning field's text, as if typed.
    void SetPositioningText(const QString& text) override;
    void NextEntrySBClick();
    void PrevEntrySBClick();
    void CopySBClick();
    void ShowObjectBtnClick();
    void CloseBtnClick();
    void HyperlinkPMIClick();
    void EnableCommands();

    static TKeywordsF* Active();

    // The controls, for tests.
    QListWidget* KeywordList() const { return m_keywordsLB; }
    KvResultListView* ObjectList() const { return m_objectsLV; }
    QLineEdit* PositioningField() const { return m_positioningE; }
    QToolButton* NextButton() const { return m_nextEntrySB; }
    QToolButton* PrevButton() const { return m_prevEntrySB; }
    QPushButton* ApplyButton() const { return m_applyBtn; }
    QPushButton* ShowButton() const { return m_showObjectBtn; }
    QPushButton* CloseButton() const { return m_closeBtn; }
    QCheckBox* HideReferrersBox() const { return m_hideReferrersCB; }
    QLabel* KeywordCountLabel() const { return m_kwdLbl; }
    QLabel* ObjectCountLabel() const { return m_objLbl; }
    // The positioning found nothing: the field shows red.
    bool PositioningNotFound() const { return m_positioning.NotFound(); }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void readSettings();
    void writeSettings();
    void positioningChanged(const QString& text);
    void positionAt(int row);
    void updateFieldColour();
    void hideReferrersClicked();
    void showObjectMenu(const QPoint& pos);
    void updateObjectCount();
    QStringList keywordRows() const;

    TMainF& m_main;
    const bool m_mayShowElements;
    bool m_selectMode = false;
    std::function<void()> m_apply;
    std::unique_ptr<KvKeywords> m_keywords;
    KvKeywordPositioning m_positioning;
    QString m_rememberedKeyword; // SelKeyword of the settings

    QSplitter* m_splitter = nullptr;
    QListWidget* m_keywordsLB = nullptr;
    QLabel* m_kwdLbl = nullptr;
    QLineEdit* m_positioningE = nullptr;
    QToolButton* m_nextEntrySB = nullptr;
    QToolButton* m_prevEntrySB = nullptr;
    QToolButton* m_copySB = nullptr;
    KvResultListView* m_objectsLV = nullptr;
    QLabel* m_objLbl = nullptr;
    QCheckBox* m_hideReferrersCB = nullptr;
    QCheckBox* m_showFullPathCB = nullptr;
    QPushButton* m_applyBtn = nullptr;
    QPushButton* m_showObjectBtn = nullptr;
    QPushButton* m_closeBtn = nullptr;
    QMenu* m_objectsPM = nullptr;
    QAction* m_showPMI = nullptr;
    QAction* m_hyperlinkPMI = nullptr;
};
