#include "app/kvprompter.h"
#include "app/kvscriptedprompter.h"
#include "app/kvtexts.h"
#include "platform/applog.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct KindCase
{
    int kind;
    int defaultAnswer;
    int safeAnswer;
};

TEST(KvPrompterKinds, DefaultAndSafeAnswers)
{
    const KindCase cases[] = {
        {KvMsgKind::Notice, KvAnswer::Ok, KvAnswer::Ok},
        {KvMsgKind::Error, KvAnswer::Ok, KvAnswer::Ok},
        {KvMsgKind::ErrorOkCancel, KvAnswer::Ok, KvAnswer::Cancel},
        {KvMsgKind::AskYesNoCancel, KvAnswer::Yes, KvAnswer::Cancel},
        {KvMsgKind::AskYesNo, KvAnswer::Yes, KvAnswer::No},
        {KvMsgKind::Warning, KvAnswer::Ok, KvAnswer::Ok},
        {KvMsgKind::Info, KvAnswer::Ok, KvAnswer::Ok},
    };
    for (const KindCase& c : cases) {
        EXPECT_EQ(KvPrompter::DefaultAnswer(c.kind), c.defaultAnswer) << c.kind;
        EXPECT_EQ(KvPrompter::SafeAnswer(c.kind), c.safeAnswer) << c.kind;
    }
}

TEST(KvPrompterCurrent, FallbackWhenNothingInstalled)
{
    KvPrompter::SetCurrent(nullptr);
    KvPrompter& p = KvPrompter::Current();
    // Nobody is there to agree to a deletion: questions get the answer that changes nothing.
    EXPECT_EQ(p.MessageBox(u"t"_qs, u"x"_qs, KvMsgKind::AskYesNo), KvAnswer::No);
    EXPECT_EQ(p.MessageBox(u"t"_qs, u"x"_qs, KvMsgKind::AskYesNoCancel), KvAnswer::Cancel);
    EXPECT_EQ(p.MessageBox(u"t"_qs, u"x"_qs, KvMsgKind::ErrorOkCancel), KvAnswer::Ok);
    EXPECT_TRUE(p.ChooseFolder(u"t"_qs, u"/tmp"_qs).isEmpty());
    bool shown = false;
    EXPECT_EQ(p.RunDialog(u"TNameF"_qs,
                          [&] {
                              shown = true;
                              return KvAnswer::Ok;
                          }),
              KvAnswer::Cancel);
    EXPECT_FALSE(shown);
}

TEST(KvPrompterCurrent, ScopeInstallsAndRestores)
{
    KvScriptedPrompter outer;
    KvScriptedPrompter inner;
    {
        KvPrompterScope a(outer);
        EXPECT_EQ(&KvPrompter::Current(), &outer);
        {
            KvPrompterScope b(inner);
            EXPECT_EQ(&KvPrompter::Current(), &inner);
        }
        EXPECT_EQ(&KvPrompter::Current(), &outer);
        KvPrompter::ResetIfCurrent(&inner); // not current: no change
        EXPECT_EQ(&KvPrompter::Current(), &outer);
    }
    EXPECT_NE(&KvPrompter::Current(), &outer);
}

TEST(KvPrompterShowMessage, LogsAndDelegates)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    KvAppLog::Close();
    KvAppLog::SetDirectoryResolver([&]() -> QString { return dir.path() + u"/"; });
    KvAppLog::SetEnabled(true);

    KvScriptedPrompter script;
    KvPrompterScope scope(script);
    script.Answer(KvAnswer::No);
    EXPECT_EQ(KvPrompter::ShowMessage(1117, 5032, KvMsgKind::AskYesNo), KvAnswer::No);
    script.Answer(KvAnswer::Ok);
    EXPECT_EQ(KvPrompter::ShowMessage(5007, 5025, KvMsgKind::Error, {u"/nicht/da/"_qs}),
              KvAnswer::Ok);

    KvAppLog::SetEnabled(false);
    KvAppLog::Close();
    QFile log(dir.path() + u"/applog.txt");
    ASSERT_TRUE(log.open(QIODevice::ReadOnly));
    const QString content = QString::fromUtf8(log.readAll());
    EXPECT_EQ(content.count(u"TMainF::MessageBox\r\n"_qs), 2);

    const auto asked = script.Messages();
    ASSERT_EQ(asked.size(), 2);
    EXPECT_EQ(asked[0].title, u"Papierkorb leeren"_qs);
    EXPECT_EQ(asked[0].text, KvTexts::Text(5032));
    EXPECT_EQ(asked[0].kind, 36);
    EXPECT_EQ(asked[1].title, u"Fehler"_qs);
    EXPECT_EQ(asked[1].text, u"Das Verzeichnis '/nicht/da/' existiert nicht. Bitte geben Sie ein "
                             u"existierendes Verzeichnis an."_qs);
    EXPECT_FALSE(script.Unexpected());
}

TEST(KvScriptedPrompter, AnswersInOrderPerChannel)
{
    KvScriptedPrompter s;
    s.Answer(KvAnswer::Yes).AnswerFolder(u"/daten/"_qs).Answer(KvAnswer::Cancel);
    EXPECT_EQ(s.ChooseFolder(u"Verzeichnis auswählen"_qs, u"/home"_qs), u"/daten/"_qs);
    EXPECT_EQ(s.MessageBox(u"a"_qs, u"1"_qs, KvMsgKind::AskYesNoCancel), KvAnswer::Yes);
    EXPECT_EQ(s.MessageBox(u"b"_qs, u"2"_qs, KvMsgKind::AskYesNoCancel), KvAnswer::Cancel);
    EXPECT_EQ(s.Pending(), 0);
    EXPECT_FALSE(s.Unexpected());
    ASSERT_EQ(s.Asked().size(), 3);
    EXPECT_EQ(s.Asked()[0].channel, KvScriptedPrompter::Channel::Folder);
    EXPECT_EQ(s.Asked()[0].text, u"/home"_qs);
    EXPECT_EQ(s.Asked()[2].answer, KvAnswer::Cancel);
}

TEST(KvScriptedPrompter, NamedDialogAnswersWaitForTheirDialog)
{
    KvScriptedPrompter s;
    s.AnswerDialog(KvAnswer::Ok, u"TPasswordF"_qs).AnswerDialog(6);
    bool shown = false;
    auto show = [&] {
        shown = true;
        return 0;
    };
    EXPECT_EQ(s.RunDialog(u"TBookmarksF"_qs, show), 6);
    EXPECT_EQ(s.RunDialog(u"TPasswordF"_qs, show), KvAnswer::Ok);
    EXPECT_FALSE(shown);
    EXPECT_FALSE(s.Unexpected());
}

TEST(KvScriptedPrompter, HandlerRunsInPlaceOfTheDialog)
{
    KvScriptedPrompter s;
    s.AnswerDialogWith(
        [&] {
            // A question asked while the dialog is "open" is recorded after it.
            s.Answer(KvAnswer::Ok);
            s.MessageBox(u"Angabe des Namens fehlt"_qs, u"x"_qs, KvMsgKind::Error);
            return KvAnswer::Ok;
        },
        u"TNameF"_qs);
    EXPECT_EQ(s.RunDialog(u"TNameF"_qs, [] { return 0; }), KvAnswer::Ok);
    ASSERT_EQ(s.Asked().size(), 2);
    EXPECT_EQ(s.Asked()[0].title, u"TNameF"_qs);
    EXPECT_EQ(s.Asked()[0].answer, KvAnswer::Ok);
    EXPECT_EQ(s.Asked()[1].channel, KvScriptedPrompter::Channel::Message);
}

TEST(KvScriptedPrompter, UnexpectedQuestionsGetTheSafeAnswer)
{
    KvScriptedPrompter s;
    s.AnswerDialog(KvAnswer::Ok, u"TNameF"_qs);
    EXPECT_EQ(s.MessageBox(u"t"_qs, u"löschen?"_qs, KvMsgKind::AskYesNo), KvAnswer::No);
    EXPECT_EQ(s.MessageBox(u"t"_qs, u"x"_qs, KvMsgKind::AskYesNoCancel), KvAnswer::Cancel);
    EXPECT_EQ(s.MessageBox(u"t"_qs, u"x"_qs, KvMsgKind::ErrorOkCancel), KvAnswer::Cancel);
    EXPECT_EQ(s.MessageBox(u"t"_qs, u"x"_qs, KvMsgKind::Info), KvAnswer::Ok);
    EXPECT_TRUE(s.ChooseFolder(u"t"_qs, {}).isEmpty());
    EXPECT_EQ(s.RunDialog(u"TPasswordF"_qs, [] { return 1; }), KvAnswer::Cancel);
    EXPECT_TRUE(s.Unexpected());
    EXPECT_EQ(s.Pending(), 1); // the answer for another dialog stays queued
    for (const auto& q : s.Asked())
        EXPECT_TRUE(q.unexpected);
    s.Clear();
    EXPECT_FALSE(s.Unexpected());
    EXPECT_EQ(s.Pending(), 0);
}

} // namespace
