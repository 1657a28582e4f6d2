#include "cli/kvclishow.h"

#include "cli/kvcliasker.h"
#include "cli/kvclierror.h"
#include "cli/kvcliio.h"
#include "cli/kvclinotebook.h"
#include "model/blowfishvcl.h"
#include "model/kvpage.h"
#include "richtext/rtfwriter.h"
#include "richtext/texrichdocument.h"
#include "store/kvdirstores.h"
#include "store/texmeminifile.h"

#include <QFile>
#include <QFileInfo>

namespace {

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw KvCliError(u"cannot read %1: %2"_qs.arg(path, f.errorString()));
    return f.readAll();
}

} // namespace

namespace KvCliShow {

void LoadPage(KvPage& page, bool passwordStdin, KvCliIo& io)
{
    KvCliAsker asker(io, passwordStdin, KvCliAsker::Unanswered::Fail);
    try {
        page.Load(false, false);
    } catch (const KvPage::EWrongPassword&) {
        throw KvCliError(u"wrong password for page %1"_qs.arg(page.Id()));
    } catch (const KvPage::EDecryptError& e) {
        throw KvCliError(u"corrupt encrypted content file: %1"_qs.arg(e.Message()));
    } catch (const TexRichDocument::ELoadError& e) {
        throw KvCliError(u"content file of %1 cannot be read: %2"_qs.arg(page.Id(), e.Message()));
    }
}

void Run(const QString& dir, const QString& id, KvCliFormats::Format format, bool passwordStdin,
         KvCliIo& io)
{
    KvCliNotebook nb(dir, false);
    {
        TexMemIniFile objects(KvDirStores::ObjectStore());
        if (!objects.FindSection(id))
            throw KvCliError(u"unknown id: %1"_qs.arg(id));
    }
    if (!id.contains(u"Page"))
        throw KvCliError(u"%1 is a folder, not a page"_qs.arg(id));

    KvPage page(id, nullptr, true);
    LoadPage(page, passwordStdin, io);

    // The file the page was loaded from: a password change may not be in place yet.
    const QString contentPath = page.ContentReadPath();
    if (format == KvCliFormats::Format::Rtf && QFileInfo::exists(contentPath)) {
        // The stored RTF as it is, decrypted for a protected page.
        QByteArray rtf;
        if (page.IsProtected()) {
            bool ok = false;
            try {
                ok = page.Password().ReadContent(contentPath, rtf);
            } catch (const KvException&) {
                ok = false;
            }
            if (!ok)
                throw KvCliError(u"corrupt encrypted content file: %1"_qs.arg(contentPath));
        } else {
            rtf = readFile(contentPath);
        }
        io.Out(rtf);
        rtf.fill('\0');
        return;
    }
    io.Out(KvCliFormats::Write(*page.GetEditor()->Document(), format));
}

} // namespace KvCliShow
