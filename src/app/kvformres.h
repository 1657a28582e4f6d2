#pragma once

#include "app/kvscreenlayout.h"

#include <QRect>
#include <memory>

class TexProfileFile;

// The position and size of a window in its section of the settings file (keys Top, Left,
// Width, Height). Restoring fits the rectangle to the screens; storing writes nothing for
// a maximized window, so the size from before maximizing stays.
class KvFormRes
{
public:
    // Opens the settings file.
    KvFormRes();
    ~KvFormRes();
    KvFormRes(const KvFormRes&) = delete;
    KvFormRes& operator=(const KvFormRes&) = delete;

    TexProfileFile& Settings() { return *m_settings; }
    // The values taken for keys that are missing.
    void SetDefaultRect(const QRect& rect) { m_default = rect; }

    // The stored rectangle of the section fitted to the screens; none when the section is
    // missing. A dialog (not resizable) keeps designedSize and is only moved; the main
    // window of a second instance is offset by 20 pixels and 20 pixels smaller.
    std::optional<QRect> Restore(const QString& section, bool resizable, const QSize& designedSize,
                                 bool secondMainWindow = false) const;
    // Writes the rectangle (its size only when resizable) unless maximized; flushes.
    void Store(const QString& section, const QRect& rect, bool resizable, bool maximized);

    // Brings rect onto the screens: a rectangle that meets no screen goes to the middle of
    // the primary one; then it is fitted to the desktop, moved and, with shrink, made
    // smaller where it still does not fit.
    static QRect FitToScreen(QRect rect, const KvScreenLayout& screens, bool shrink);

private:
    std::unique_ptr<TexProfileFile> m_settings;
    QRect m_default;
};
