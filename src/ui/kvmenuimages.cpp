#include "ui/kvmenuimages.h"

#include <QHash>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

namespace {

const QColor kInk(0x33, 0x3d, 0x4a);
const QColor kPaper(0xfb, 0xfb, 0xf7);
const QColor kGreen(0x2e, 0x9e, 0x4f);
const QColor kRed(0xc8, 0x3a, 0x32);
const QColor kBlue(0x2f, 0x6f, 0xc0);
const QColor kFolder(0xe8, 0xb8, 0x4a);

// Drawing happens on a 32 x 32 grid.
void page(QPainter& p, qreal x, qreal y, qreal w = 18, qreal h = 24)
{
    QPainterPath path;
    path.moveTo(x, y);
    path.lineTo(x + w - 6, y);
    path.lineTo(x + w, y + 6);
    path.lineTo(x + w, y + h);
    path.lineTo(x, y + h);
    path.closeSubpath();
    p.setBrush(kPaper);
    p.drawPath(path);
}

void folder(QPainter& p, qreal x, qreal y)
{
    QPainterPath path;
    path.moveTo(x, y + 4);
    path.lineTo(x + 8, y + 4);
    path.lineTo(x + 10, y + 7);
    path.lineTo(x + 22, y + 7);
    path.lineTo(x + 22, y + 20);
    path.lineTo(x, y + 20);
    path.closeSubpath();
    p.setBrush(kFolder);
    p.drawPath(path);
}

void plus(QPainter& p, qreal cx, qreal cy)
{
    p.save();
    p.setPen(QPen(kGreen, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(cx - 5, cy), QPointF(cx + 5, cy));
    p.drawLine(QPointF(cx, cy - 5), QPointF(cx, cy + 5));
    p.restore();
}

void cross(QPainter& p, const QColor& c, qreal cx, qreal cy, qreal r)
{
    p.save();
    p.setPen(QPen(c, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(cx - r, cy - r), QPointF(cx + r, cy + r));
    p.drawLine(QPointF(cx - r, cy + r), QPointF(cx + r, cy - r));
    p.restore();
}

void arrow(QPainter& p, qreal angleDeg, const QColor& c)
{
    p.save();
    p.translate(16, 16);
    p.rotate(angleDeg);
    QPolygonF tri;
    tri << QPointF(0, -12) << QPointF(11, 1) << QPointF(4, 1) << QPointF(4, 12) << QPointF(-4, 12)
        << QPointF(-4, 1) << QPointF(-11, 1);
    p.setBrush(c);
    p.drawPolygon(tri);
    p.restore();
}

void lines(QPainter& p, const QList<QPair<qreal, qreal>>& spans, qreal y0 = 7)
{
    p.save();
    p.setPen(QPen(kInk, 2.5, Qt::SolidLine, Qt::RoundCap));
    qreal y = y0;
    for (const auto& [a, b] : spans) {
        p.drawLine(QPointF(a, y), QPointF(b, y));
        y += 6;
    }
    p.restore();
}

void letter(QPainter& p, const QString& text, bool bold, bool italic, const QColor& c = kInk)
{
    QFont f(u"Sans"_qs);
    f.setPixelSize(24);
    f.setBold(bold);
    f.setItalic(italic);
    p.setFont(f);
    p.setPen(c);
    p.drawText(QRectF(0, 0, 32, 30), Qt::AlignCenter, text);
}

void magnifier(QPainter& p)
{
    p.setBrush(QColor(0xd8, 0xe8, 0xf8));
    p.drawEllipse(QPointF(13, 13), 8, 8);
    p.save();
    p.setPen(QPen(kInk, 4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(19, 19), QPointF(28, 28));
    p.restore();
}

void curvedArrow(QPainter& p, bool toLeft)
{
    p.save();
    if (!toLeft) {
        p.translate(32, 0);
        p.scale(-1, 1);
    }
    p.setPen(QPen(kBlue, 3.5, Qt::SolidLine, Qt::RoundCap));
    p.setBrush(Qt::NoBrush);
    QPainterPath path;
    path.moveTo(8, 12);
    path.cubicTo(18, 4, 30, 10, 26, 24);
    p.drawPath(path);
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF{QPointF(3, 14), QPointF(12, 6), QPointF(13, 17)});
    p.restore();
}

void draw(QPainter& p, const QString& n)
{
    p.setPen(QPen(kInk, 1.8, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    if (n == u"NEWPAGE") {
        page(p, 4, 3);
        plus(p, 23, 23);
    } else if (n == u"RENAME") {
        page(p, 4, 3);
        p.setPen(QPen(kBlue, 4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(14, 26), QPointF(27, 10));
    } else if (n == u"DELETE" || n == u"CANCEL") {
        cross(p, kRed, 16, 16, 9);
    } else if (n == u"SEARCH" || n == u"FIND") {
        if (n == u"FIND")
            page(p, 12, 3, 16, 22);
        magnifier(p);
    } else if (n == u"UP") {
        arrow(p, 0, kBlue);
    } else if (n == u"DOWN") {
        arrow(p, 180, kBlue);
    } else if (n == u"BACK") {
        arrow(p, -90, kGreen);
    } else if (n == u"FORWARD") {
        arrow(p, 90, kGreen);
    } else if (n == u"COPYPAGE" || n == u"COPY") {
        page(p, 3, 2, 16, 21);
        page(p, 12, 8, 16, 21);
    } else if (n == u"COPYFOLDER") {
        folder(p, 2, 0);
        folder(p, 8, 9);
    } else if (n == u"PRINT") {
        p.setBrush(kPaper);
        p.drawRect(QRectF(9, 3, 14, 10));
        p.setBrush(QColor(0x9a, 0xa4, 0xb0));
        p.drawRoundedRect(QRectF(3, 12, 26, 12), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(9, 20, 14, 9));
    } else if (n == u"TRAY") {
        p.setBrush(QColor(0xd8, 0xe8, 0xf8));
        p.drawRoundedRect(QRectF(3, 20, 26, 9), 2, 2);
        arrow(p, 180, kBlue);
    } else if (n == u"EXIT") {
        p.setBrush(QColor(0x9a, 0x6a, 0x40));
        p.drawRect(QRectF(4, 3, 14, 26));
        arrow(p, 90, kRed);
    } else if (n == u"NEWFOLDER") {
        folder(p, 2, 3);
        plus(p, 24, 23);
    } else if (n == u"SORT") {
        lines(p, {{4, 28}, {4, 22}, {4, 16}, {4, 10}});
    } else if (n == u"UNDO") {
        curvedArrow(p, true);
    } else if (n == u"REDO") {
        curvedArrow(p, false);
    } else if (n == u"CUT") {
        p.setBrush(Qt::NoBrush);
        p.drawEllipse(QPointF(9, 24), 5, 5);
        p.drawEllipse(QPointF(23, 24), 5, 5);
        p.setPen(QPen(kInk, 2.5));
        p.drawLine(QPointF(12, 20), QPointF(24, 3));
        p.drawLine(QPointF(20, 20), QPointF(8, 3));
    } else if (n == u"PASTE") {
        p.setBrush(QColor(0xc0, 0x90, 0x58));
        p.drawRoundedRect(QRectF(4, 5, 20, 24), 2, 2);
        p.setBrush(QColor(0x9a, 0xa4, 0xb0));
        p.drawRect(QRectF(9, 2, 10, 6));
        page(p, 14, 12, 14, 18);
    } else if (n == u"FORMATCOPY") {
        p.setBrush(kFolder);
        p.drawRoundedRect(QRectF(4, 4, 22, 9), 2, 2);
        p.setPen(QPen(kInk, 3));
        p.drawLine(QPointF(15, 13), QPointF(15, 28));
    } else if (n == u"LINK") {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kBlue, 3));
        p.drawRoundedRect(QRectF(2, 11, 16, 10), 5, 5);
        p.drawRoundedRect(QRectF(14, 11, 16, 10), 5, 5);
    } else if (n == u"OBJECT") {
        p.setBrush(QColor(0xd8, 0xe8, 0xf8));
        p.drawRect(QRectF(3, 3, 17, 17));
        p.setBrush(kFolder);
        p.drawEllipse(QPointF(21, 21), 8, 8);
    } else if (n == u"BOOKMARKS" || n == u"ADDBOOKMARK") {
        p.setBrush(kRed);
        p.drawPolygon(QPolygonF{QPointF(8, 3), QPointF(22, 3), QPointF(22, 29), QPointF(15, 22),
                                QPointF(8, 29)});
        if (n == u"ADDBOOKMARK")
            plus(p, 25, 24);
    } else if (n == u"KEYWORDS") {
        p.setBrush(kFolder);
        p.drawEllipse(QPointF(10, 16), 7, 7);
        p.setPen(QPen(kInk, 3));
        p.drawLine(QPointF(17, 16), QPointF(29, 16));
        p.drawLine(QPointF(25, 16), QPointF(25, 22));
    } else if (n == u"HELP") {
        letter(p, u"?"_qs, true, false, kBlue);
    } else if (n == u"DOCU") {
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(5, 3, 22, 26), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(9, 6, 15, 20));
    } else if (n == u"INFO") {
        p.setBrush(kBlue);
        p.drawEllipse(QPointF(16, 16), 13, 13);
        letter(p, u"i"_qs, true, false, kPaper);
    } else if (n == u"BOLD") {
        letter(p, u"F"_qs, true, false);
    } else if (n == u"ITALIC") {
        letter(p, u"K"_qs, false, true);
    } else if (n == u"UNDERLINE") {
        letter(p, u"U"_qs, false, false);
        p.setPen(QPen(kInk, 2));
        p.drawLine(QPointF(8, 29), QPointF(24, 29));
    } else if (n == u"STRIKETHROUGH") {
        letter(p, u"S"_qs, false, false);
        p.setPen(QPen(kRed, 2));
        p.drawLine(QPointF(6, 16), QPointF(26, 16));
    } else if (n == u"ALIGNLEFT") {
        lines(p, {{4, 28}, {4, 20}, {4, 28}, {4, 16}});
    } else if (n == u"ALIGNCENTER") {
        lines(p, {{4, 28}, {8, 24}, {4, 28}, {10, 22}});
    } else if (n == u"ALIGNRIGHT") {
        lines(p, {{4, 28}, {12, 28}, {4, 28}, {16, 28}});
    } else if (n == u"INDENTLEFT" || n == u"INDENTRIGHT") {
        lines(p, {{4, 28}, {14, 28}, {14, 28}, {4, 28}});
        p.setBrush(kBlue);
        if (n == u"INDENTRIGHT")
            p.drawPolygon(QPolygonF{QPointF(4, 11), QPointF(10, 16), QPointF(4, 21)});
        else
            p.drawPolygon(QPolygonF{QPointF(10, 11), QPointF(4, 16), QPointF(10, 21)});
    } else if (n == u"BULLET") {
        p.setBrush(kInk);
        for (int i = 0; i < 3; ++i)
            p.drawEllipse(QPointF(6, 7 + 9 * i), 2.5, 2.5);
        lines(p, {{12, 28}}, 7);
        lines(p, {{12, 28}}, 16);
        lines(p, {{12, 28}}, 25);
    } else if (n == u"RESET") {
        p.setBrush(QColor(0xff, 0xff, 0x00));
        p.drawRect(QRectF(4, 8, 24, 16));
        cross(p, kRed, 16, 16, 6);
    } else if (n == u"STYLEAPPLY") {
        letter(p, u"A"_qs, true, false, kBlue);
        p.setPen(QPen(kGreen, 3, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(20, 26), QPointF(29, 17));
    } else if (n == u"SWITCHACCESS") {
        p.setBrush(kFolder);
        p.drawRoundedRect(QRectF(6, 14, 20, 15), 2, 2);
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(kInk, 3));
        p.drawArc(QRectF(10, 4, 12, 18), 0, 180 * 16);
    } else if (n == u"SELECTMORE") {
        p.setBrush(kInk);
        p.drawPolygon(QPolygonF{QPointF(8, 12), QPointF(24, 12), QPointF(16, 22)});
    } else if (n == u"OK") {
        p.setPen(QPen(kGreen, 4.5, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.drawPolyline(QPolygonF{QPointF(5, 17), QPointF(13, 25), QPointF(27, 7)});
    } else if (n == u"SHOW") {
        p.setBrush(kPaper);
        p.drawEllipse(QRectF(3, 9, 26, 14));
        p.setBrush(kBlue);
        p.drawEllipse(QPointF(16, 16), 5, 5);
    } else if (n == u"SAVE") {
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(4, 4, 24, 24), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(9, 4, 14, 9));
        p.drawRect(QRectF(8, 18, 16, 10));
    }
}

QPixmap render(const QString& name, int size)
{
    QPixmap pm(size, size);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    draw(p, name);
    return pm;
}

// Freedesktop names of the images the desktop theme usually has.
QString themeName(const QString& n)
{
    static const QHash<QString, QString> kTheme = {
        {u"NEWPAGE"_qs, u"document-new"_qs},
        {u"DELETE"_qs, u"edit-delete"_qs},
        {u"UP"_qs, u"go-up"_qs},
        {u"DOWN"_qs, u"go-down"_qs},
        {u"PRINT"_qs, u"document-print"_qs},
        {u"EXIT"_qs, u"application-exit"_qs},
        {u"NEWFOLDER"_qs, u"folder-new"_qs},
        {u"UNDO"_qs, u"edit-undo"_qs},
        {u"REDO"_qs, u"edit-redo"_qs},
        {u"CUT"_qs, u"edit-cut"_qs},
        {u"COPY"_qs, u"edit-copy"_qs},
        {u"PASTE"_qs, u"edit-paste"_qs},
        {u"FIND"_qs, u"edit-find"_qs},
        {u"BACK"_qs, u"go-previous"_qs},
        {u"FORWARD"_qs, u"go-next"_qs},
        {u"HELP"_qs, u"help-contents"_qs},
        {u"INFO"_qs, u"help-about"_qs},
        {u"BOLD"_qs, u"format-text-bold"_qs},
        {u"ITALIC"_qs, u"format-text-italic"_qs},
        {u"UNDERLINE"_qs, u"format-text-underline"_qs},
        {u"STRIKETHROUGH"_qs, u"format-text-strikethrough"_qs},
        {u"ALIGNLEFT"_qs, u"format-justify-left"_qs},
        {u"ALIGNCENTER"_qs, u"format-justify-center"_qs},
        {u"ALIGNRIGHT"_qs, u"format-justify-right"_qs},
        {u"INDENTLEFT"_qs, u"format-indent-less"_qs},
        {u"INDENTRIGHT"_qs, u"format-indent-more"_qs},
        {u"SAVE"_qs, u"document-save"_qs},
    };
    return kTheme.value(n);
}

} // namespace

namespace KvMenuImages {

const QStringList& Names()
{
    static const QStringList kNames = {
        u"NEWPAGE"_qs,      u"RENAME"_qs,      u"DELETE"_qs,     u"SEARCH"_qs,
        u"UP"_qs,           u"DOWN"_qs,        u"COPYPAGE"_qs,   u"PRINT"_qs,
        u"TRAY"_qs,         u"EXIT"_qs,        u"NEWFOLDER"_qs,  u"SORT"_qs,
        u"UNDO"_qs,         u"REDO"_qs,        u"CUT"_qs,        u"COPY"_qs,
        u"PASTE"_qs,        u"FORMATCOPY"_qs,  u"LINK"_qs,       u"OBJECT"_qs,
        u"BOOKMARKS"_qs,    u"FIND"_qs,        u"BACK"_qs,       u"FORWARD"_qs,
        u"KEYWORDS"_qs,     u"HELP"_qs,        u"DOCU"_qs,       u"INFO"_qs,
        u"BOLD"_qs,         u"ITALIC"_qs,      u"UNDERLINE"_qs,  u"STRIKETHROUGH"_qs,
        u"ALIGNLEFT"_qs,    u"ALIGNCENTER"_qs, u"ALIGNRIGHT"_qs, u"INDENTLEFT"_qs,
        u"INDENTRIGHT"_qs,  u"BULLET"_qs,      u"RESET"_qs,      u"STYLEAPPLY"_qs,
        u"SWITCHACCESS"_qs, u"SELECTMORE"_qs,  u"OK"_qs,         u"CANCEL"_qs,
        u"SHOW"_qs,         u"ADDBOOKMARK"_qs, u"SAVE"_qs,       u"COPYFOLDER"_qs};
    return kNames;
}

QIcon OwnIcon(const QString& name)
{
    if (!Names().contains(name))
        return QIcon();
    QIcon icon;
    for (int size : {16, 24, 32})
        icon.addPixmap(render(name, size));
    return icon;
}

QIcon Icon(const QString& name)
{
    const QIcon own = OwnIcon(name);
    const QString theme = themeName(name);
    const QIcon base = theme.isEmpty() ? own : QIcon::fromTheme(theme, own);
    if (base.isNull())
        return base;
    // A disabled command must look disabled: the style's generated image of a grey
    // drawing is hardly paler than the drawing itself, so a faded grey one is set.
    QIcon icon;
    for (int size : {16, 24, 32}) {
        const QPixmap normal = base.pixmap(size, size);
        icon.addPixmap(normal, QIcon::Normal);
        icon.addPixmap(Faded(normal), QIcon::Disabled);
    }
    return icon;
}

QPixmap Faded(const QPixmap& pixmap)
{
    QImage image = pixmap.toImage().convertToFormat(QImage::Format_ARGB32);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb c = line[x];
            const int grey = 128 + qGray(c) / 2;
            line[x] = qRgba(grey, grey, grey, qAlpha(c) * 2 / 5);
        }
    }
    QPixmap faded = QPixmap::fromImage(image);
    faded.setDevicePixelRatio(pixmap.devicePixelRatio());
    return faded;
}

} // namespace KvMenuImages
