#pragma once

#include "richtext/kvpaste.h"

#include <QDialog>

class QListWidget;

// Special paste: the kinds the clipboard offers, one to choose. Runs through the prompter.
class TPasteSpecialF : public QDialog
{
    Q_OBJECT
public:
    static inline const QString DialogName = u"TPasteSpecialF"_qs;

    TPasteSpecialF(const QList<KvPaste::Kind>& kinds, QWidget* parent = nullptr);
    ~TPasteSpecialF() override;

    // The kinds shown, in order, and the one chosen.
    QList<KvPaste::Kind> Kinds() const { return m_kinds; }
    KvPaste::Kind Chosen() const;
    void Choose(KvPaste::Kind kind);
    // The caption of a kind.
    static QString KindText(KvPaste::Kind kind);

    bool Execute();
    static TPasteSpecialF* Active();

private:
    QList<KvPaste::Kind> m_kinds;
    QListWidget* m_list = nullptr;
};
