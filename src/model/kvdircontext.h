#pragma once

#include "store/kvpropreader.h"
#include "store/texinifile.h"

#include <QString>

class KvPageJournal;

// What the model needs to know about the open data directory, set when a directory is
// opened and before any object is constructed. The stores are the process-wide directory
// stores; constructors read through the installed read sources (snapshots during a build).
struct KvDirContext
{
    QString dataDir;             // with trailing "/"
    QString fileExt = u"kvp"_qs; // page file extension, without "."
    bool groupDir = false;       // pages record who saved them last
    bool writable = true; // false: read-only mode, another instance's lock, a reading command
    // The highest number of a page content file in the directory, once listed (-1: not yet);
    // new ids go above it (KvNewIds).
    int highestContentNumber = -1;
    // The window's typing journal (none in the command line): a page removed for good takes
    // the text kept of it along.
    KvPageJournal* journal = nullptr;

    // The data directory with trailing "/": the one set here, else that of the stores.
    QString DataDir() const;

    static TexIniFile& ObjStore();  // "objprps"
    static TexIniFile& FldrStore(); // "Fldrprps"
    static TexIniFile& PageStore(); // "Pageprps"
    static TexIniFile& KwdStore();  // "keywords"
    static KvPropReader& ObjReader();
    static KvPropReader& FldrReader();
    static KvPropReader& PageReader();

    // The context in use; a default one (writable, extension "kvp") when none was set.
    static KvDirContext& Current();
    // Installs ctx (not owned); nullptr goes back to the default.
    static void SetCurrent(KvDirContext* ctx);
};
