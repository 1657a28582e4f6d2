// A writer that the crash test kills at random moments. It opens a notebook with full
// access and repeats one kind of write for ever; after each write has returned it appends
// a line to a journal and syncs it, so the test knows what must be on disk.
//
//   korv_crashwriter pages DIR JOURNAL PAGEID...    page texts "gen:N <id>" stored in turn
//   korv_crashwriter folder DIR JOURNAL             the top folder's children reordered
//   korv_crashwriter password DIR JOURNAL PAGEID PW  password PW, then PW1, PW2, ...
#include "cli/kvclinotebook.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"
#include "model/kvpasswordasker.h"
#include "richtext/texrichdocument.h"

#include <QCoreApplication>
#include <QFile>
#include <QRandomGenerator>
#include <cstdio>
#include <unistd.h>

namespace {

class Journal
{
public:
    explicit Journal(const QString& path) : m_file(path)
    {
        if (!m_file.open(QIODevice::WriteOnly | QIODevice::Append))
            std::exit(3);
    }
    void Line(const QString& text)
    {
        m_file.write((text + u'\n').toUtf8());
        m_file.flush();
        ::fsync(m_file.handle());
    }

private:
    QFile m_file;
};

class FixedAsker : public KvPasswordAsker
{
public:
    bool AskPassword(KvPage&, QString& password) override
    {
        password = current;
        return true;
    }
    QString current;
};

// Filler so that a content file spans several blocks and a torn write would show.
QString filler(int n)
{
    QString text;
    for (int i = 0; i < 60; ++i)
        text += u"Zeile %1 von Durchgang %2 mit etwas mehr Text\n"_qs.arg(i).arg(n);
    return text;
}

KvPage* pageOf(const QString& id)
{
    return dynamic_cast<KvPage*>(FindObject(id));
}

void setText(KvPage& page, const QString& text)
{
    page.GetEditor()->LoadPlainText(text);
    page.GetEditor()->SetModified(true);
}

int runPages(const QStringList& ids, Journal& journal)
{
    for (qint64 n = 1;; ++n) {
        for (const QString& id : ids) {
            KvPage* page = pageOf(id);
            if (!page)
                return 4;
            page->Load(false, false);
            setText(*page, u"gen:%1 %2\n"_qs.arg(n).arg(id) + filler(int(n)));
            page->Store();
            page->Unload();
            journal.Line(id + u' ' + QString::number(n));
        }
    }
}

int runFolder(KvFolder& folder, Journal& journal)
{
    QRandomGenerator rng(quint32(::getpid()));
    for (qint64 n = 1;; ++n) {
        const int count = folder.ChildCount();
        if (count < 2)
            return 4;
        // Moves across the 200-item sections, so every store rewrites continuations.
        KvObject* child = folder.Children().at(1 + int(rng.bounded(count - 1)));
        for (int k = 0; k < 1 + int(rng.bounded(250)) && child->IndexInParent() > 0; ++k)
            child->MoveUp();
        folder.Store();
        journal.Line(QString::number(n));
    }
}

int runPassword(const QString& id, const QString& first, Journal& journal)
{
    FixedAsker asker;
    asker.current = first;
    KvPasswordAsker::SetCurrent(&asker);
    for (qint64 n = 1;; ++n) {
        KvPage* page = pageOf(id);
        if (!page)
            return 4;
        const QString next = first + QString::number(n);
        page->Load(false, false);
        if (!page->SetPassword(next, true))
            return 5;
        page->Store();
        page->Unload();
        asker.current = next;
        journal.Line(QString::number(n));
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments().mid(1);
    if (args.size() < 3)
        return 2;
    const QString mode = args[0];
    Journal journal(args[2]);
    try {
        KvCliNotebook nb(args[1], true);
        nb.Build();
        std::fputs("ready\n", stdout);
        std::fflush(stdout);
        if (mode == u"pages")
            return runPages(args.mid(3), journal);
        if (mode == u"folder")
            return runFolder(*nb.Top(), journal);
        if (mode == u"password" && args.size() == 5)
            return runPassword(args[3], args[4], journal);
        return 2;
    } catch (const KvException& e) {
        std::fprintf(stderr, "%s\n", qPrintable(e.Message()));
        return 1;
    }
}
