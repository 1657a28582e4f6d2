#pragma once

#include "richtext/kvparadialogvalues.h"

#include <QDialog>

class QComboBox;
class QLineEdit;
class QPushButton;

// The paragraph dialog: indents, spaces, line spacing, alignment and numbering of the
// selected paragraphs, lengths in centimetres. Runs through the prompter; a length that is
// no number or lies outside 0 to 10 cm is refused (5601) and keeps the dialog open.
class TParaF : public QDialog
{
    Q_OBJECT
public:
    static inline const QString DialogName = u"TParaF"_qs;
    static inline const QString PlaceSection = u"ParaF"_qs;
    static constexpr int HelpContext = 19000;

    explicit TParaF(QWidget* parent = nullptr);
    ~TParaF() override;

    void SetValues(const KvParaDialogValues& values);
    KvParaDialogValues Values() const;
    // Shows the dialog through the prompter; true when it closed with OK.
    bool Execute();
    static TParaF* Active();

    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    // A length field's text is a length: else 5601, the focus back, false.
    bool checkField(QLineEdit* field);
    void numberingChanged();

    QLineEdit* m_lengths[5] = {};
    QComboBox* m_lineSpacing = nullptr;
    QComboBox* m_alignment = nullptr;
    QComboBox* m_numbering = nullptr;
    QComboBox* m_numberingStyle = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    KvParaDialogValues m_opened;
    bool m_checking = false;
};
