#pragma once

#include "elements/kvelementoptions.h"
#include "platform/kvfilewatch.h"

#include <memory>

// The element options for the idle pass, which asks for them after every burst of
// events: read again only when the settings file changed. A watch on the file tells that
// (KvFileWatch); a pass neither reads nor stats the file, and the path is worked out once.
class KvOptionsCache
{
public:
    const KvElementOptions& Get();
    // The next Get reads the file again.
    void Invalidate() { m_valid = false; }
    // How often the file was read.
    int Reads() const { return m_reads; }

private:
    KvElementOptions m_options;
    std::unique_ptr<KvFileWatch> m_watch;
    bool m_valid = false;
    int m_reads = 0;
};
