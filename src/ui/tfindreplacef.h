#pragma once

#include "commands/kveditingservices.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// The modeless find dialog (object name "FindDlg") and, with its replace part, the replace
// dialog ("ReplaceDlg"). Its buttons report to a KvFindReplaceHandler; closing it in any
// way reports its fields once.
class TFindReplaceF : public QDialog
{
    Q_OBJECT
public:
    explicit TFindReplaceF(QWidget* parent = nullptr);
    ~TFindReplaceF() override;

    // Shows the dialog (or brings it up), in find or replace mode, with the fields.
    void Open(bool replace, const KvFindFields& fields, KvFindReplaceHandler& handler);
    bool ReplaceMode() const { return m_replaceMode; }
    KvFindFields Fields() const;
    // Moves the dialog off a hit (screen rectangle): above it when there is room, else
    // below it when that fits on the screen. Nothing where the window system places
    // windows itself (Wayland).
    void MoveOff(const QRect& hit);

protected:
    void closeEvent(QCloseEvent* event) override;
    void reject() override;

private:
    void setReplaceMode(bool replace);
    void report(void (KvFindReplaceHandler::*button)(const KvFindFields&));
    void closed();

    KvFindReplaceHandler* m_handler = nullptr;
    bool m_replaceMode = false;
    bool m_open = false;
    QLineEdit* m_term = nullptr;
    QLabel* m_replacementLabel = nullptr;
    QLineEdit* m_replacement = nullptr;
    QCheckBox* m_wholeWord = nullptr;
    QCheckBox* m_matchCase = nullptr;
    QGroupBox* m_direction = nullptr;
    QRadioButton* m_up = nullptr;
    QRadioButton* m_down = nullptr;
    QPushButton* m_findNext = nullptr;
    QPushButton* m_replace = nullptr;
    QPushButton* m_replaceAll = nullptr;
    QPushButton* m_close = nullptr;
};
