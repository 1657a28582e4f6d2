#pragma once

#include <QString>
#include <QStringList>

// What object constructors read their properties from: a property store or its snapshot.
class KvPropReader
{
public:
    virtual ~KvPropReader() = default;
    virtual QString ReadString(const QString& section, const QString& key, const QString& def) = 0;
    virtual int ReadInteger(const QString& section, const QString& key, int def) = 0;
    virtual bool ReadBool(const QString& section, const QString& key, bool def) = 0;
    virtual QStringList ReadSection(const QString& section) = 0;
    virtual QStringList ReadSections() = 0;
    virtual QStringList ReadSectionValues(const QString& section) = 0;
    virtual bool ValueExists(const QString& section, const QString& key) = 0;

protected:
    KvPropReader() = default;
    KvPropReader(const KvPropReader&) = default;
    KvPropReader& operator=(const KvPropReader&) = default;
};
