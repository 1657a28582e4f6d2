#include "links/kvlinkresolve.h"

#include "app/kvmounttable.h"
#include "app/kvtexts.h"
#include "links/kvlink.h"
#include "links/kvlinkpaths.h"
#include "model/kvobject.h"

#include <QFileInfo>
#include <QMimeDatabase>
#include <QUrl>

namespace {

constexpr int kBrokenPage = 5050;
constexpr int kBrokenFolder = 5051;
constexpr int kNoAddress = 5756;

// Types whose opening runs a program: executables, scripts, launchers, installers.
const char* const kCodeTypes[] = {
    "application/x-executable",
    "application/x-pie-executable",
    "application/x-sharedlib",
    "application/x-elf",
    "application/x-ms-dos-executable",
    "application/x-msdownload",
    "application/vnd.microsoft.portable-executable",
    "application/x-msi",
    "application/x-shellscript",
    "application/x-csh",
    "application/x-perl",
    "text/x-python",
    "text/x-python3",
    "application/x-ruby",
    "application/x-php",
    "application/x-tcl",
    "text/x-tcl",
    "application/x-java-archive",
    "application/x-desktop",
    "application/x-appimage",
    "application/vnd.appimage",
    "application/x-ms-shortcut",
    "application/x-bat",
};

bool IsCodeType(const QMimeType& type)
{
    for (const char* name : kCodeTypes) {
        if (type.inherits(QString::fromLatin1(name)))
            return true;
    }
    return false;
}

bool ElementExists(const QString& id)
{
    const KvObject* obj = FindObject(id);
    return obj && !obj->IsRemoved();
}

} // namespace

namespace KvLinkResolve {

bool RunsCode(const QString& path)
{
    const QFileInfo info(path);
    if (!info.exists() || info.isDir())
        return false;
    if (info.isFile() && info.isExecutable())
        return true;
    if (info.suffix().compare(u"desktop", Qt::CaseInsensitive) == 0)
        return true;
    return IsCodeType(QMimeDatabase().mimeTypeForFile(info));
}

KvLinkAction Resolve(const QString& url, const QString& dataDir, const KvMountTable* mounts)
{
    KvLinkAction a;
    const KvLink::Parsed p = KvLink::Parse(KvLink::UrlOf(url));
    switch (p.kind) {
    case KvLink::Kind::Element:
        if (ElementExists(p.id)) {
            a.kind = KvLinkAction::Kind::ShowElement;
            a.id = p.id;
        } else {
            a.kind = KvLinkAction::Kind::Broken;
            a.message =
                KvTexts::Message(p.id.contains(u"Page") ? kBrokenPage : kBrokenFolder, {p.id});
        }
        return a;
    case KvLink::Kind::Keyword:
        a.kind = KvLinkAction::Kind::Keyword;
        a.keyword = p.keyword;
        return a;
    case KvLink::Kind::File: {
        const KvLinkPaths::ClickTarget t = KvLinkPaths::ForClick(p.target, dataDir, mounts);
        if (!t.refusal.isEmpty()) {
            a.kind = KvLinkAction::Kind::Refused;
            a.message = t.refusal;
            return a;
        }
        a.target = t.target;
        a.kind =
            t.isPath && RunsCode(t.target) ? KvLinkAction::Kind::Ask : KvLinkAction::Kind::Open;
        return a;
    }
    case KvLink::Kind::Address: {
        const QUrl address(p.target, QUrl::TolerantMode);
        // Spans in page text always carry a scheme; what arrives without one (typed in,
        // pasted) names nothing the desktop could open.
        if (p.target.trimmed().isEmpty() || address.scheme().isEmpty()) {
            a.kind = KvLinkAction::Kind::Refused;
            a.message = KvTexts::Message(kNoAddress, {p.target});
            return a;
        }
        a.kind = KvLinkAction::Kind::Open;
        a.target = address.isValid() ? address.toString(QUrl::FullyEncoded) : p.target;
        return a;
    }
    }
    return a;
}

KvLinkAction Resolve(const QString& url, const QString& dataDir)
{
    const KvLink::Parsed p = KvLink::Parse(KvLink::UrlOf(url));
    QString server, share, rest;
    const bool network =
        p.kind == KvLink::Kind::File && KvMountTable::SplitUnc(p.target, server, share, rest);
    const std::optional<KvMountTable> mounts =
        network ? KvMountTable::Read() : std::optional<KvMountTable>();
    return Resolve(url, dataDir, mounts ? &*mounts : nullptr);
}

} // namespace KvLinkResolve
