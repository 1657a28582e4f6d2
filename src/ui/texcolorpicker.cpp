#include "ui/texcolorpicker.h"

#include "app/kvprompter.h"

#include <QColorDialog>
#include <QMenu>
#include <QPainter>
#include <QPixmap>

namespace {

QColorDialog* g_colorDialog = nullptr;

QIcon swatch(const QColor& color)
{
    QPixmap pm(16, 16);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setPen(QColor(0x60, 0x60, 0x60));
    if (color.isValid())
        p.setBrush(color);
    p.drawRect(1, 1, 13, 13);
    if (!color.isValid())
        p.drawLine(2, 14, 14, 2);
    return QIcon(pm);
}

} // namespace

TexColorPicker::TexColorPicker(QWidget* parent) : QToolButton(parent)
{
    setPopupMode(QToolButton::MenuButtonPopup);
    auto* menu = new QMenu(this);
    static const Qt::GlobalColor kPalette[] = {
        Qt::black,   Qt::darkGray,    Qt::gray,   Qt::white,     Qt::red,  Qt::darkRed,
        Qt::green,   Qt::darkGreen,   Qt::blue,   Qt::darkBlue,  Qt::cyan, Qt::darkCyan,
        Qt::magenta, Qt::darkMagenta, Qt::yellow, Qt::darkYellow};
    for (Qt::GlobalColor c : kPalette) {
        const QColor color(c);
        QAction* a = menu->addAction(swatch(color), color.name());
        connect(a, &QAction::triggered, this, [this, color] { choose(color); });
    }
    menu->addSeparator();
    m_custom = menu->addAction(u"#3118"_qs);
    connect(m_custom, &QAction::triggered, this, [this] {
        // Qt's colour dialog, behind the prompt seam.
        QColorDialog dialog(m_color.isValid() ? m_color : QColor(Qt::black), window());
        dialog.setObjectName(ColorDialogName);
        g_colorDialog = &dialog;
        const int result =
            KvPrompter::Current().RunDialog(ColorDialogName, [&dialog] { return dialog.exec(); });
        g_colorDialog = nullptr;
        if (result == QDialog::Accepted && dialog.currentColor().isValid())
            choose(dialog.currentColor());
    });
    setMenu(menu);
    updateSwatch();
}

QColorDialog* TexColorPicker::ActiveColorDialog()
{
    return g_colorDialog;
}

void TexColorPicker::SetCurrentColor(const QColor& color)
{
    m_color = color;
    updateSwatch();
}

void TexColorPicker::SetAction(QAction* action)
{
    setDefaultAction(action);
    updateSwatch();
}

void TexColorPicker::choose(const QColor& color)
{
    SetCurrentColor(color);
    Q_EMIT ColorChosen(color);
    if (QAction* a = defaultAction(); a && a->isEnabled())
        a->trigger();
}

void TexColorPicker::updateSwatch()
{
    if (QAction* a = defaultAction())
        a->setIcon(swatch(m_color));
    else
        setIcon(swatch(m_color));
}
