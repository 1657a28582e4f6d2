#pragma once

#include <QObject>

class QMimeData;

// What the clipboard offers to a paste.
struct KvClipboardOffer
{
    bool text = false;
    bool rtf = false;
    bool picture = false;

    // The kinds a clipboard content of these formats offers.
    static KvClipboardOffer FromFormats(const QStringList& formats);
};

// Follows the clipboard by its change signal, so that the idle pass never asks the
// clipboard (on X11 asking waits for the program that owns it).
class KvClipboardWatch : public QObject
{
    Q_OBJECT
public:
    explicit KvClipboardWatch(QObject* parent = nullptr);
    const KvClipboardOffer& Offer() const { return m_offer; }

private:
    void refresh();

    KvClipboardOffer m_offer;
};
