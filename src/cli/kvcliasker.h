#pragma once

#include "model/kvpasswordasker.h"

#include <QString>
#include <optional>

class KvCliIo;

// The password of protected pages for a command while it lives: one line of standard
// input, read at the first question and given for every page, or the terminal asked for
// each page. Without a terminal the question is cancelled.
class KvCliAsker : public KvPasswordAsker
{
public:
    KvCliAsker(KvCliIo& io, bool fromStdin);
    ~KvCliAsker() override;
    KvCliAsker(const KvCliAsker&) = delete;
    KvCliAsker& operator=(const KvCliAsker&) = delete;

    bool AskPassword(KvPage& page, QString& password) override;

private:
    KvCliIo& m_io;
    bool m_fromStdin;
    std::optional<QString> m_line;
    KvPasswordAsker* m_previous = nullptr;
};
