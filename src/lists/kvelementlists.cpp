#include "lists/kvelementlists.h"

#include "platform/applog.h"
#include "platform/kvexception.h"

#include <exception>

KvElementLists::KvElementLists() = default;
KvElementLists::~KvElementLists() = default;

void KvElementLists::Add(KvElementListener* listener)
{
    if (listener && !m_listeners.contains(listener))
        m_listeners.append(listener);
}

void KvElementLists::AddFirst(KvElementListener* listener)
{
    if (listener && !m_listeners.contains(listener))
        m_listeners.prepend(listener);
}

void KvElementLists::Remove(KvElementListener* listener)
{
    m_listeners.removeAll(listener);
}

void KvElementLists::SetReporter(Reporter reporter)
{
    m_reporter = std::move(reporter);
}

void KvElementLists::each(const char* what, const std::function<void(KvElementListener&)>& call)
{
    // A copy: a listener may remove itself.
    const QList<KvElementListener*> listeners = m_listeners;
    for (KvElementListener* l : listeners) {
        QString failure;
        try {
            call(*l);
            continue;
        } catch (const KvException& e) {
            failure = e.Message();
        } catch (const std::exception& e) {
            failure = QString::fromLocal8Bit(e.what());
        } catch (...) {
            failure = u"unknown error"_qs;
        }
        KvAppLog::Write(u"KvElementLists::%1: %2 failed: %3"_qs.arg(QString::fromLatin1(what),
                                                                    l->ListenerName(), failure));
        if (m_firstFailure.isNull())
            m_firstFailure = failure;
    }
}

void KvElementLists::begin(bool save)
{
    if (m_depth++ > 0) {
        m_save = m_save || save;
        return;
    }
    m_save = save;
    m_firstFailure = QString();
    each("BeginBatch", [](KvElementListener& l) { l.BeginBatch(); });
}

void KvElementLists::end()
{
    if (--m_depth > 0)
        return;
    const bool save = m_save;
    each("EndBatch", [save](KvElementListener& l) { l.EndBatch(save); });
    const QString failure = std::exchange(m_firstFailure, QString());
    if (!failure.isNull() && m_reporter) {
        try {
            m_reporter(failure);
        } catch (...) {
            KvAppLog::Write(u"KvElementLists: the report of a failure failed"_qs);
        }
    }
}

void KvElementLists::ForgetIds(const QStringList& ids)
{
    Batch batch(*this, InBatch() ? false : true);
    each("ForgetIds", [&ids](KvElementListener& l) { l.ForgetIds(ids); });
}

void KvElementLists::Renewed(const QStringList& ids)
{
    Batch batch(*this, InBatch() ? false : true);
    each("Renewed", [&ids](KvElementListener& l) { l.Renewed(ids); });
}

KvElementLists::Batch::Batch(KvElementLists& lists, bool save) : m_lists(lists)
{
    m_lists.begin(save);
}

KvElementLists::Batch::~Batch()
{
    m_lists.end();
}

void KvElementLists::Batch::SetSave(bool save)
{
    m_lists.m_save = save;
}
