#include "app/kvtexts.h"
#include "ui/kvwidgetprompter.h"

#include <QAbstractButton>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

struct BoxCase
{
    int kind;
    QList<QMessageBox::StandardButton> buttons;
    QStringList captions;
    QMessageBox::Icon icon;
    QMessageBox::StandardButton defaultButton;
    QMessageBox::StandardButton escapeButton;
};

TEST(KvWidgetPrompter, KindsMapToButtonsAndIcons)
{
    const BoxCase cases[] = {
        {0, {QMessageBox::Ok}, {u"OK"_qs}, QMessageBox::NoIcon, QMessageBox::Ok, QMessageBox::Ok},
        {16,
         {QMessageBox::Ok},
         {u"OK"_qs},
         QMessageBox::Critical,
         QMessageBox::Ok,
         QMessageBox::Ok},
        {17,
         {QMessageBox::Ok, QMessageBox::Cancel},
         {u"OK"_qs, u"Abbrechen"_qs},
         QMessageBox::Critical,
         QMessageBox::Ok,
         QMessageBox::Cancel},
        {35,
         {QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel},
         {u"Ja"_qs, u"Nein"_qs, u"Abbrechen"_qs},
         QMessageBox::Question,
         QMessageBox::Yes,
         QMessageBox::Cancel},
        {36,
         {QMessageBox::Yes, QMessageBox::No},
         {u"Ja"_qs, u"Nein"_qs},
         QMessageBox::Question,
         QMessageBox::Yes,
         QMessageBox::No},
        {48, {QMessageBox::Ok}, {u"OK"_qs}, QMessageBox::Warning, QMessageBox::Ok, QMessageBox::Ok},
        {64,
         {QMessageBox::Ok},
         {u"OK"_qs},
         QMessageBox::Information,
         QMessageBox::Ok,
         QMessageBox::Ok},
    };
    for (const BoxCase& c : cases) {
        SCOPED_TRACE(c.kind);
        auto box = KvWidgetPrompter::BuildMessageBox(nullptr, u"Titel"_qs, u"Text"_qs, c.kind);
        EXPECT_EQ(box->icon(), c.icon);
        EXPECT_EQ(box->buttons().size(), c.buttons.size());
        for (qsizetype i = 0; i < c.buttons.size(); ++i) {
            QAbstractButton* b = box->button(c.buttons[i]);
            ASSERT_NE(b, nullptr);
            EXPECT_EQ(b->text(), c.captions[i]);
        }
        EXPECT_EQ(box->defaultButton(), box->button(c.defaultButton));
        EXPECT_EQ(box->escapeButton(), box->button(c.escapeButton));
        EXPECT_EQ(box->windowTitle(), u"Titel"_qs);
    }
}

struct ClickCase
{
    int kind;
    QMessageBox::StandardButton button;
    int answer;
};

TEST(KvWidgetPrompter, ClickedButtonGivesItsAnswer)
{
    const ClickCase cases[] = {
        {0, QMessageBox::Ok, 1},   {17, QMessageBox::Ok, 1}, {17, QMessageBox::Cancel, 2},
        {35, QMessageBox::Yes, 6}, {35, QMessageBox::No, 7}, {35, QMessageBox::Cancel, 2},
        {36, QMessageBox::Yes, 6}, {36, QMessageBox::No, 7}, {64, QMessageBox::Ok, 1},
    };
    for (const ClickCase& c : cases) {
        SCOPED_TRACE(c.kind);
        auto box = KvWidgetPrompter::BuildMessageBox(nullptr, {}, {}, c.kind);
        // A click on a box that is not shown records the button without blocking.
        box->button(c.button)->click();
        EXPECT_EQ(KvWidgetPrompter::Result(*box), c.answer);
    }
}

TEST(KvWidgetPrompter, ClosedWithoutButtonChangesNothing)
{
    EXPECT_EQ(KvWidgetPrompter::Result(*KvWidgetPrompter::BuildMessageBox(nullptr, {}, {}, 36)),
              KvAnswer::No);
    EXPECT_EQ(KvWidgetPrompter::Result(*KvWidgetPrompter::BuildMessageBox(nullptr, {}, {}, 35)),
              KvAnswer::Cancel);
    EXPECT_EQ(KvWidgetPrompter::Result(*KvWidgetPrompter::BuildMessageBox(nullptr, {}, {}, 16)),
              KvAnswer::Ok);
}

TEST(KvWidgetPrompter, LineBreaksShownAsPlainLines)
{
    auto box = KvWidgetPrompter::BuildMessageBox(nullptr, {}, u"a\r\nb"_qs, 64);
    EXPECT_EQ(box->text(), u"a\nb"_qs);
    EXPECT_EQ(box->textFormat(), Qt::PlainText);
}

TEST(KvWidgetPrompter, InstallsItselfWhileItLives)
{
    QWidget window;
    KvPrompter* before = &KvPrompter::Current();
    {
        auto* p = new KvWidgetPrompter(&window); // owned by the window
        EXPECT_EQ(&KvPrompter::Current(), p);
        bool ran = false;
        EXPECT_EQ(p->RunDialog(u"TNameF"_qs,
                               [&] {
                                   ran = true;
                                   return 6;
                               }),
                  6);
        EXPECT_TRUE(ran);
        delete p;
    }
    EXPECT_EQ(&KvPrompter::Current(), before);
}

} // namespace
