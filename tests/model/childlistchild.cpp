// Stores a folder's child list without pause until it is killed; the child-list crash test
// checks what it leaves behind. Argument: the data directory. Every round moves the first
// child of the top folder's first folder to the end and stores that folder.
#include "model/kvdircontext.h"
#include "model/kvnotebookbuild.h"
#include "store/kvdirstores.h"

#include <QGuiApplication>
#include <cstdio>

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2)
        return 2;
    const QString dir = QString::fromLocal8Bit(argv[1]);
    KvDirContext ctx;
    ctx.dataDir = dir;
    KvDirContext::SetCurrent(&ctx);
    KvDirStores::Reopen(dir);
    KvElementFactory plain;
    KvNotebook nb = KvNotebookBuild::Build(plain);
    KvObject* folder = nb.top->Children().first();
    bool announced = false;
    for (;;) {
        KvObject* first = folder->Children().first();
        folder->RemoveChild(first);
        folder->AddChild(first, true);
        folder->KvObject::Store();
        if (!announced) {
            std::fputs("ready\n", stdout);
            std::fflush(stdout);
            announced = true;
        }
    }
}
