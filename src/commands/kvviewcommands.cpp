#include "commands/kvviewcommands.h"

#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "richtext/kvzoomtext.h"
#include "richtext/texrichedit.h"

#include <QAction>
#include <QActionGroup>
#include <QComboBox>
#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"NavTreeMI", "#1307", "#1308", "", "", true, true},
    {"MainBarMI", "#1309", "#1310", "", "", true, true},
    {"EditBarMI", "#1311", "#1312", "", "", true, true},
    {"FontAndColorBarMI", "#1313", "#1314", "", "", true, true},
    {"TextAttrBarMI", "#1315", "#1316", "", "", true, true},
    {"StylesBarMI", "#1327", "#1328", "", "", true, true},
    {"StatusBarMI", "#1323", "#1324", "", "", true, true},
    {"SearchResMI", "#1321", "#1322", "", "", true, true},
    {"Zoom200MI", "Zoom200MI#200%", "", "", "", true, true},
    {"Zoom175MI", "Zoom175MI#175%", "", "", "", true, true},
    {"Zoom150MI", "Zoom150MI#150%", "", "", "", true, true},
    {"Zoom125MI", "Zoom125MI#125%", "", "", "", true, true},
    {"Zoom110MI", "Zoom110MI#110%", "", "", "", true, true},
    {"Zoom100MI", "Zoom100MI#100%", "", "", "", true, true},
    {"Zoom90MI", "Zoom90MI#90%", "", "", "", true, true},
    {"Zoom75MI", "Zoom75MI#75%", "", "", "", true, true},
    {"Zoom50MI", "Zoom50MI#50%", "", "", "", true, true},
    {"ZoomUserdefMI", "ZoomUserdefMI#", "", "", "", true, true},
};

const struct
{
    const char* item;
    KvWindowPart part;
} kParts[] = {
    {"NavTreeMI", KvWindowPart::NavigationTree},
    {"MainBarMI", KvWindowPart::MainToolbar},
    {"EditBarMI", KvWindowPart::EditToolbar},
    {"FontAndColorBarMI", KvWindowPart::FontAndColorToolbar},
    {"TextAttrBarMI", KvWindowPart::TextAttrToolbar},
    {"StylesBarMI", KvWindowPart::StylesToolbar},
    {"StatusBarMI", KvWindowPart::StatusBar},
    {"SearchResMI", KvWindowPart::SearchResults},
};

constexpr const char* kUserdef = "ZoomUserdefMI";

// Keys of the zoom box's line: Enter applies the text, Esc goes back to 100%. Seen here
// once per press (the combo box hands unused keys to its line a second time).
class ZoomKeys : public QObject
{
public:
    ZoomKeys(KvViewCommands* commands, QLineEdit* line)
        : QObject(line), m_commands(commands), m_line(line)
    {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Leaving the box applies a zoom typed there; one that is refused keeps the focus.
        if (event->type() == QEvent::FocusOut && m_line->isModified() && !m_leaving) {
            m_leaving = true;
            m_line->setModified(false);
            m_commands->ChangeZoom(m_line->text());
            m_leaving = false;
        }
        if (event->type() != QEvent::KeyPress)
            return QObject::eventFilter(watched, event);
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            m_line->setModified(false);
            m_commands->ChangeZoom(m_line->text());
            return true;
        case Qt::Key_Escape:
            m_line->setModified(false);
            m_commands->ChangeZoom(KvZoomText::Caption(100));
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }

private:
    KvViewCommands* m_commands;
    QLineEdit* m_line;
    bool m_leaving = false;
};

} // namespace

KvViewCommands::KvViewCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvViewCommands"_qs, services, parent)
{
    addActions(kCommands);
    for (const auto& p : kParts) {
        const KvWindowPart part = p.part;
        Action(QString::fromUtf8(p.item))->setChecked(true);
        onTriggered(p.item, [this, part](bool on) { this->services().ShowPart(part, on); });
    }
    m_zoomGroup = new QActionGroup(this);
    m_zoomGroup->setExclusive(true);
    for (QAction* item : zoomItems()) {
        m_zoomGroup->addAction(item);
        onTriggered(item->objectName().toUtf8().constData(),
                    [this, item] { ChangeZoom(item->text()); });
    }
    Action(QString::fromUtf8(kUserdef))->setVisible(false);
}

QList<QAction*> KvViewCommands::zoomItems() const
{
    QList<QAction*> items;
    for (QAction* a : Actions()) {
        if (a->objectName().startsWith(u"Zoom"))
            items.append(a);
    }
    return items;
}

QAction* KvViewCommands::PartItem(KvWindowPart part) const
{
    for (const auto& p : kParts) {
        if (p.part == part)
            return Action(QString::fromUtf8(p.item));
    }
    return nullptr;
}

QAction* KvViewCommands::userdefSeparator() const
{
    // The separator in front of the user-defined item belongs to the zoom menu.
    QAction* userdef = Action(QString::fromUtf8(kUserdef));
    for (QObject* o : userdef->associatedObjects()) {
        if (auto* menu = qobject_cast<QMenu*>(o)) {
            const QList<QAction*> items = menu->actions();
            const qsizetype at = items.indexOf(userdef);
            if (at > 0 && items.at(at - 1)->isSeparator())
                return items.at(at - 1);
        }
    }
    return nullptr;
}

void KvViewCommands::AttachControls()
{
    if (QAction* sep = userdefSeparator())
        sep->setVisible(Action(QString::fromUtf8(kUserdef))->isVisible());
    m_zoomBox = services().ZoomBox();
    if (!m_zoomBox)
        return;
    {
        const QSignalBlocker block(m_zoomBox);
        m_zoomBox->clear();
        for (QAction* a : zoomItems()) {
            if (a->text().contains(u'%'))
                m_zoomBox->addItem(a->text());
        }
    }
    SelectZoom(KvZoomText::Caption(100));
    connect(m_zoomBox, &QComboBox::textActivated, this,
            [this](const QString& text) { guarded([&] { ChangeZoom(text); }); });
    if (QLineEdit* edit = m_zoomBox->lineEdit()) {
        edit->installEventFilter(new ZoomKeys(this, edit));
    }
}

bool KvViewCommands::SelectZoom(const QString& text)
{
    const std::optional<int> percent = KvZoomText::Parse(text);
    if (!percent)
        return false;
    const QString zoom = KvZoomText::Caption(*percent);
    QAction* userdef = Action(QString::fromUtf8(kUserdef));
    QAction* fixed = nullptr;
    for (QAction* a : zoomItems()) {
        if (a != userdef && a->text() == zoom)
            fixed = a;
    }
    if (!fixed) {
        userdef->setText(zoom);
        userdef->setVisible(true);
        if (QAction* sep = userdefSeparator())
            sep->setVisible(true);
    }
    (fixed ? fixed : userdef)->setChecked(true);
    if (m_zoomBox) {
        const QSignalBlocker block(m_zoomBox);
        int index = m_zoomBox->findText(zoom);
        if (index < 0) {
            // The user-defined zoom is the box's last entry: added once, then replaced.
            if (m_userdefEntry) {
                m_zoomBox->setItemText(m_zoomBox->count() - 1, zoom);
            } else {
                m_zoomBox->addItem(zoom);
                m_userdefEntry = true;
            }
            index = m_zoomBox->count() - 1;
        }
        m_zoomBox->setCurrentIndex(index);
    }
    return true;
}

void KvViewCommands::ChangeZoom(const QString& text)
{
    if (!SelectZoom(text)) {
        services().MessageBox(KvTexts::Text(5600),
                              KvTexts::Message(5601, {QString::number(KvZoomText::Min),
                                                      QString::number(KvZoomText::Max)}),
                              KvMsgKind::Error);
        if (m_zoomBox)
            m_zoomBox->setFocus();
        return;
    }
    if (TexRichEdit* editor = services().Editor()) {
        editor->setFocus();
        editor->SetZoom(CurrentZoom());
    }
}

int KvViewCommands::CurrentZoom() const
{
    if (!m_zoomBox)
        return 100;
    return KvZoomText::Parse(m_zoomBox->currentText()).value_or(100);
}

void KvViewCommands::ApplyZoom(TexRichEdit* editor) const
{
    if (editor)
        editor->SetZoom(CurrentZoom());
}

bool KvViewCommands::EnableCommands(const KvCommandContext& context)
{
    // The zoom needs a shown page and a control that zooms.
    const bool zoom = context.pageLoaded && context.editorVersion >= 3;
    const bool all = applyRules(
        [zoom](const QAction& a) { return zoom || !a.objectName().startsWith(u"Zoom"); });
    if (m_zoomBox && m_zoomBox->isEnabled() != zoom)
        m_zoomBox->setEnabled(zoom);
    return all;
}
