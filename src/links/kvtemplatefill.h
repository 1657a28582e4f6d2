#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

class KvAddStatus;
class KvFolder;
class KvPage;
class TexRichDocument;
struct KvVariableValues;

// What the template step works with, read for one command.
struct KvTemplateEnv
{
    const KvAddStatus* catalogue = nullptr;
    QDateTime now;
    QString pathDelimiter = u"/"_qs;
    QString dataDir;
    bool restoreCursorPos = true;
};

// The template step of creating a page: the page a folder's new-page layout names gives
// the proposed name and status, and the new page's first content, keywords, caret and
// (with its PWCopy) password, with the variables replaced by the new page's values.
namespace KvTemplateFill {

// The folder's template (its layout and those it inherits read again with reread, which
// ends the templates answered before); null when it has none.
KvPage* TemplateOf(KvFolder& folder, bool reread);

struct Proposal
{
    QString name;
    int status = 0;
};
// The template's name through the string form when it holds a variable, else text 5800;
// the template's status when the status list has it, else 0. The layout is read again
// first (TemplateOf with reread).
Proposal Propose(KvFolder& folder, const KvTemplateEnv& env);

// What a template gives a new page; nothing when it lies in the trash or has no content
// file.
struct Content
{
    bool present = false;
    QByteArray rtf;
    int selStart = 0;
    int selLength = 0;
    QString keywords;
    bool copyPassword = false;
    QString password;
    int protectionClass = 0;
    int askMode = 0;
    bool usePasswordList = false;

    Content() = default;
    Content(const Content&) = default;
    Content& operator=(const Content&) = default;
    ~Content();
};
// Reads the template's content: a protected one through its password, asked for as loading
// asks (KvPage::EWrongPassword when it is not given). The tree's page is read when the
// template is in the tree, so that a password given there counts.
Content Read(KvPage& templ, const KvTemplateEnv& env);

// The content into doc with the selection the template stored, the variables replaced:
// one undo step.
void FillDocument(TexRichDocument& doc, const Content& content, const KvVariableValues& values);
// The whole step on a new page: keywords, password settings, the document (the page is
// loaded for it when it is not), then the page is stored.
void Fill(KvPage& page, const Content& content, const KvTemplateEnv& env);

} // namespace KvTemplateFill
