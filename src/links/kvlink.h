#pragma once

#include <QString>
#include <QStringList>

class KvObject;

// The links in page text. A link is " <" + URL + ">"; the URL names an element
// ("file://*" + id + "*(" + name + ")"), a keyword ("file://*Keyword:" + word + "*"), a file
// or directory ("file://" + path, "*RelPath*\" standing for the data directory), or an
// address of any other scheme. Widget-free: the window, the lists and the command line
// share it.
namespace KvLink {

inline const QString FilePrefix = u"file://"_qs;
inline const QString ElementPrefix = u"file://*"_qs;
inline const QString KeywordPrefix = u"file://*Keyword:"_qs;
// Stands for the data directory in a relative file link; 10 characters.
inline const QString RelPathMarker = u"*RelPath*\\"_qs;

enum class Kind
{
    Element, // a page, a folder, the top folder or the trash: id
    Keyword, // keyword
    File,    // "file://" + path: target is the path
    Address  // any other scheme: target is the whole URL
};

struct Parsed
{
    Kind kind = Kind::Address;
    QString id;
    QString keyword;
    QString target;
};

// The URL of a link text " <URL>" or "<URL>"; a bare URL stays as it is.
QString UrlOf(const QString& linkTextOrUrl);
// What a URL names. An element link begins with "file://*Page", "file://*Fldr",
// "file://*Top" or "file://*Trash"; its id runs to the next "*". A keyword runs from after
// "file://*Keyword:" to the next "*", a "*" right after the colon being part of it.
Parsed Parse(const QString& url);
bool IsElementUrl(const QString& url);

// The name as a link text shows it: "<" and ">" would end the link, "‹" and "›" do not.
QString SafeName(const QString& name);
QString ElementUrl(const QString& id, const QString& name);
// "<file://*" + id + "*(" + name + ")>".
QString ElementLinkText(const KvObject& obj);
QString KeywordUrl(const QString& keyword);
// Several link texts for the clipboard, one a line.
QString JoinLinkTexts(const QStringList& texts);
// What the hyperlink dialog writes into the page: " <" + URL + ">".
QString InsertedText(const QString& url);
// A keyword that a link can carry: no angle bracket and no "*" but a leading one.
bool KeywordFits(const QString& keyword);
// An address typed for an internet, FTP or other link with "<" and ">" percent-encoded,
// so that the link is not cut there.
QString EncodeAddress(const QString& target);

} // namespace KvLink
