#pragma once

#include "platform/kvexception.h"

// A failure of a command: its message is the one line shown on standard error.
class KvCliError : public KvException
{
public:
    using KvException::KvException;
};

// The command line itself is wrong (unknown option, missing argument).
class KvCliUsageError : public KvCliError
{
public:
    using KvCliError::KvCliError;
};
