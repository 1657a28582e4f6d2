#include "app/kvscreenlayout.h"

#include <QGuiApplication>
#include <QScreen>

namespace {
std::optional<KvScreenLayout>& override()
{
    static std::optional<KvScreenLayout> layout;
    return layout;
}
} // namespace

KvScreenLayout KvScreenLayout::Current()
{
    if (override())
        return *override();
    KvScreenLayout layout;
    if (QScreen* primary = QGuiApplication::primaryScreen()) {
        layout.primary = primary->geometry();
        layout.primaryAvailable = primary->availableGeometry();
        layout.virtualDesktop = primary->virtualGeometry();
    }
    for (QScreen* s : QGuiApplication::screens())
        layout.available.append(s->availableGeometry());
    return layout;
}

void KvScreenLayout::SetOverride(const std::optional<KvScreenLayout>& layout)
{
    override() = layout;
}

KvScreenLayout KvScreenLayout::Single(const QSize& size)
{
    const QRect r(QPoint(0, 0), size);
    return KvScreenLayout{r, r, r, {r}};
}
