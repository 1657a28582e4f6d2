#include "ui/texcolorpicker.h"

#include <QColorDialog>
#include <QMenu>
#include <QPainter>
#include <QPixmap>

namespace {

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
        const QColor c = QColorDialog::getColor(m_color, window());
        if (c.isValid())
            choose(c);
    });
    setMenu(menu);
    updateSwatch();
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
