#pragma once

#include <QStringList>

class KvCliIo;

// The command-line companion: runs one subcommand and answers its exit status. Errors are
// one line on standard error; nothing escapes as an exception.
namespace KvCli {

enum ExitCode
{
    Success = 0,
    Failure = 1, // an error, or findings of "check"
    Usage = 2
};

// args without the program name: subcommand, then its arguments.
int Run(const QStringList& args, KvCliIo& io);

} // namespace KvCli
