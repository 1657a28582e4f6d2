#pragma once

#include <QList>
#include <QString>

// One search term: empty text means the term is not used.
struct KvSearchArg
{
    QString text;
    bool wholeWord = false;
    bool matchCase = false;

    bool operator==(const KvSearchArg&) const = default;
};

// The criteria of one search, named after the keys under which a saved result stores them
// and in that order. The places to search in and the subfolders default to on, as a saved
// result reads them.
struct KvSearchCrit
{
    enum Link : quint8
    {
        And = 0,
        Or = 1,
        AndNot = 2
    };
    enum DateLink : quint8
    {
        Before = 0,
        On = 1,
        After = 2
    };

    QString SText1;
    bool WhWord1 = false;
    bool MtCase1 = false;
    QString SText2;
    bool WhWord2 = false;
    bool MtCase2 = false;
    quint8 Cond = And;
    bool DateSearch = false;
    quint8 DSCond = Before;
    double SDate = 0; // days since 30 December 1899, the fraction the time of day
    bool StatusSearch = false;
    qint32 SStatus = 0;
    QString Fldr;
    bool SubFldr = true;
    bool PageN = true;
    bool FldrN = true;
    bool PageC = true;
    bool PageCPw = true;
    bool PageK = true;
    bool FldrK = true;

    KvSearchArg Arg1() const { return {SText1, WhWord1, MtCase1}; }
    KvSearchArg Arg2() const { return {SText2, WhWord2, MtCase2}; }
    // Neither term is given: only the filters decide.
    bool HasNoTerm() const { return SText1.isEmpty() && SText2.isEmpty(); }
    // The terms to mark in a page shown as a hit, in the order they are tried: the first,
    // then the second unless it names what the page must not contain ("and not").
    QList<KvSearchArg> TermsToMark() const
    {
        QList<KvSearchArg> terms;
        if (!SText1.isEmpty())
            terms.append(Arg1());
        if (!SText2.isEmpty() && Cond != AndNot)
            terms.append(Arg2());
        return terms;
    }

    bool operator==(const KvSearchCrit&) const = default;
};
