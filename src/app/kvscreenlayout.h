#pragma once

#include <QList>
#include <QRect>
#include <optional>

// The screens as the window placement sees them. Tests put a layout of their own in
// place of the real screens (a 1400x900 or a 1920x1080 desktop, a removed monitor).
struct KvScreenLayout
{
    QRect virtualDesktop;   // all monitors together
    QRect primary;          // the primary screen
    QRect primaryAvailable; // the primary screen without panels and docks
    QList<QRect> available; // every screen without its panels

    // The screens now: the override when one is set, else those of the window system.
    static KvScreenLayout Current();
    static void SetOverride(const std::optional<KvScreenLayout>& layout);
    // One screen of the given size whose panels take nothing.
    static KvScreenLayout Single(const QSize& size);
};
