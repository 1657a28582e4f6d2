// German throughout and the look of the window: Qt's own texts, the password dialog,
// dates in messages, titles as set, disabled images, status-bar panels.
#include "app/kvdirprops.h"
#include "app/kvlockdirectory.h"
#include "app/kvpaths.h"
#include "app/kvscriptedprompter.h"
#include "app/kvshell.h"
#include "app/kvtexts.h"
#include "richtext/texrichdocument.h"
#include "store/kvdirstores.h"
#include "store/texmeminifile.h"
#include "support/testenv.h"
#include "ui/kvmenuimages.h"
#include "ui/kvqttranslations.h"
#include "ui/tmainf.h"
#include "ui/tpasswordf.h"

#include <QAction>
#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <gtest/gtest.h>

QT_BEGIN_NAMESPACE
inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}
QT_END_NAMESPACE

namespace {

TEST(German, QtsOwnDialogsAndButtonsSpeakGerman)
{
    ASSERT_TRUE(KvInstallQtTranslations(*QCoreApplication::instance()))
        << "Qt's German translations (qt6-translations-l10n) are missing";
    const struct
    {
        const char* context;
        const char* source;
        const char16_t* german;
    } kTexts[] = {
        {"QPlatformTheme", "Cancel", u"Abbrechen"},
        {"QPlatformTheme", "&Yes", u"&Ja"},
        {"QFileDialog", "Directory:", u"Verzeichnis:"},
        {"QColorDialog", "Select Color", u"Farbauswahl"},
    };
    for (const auto& t : kTexts)
        EXPECT_EQ(QCoreApplication::translate(t.context, t.source), QString::fromUtf16(t.german))
            << t.source;
}

TEST(German, DatesInMessagesHaveTheGermanForm)
{
    EXPECT_EQ(KvTexts::DateTimeText(QDateTime(QDate(2024, 3, 7), QTime(9, 5, 30))),
              u"07.03.2024 09:05"_qs);
}

// Messages of the lower layers come from the text table like all others.
TEST(German, FileStoreLockAndShellMessagesComeFromTheTable)
{
    korvtest::SandboxEnv env;
    const QString gone = env.Root() + u"gone.rtf";
    TexRichDocument doc;
    try {
        doc.LoadRtfFile(gone);
        FAIL() << "a missing file loads";
    } catch (const TexRichDocument::ELoadError& e) {
        EXPECT_TRUE(
            e.Message().startsWith(KvTexts::Message(5630, {gone, u"@"_qs}).section(u'@', 0, 0)))
            << e.Message().toStdString();
    }
    EXPECT_EQ(TexMemIniFile::EFileRead(gone).Message(),
              u"Die Datei '"_qs + gone + u"' kann nicht gelesen werden."_qs);
    EXPECT_EQ(KvDirStores::ENotOpen(u"objprps"_qs).Message(),
              u"Der Speicher 'objprps' ist nicht geöffnet."_qs);
    EXPECT_EQ(KvShell::Open(u"  "_qs).reason, KvTexts::Text(5634));
    EXPECT_EQ(KvShell::Open(gone).reason, u"Die Datei '"_qs + gone + u"' existiert nicht."_qs);
}

TEST(German, PasswordDialogAsksForThePasswordOfItsPage)
{
    TPasswordF dialog(u"Reisekosten"_qs);
    EXPECT_EQ(dialog.windowTitle(), u"Passwort für Seite 'Reisekosten'"_qs);
    auto* label = dialog.findChild<QLabel*>(u"PasswordLbl"_qs);
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), u"Passwort:"_qs);
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Ok)->text(), u"OK"_qs);
    EXPECT_EQ(buttons->button(QDialogButtonBox::Cancel)->text(), u"Abbrechen"_qs);
}

TEST(Look, DisabledImagesAreFadedAndGrey)
{
    for (const QString& name : {u"CUT"_qs, u"NEWPAGE"_qs, u"SWITCHACCESS"_qs}) {
        const QIcon icon = KvMenuImages::Icon(name);
        const QImage normal = icon.pixmap(16, 16, QIcon::Normal).toImage();
        const QImage disabled = icon.pixmap(16, 16, QIcon::Disabled).toImage();
        ASSERT_EQ(normal.size(), disabled.size()) << name.toStdString();
        qint64 alphaNormal = 0, alphaDisabled = 0;
        bool grey = true;
        for (int y = 0; y < normal.height(); ++y) {
            for (int x = 0; x < normal.width(); ++x) {
                alphaNormal += qAlpha(normal.pixel(x, y));
                const QRgb d = disabled.pixel(x, y);
                alphaDisabled += qAlpha(d);
                grey = grey && (qAlpha(d) == 0 || (qRed(d) == qGreen(d) && qGreen(d) == qBlue(d)));
            }
        }
        EXPECT_LT(alphaDisabled * 2, alphaNormal) << name.toStdString();
        EXPECT_TRUE(grey) << name.toStdString();
    }
}

class WindowLook : public ::testing::Test
{
protected:
    void SetUp() override
    {
        KvPaths::ResetDataDirCache();
        KvPrompter::SetCurrent(&prompter);
    }
    void TearDown() override
    {
        KvPrompter::SetCurrent(nullptr);
        KvPaths::ResetDataDirCache();
        KvLockDirectory::SetProcessCheck({});
        KvDirStores::Close();
    }
    korvtest::SandboxEnv env;
    KvScriptedPrompter prompter;
};

// The window system appends the display name to every title that does not end with it.
TEST_F(WindowLook, TitleIsShownExactlyAsSet)
{
    const QString dir = env.Dir(u"notes"_qs);
    TMainF w({u"/dr"_qs, dir});
    EXPECT_EQ(w.windowTitle(), u"Korvelle ***(Nur Lesen)***"_qs);
    EXPECT_TRUE(w.windowTitle().endsWith(QGuiApplication::applicationDisplayName()))
        << QGuiApplication::applicationDisplayName().toStdString();
}

TEST_F(WindowLook, ToolbarButtonsOfDisabledCommandsShowTheFadedImage)
{
    TMainF w({});
    w.UpdateCommandStates();
    QAction* cut = w.Action(u"CutA"_qs);
    ASSERT_FALSE(cut->isEnabled());
    auto* button =
        qobject_cast<QToolButton*>(w.findChild<QToolBar*>(u"EditToolbar"_qs)->widgetForAction(cut));
    ASSERT_NE(button, nullptr);
    EXPECT_FALSE(button->isEnabled());
    EXPECT_NE(button->icon().pixmap(16, 16, QIcon::Disabled).toImage(),
              button->icon().pixmap(16, 16, QIcon::Normal).toImage());
}

TEST_F(WindowLook, EmptyStatusPanelsKeepTheirPlaces)
{
    TMainF w({});
    w.resize(1000, 600);
    w.show();
    auto widths = [&] {
        QList<int> r;
        for (int i = 0; i < 5; ++i)
            r.append(w.findChild<QLabel*>(u"StatusPanel%1"_qs.arg(i))->geometry().left());
        return r;
    };
    for (int i = 0; i < 5; ++i)
        w.SetStatusPanelText(i, u"Text %1"_qs.arg(i));
    QApplication::processEvents();
    const QList<int> filled = widths();
    for (int i = 0; i < 5; ++i)
        w.SetStatusPanelText(i, QString());
    QApplication::processEvents();
    EXPECT_EQ(widths(), filled);
    w.SetStatusPanelText(2, u"1/1"_qs);
    QApplication::processEvents();
    EXPECT_EQ(widths(), filled);
}

} // namespace
