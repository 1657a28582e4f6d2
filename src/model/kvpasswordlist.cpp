#include "model/kvpasswordlist.h"

#include <QMutex>

namespace {

QMutex& Mutex()
{
    static QMutex mutex;
    return mutex;
}

QStringList& List()
{
    static QStringList list;
    return list;
}

} // namespace

namespace KvPasswordList {

void Add(const QString& password)
{
    if (password.isEmpty())
        return;
    QMutexLocker lock(&Mutex());
    if (!List().contains(password))
        List().append(password);
}

QStringList Entries()
{
    QMutexLocker lock(&Mutex());
    return List();
}

void Clear()
{
    QMutexLocker lock(&Mutex());
    List().clear();
}

} // namespace KvPasswordList
