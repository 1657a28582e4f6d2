// Changes a notebook without pause until it is killed; crash tests check what it leaves
// behind. Usage: korv_model_crashchild DIR OPERATION [START]
//
// Operations:
//   password  One page (Page0000001) whose password changes at every step n, to
//             CrashPassword(n) (every fourth step removes the protection). Even steps open
//             the page with the old password and change its text to "Inhalt <n>" as well,
//             odd steps change the password of the unopened, locked page (the old one is
//             asked for). START is the last step known to be stored; the notebook is in the
//             state of START or START + 1. A missing notebook is created at step START.
//
// After each step has been stored, "stored <n>" goes to stdout.
#include "crashpasswords.h"
#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"
#include "model/kvpasswordasker.h"
#include "richtext/texrichdocument.h"
#include "store/kvdirstores.h"

#include <QDir>
#include <QGuiApplication>
#include <cstdio>
#include <memory>

namespace {

const QString kPageId = u"Page0000001"_qs;

// Gives the one password it was told.
class FixedAsker : public KvPasswordAsker
{
public:
    bool AskPassword(KvPage&, QString& password) override
    {
        password = answer;
        return !answer.isEmpty();
    }
    QString answer;
};

void Announce(long long step)
{
    std::printf("stored %lld\n", step);
    std::fflush(stdout);
}

void SetText(KvPage& page, const QString& text)
{
    page.GetEditor()->LoadPlainText(text);
    page.GetEditor()->SetModified(true);
}

int RunPassword(long long start)
{
    FixedAsker asker;
    KvPasswordAsker::SetCurrent(&asker);
    auto top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    top->LoadChildren();
    auto* page = dynamic_cast<KvPage*>(FindObject(kPageId));
    long long step = start;
    if (!page) {
        page = new KvPage(kPageId, top.get(), true);
        page->SetName(u"Seite"_qs);
        page->SetPassword(CrashPassword(step), false);
        page->Load(false, false);
        SetText(*page, u"Inhalt "_qs + QString::number(step));
        page->Store();
        page->Unload();
        top->Store();
        Announce(step);
    } else if (page->IsProtected() != !CrashPassword(step).isEmpty() ||
               (page->IsProtected() && !page->CheckPassword(CrashPassword(step)))) {
        ++step; // the step after START was stored before the kill
    }
    for (;;) {
        const QString old = CrashPassword(step);
        ++step;
        asker.answer = old;
        if (step % 2 == 0) {
            page->Load(false, false);
            SetText(*page, u"Inhalt "_qs + QString::number(step));
            page->SetPassword(CrashPassword(step), false);
            page->Store();
            page->Unload();
        } else {
            page->SetPassword(CrashPassword(step), false);
            page->Store();
        }
        Announce(step);
    }
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 3)
        return 2;
    QString dir = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + u'/';
    const QByteArray operation = argv[2];
    const long long start = argc > 3 ? QByteArray(argv[3]).toLongLong() : 0;
    KvDirStores::Reopen(dir);
    KvDirContext ctx;
    ctx.dataDir = dir;
    KvDirContext::SetCurrent(&ctx);
    if (operation == "password")
        return RunPassword(start);
    return 2;
}
