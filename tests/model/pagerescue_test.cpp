// The question of a page whose text cannot be saved when the notebook closes: for a
// protected page it says, before the file is chosen, that the file holds the text
// unencrypted.
#include "app/kvscriptedprompter.h"
#include "model/kvpagerescue.h"
#include "modelfixture.h"
#include "platform/kvexception.h"
#include "richtext/texrichdocument.h"

using namespace korvtest;

namespace {

enum Choice
{
    Retry = 0,
    ToFile = 1,
    Discard = 2,
    Cancel = 3
};

class PageRescue : public ModelFixture
{
protected:
    void SetUp() override
    {
        ModelFixture::SetUp();
        KvPrompter::SetCurrent(&prompter);
        top = std::make_unique<KvFolder>(u"TopFolder"_qs, nullptr, KvFolder::TopFolder, true);
    }
    void TearDown() override
    {
        KvPrompter::SetCurrent(nullptr);
        ModelFixture::TearDown();
    }

    // A loaded page with "Getippt" typed; protected with a password when asked.
    KvPage* Typed(int n, const QString& name, bool protect)
    {
        KvPage* p = NewPage(PageId(n), top.get(), name);
        if (protect)
            p->SetPassword(u"pw"_qs, false);
        p->Load(false, false);
        p->GetEditor()->LoadPlainText(u"Getippt"_qs);
        p->GetEditor()->SetModified(true);
        return p;
    }

    static void FailingSave() { throw KvException(u"Datenträger voll"_qs); }
    // With a user to ask, no rescue file is written.
    static QString NoRescueFile(QString&)
    {
        ADD_FAILURE() << "a rescue file was written although the user was asked";
        return QString();
    }

    KvScriptedPrompter prompter;
};

TEST_F(PageRescue, TheQuestionSaysWhenTheChosenFileHoldsProtectedTextUnencrypted)
{
    KvPage* open = Typed(1, u"Offen"_qs, false);
    KvPage* secret = Typed(2, u"Geheim"_qs, true);
    ASSERT_TRUE(secret->IsProtected());
    prompter.AnswerChoice(Discard).AnswerChoice(Discard);
    EXPECT_EQ(KvPageRescue::SaveOrRescue(*open, FailingSave, true, NoRescueFile),
              KvPageRescue::Outcome::Discarded);
    EXPECT_EQ(KvPageRescue::SaveOrRescue(*secret, FailingSave, true, NoRescueFile),
              KvPageRescue::Outcome::Discarded);
    const auto asked = prompter.AskedOn(KvScriptedPrompter::Channel::Choice);
    ASSERT_EQ(asked.size(), 2);
    const QString question = KvTexts::Message(5950, {u"Geheim"_qs, u"Datenträger voll"_qs});
    EXPECT_EQ(asked[0].text, KvTexts::Message(5950, {u"Offen"_qs, u"Datenträger voll"_qs}));
    EXPECT_EQ(asked[1].text, question + u"\r\n\r\n"_qs + KvTexts::Text(5528));
    EXPECT_EQ(asked[1].buttons.value(ToFile), KvTexts::Text(5952));

    // What the question said: the chosen file holds the text as plain RTF.
    const QString path = Dir() + u"gerettet.rtf"_qs;
    prompter.AnswerChoice(ToFile).AnswerSaveFile(path);
    EXPECT_EQ(KvPageRescue::SaveOrRescue(*secret, FailingSave, true, NoRescueFile),
              KvPageRescue::Outcome::SavedToFile);
    const QByteArray saved = ReadAll(path);
    EXPECT_TRUE(saved.startsWith("{\\rtf")) << saved.left(40).toStdString();
    EXPECT_TRUE(saved.contains("Getippt"));
    EXPECT_FALSE(prompter.Unexpected());
}

} // namespace
