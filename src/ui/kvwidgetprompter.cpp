#include "ui/kvwidgetprompter.h"

#include "app/kvtexts.h"
#include "ui/tsplashf.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QPushButton>

namespace {

constexpr int kTextOk = 4000;
constexpr int kTextCancel = 4001;
constexpr int kTextYes = 4003;
constexpr int kTextNo = 4004;
constexpr int kTextChooseFolder = 5370;

struct BoxButton
{
    QMessageBox::StandardButton button;
    int answer;
    int textNumber;
};

QList<BoxButton> buttonsFor(int kind)
{
    const BoxButton ok{QMessageBox::Ok, KvAnswer::Ok, kTextOk};
    const BoxButton cancel{QMessageBox::Cancel, KvAnswer::Cancel, kTextCancel};
    const BoxButton yes{QMessageBox::Yes, KvAnswer::Yes, kTextYes};
    const BoxButton no{QMessageBox::No, KvAnswer::No, kTextNo};
    switch (kind & KvMsgKind::ButtonMask) {
    case KvMsgKind::ButtonsOkCancel:
        return {ok, cancel};
    case KvMsgKind::ButtonsYesNoCancel:
        return {yes, no, cancel};
    case KvMsgKind::ButtonsYesNo:
        return {yes, no};
    default:
        return {ok};
    }
}

QMessageBox::Icon iconFor(int kind)
{
    switch (kind & KvMsgKind::IconMask) {
    case KvMsgKind::IconError:
        return QMessageBox::Critical;
    case KvMsgKind::IconQuestion:
        return QMessageBox::Question;
    case KvMsgKind::IconWarning:
        return QMessageBox::Warning;
    case KvMsgKind::IconInfo:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

const char* const kAnswerProperty = "kvAnswer";
const char* const kKindProperty = "kvKind";

} // namespace

KvWidgetPrompter::KvWidgetPrompter(QWidget* window) : QObject(window), m_window(window)
{
    KvPrompter::SetCurrent(this);
}

KvWidgetPrompter::~KvWidgetPrompter()
{
    KvPrompter::ResetIfCurrent(this);
}

std::unique_ptr<QMessageBox> KvWidgetPrompter::BuildMessageBox(QWidget* parent,
                                                               const QString& title,
                                                               const QString& text, int kind)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(title);
    // The table writes line breaks as CR LF; the label wants plain LF.
    QString shown = text;
    shown.replace(u"\r\n"_qs, u"\n"_qs);
    box->setTextFormat(Qt::PlainText);
    box->setText(shown);
    box->setIcon(iconFor(kind));
    box->setProperty(kKindProperty, kind);

    const QList<BoxButton> boxButtons = buttonsFor(kind);
    QAbstractButton* escape = nullptr;
    QPushButton* first = nullptr;
    QPushButton* second = nullptr;
    for (const BoxButton& def : boxButtons) {
        QPushButton* b = box->addButton(def.button);
        const QString caption = KvTexts::Text(def.textNumber);
        if (!caption.isEmpty())
            b->setText(caption);
        b->setProperty(kAnswerProperty, def.answer);
        if (!first)
            first = b;
        else if (!second)
            second = b;
        if (def.answer == KvAnswer::Cancel || (def.answer == KvAnswer::No && !escape))
            escape = b;
    }
    // Enter presses the first button, as the kinds define, or the second when asked to.
    box->setDefaultButton((kind & KvMsgKind::DefaultSecond) && second ? second : first);
    box->setEscapeButton(escape ? escape : first);
    return box;
}

int KvWidgetPrompter::Result(const QMessageBox& box)
{
    const QAbstractButton* clicked = box.clickedButton();
    if (clicked && clicked->property(kAnswerProperty).isValid())
        return clicked->property(kAnswerProperty).toInt();
    // Closed without a button: the answer that changes nothing.
    return KvPrompter::SafeAnswer(box.property(kKindProperty).toInt());
}

int KvWidgetPrompter::MessageBox(const QString& title, const QString& text, int kind)
{
    const TSplashF::Quiet quiet;
    std::unique_ptr<QMessageBox> box = BuildMessageBox(m_window, title, text, kind);
    box->exec();
    return Result(*box);
}

QString KvWidgetPrompter::ChooseFolder(const QString& title, const QString& start)
{
    const TSplashF::Quiet quiet;
    const QString caption = title.isEmpty() ? KvTexts::Text(kTextChooseFolder) : title;
    return QFileDialog::getExistingDirectory(m_window, caption, start);
}

int KvWidgetPrompter::RunDialog(const QString& dialogName, std::function<int()> showModal)
{
    const TSplashF::Quiet quiet;
    return showModal ? showModal() : KvAnswer::Cancel;
}

int KvWidgetPrompter::Choose(const QString& title, const QString& text, const QStringList& buttons,
                             int escapeIndex)
{
    const TSplashF::Quiet quiet;
    std::unique_ptr<QMessageBox> box = BuildMessageBox(m_window, title, text, KvMsgKind::Error);
    for (QAbstractButton* b : box->buttons())
        box->removeButton(b);
    QList<QPushButton*> made;
    for (const QString& caption : buttons)
        made.append(box->addButton(caption, QMessageBox::ActionRole));
    if (!made.isEmpty())
        box->setDefaultButton(made.first());
    if (escapeIndex >= 0 && escapeIndex < made.size())
        box->setEscapeButton(made.at(escapeIndex));
    box->exec();
    const qsizetype pressed = made.indexOf(qobject_cast<QPushButton*>(box->clickedButton()));
    return pressed >= 0 ? int(pressed) : escapeIndex;
}

QString KvWidgetPrompter::ChooseSaveFile(const QString& title, const QString& start,
                                         const QString& filter)
{
    const TSplashF::Quiet quiet;
    return QFileDialog::getSaveFileName(m_window, title, start, filter);
}

QString KvWidgetPrompter::ChooseOpenFile(const QString& title, const QString& start,
                                         const QString& filter)
{
    const TSplashF::Quiet quiet;
    return QFileDialog::getOpenFileName(m_window, title, start, filter);
}
