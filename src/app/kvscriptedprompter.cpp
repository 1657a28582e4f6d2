#include "app/kvscriptedprompter.h"

#include "platform/applog.h"

#include <QDebug>

KvScriptedPrompter& KvScriptedPrompter::Answer(int button)
{
    m_script.push_back({Channel::Message, button, {}, {}});
    return *this;
}

KvScriptedPrompter& KvScriptedPrompter::AnswerFolder(const QString& directory)
{
    m_script.push_back({Channel::Folder, 0, directory, {}});
    return *this;
}

KvScriptedPrompter& KvScriptedPrompter::AnswerDialog(int result, const QString& dialogName)
{
    m_script.push_back({Channel::Dialog, result, dialogName, {}});
    return *this;
}

KvScriptedPrompter& KvScriptedPrompter::AnswerDialogWith(std::function<int()> handler,
                                                         const QString& dialogName)
{
    m_script.push_back({Channel::Dialog, 0, dialogName, std::move(handler)});
    return *this;
}

KvScriptedPrompter& KvScriptedPrompter::AnswerChoice(int index)
{
    m_script.push_back({Channel::Choice, index, {}, {}});
    return *this;
}

KvScriptedPrompter& KvScriptedPrompter::AnswerChoiceWith(std::function<int()> handler)
{
    m_script.push_back({Channel::Choice, 0, {}, std::move(handler)});
    return *this;
}

KvScriptedPrompter& KvScriptedPrompter::AnswerSaveFile(const QString& path)
{
    m_script.push_back({Channel::SaveFile, 0, path, {}});
    return *this;
}

KvScriptedPrompter& KvScriptedPrompter::AnswerOpenFile(const QString& path)
{
    m_script.push_back({Channel::OpenFile, 0, path, {}});
    return *this;
}

bool KvScriptedPrompter::take(Channel channel, const QString& dialogName, Step& step)
{
    for (auto it = m_script.begin(); it != m_script.end(); ++it) {
        if (it->channel != channel)
            continue;
        if (channel == Channel::Dialog && !it->text.isEmpty() && it->text != dialogName)
            continue;
        step = std::move(*it);
        m_script.erase(it);
        return true;
    }
    return false;
}

void KvScriptedPrompter::unexpected(Question& q) const
{
    q.unexpected = true;
    const QString line = u"KvScriptedPrompter unexpected question: "_qs + q.title + u": " + q.text;
    qWarning().noquote() << line;
    KvAppLog::Write(line);
}

int KvScriptedPrompter::MessageBox(const QString& title, const QString& text, int kind)
{
    Question q;
    q.channel = Channel::Message;
    q.title = title;
    q.text = text;
    q.kind = kind;
    Step step;
    if (take(Channel::Message, {}, step)) {
        q.answer = step.value;
    } else {
        q.answer = SafeAnswer(kind);
        unexpected(q);
    }
    m_asked.append(q);
    return q.answer;
}

QString KvScriptedPrompter::ChooseFolder(const QString& title, const QString& start)
{
    Question q;
    q.channel = Channel::Folder;
    q.title = title;
    q.text = start;
    Step step;
    if (take(Channel::Folder, {}, step))
        q.folder = step.text;
    else
        unexpected(q);
    m_asked.append(q);
    return q.folder;
}

int KvScriptedPrompter::RunDialog(const QString& dialogName, std::function<int()>)
{
    Question q;
    q.channel = Channel::Dialog;
    q.title = dialogName;
    Step step;
    if (take(Channel::Dialog, dialogName, step)) {
        // Recorded before the handler runs, so questions it causes follow in order.
        const qsizetype at = m_asked.size();
        m_asked.append(q);
        const int result = step.handler ? step.handler() : step.value;
        m_asked[at].answer = result;
        return result;
    }
    q.answer = KvAnswer::Cancel;
    unexpected(q);
    m_asked.append(q);
    return q.answer;
}

int KvScriptedPrompter::Choose(const QString& title, const QString& text,
                               const QStringList& buttons, int escapeIndex)
{
    Question q;
    q.channel = Channel::Choice;
    q.title = title;
    q.text = text;
    q.buttons = buttons;
    Step step;
    if (take(Channel::Choice, {}, step)) {
        q.answer = step.handler ? step.handler() : step.value;
    } else {
        q.answer = escapeIndex;
        unexpected(q);
    }
    m_asked.append(q);
    return q.answer;
}

QString KvScriptedPrompter::ChooseSaveFile(const QString& title, const QString& start,
                                           const QString& filter)
{
    return chooseFile(Channel::SaveFile, title, start, filter);
}

QString KvScriptedPrompter::ChooseOpenFile(const QString& title, const QString& start,
                                           const QString& filter)
{
    return chooseFile(Channel::OpenFile, title, start, filter);
}

QString KvScriptedPrompter::chooseFile(Channel channel, const QString& title, const QString& start,
                                       const QString& filter)
{
    Question q;
    q.channel = channel;
    q.title = title;
    q.text = start;
    q.filter = filter;
    Step step;
    if (take(channel, {}, step))
        q.folder = step.text;
    else
        unexpected(q);
    m_asked.append(q);
    return q.folder;
}

QList<KvScriptedPrompter::Question> KvScriptedPrompter::AskedOn(Channel channel) const
{
    QList<Question> out;
    for (const Question& q : m_asked) {
        if (q.channel == channel)
            out.append(q);
    }
    return out;
}

QList<KvScriptedPrompter::Question> KvScriptedPrompter::Messages() const
{
    return AskedOn(Channel::Message);
}

bool KvScriptedPrompter::Unexpected() const
{
    for (const Question& q : m_asked) {
        if (q.unexpected)
            return true;
    }
    return false;
}

void KvScriptedPrompter::Clear()
{
    m_script.clear();
    m_asked.clear();
}
