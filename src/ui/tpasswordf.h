#pragma once

#include "model/kvpasswordasker.h"

#include <QDialog>

class QLineEdit;

// Asks for the password of a page. Runs through the prompter, so that tests can answer
// it: while it runs, Active() is the dialog.
class TPasswordF : public QDialog
{
    Q_OBJECT
public:
    static inline const QString DialogName = u"TPasswordF"_qs;

    explicit TPasswordF(const QString& pageName, QWidget* parent = nullptr);
    ~TPasswordF() override;

    QString Password() const;
    void SetPassword(const QString& text);
    static TPasswordF* Active();

private:
    QLineEdit* m_edit = nullptr;
};

// The window layer's password asker: shows TPasswordF.
class KvDialogPasswordAsker : public KvPasswordAsker
{
public:
    explicit KvDialogPasswordAsker(QWidget* parent) : m_parent(parent) {}
    bool AskPassword(KvPage& page, QString& password) override;

private:
    QWidget* m_parent;
};
