#include "commands/kvclipboardwatch.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMimeData>

KvClipboardOffer KvClipboardOffer::FromFormats(const QStringList& formats)
{
    KvClipboardOffer offer;
    for (const QString& f : formats) {
        if (f == u"text/rtf" || f == u"application/rtf" || f == u"text/richtext")
            offer.rtf = true;
        else if (f.startsWith(u"text/"))
            offer.text = true;
        else if (f.startsWith(u"image/") || f == u"application/x-qt-image")
            offer.picture = true;
    }
    return offer;
}

KvClipboardWatch::KvClipboardWatch(QObject* parent) : QObject(parent)
{
    if (QClipboard* clipboard = QGuiApplication::clipboard()) {
        connect(clipboard, &QClipboard::dataChanged, this, &KvClipboardWatch::refresh);
        refresh();
    }
}

void KvClipboardWatch::refresh()
{
    const QMimeData* data = QGuiApplication::clipboard()->mimeData(QClipboard::Clipboard);
    m_offer = data ? KvClipboardOffer::FromFormats(data->formats()) : KvClipboardOffer{};
}
