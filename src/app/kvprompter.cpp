#include "app/kvprompter.h"

#include "app/kvtexts.h"
#include "platform/applog.h"

#include <atomic>

namespace {

// Used when nothing else is installed (start-up, command-line use): acknowledges notices
// with their first button but answers questions with the choice that changes nothing
// (nobody agreed to a deletion), cancels the folder chooser and every other dialog,
// since nothing can be entered there, and writes each question to the log.
class FallbackPrompter final : public KvPrompter
{
public:
    int MessageBox(const QString& title, const QString& text, int kind) override
    {
        const int buttons = kind & KvMsgKind::ButtonMask;
        const bool question =
            buttons == KvMsgKind::ButtonsYesNo || buttons == KvMsgKind::ButtonsYesNoCancel;
        const int answer = question ? SafeAnswer(kind) : DefaultAnswer(kind);
        KvAppLog::Write(u"KvPrompter unattended message "_qs + QString::number(kind) + u": " +
                        title + u": " + text + u" -> " + QString::number(answer));
        return answer;
    }

    QString ChooseFolder(const QString& title, const QString& start) override
    {
        KvAppLog::Write(u"KvPrompter unattended folder choice: "_qs + title + u" -> cancelled");
        return QString();
    }

    int RunDialog(const QString& dialogName, std::function<int()>) override
    {
        KvAppLog::Write(u"KvPrompter unattended dialog: "_qs + dialogName + u" -> cancelled");
        return KvAnswer::Cancel;
    }
};

FallbackPrompter& fallback()
{
    static FallbackPrompter p;
    return p;
}

std::atomic<KvPrompter*> g_current{nullptr};

} // namespace

KvPrompter& KvPrompter::Current()
{
    KvPrompter* p = g_current.load();
    return p ? *p : fallback();
}

void KvPrompter::SetCurrent(KvPrompter* p)
{
    g_current.store(p);
}

void KvPrompter::ResetIfCurrent(KvPrompter* p)
{
    KvPrompter* expected = p;
    g_current.compare_exchange_strong(expected, nullptr);
}

int KvPrompter::Choose(const QString& title, const QString& text, const QStringList& buttons,
                       int escapeIndex)
{
    KvAppLog::Write(u"KvPrompter unattended choice: "_qs + title + u": " + text + u" -> " +
                    buttons.value(escapeIndex));
    return escapeIndex;
}

QString KvPrompter::ChooseSaveFile(const QString& title, const QString& start,
                                   const QString& filter)
{
    KvAppLog::Write(u"KvPrompter unattended file choice: "_qs + title + u" -> cancelled");
    return QString();
}

QString KvPrompter::ChooseOpenFile(const QString& title, const QString& start,
                                   const QString& filter)
{
    KvAppLog::Write(u"KvPrompter unattended file choice: "_qs + title + u" -> cancelled");
    return QString();
}

int KvPrompter::ShowMessage(const QString& title, const QString& text, int kind)
{
    KvAppLog::Write(u"TMainF::MessageBox"_qs);
    return Current().MessageBox(title, text, kind);
}

int KvPrompter::ShowMessage(int titleNumber, int textNumber, int kind, const QStringList& values)
{
    return ShowMessage(KvTexts::Text(titleNumber), KvTexts::Message(textNumber, values), kind);
}

int KvPrompter::DefaultAnswer(int kind)
{
    if (kind & KvMsgKind::DefaultSecond) {
        switch (kind & KvMsgKind::ButtonMask) {
        case KvMsgKind::ButtonsYesNoCancel:
        case KvMsgKind::ButtonsYesNo:
            return KvAnswer::No;
        case KvMsgKind::ButtonsOkCancel:
            return KvAnswer::Cancel;
        default:
            break;
        }
    }
    switch (kind & KvMsgKind::ButtonMask) {
    case KvMsgKind::ButtonsYesNoCancel:
    case KvMsgKind::ButtonsYesNo:
        return KvAnswer::Yes;
    default:
        return KvAnswer::Ok;
    }
}

int KvPrompter::SafeAnswer(int kind)
{
    switch (kind & KvMsgKind::ButtonMask) {
    case KvMsgKind::ButtonsOkCancel:
    case KvMsgKind::ButtonsYesNoCancel:
        return KvAnswer::Cancel;
    case KvMsgKind::ButtonsYesNo:
        return KvAnswer::No;
    default:
        return KvAnswer::Ok;
    }
}

KvPrompterScope::KvPrompterScope(KvPrompter& p) : m_previous(g_current.load())
{
    KvPrompter::SetCurrent(&p);
}

KvPrompterScope::~KvPrompterScope()
{
    KvPrompter::SetCurrent(m_previous);
}
