#include "app/kvshell.h"

#include "app/kvtexts.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace KvShell {

namespace {
Recorder* g_recorder = nullptr;
} // namespace

Recorder::Recorder()
{
    Q_ASSERT_X(!g_recorder, "KvShell::Recorder", "recorders do not nest");
    g_recorder = this;
}

Recorder::~Recorder()
{
    if (g_recorder == this)
        g_recorder = nullptr;
}

Result Open(const QString& document)
{
    Result r;
    if (document.trimmed().isEmpty()) {
        r.reason = KvTexts::Text(5634);
        return r;
    }
    QUrl url = QUrl::fromUserInput(document, QString(), QUrl::AssumeLocalFile);
    if (url.isLocalFile() && !QFileInfo::exists(url.toLocalFile())) {
        r.reason = KvTexts::Message(5311, {url.toLocalFile()});
        return r;
    }
    if (!url.isValid()) {
        r.reason = KvTexts::Message(5635, {document});
        return r;
    }
    if (g_recorder) {
        g_recorder->m_opened.append(document);
        r.ok = g_recorder->m_failure.isEmpty();
        if (!r.ok)
            r.reason = g_recorder->m_failure;
        return r;
    }
    r.ok = QDesktopServices::openUrl(url);
    if (!r.ok)
        r.reason = KvTexts::Message(5636, {document});
    return r;
}

} // namespace KvShell
