#pragma once

#include "cli/kvclierror.h"

#include <QHash>
#include <QStringList>

// The arguments of one subcommand: positionals, flags and options with a value.
class KvCliArgs
{
public:
    KvCliArgs(const QStringList& args, const QStringList& flags, const QStringList& valued)
    {
        for (qsizetype i = 0; i < args.size(); ++i) {
            const QString& a = args[i];
            if (a == u"--help" || a == u"-h") {
                m_help = true;
            } else if (flags.contains(a)) {
                m_flags.append(a);
            } else if (valued.contains(a)) {
                if (i + 1 >= args.size())
                    throw KvCliUsageError(u"option %1 needs a value"_qs.arg(a));
                SetValue(a, args[++i]);
            } else if (a.startsWith(u"--") && a.contains(u'=') &&
                       valued.contains(a.left(a.indexOf(u'=')))) {
                SetValue(a.left(a.indexOf(u'=')), a.mid(a.indexOf(u'=') + 1));
            } else if (a.startsWith(u'-') && a.size() > 1) {
                throw KvCliUsageError(u"unknown option: %1"_qs.arg(a));
            } else {
                m_positional.append(a);
            }
        }
    }

    bool Help() const { return m_help; }
    bool Flag(const QString& name) const { return m_flags.contains(name); }
    bool Has(const QString& name) const { return m_values.contains(name); }
    QString Value(const QString& name) const { return m_values.value(name); }
    int Number(const QString& name, int def, int min) const
    {
        if (!Has(name))
            return def;
        bool ok = false;
        const int n = Value(name).toInt(&ok);
        if (!ok || n < min)
            throw KvCliUsageError(u"%1 needs a whole number of at least %2, not '%3'"_qs.arg(
                name, QString::number(min), Value(name)));
        return n;
    }
    // At least n positionals, named in the message when missing.
    const QStringList& PositionalAtLeast(int n, const QString& names) const
    {
        if (m_positional.size() < n)
            throw KvCliUsageError(u"missing argument: %1"_qs.arg(names));
        return m_positional;
    }
    // Exactly n positionals, named in the message when missing.
    const QStringList& Positional(int n, const QString& names) const
    {
        return Positional(n, n, names);
    }
    // From min to max positionals.
    const QStringList& Positional(int min, int max, const QString& names) const
    {
        if (m_positional.size() < min)
            throw KvCliUsageError(u"missing argument: %1"_qs.arg(names));
        if (m_positional.size() > max)
            throw KvCliUsageError(u"unexpected argument: %1"_qs.arg(m_positional.at(max)));
        return m_positional;
    }

private:
    // An option given twice would silently lose one of its values.
    void SetValue(const QString& name, const QString& value)
    {
        if (m_values.contains(name))
            throw KvCliUsageError(u"option %1 given twice"_qs.arg(name));
        m_values.insert(name, value);
    }

    bool m_help = false;
    QStringList m_flags;
    QHash<QString, QString> m_values;
    QStringList m_positional;
};
