#include "cli/kvclishow.h"

#include "cli/kvclierror.h"
#include "cli/kvcliio.h"
#include "cli/kvclinotebook.h"
#include "model/blowfishvcl.h"
#include "model/kvpage.h"
#include "model/kvpasswordasker.h"
#include "richtext/rtfwriter.h"
#include "richtext/texrichdocument.h"
#include "store/kvdirstores.h"
#include "store/texmeminifile.h"

#include <QFile>
#include <QFileInfo>

namespace {

class CliAsker : public KvPasswordAsker
{
public:
    CliAsker(KvCliIo& io, bool fromStdin) : m_io(io), m_fromStdin(fromStdin)
    {
        m_previous = KvPasswordAsker::Current();
        KvPasswordAsker::SetCurrent(this);
    }
    ~CliAsker() override { KvPasswordAsker::SetCurrent(m_previous); }

    bool AskPassword(KvPage& page, QString& password) override
    {
        if (m_fromStdin) {
            if (!m_io.ReadStdinLine(password))
                throw KvCliError(
                    u"page %1 is protected and standard input gave no password"_qs.arg(page.Id()));
            return true;
        }
        if (!m_io.ReadPassword(u"Password for page '%1': "_qs.arg(page.Name()), password))
            throw KvCliError(u"page %1 is protected and there is no terminal to ask for its "
                             "password (use --password-stdin)"_qs.arg(page.Id()));
        return true;
    }

private:
    KvCliIo& m_io;
    bool m_fromStdin;
    KvPasswordAsker* m_previous = nullptr;
};

QByteArray readFile(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        throw KvCliError(u"cannot read %1: %2"_qs.arg(path, f.errorString()));
    return f.readAll();
}

} // namespace

namespace KvCliShow {

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
    CliAsker asker(io, passwordStdin);
    try {
        page.Load(false, false);
    } catch (const KvPage::EWrongPassword&) {
        throw KvCliError(u"wrong password for page %1"_qs.arg(id));
    } catch (const KvPage::EDecryptError& e) {
        throw KvCliError(u"corrupt encrypted content file: %1"_qs.arg(e.Message()));
    } catch (const TexRichDocument::ELoadError& e) {
        throw KvCliError(u"content file of %1 cannot be read: %2"_qs.arg(id, e.Message()));
    }

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
