#include "ui/kvkeypreview.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>
#include <gtest/gtest.h>

namespace {

TEST(KvKeyPreview, WindowSeesKeysFirstAndMayKeepThem)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new QLineEdit(&window);
    layout->addWidget(edit);
    QList<int> seen;
    new KvKeyPreview(&window, [&seen](QKeyEvent* e) {
        seen.append(e->key());
        return e->key() == Qt::Key_F12;
    });
    window.show();
    edit->setFocus();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window) || edit->hasFocus());

    QTest::keyClick(edit, Qt::Key_A);
    QTest::keyClick(edit, Qt::Key_F12);
    QTest::keyClick(edit, Qt::Key_B);
    // Every key once, in order; the used one did not reach the control.
    EXPECT_EQ(seen, (QList<int>{Qt::Key_A, Qt::Key_F12, Qt::Key_B}));
    EXPECT_EQ(edit->text(), u"ab"_qs);
}

TEST(KvKeyPreview, KeysOfOtherWindowsAreNotSeen)
{
    QWidget window;
    QLineEdit other;
    int seen = 0;
    new KvKeyPreview(&window, [&seen](QKeyEvent*) {
        ++seen;
        return true;
    });
    other.show();
    other.setFocus();
    QTest::keyClick(&other, Qt::Key_X);
    EXPECT_EQ(seen, 0);
    EXPECT_EQ(other.text(), u"x"_qs);
}

} // namespace
