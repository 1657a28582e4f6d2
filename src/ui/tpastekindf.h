#pragma once

#include "richtext/kvpaste.h"

#include <QDialog>

class QListWidget;

// Pasting as a chosen kind: the kinds the clipboard offers, one to choose. Runs through
// the prompter.
class TPasteKindF : public QDialog
{
    Q_OBJECT
public:
    static inline const QString DialogName = u"TPasteKindF"_qs;

    TPasteKindF(const QList<KvPaste::Kind>& kinds, QWidget* parent = nullptr);
    ~TPasteKindF() override;

    // The kinds shown, in order, and the one chosen.
    QList<KvPaste::Kind> Kinds() const { return m_kinds; }
    KvPaste::Kind Chosen() const;
    void Choose(KvPaste::Kind kind);
    // The caption of a kind.
    static QString KindText(KvPaste::Kind kind);

    bool Execute();
    static TPasteKindF* Active();

private:
    QList<KvPaste::Kind> m_kinds;
    QListWidget* m_list = nullptr;
};
