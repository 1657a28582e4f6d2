// The window rests when nothing happens: once the idle pass has brought the controls up to
// date, no further pass and no timer runs until something arrives from outside.
#include "editingwindow.h"

#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QScopeGuard>
#include <QTimer>
#include <sys/inotify.h>
#include <unistd.h>

namespace {

using namespace korvtest;

// A page in the font, with a last word in an installed one. A font no machine has cannot
// be an entry of the font box's list; the box shows it as text only.
QByteArray PageRtf(const QString& font, const QString& text)
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 " + font.toUtf8() +
           ";}{\\f1 DejaVu Sans;}}\\f0\\fs20 " + text.toUtf8() + " {\\f1 gemischt}\\par}";
}

// Counts the timer events the application delivers, except those of the test's own timer.
class TimerCount : public QObject
{
public:
    explicit TimerCount(const QObject* own) : m_own(own)
    {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~TimerCount() override { QCoreApplication::instance()->removeEventFilter(this); }
    int count = 0;
    QStringList receivers;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Timer && watched != m_own) {
            ++count;
            receivers << QString::fromUtf8(watched->metaObject()->className());
        }
        return false;
    }

private:
    const QObject* m_own;
};

// Counts the opens of files in the directories (inotify): reading a file opens it.
class OpenCount
{
public:
    explicit OpenCount(const QStringList& dirs) : m_fd(inotify_init1(IN_NONBLOCK | IN_CLOEXEC))
    {
        for (const QString& dir : dirs)
            EXPECT_GE(inotify_add_watch(m_fd, QFile::encodeName(dir).constData(), IN_OPEN), 0);
    }
    ~OpenCount() { ::close(m_fd); }
    QStringList Opened()
    {
        alignas(inotify_event) char buffer[4096];
        ssize_t n;
        while ((n = ::read(m_fd, buffer, sizeof buffer)) > 0) {
            for (const char* p = buffer; p < buffer + n;) {
                const auto* event = reinterpret_cast<const inotify_event*>(p);
                m_opened << QString::fromLocal8Bit(event->len ? event->name : ".");
                p += sizeof(inotify_event) + event->len;
            }
        }
        return m_opened;
    }

private:
    int m_fd;
    QStringList m_opened;
};

// The editing tests' window, with page "Plan" in a font that is not installed and page
// "Notiz" in one that is, and an empty folder "Leer"; nothing shown yet.
class WindowRest : public EditingWindow
{
protected:
    void SetUp() override
    {
        ElementWindow::SetUp();
        MakeNotebook([](KvFolder& top, KvFolder&) {
            KvElementFactory f;
            folder(f, u"Fldr0000003"_qs, top, u"Leer"_qs);
        });
        WriteAll(dir + u"Page0000001.kvp"_qs, PageRtf(u"Xyzzy Nonexistent"_qs, u"Plan-Text"_qs));
        WriteAll(dir + u"Page0000002.kvp"_qs, PageRtf(u"DejaVu Sans"_qs, u"Notiz-Text"_qs));
        // A bootstrap file beside the program, which names the settings directory.
        WriteAll(KvPaths::BootstrapFile(), "[All Users]\r\n");
        Open();
    }

    // What happens in the time the window is left alone after one idle pass was asked for,
    // as the last event before would: that pass, and nothing after it.
    struct Rest
    {
        int passes = 0;
        int timers = 0;
        QStringList timerReceivers;
        QStringList opened; // files in the program and settings directories
    };
    Rest LeaveAlone(int ms = 2000)
    {
        QTimer stop;
        stop.setSingleShot(true);
        TimerCount timers(&stop);
        OpenCount opens({KvSysEnv::ProgramDir(), KvPaths::SettingsDir()});
        const int before = window->IdlePasses();
        Rest rest;
        QEventLoop loop;
        QObject::connect(&stop, &QTimer::timeout, &loop, [&] {
            rest.passes = window->IdlePasses() - before;
            loop.quit();
        });
        window->RequestIdle();
        stop.start(ms);
        loop.exec();
        rest.timers = timers.count;
        rest.timerReceivers = timers.receivers;
        rest.opened = opens.Opened();
        return rest;
    }
    // Lets the window finish what the last change started: a new text in a tool bar lays
    // the window out again, which takes a few bursts of events of its own.
    void Settle()
    {
        ASSERT_TRUE(WaitUntil([this] { return LeaveAlone(200).passes <= 1; }, 5000))
            << "the idle pass runs on and on";
    }
    QComboBox* FontBox() const { return Child<QComboBox>(u"FontCoB"_qs); }
};

TEST_F(WindowRest, APageInAFontThatIsNotInstalledLeavesTheWindowAtRest)
{
    Show(u"Page0000001"_qs);
    ASSERT_NE(Editor(), nullptr);
    // The box shows the page's font, though its list cannot hold it.
    EXPECT_EQ(FontBox()->currentText(), u"Xyzzy Nonexistent"_qs);
    EXPECT_EQ(FontBox()->currentIndex(), -1);
    Settle();
    const Rest rest = LeaveAlone();
    EXPECT_EQ(rest.passes, 1);
    EXPECT_EQ(rest.timers, 0) << rest.timerReceivers.join(u", "_qs).toStdString();
    // Neither the settings file nor the bootstrap file is looked into by the pass.
    EXPECT_EQ(rest.opened, QStringList());
    EXPECT_EQ(FontBox()->currentText(), u"Xyzzy Nonexistent"_qs);
}

// Every state the idle pass shows in a control rests once shown: the font and size boxes
// with a mixed selection, the zoom and style controls without a page, the status texts of
// a read-only window.
TEST_F(WindowRest, EveryShownStateRests)
{
    // A focused editor's caret blinks on a timer of the toolkit's own, and its repaint is
    // followed by an idle pass; what is measured here is what the program schedules.
    const int flash = QApplication::cursorFlashTime();
    QApplication::setCursorFlashTime(0);
    const auto restore = qScopeGuard([flash] { QApplication::setCursorFlashTime(flash); });
    const struct
    {
        const char* what;
        std::function<void()> arrange;
        const char16_t* font; // what the font box shows; null without a page
    } cases[] = {
        {"caret in the missing font",
         [this] {
             Show(u"Page0000001"_qs);
             Editor()->SetSelection(2, 0);
         },
         u"Xyzzy Nonexistent"},
        {"selection over two fonts",
         [this] {
             Show(u"Page0000001"_qs);
             Editor()->SetSelection(0, 14);
         },
         u""},
        {"a page in an installed font", [this] { Show(u"Page0000002"_qs); }, u"DejaVu Sans"},
        {"a folder without pages", [this] { Show(u"Fldr0000003"_qs); }, nullptr},
        {"the trash", [this] { Show(u"TrashFolder"_qs); }, nullptr},
        {"read-only",
         [this] {
             Close();
             Open(u"/dr"_qs);
             Show(u"Page0000001"_qs);
             Editor()->SetSelection(2, 0); // the page kept the mixed selection
         },
         u"Xyzzy Nonexistent"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        c.arrange();
        Settle();
        if (c.font)
            EXPECT_EQ(FontBox()->currentText(), QString::fromUtf16(c.font));
        const Rest rest = LeaveAlone(500);
        EXPECT_EQ(rest.passes, 1);
        EXPECT_EQ(rest.timers, 0) << rest.timerReceivers.join(u", "_qs).toStdString();
        EXPECT_EQ(rest.opened, QStringList());
    }
}

} // namespace
