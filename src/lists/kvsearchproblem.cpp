#include "lists/kvsearchproblem.h"

#include "app/kvtexts.h"

#include <cstring>

QString KvSearchProblem::SystemReason(int error)
{
    // strerror's own buffer may be shared between threads; this one is not.
    char buffer[256];
    return QString::fromLocal8Bit(strerror_r(error, buffer, sizeof buffer));
}

QString KvSearchProblem::Text() const
{
    switch (kind) {
    case Unreadable:
        return KvTexts::Message(5630, {path, SystemReason(error)});
    case Corrupt:
        return KvTexts::Message(12092, {path});
    case NotDecrypted:
        return KvTexts::Message(12093, {path});
    case KeywordsNotRead:
        return KvTexts::Message(12094, {detail});
    }
    return {};
}
