#pragma once

#include <QString>

class KvCliIo;

// The "generate" command: a synthetic notebook through the model's generator, in a
// directory that holds no notebook yet.
namespace KvCliGenerate {

struct Request
{
    QString dir;
    int pages = 0;
    int folders = -1; // -1: a tenth of the pages
    int depth = -1;   // -1: as the generator nests; 0: no folders at all
    int protectedPages = 0;
    QString password; // for the protected pages
    quint32 seed = 1;
    int pageBytes = 0; // 0: a few paragraphs per page
};

void Run(const Request& request, KvCliIo& io);

} // namespace KvCliGenerate
