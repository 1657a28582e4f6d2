#include "cli/kvclilinks.h"

#include "app/kvoptionsg.h"
#include "app/kvtexts.h"
#include "cli/kvcli.h"
#include "cli/kvcliargs.h"
#include "cli/kvcliasker.h"
#include "cli/kvcliformats.h"
#include "cli/kvcliio.h"
#include "cli/kvclinotebook.h"
#include "links/kvlink.h"
#include "links/kvlinkinsert.h"
#include "links/kvlinkresolve.h"
#include "links/kvtemplatefill.h"
#include "links/kvvariables.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"
#include "richtext/texrichdocument.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>

namespace {

const QString kPath = u"--path"_qs;
const QString kKeyword = u"--keyword"_qs;
const QString kRelative = u"--relative"_qs;
const QString kUnc = u"--unc"_qs;
const QString kName = u"--name"_qs;
const QString kNow = u"--now"_qs;
const QString kFormat = u"--format"_qs;
const QString kPasswordStdin = u"--password-stdin"_qs;
const QString kProposedName = u"--proposed-name"_qs;

constexpr int kOpenFailed = 5008;
constexpr int kKeywordRefused = 5754;

// A message of the text table on one line.
QString OneLine(QString text)
{
    text.replace(u"\r\n"_qs, u" "_qs);
    text.replace(u'\n', u' ');
    return text.simplified();
}

int LinkPath(const QString& dir, const KvCliArgs& args, KvCliIo& io)
{
    const QString dataDir = KvCliNotebook::RequireDataDir(dir);
    if (args.Flag(kRelative) && args.Flag(kUnc))
        throw KvCliUsageError(u"--relative and --unc exclude each other"_qs);
    const auto type = args.Flag(kRelative) ? KvLinkInsert::PathType::Relative
                      : args.Flag(kUnc)    ? KvLinkInsert::PathType::Unc
                                           : KvLinkInsert::PathType::Absolute;
    const QString path = QDir::cleanPath(QFileInfo(args.Value(kPath)).absoluteFilePath());
    const KvLinkInsert::PathTarget t = KvLinkInsert::ForPath(path, type, dataDir);
    if (!t.refusal.isEmpty())
        throw KvCliError(OneLine(t.refusal));
    const QString url = KvLinkInsert::Url(KvLinkInsert::Type::File, KvLink::FilePrefix, t.target);
    io.OutLine(KvLink::InsertedText(url).mid(1));
    return KvCli::Success;
}

int LinkKeyword(const QString& dir, const QString& keyword, KvCliIo& io)
{
    KvCliNotebook::RequireDataDir(dir);
    if (!KvLink::KeywordFits(keyword))
        throw KvCliError(OneLine(KvTexts::Message(kKeywordRefused, {keyword})));
    io.OutLine(KvLink::InsertedText(KvLink::KeywordUrl(keyword)).mid(1));
    return KvCli::Success;
}

QDateTime Now(const KvCliArgs& args)
{
    if (!args.Has(kNow))
        return QDateTime::currentDateTime();
    const QDateTime now = QDateTime::fromString(args.Value(kNow), Qt::ISODate);
    if (!now.isValid())
        throw KvCliUsageError(
            u"--now needs a time as YYYY-MM-DDTHH:MM:SS, not '%1'"_qs.arg(args.Value(kNow)));
    return now;
}

} // namespace

namespace KvCliLinks {

const char* const LinkHelp =
    "usage: korvnote-cli link DIR ID...\n"
    "       korvnote-cli link DIR --path PATH [--relative | --unc]\n"
    "       korvnote-cli link DIR --keyword WORD\n"
    "\n"
    "Prints link texts, one a line: of the elements ID as the program puts them on the\n"
    "clipboard, or the link the hyperlink dialog writes into a page (without its leading\n"
    "blank) for a file or directory, or for a keyword.\n"
    "  --path PATH    a file or directory (taken relative to the working directory)\n"
    "  --relative     relative to the data directory DIR (it must lie in or below it)\n"
    "  --unc          its network name \\\\server\\share\\... (it must lie on an SMB share)\n"
    "  --keyword W    a link to the keyword W\n";

const char* const ResolveHelp =
    "usage: korvnote-cli resolve DIR LINK\n"
    "\n"
    "Says what a click on LINK (a link text or its URL) in a page of DIR does:\n"
    "  element ID      the element is shown\n"
    "  keyword WORD    the keyword dialog opens at WORD\n"
    "  open TARGET     the desktop opens TARGET (an absolute path or an encoded URL)\n"
    "  ask TARGET      the same after a question: TARGET is a program, script or launcher\n"
    "A link to an element that is gone, or to a Windows drive, exits 1 with the message.\n";

const char* const FillHelp =
    "usage: korvnote-cli fill DIR FOLDERID [--name NAME] [--now YYYY-MM-DDTHH:MM:SS]\n"
    "                         [--format txt|rtf] [--password-stdin] [--proposed-name]\n"
    "\n"
    "Prints the text a new page NAME in folder FOLDERID starts with: the content of the\n"
    "folder's template (its own or inherited) with the variables replaced. Empty when the\n"
    "template lies in the trash or has no content; exit 1 when the folder has no template.\n"
    "  --name NAME        the new page's name (default: the name the dialog proposes)\n"
    "  --now TIME         the date and time the variables use (default: now)\n"
    "  --format F         txt (default) or rtf\n"
    "  --password-stdin   the password of a protected template from the first line of\n"
    "                     standard input (else asked on the terminal)\n"
    "  --proposed-name    print the name the dialog proposes instead\n";

std::optional<int> Run(const QString& command, const QStringList& argv, KvCliIo& io)
{
    if (command == u"link")
        return Link(argv, io);
    if (command == u"resolve")
        return Resolve(argv, io);
    if (command == u"fill")
        return Fill(argv, io);
    return std::nullopt;
}

int Link(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {kRelative, kUnc}, {kPath, kKeyword});
    if (args.Help()) {
        io.Out(LinkHelp);
        return KvCli::Success;
    }
    const bool path = args.Has(kPath);
    const bool keyword = args.Has(kKeyword);
    if (path && keyword)
        throw KvCliUsageError(u"--path and --keyword exclude each other"_qs);
    if ((args.Flag(kRelative) || args.Flag(kUnc)) && !path)
        throw KvCliUsageError(u"--relative and --unc need --path"_qs);
    if (path || keyword) {
        const QString dir = args.Positional(1, u"DIR"_qs).at(0);
        return path ? LinkPath(dir, args, io) : LinkKeyword(dir, args.Value(kKeyword), io);
    }
    const QStringList& pos = args.PositionalAtLeast(2, u"DIR ID..."_qs);
    KvCliNotebook nb(pos[0], false);
    nb.Build();
    QStringList texts;
    for (const QString& id : pos.mid(1)) {
        const KvObject* obj = FindObject(id);
        if (!obj || obj->IsRemoved())
            throw KvCliError(u"unknown id: %1"_qs.arg(id));
        texts.append(KvLink::ElementLinkText(*obj));
    }
    for (const QString& text : std::as_const(texts))
        io.OutLine(text);
    return KvCli::Success;
}

int Resolve(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {}, {});
    if (args.Help()) {
        io.Out(ResolveHelp);
        return KvCli::Success;
    }
    const QStringList& pos = args.Positional(2, u"DIR LINK"_qs);
    KvCliNotebook nb(pos[0], false);
    // Only an element link needs the notebook's elements.
    if (KvLink::Parse(KvLink::UrlOf(pos[1])).kind == KvLink::Kind::Element)
        nb.Build();
    const KvLinkAction a = KvLinkResolve::Resolve(pos[1], nb.Dir());
    switch (a.kind) {
    case KvLinkAction::Kind::ShowElement:
        io.OutLine(u"element "_qs + a.id);
        break;
    case KvLinkAction::Kind::Keyword:
        io.OutLine(u"keyword "_qs + a.keyword);
        break;
    case KvLinkAction::Kind::Open:
        io.OutLine(u"open "_qs + a.target);
        break;
    case KvLinkAction::Kind::Ask:
        io.OutLine(u"ask "_qs + a.target);
        break;
    case KvLinkAction::Kind::Broken:
        throw KvCliError(OneLine(a.message));
    case KvLinkAction::Kind::Refused:
        throw KvCliError(OneLine(KvTexts::Text(kOpenFailed) + u" -> ("_qs + a.message + u')'));
    }
    return KvCli::Success;
}

int Fill(const QStringList& argv, KvCliIo& io)
{
    const KvCliArgs args(argv, {kPasswordStdin, kProposedName}, {kName, kNow, kFormat});
    if (args.Help()) {
        io.Out(FillHelp);
        return KvCli::Success;
    }
    const QStringList& pos = args.Positional(2, u"DIR FOLDERID"_qs);
    auto format = KvCliFormats::Format::Txt;
    if (args.Has(kFormat)) {
        const auto f = KvCliFormats::FromName(args.Value(kFormat));
        if (!f || (*f != KvCliFormats::Format::Txt && *f != KvCliFormats::Format::Rtf))
            throw KvCliUsageError(u"unknown format '%1' (txt or rtf)"_qs.arg(args.Value(kFormat)));
        format = *f;
    }
    if (args.Has(kName) && args.Flag(kProposedName))
        throw KvCliUsageError(u"--name and --proposed-name exclude each other"_qs);
    if (args.Has(kName) && args.Value(kName).isEmpty())
        throw KvCliUsageError(u"--name needs a name"_qs);
    const QDateTime now = Now(args);

    KvCliNotebook nb(pos[0], false);
    nb.Build();
    auto* folder = dynamic_cast<KvFolder*>(FindObject(pos[1]));
    if (!folder)
        throw KvCliError(FindObject(pos[1]) ? u"%1 is a page, not a folder"_qs.arg(pos[1])
                                            : u"unknown id: %1"_qs.arg(pos[1]));
    const KvOptionsG options;
    KvTemplateEnv env;
    env.catalogue = &nb.Statuses();
    env.now = now;
    env.pathDelimiter = options.PathDelimiter;
    env.dataDir = nb.Dir();
    env.restoreCursorPos = options.RestoreCursorPos;
    const KvTemplateFill::Proposal proposal = KvTemplateFill::Propose(*folder, env);
    if (args.Flag(kProposedName)) {
        io.OutLine(proposal.name);
        return KvCli::Success;
    }
    // The layout was read for the proposal.
    KvPage* templ = KvTemplateFill::TemplateOf(*folder, false);
    if (!templ)
        throw KvCliError(u"folder %1 has no template"_qs.arg(pos[1]));
    const QString name = args.Has(kName) ? args.Value(kName) : proposal.name;

    KvCliAsker asker(io, args.Flag(kPasswordStdin));
    KvTemplateFill::Content content;
    try {
        content = KvTemplateFill::Read(*templ, env);
    } catch (const KvPage::EWrongPassword&) {
        throw KvCliError(
            u"template page %1 is protected and its password was not given"_qs.arg(templ->Id()));
    } catch (const KvPage::EDecryptError& e) {
        throw KvCliError(u"corrupt encrypted content file: %1"_qs.arg(e.Message()));
    }
    if (!content.present)
        return KvCli::Success;
    const KvVariableValues values =
        KvVariableValues::ForNewPage(name, proposal.status, content.keywords, *folder,
                                     env.catalogue, now, env.pathDelimiter, env.dataDir);
    TexRichDocument doc;
    try {
        KvTemplateFill::FillDocument(doc, content, values);
    } catch (const TexRichDocument::ELoadError& e) {
        throw KvCliError(u"template page %1 cannot be read: %2"_qs.arg(templ->Id(), e.Message()));
    }
    io.Out(format == KvCliFormats::Format::Rtf ? doc.SaveRtf()
                                               : KvCliFormats::Write(*doc.Document(), format));
    return KvCli::Success;
}

} // namespace KvCliLinks
