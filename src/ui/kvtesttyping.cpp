#include "ui/kvtesttyping.h"

#include "model/kvpage.h"
#include "platform/applog.h"
#include "richtext/texrichedit.h"
#include "ui/kvtvpage.h"
#include "ui/tmainf.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>

namespace {

constexpr int kPollMs = 50;
constexpr int kPolls = 400; // gives up after 20 s without a shown page

void type(TexRichEdit& edit, const QString& text)
{
    KV_LOG_SCOPE("KvTestTyping::Type");
    edit.moveCursor(QTextCursor::End);
    for (const QChar c : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QCoreApplication::sendEvent(&edit, &press);
    }
}

} // namespace

namespace KvTestTyping {

void StartIfAsked(TMainF& window)
{
    const QString text = qEnvironmentVariable(Variable);
    if (text.isEmpty())
        return;
    auto* poll = new QTimer(&window);
    poll->setInterval(kPollMs);
    QObject::connect(poll, &QTimer::timeout, poll,
                     [poll, text, w = QPointer<TMainF>(&window), left = kPolls]() mutable {
                         auto* page = w ? dynamic_cast<KvTVPage*>(w->ShownPage()) : nullptr;
                         TexRichEdit* edit =
                             page && page->IsLoaded() ? page->EditorWidget() : nullptr;
                         if (edit)
                             type(*edit, text);
                         if (edit || --left <= 0) {
                             poll->stop();
                             poll->deleteLater();
                         }
                     });
    poll->start();
}

} // namespace KvTestTyping
