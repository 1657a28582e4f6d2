#include "store/kvtempfile.h"

#include "platform/applog.h"
#include "platform/sysenv.h"

#include <QDir>
#include <QFile>
#include <cerrno>
#include <cstdlib>
#include <unistd.h>

QString KvTempFileName(const QString& prefix, const QString& extension)
{
    KV_LOG_SCOPE("KvTempFileName");
    QString dir = KvSysEnv::Get().tempDir;
    if (dir.isEmpty())
        dir = QDir::tempPath();
    if (!dir.endsWith(u'/'))
        dir += u'/';
    QByteArray tmpl = QFile::encodeName(dir + prefix) + "XXXXXX.tmp";
    const int fd = ::mkstemps(tmpl.data(), 4);
    if (fd < 0)
        return QString();
    ::close(fd);
    if (extension.isEmpty())
        return QFile::decodeName(tmpl);
    const QString ext = extension.startsWith(u'.') ? extension : u'.' + extension;
    const QByteArray target = tmpl.left(tmpl.size() - 4) + QFile::encodeName(ext);
    // link() refuses an existing name, so another file of that name is never replaced.
    if (::link(tmpl.constData(), target.constData()) != 0) {
        ::unlink(tmpl.constData());
        return QString();
    }
    ::unlink(tmpl.constData());
    return QFile::decodeName(target);
}
