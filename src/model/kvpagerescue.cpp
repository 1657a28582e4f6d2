#include "model/kvpagerescue.h"

#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "model/kvpage.h"
#include "platform/applog.h"
#include "platform/kvatomicfile.h"
#include "platform/kvexception.h"
#include "platform/sysenv.h"
#include "richtext/texrichdocument.h"

#include <QDir>

namespace {

enum Choice
{
    Retry = 0,
    ToFile = 1,
    Discard = 2,
    Cancel = 3
};

QString suggestedPath(const KvPage& page)
{
    QString dir = KvSysEnv::Get().documentsDir;
    if (dir.isEmpty())
        dir = KvSysEnv::Get().homeDir;
    QString name = page.Name().trimmed();
    for (QChar& c : name) {
        if (c == u'/' || c == u'\\' || c.category() == QChar::Other_Control)
            c = u'_';
    }
    if (name.isEmpty())
        name = page.Id();
    return QDir(dir).filePath(name + u".rtf"_qs);
}

bool writeAtomically(const QString& path, const QByteArray& bytes, KvAtomicFile::Access access,
                     QString& reason)
{
    int error = 0;
    if (KvAtomicFile::WriteFile(path, bytes, access, &error))
        return true;
    reason = KvAtomicFile::ErrorString(error);
    return false;
}

} // namespace

bool KvPageRescue::WriteText(KvPage& page, const QString& path, QString& reason)
{
    const TexRichDocument* doc = page.GetEditor();
    if (!doc) {
        reason = KvTexts::Text(5958);
        return false;
    }
    return writeAtomically(path, doc->SaveRtf(), KvAtomicFile::Access::KeepOrDefault, reason);
}

KvPageRescue::Outcome KvPageRescue::SaveOrRescue(KvPage& page, const std::function<void()>& save,
                                                 bool mayAsk, const Keep& keep)
{
    KV_LOG_SCOPE("KvPageRescue::SaveOrRescue");
    for (;;) {
        QString reason;
        try {
            save();
            return Outcome::Saved;
        } catch (const KvException& e) {
            reason = e.Message();
        }
        KvAppLog::Write(u"KvPageRescue: "_qs + page.Id() + u" not saved: " + reason);
        if (!mayAsk) {
            QString why;
            const QString path = keep(why);
            KvAppLog::Write(path.isEmpty() ? u"KvPageRescue: no rescue file: "_qs + why
                                           : u"KvPageRescue: text kept in "_qs + path);
            return path.isEmpty() ? Outcome::Discarded : Outcome::SavedToFile;
        }
        const QStringList buttons{KvTexts::Text(5951), KvTexts::Text(5952), KvTexts::Text(5953),
                                  KvTexts::Text(4001)};
        QString question = KvTexts::Message(5950, {page.Name(), reason});
        // The file of the user's choice is plain RTF: said before the file is chosen.
        if (page.IsProtected())
            question += u"\r\n\r\n"_qs + KvTexts::Text(5528);
        const int choice =
            KvPrompter::Current().Choose(KvTexts::Text(5007), question, buttons, Cancel);
        switch (choice) {
        case Retry:
            continue;
        case ToFile: {
            const QString path = KvPrompter::Current().ChooseSaveFile(
                KvTexts::Text(5954), suggestedPath(page), KvTexts::Text(5955));
            if (path.isEmpty())
                continue; // back to the question
            QString why;
            if (WriteText(page, path, why))
                return Outcome::SavedToFile;
            KvPrompter::ShowMessage(KvTexts::Text(5007), KvTexts::Message(5956, {path, why}),
                                    KvMsgKind::Error);
            continue;
        }
        case Discard:
            return Outcome::Discarded;
        default:
            return Outcome::Cancelled;
        }
    }
}
