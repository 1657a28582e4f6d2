#pragma once

// The main window with the search window on the notebook of ElementWindow, grown by a
// folder of many pages for searches that take a while:
//
//   Notizen (TopFolder)
//     Projekte (Fldr0000001): Plan (Page0000001), Notiz (Page0000002),
//                             Alt (Fldr0000002): Archiv (Page0000003)
//     Einkauf (Page0000004), Rezepte (Page0000005)
//     Viele (Fldr0000003): Seite 10 … Seite 49 (Page0000010 … Page0000049), each "Wort n";
//                          Page0000030 "Tresor" is protected with class 1 (password "pw")
//
// The tresor page stops the search at a known place: its password is asked through the
// prompter when the reports reach it, while the search runs.
#include "lists/kvsearchthread.h"
#include "ui/elementwindow.h"
#include "ui/kvelementhooks.h"
#include "ui/kvmainsearch.h"
#include "ui/kvresultlistview.h"
#include "ui/kvsearchresultpanel.h"
#include "ui/texcombobox.h"
#include "ui/tsearchf.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>

namespace korvtest {

class SearchWindow : public ElementWindow
{
protected:
    static constexpr int kFirstMany = 10;
    static constexpr int kLastMany = 49;
    static inline const QString kTresor = u"Page0000030"_qs;

    static QString PageIdOf(int n) { return u"Page%1"_qs.arg(n, 7, 10, QChar(u'0')); }

    // The notebook above; extra runs on the model as in MakeNotebook. Without tresor its
    // page is not protected.
    void MakeSearchNotebook(const std::function<void(KvFolder& top, KvFolder& trash)>& extra = {},
                            bool tresor = true)
    {
        MakeNotebook([&](KvFolder& top, KvFolder& trash) {
            KvElementFactory f;
            KvFolder* many = folder(f, u"Fldr0000003"_qs, top, u"Viele"_qs);
            for (int n = kFirstMany; n <= kLastMany; ++n) {
                const QString id = PageIdOf(n);
                KvPage* p = f.CreatePage(id, many, true);
                p->SetName(id == kTresor ? u"Tresor"_qs : u"Seite %1"_qs.arg(n));
                WriteAll(dir + id + u".kvp"_qs, Rtf(u"Wort %1"_qs.arg(n)));
            }
            if (extra)
                extra(top, trash);
        });
        if (!tresor)
            return;
        // The page store of the closed notebook gets the password data.
        KvDirStores::Reopen(dir);
        protectClass1(kTresor, u"Wort geheim"_qs);
        KvDirStores::PageStore().UpdateFile();
        KvDirStores::Close();
    }

    // The page's content encrypted under "pw", its check value of class 1: only the user
    // can open it.
    void protectClass1(const QString& id, const QString& text)
    {
        TexIniFile& pages = KvDirStores::PageStore();
        pages.WriteString(id, u"PWAskMode"_qs, u"1"_qs);
        pages.WriteString(id, u"PWBF"_qs, KvPagePassword::CheckValue(1, u"pw"_qs));
        pages.WriteString(id, u"EncSCl"_qs, u"1"_qs);
        pages.WriteString(id, u"PWCopy"_qs, u"0"_qs);
        pages.WriteString(id, u"PWList"_qs, u"0"_qs);
        const BlowFishVCL cipher(KvPasswordBytes::Encode(u"pw"_qs));
        cipher.EncryptToFile(Rtf(text), dir + id + u".kvp"_qs, BlowFishVCL::DefaultBlockSize);
    }

    // The ids of the many pages from..to in examination order.
    static QStringList ManyPages(int from = kFirstMany, int to = kLastMany)
    {
        QStringList ids;
        for (int n = from; n <= to; ++n)
            ids.append(PageIdOf(n));
        return ids;
    }

    // --- the search window

    KvMainSearch& Main() const { return window->Search(); }
    KvResultListView& MainList() const { return Main().ResultList(); }
    KvSearchResultPanel& Panel() const { return Main().Panel(); }
    TSearchF* Form() const { return Main().Form(); }

    // The notebook without a protected page.
    void MakePlainNotebook() { MakeSearchNotebook({}, false); }

    // The search command opens the search window (or brings it up).
    TSearchF* OpenSearch()
    {
        A(u"PageSearchA"_qs)->trigger();
        TSearchF* form = Form();
        EXPECT_NE(form, nullptr);
        if (form)
            EXPECT_TRUE(WaitUntil([form] { return form->isVisible(); }));
        return form;
    }

    // Fills the first term and starts; waits for the end unless told not to.
    void Start(TSearchF* form, const QString& term, bool wait = true)
    {
        form->TermBox()->setEditText(term);
        form->EnableCommands();
        ASSERT_TRUE(form->StartButton()->isEnabled());
        form->StartBtnClick();
        if (wait)
            ASSERT_TRUE(WaitUntil([form] { return !form->SearchRunning(); }, 20000));
    }

    // The password of the tresor page is asked once: answer runs meanwhile and gives the
    // dialog's result (the password "pw" is entered for Ok).
    void WhenTresorAsks(std::function<int()> answer)
    {
        prompter.AnswerDialogWith(
            [answer] {
                const int result = answer();
                if (result == KvAnswer::Ok && TPasswordF::Active())
                    TPasswordF::Active()->SetPassword(u"pw"_qs);
                return result;
            },
            TPasswordF::DialogName);
    }
};

} // namespace korvtest
