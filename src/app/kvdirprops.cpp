#include "app/kvdirprops.h"

#include "app/kvpaths.h"
#include "platform/kvfileseam.h"
#include "store/kvdirstores.h"
#include "store/texinifile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <fcntl.h>
#include <unistd.h>

TexIniFile& KvDirProps::PropsStore()
{
    // The settings directory can change between uses (a new bootstrap file), so the
    // process-wide store follows it.
    const QString settings = KvPaths::SettingsDir();
    if (KvDirStores::SettingsDir() != settings)
        KvDirStores::Open(settings);
    return KvDirStores::DirPropsStore();
}

KvDirProps::KvDirProps(const QString& directory)
{
    ReadFor(directory);
}

void KvDirProps::ReadFor(const QString& directory)
{
    m_dir = KvPaths::WithDrive(KvPaths::WithTrailingSlash(directory));
    TexIniFile& s = PropsStore();
    m_fullAccess = s.ReadBool(m_dir, u"FullAccess"_qs, true);
    m_groupDir = s.ReadBool(m_dir, u"GroupDir"_qs, false);
    m_collapse = s.ReadBool(m_dir, u"CollapseFldrAtStart"_qs, false);
    m_name = s.ReadString(m_dir, u"Name"_qs, QString());
    m_fileExt = s.ReadString(m_dir, u"FileExt"_qs, u"kvp"_qs);
    if (m_fileExt.isEmpty())
        m_fileExt = u"kvp"_qs;
}

void KvDirProps::Store()
{
    TexIniFile& s = PropsStore();
    s.WriteBool(m_dir, u"FullAccess"_qs, m_fullAccess);
    s.WriteBool(m_dir, u"GroupDir"_qs, m_groupDir);
    s.WriteBool(m_dir, u"CollapseFldrAtStart"_qs, m_collapse);
    s.WriteString(m_dir, u"Name"_qs, m_name);
    s.WriteString(m_dir, u"FileExt"_qs, m_fileExt);
    s.UpdateFile();
}

void KvDirProps::Erase()
{
    TexIniFile& s = PropsStore();
    s.EraseSection(m_dir);
    s.UpdateFile();
}

bool KvDirProps::WriteTest()
{
    for (int n = 1; n < 100000; ++n) {
        const QString path = m_dir + u"write_test_%1.tmp"_qs.arg(n);
        if (QFileInfo::exists(path))
            continue;
        if (KvFileSeam::Check(KvFileSeam::Open, path) != 0)
            break;
        const int fd =
            ::open(QFile::encodeName(path).constData(), O_CREAT | O_EXCL | O_WRONLY, 0600);
        if (fd < 0) {
            if (errno == EEXIST)
                continue; // somebody else's scratch file appeared meanwhile
            break;
        }
        ::close(fd);
        ::unlink(QFile::encodeName(path).constData());
        return true;
    }
    m_fullAccess = false;
    try {
        Store();
    } catch (...) {
        // The settings directory is not writable either; the answer stays the same.
    }
    return false;
}

bool KvDirProps::HasData() const
{
    const QDir dir(m_dir);
    for (const QString& name : dir.entryList({u"objprps.*"_qs}, QDir::Files | QDir::Hidden)) {
        bool ok = false;
        const int n = name.mid(8).toInt(&ok);
        if (ok && n > 0)
            return true;
    }
    return false;
}
