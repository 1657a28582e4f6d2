// The progress window: title, text, bar, and the three ways the user stops an operation.
#include "app/kvtexts.h"
#include "ui/tprogressf.h"

#include <QCloseEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

TEST(ProgressDialog, ShowsTitleTextAndBar)
{
    QWidget window;
    window.show();
    TProgressF p(&window);
    p.Start(KvTexts::Text(5303), 3);
    EXPECT_TRUE(p.isVisible());
    EXPECT_EQ(p.windowModality(), Qt::WindowModal);
    EXPECT_EQ(p.windowTitle(), KvTexts::Text(5303));
    p.SetText(u"Seite 'A' wird kopiert..."_qs);
    EXPECT_EQ(p.findChild<QLabel*>(u"TextLbl"_qs)->text(), u"Seite 'A' wird kopiert..."_qs);
    auto* bar = p.findChild<QProgressBar*>(u"ProgressBar"_qs);
    EXPECT_EQ(bar->maximum(), 3);
    for (int i = 0; i < 5; ++i)
        p.Step();
    EXPECT_EQ(p.Position(), 3); // never beyond the end
    EXPECT_EQ(p.findChild<QPushButton*>(u"CancelBtn"_qs)->text(), KvTexts::Text(4001));
    EXPECT_FALSE(p.CancelRequested());
}

TEST(ProgressDialog, CancelEscapeAndClosingAllStop)
{
    const struct
    {
        const char* how;
        std::function<void(TProgressF&)> stop;
    } kWays[] = {
        {"Cancel",
         [](TProgressF& p) {
             QTest::mouseClick(p.findChild<QPushButton*>(u"CancelBtn"_qs), Qt::LeftButton);
         }},
        {"Esc", [](TProgressF& p) { QTest::keyClick(&p, Qt::Key_Escape); }},
        {"close", [](TProgressF& p) { p.close(); }},
    };
    for (const auto& w : kWays) {
        SCOPED_TRACE(w.how);
        TProgressF p;
        p.Start(u"Titel"_qs, 10);
        w.stop(p);
        EXPECT_TRUE(p.CancelRequested());
        EXPECT_FALSE(p.isVisible());
        // A new start is a new operation.
        p.Start(u"Titel"_qs, 10);
        EXPECT_FALSE(p.CancelRequested());
    }
}

} // namespace
