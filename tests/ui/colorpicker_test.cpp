#include "ui/texcolorpicker.h"

#include <QAction>
#include <QMenu>
#include <gtest/gtest.h>

namespace {

TEST(TexColorPicker, ChoosingAColourAppliesItThroughTheCommand)
{
    TexColorPicker picker;
    QAction command(u"ChangeFontColorA"_qs);
    int applied = 0;
    QObject::connect(&command, &QAction::triggered, [&applied] { ++applied; });
    picker.SetAction(&command);
    QList<QColor> chosen;
    QObject::connect(&picker, &TexColorPicker::ColorChosen,
                     [&chosen](const QColor& c) { chosen.append(c); });

    const QList<QAction*> entries = picker.menu()->actions();
    ASSERT_GT(entries.size(), 3);
    EXPECT_EQ(entries.last(), picker.CustomColorEntry());
    entries[4]->trigger(); // red
    EXPECT_EQ(picker.CurrentColor(), QColor(Qt::red));
    EXPECT_EQ(chosen, (QList<QColor>{QColor(Qt::red)}));
    EXPECT_EQ(applied, 1);
    EXPECT_FALSE(command.icon().isNull()) << "the command shows the current colour";

    // A disabled command keeps the choice but applies nothing.
    command.setEnabled(false);
    entries[0]->trigger();
    EXPECT_EQ(picker.CurrentColor(), QColor(Qt::black));
    EXPECT_EQ(applied, 1);
}

} // namespace
