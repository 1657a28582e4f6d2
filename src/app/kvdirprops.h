#pragma once

#include <QString>

class TexIniFile;

// The properties of one data directory, kept per user in the "dirprps" store of the
// settings directory under the directory's path. Read anew for every use.
class KvDirProps
{
public:
    explicit KvDirProps(const QString& directory);

    void ReadFor(const QString& directory);
    void Store();
    void Erase();

    const QString& Directory() const { return m_dir; }
    bool FullAccess() const { return m_fullAccess; }
    void SetFullAccess(bool on) { m_fullAccess = on; }
    bool GroupDir() const { return m_groupDir; }
    void SetGroupDir(bool on) { m_groupDir = on; }
    bool CollapseFldrAtStart() const { return m_collapse; }
    void SetCollapseFldrAtStart(bool on) { m_collapse = on; }
    const QString& Name() const { return m_name; }
    void SetName(const QString& name) { m_name = name; }
    const QString& FileExt() const { return m_fileExt; }

    // Creates and deletes a scratch file in the directory. When that fails, FullAccess is
    // switched off and stored, so the directory opens read-only until the user says
    // otherwise.
    bool WriteTest();
    // The directory holds member files of the object store.
    bool HasData() const;
    // Usable as a data directory: it has data or can be written.
    bool Usable() { return HasData() || WriteTest(); }

    // The dirprps store of the current settings directory.
    static TexIniFile& PropsStore();

private:
    QString m_dir;
    bool m_fullAccess = true;
    bool m_groupDir = false;
    bool m_collapse = false;
    QString m_name;
    QString m_fileExt = u"kvp"_qs;
};
