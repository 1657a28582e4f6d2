#include "app/kvformres.h"

#include "app/kvpaths.h"
#include "store/texprofilefile.h"

namespace {

const QString kTop = u"Top"_qs;
const QString kLeft = u"Left"_qs;
const QString kWidth = u"Width"_qs;
const QString kHeight = u"Height"_qs;

// One axis of the fitting rule: a start or an end beyond the screen centres the window on
// that axis (at least at 0); with shrink, what still sticks out is cut off.
void fitAxis(int& start, int& length, int screenStart, int screenLength, bool shrink)
{
    if (start < screenStart || start + length > screenStart + screenLength)
        start = std::max(screenStart, screenStart + screenLength / 2 - length / 2);
    if (shrink && start + length > screenStart + screenLength)
        length = screenStart + screenLength - start;
}

} // namespace

KvFormRes::KvFormRes() : m_settings(std::make_unique<TexProfileFile>(KvPaths::SettingsFile())) {}

KvFormRes::~KvFormRes() = default;

QRect KvFormRes::FitToScreen(QRect rect, const KvScreenLayout& screens, bool shrink)
{
    QRect desktop = screens.virtualDesktop;
    if (desktop.isEmpty())
        desktop = screens.primary;
    bool meetsAScreen = false;
    for (const QRect& s : screens.available)
        meetsAScreen = meetsAScreen || s.intersects(rect);
    if (!meetsAScreen && !screens.available.isEmpty()) {
        // A monitor that is gone: the window comes back on the primary screen.
        const QRect primary =
            screens.primaryAvailable.isEmpty() ? screens.primary : screens.primaryAvailable;
        rect.moveCenter(primary.center());
        desktop = primary;
    }
    int top = rect.top(), left = rect.left(), width = rect.width(), height = rect.height();
    fitAxis(top, height, desktop.top(), desktop.height(), shrink);
    fitAxis(left, width, desktop.left(), desktop.width(), shrink);
    return QRect(left, top, width, height);
}

std::optional<QRect> KvFormRes::Restore(const QString& section, bool resizable,
                                        const QSize& designedSize, bool secondMainWindow) const
{
    if (!m_settings->SectionExists(section))
        return std::nullopt;
    QRect r = m_default;
    const auto readInt = [&](const QString& key, int current) {
        return m_settings->ValueExists(section, key) ? m_settings->ReadInteger(section, key, 400)
                                                     : current;
    };
    r.moveTop(readInt(kTop, r.top()));
    r.moveLeft(readInt(kLeft, r.left()));
    if (resizable) {
        r.setWidth(readInt(kWidth, r.width()));
        r.setHeight(readInt(kHeight, r.height()));
    } else {
        r.setSize(designedSize);
    }
    if (secondMainWindow && section.contains(u"Main")) {
        r.translate(20, 20);
        r.setSize(r.size() - QSize(20, 20));
    }
    return FitToScreen(r, KvScreenLayout::Current(), resizable);
}

void KvFormRes::Store(const QString& section, const QRect& rect, bool resizable, bool maximized)
{
    if (maximized)
        return;
    m_settings->WriteInteger(section, kTop, rect.top());
    m_settings->WriteInteger(section, kLeft, rect.left());
    if (resizable) {
        m_settings->WriteInteger(section, kWidth, rect.width());
        m_settings->WriteInteger(section, kHeight, rect.height());
    }
    m_settings->UpdateFile();
}
