#include "links/kvlinkinsert.h"

#include "app/kvtexts.h"
#include "links/kvlink.h"
#include "links/kvlinkpaths.h"

namespace {

constexpr int kRelativeRefused = 14520;
constexpr int kUncRefused = 14500;
constexpr int kAngleBrackets = 5753;

} // namespace

namespace KvLinkInsert {

QString Prefix(Type type)
{
    switch (type) {
    case Type::Internet:
        return u"http://"_qs;
    case Type::Ftp:
        return u"ftp://"_qs;
    case Type::Other:
        return u"____://"_qs;
    default:
        return KvLink::FilePrefix;
    }
}

bool TypedTarget(Type type)
{
    return type != Type::Element && type != Type::Keyword;
}

bool HasPicker(Type type)
{
    return type == Type::Element || type == Type::Keyword || type == Type::File ||
           type == Type::Directory;
}

bool HasPathType(Type type)
{
    return type == Type::File || type == Type::Directory;
}

PathTarget ForPath(const QString& path, PathType type, const QString& dataDir)
{
    PathTarget t;
    t.target = path;
    if (path.contains(u'<') || path.contains(u'>')) {
        t.refusal = KvTexts::Message(kAngleBrackets, {path});
        t.mayWriteUnchanged = false;
        return t;
    }
    if (type == PathType::Relative) {
        if (const std::optional<QString> relative = KvLinkPaths::Relative(path, dataDir))
            t.target = *relative;
        else
            t.refusal = KvTexts::Message(kRelativeRefused, {dataDir});
    } else if (type == PathType::Unc) {
        const KvLinkPaths::UncResult unc = KvLinkPaths::Unc(path);
        if (unc.code == 0)
            t.target = unc.name;
        else
            t.refusal = KvTexts::Text(kUncRefused) + u' ' +
                        KvTexts::Text(KvLinkPaths::ReasonText(unc.code));
    }
    return t;
}

QString Url(Type type, const QString& prefix, const QString& target)
{
    QString scheme = prefix;
    scheme.remove(u' ');
    switch (type) {
    case Type::Internet:
    case Type::Ftp:
    case Type::Other:
        return scheme + KvLink::EncodeAddress(target);
    default:
        return scheme + target;
    }
}

} // namespace KvLinkInsert
