#pragma once

#include "elements/kvelementoptions.h"

#include <QDateTime>

// The element options for the idle pass, which asks for them after every burst of
// events: read again only when the settings file changed since the last read.
class KvOptionsCache
{
public:
    const KvElementOptions& Get();
    // The next Get reads the file again.
    void Invalidate() { m_valid = false; }

private:
    KvElementOptions m_options;
    QDateTime m_modified;
    qint64 m_size = -1;
    bool m_valid = false;
};
