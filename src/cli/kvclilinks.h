#pragma once

#include <QStringList>
#include <optional>

class KvCliIo;

// The link commands: "link" writes link texts as the program puts them on the clipboard
// or into a page, "resolve" says what a click on a link does, "fill" prints the text a
// new page starts with from its folder's template. They read only and work while another
// instance holds the directory's lock.
namespace KvCliLinks {

extern const char* const LinkHelp;
extern const char* const ResolveHelp;
extern const char* const FillHelp;

// "link", "resolve" or "fill" with argv (without the command name): the exit status; none
// for another command.
std::optional<int> Run(const QString& command, const QStringList& argv, KvCliIo& io);

// argv without the command name; each answers the exit status.
int Link(const QStringList& argv, KvCliIo& io);
int Resolve(const QStringList& argv, KvCliIo& io);
int Fill(const QStringList& argv, KvCliIo& io);

} // namespace KvCliLinks
