#pragma once

#include "model/kvnamerule.h"

#include <QDialog>
#include <QIcon>
#include <QList>
#include <QPixmap>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

// The name dialog shared by the create and rename commands and the text styles: a name of
// at most 100 characters, optionally a status from the catalogue, optionally which parts of
// a style (text, paragraph attributes) it holds. Runs through the prompter, so that tests
// can answer it: while it runs, Active() is the dialog.
class TNameF : public QDialog
{
    Q_OBJECT
public:
    static inline const QString DialogName = u"TNameF"_qs;
    // Section of the settings file that remembers where the dialog was confirmed.
    static inline const QString PlaceSection = u"NameF"_qs;
    static constexpr int MaxNameLength = KvNameRule::MaxLength;
    static constexpr int HelpContext = 1000;

    // One entry of the status selector: entry n stands for status n.
    struct StatusEntry
    {
        QString name;
        QIcon icon;
    };

    // With status entries the status row is shown and entry 0 selected; without, the
    // dialog is as much shorter.
    explicit TNameF(QWidget* parent = nullptr, const QList<StatusEntry>& statuses = {});
    ~TNameF() override;

    QString Name() const;
    void SetName(const QString& name);
    bool HasStatus() const;
    int Status() const;
    // Selects status n when the selector has it.
    void SetStatus(int status);
    // A name shown but not to be changed (redefining a style).
    void SetNameEditable(bool editable);
    // An optional bold line above the buttons; empty hides it.
    void SetMessage(const QString& text);

    // Attribute mode (text styles): the group of the two boxes is shown; with neither
    // given, text attributes are taken. The two can never both be off.
    void SetAttributeMode(bool textAttributes, bool paragraphAttributes);
    bool AttributeMode() const;
    bool TextAttributes() const;
    bool ParagraphAttributes() const;
    // Index of the style image shown: 0 text only, 1 paragraph only, 2 both.
    int StyleImageIndex() const;
    // The image of a style kind (also the icons of the styles box).
    static QPixmap StyleImage(int index);

    // Shows the dialog through the prompter; true when it closed with OK.
    bool Execute();
    static TNameF* Active();
    // Today's date in the user's short date format (what F5 inserts).
    static QString TodayText();

    void accept() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void attributeToggled(QCheckBox* changed);
    void updateStyleImage();

    QLineEdit* m_name = nullptr;
    QLabel* m_statusLabel = nullptr;
    QComboBox* m_status = nullptr;
    QGroupBox* m_attrBox = nullptr;
    QCheckBox* m_textAttr = nullptr;
    QCheckBox* m_paraAttr = nullptr;
    QLabel* m_styleImage = nullptr;
    QLabel* m_message = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
    bool m_placed = false;
};
