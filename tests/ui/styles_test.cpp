// The style commands in the window: the styles box's order and icons, the name dialog with
// its attribute part (a taken name shows it again), the selection after deleting, redefining,
// applying, "Standard" at start, and the same attributes by menu and by style giving the same
// RTF bytes.
#include "commands/kvstylecommands.h"
#include "editingwindow.h"
#include "lists/kvstyles.h"
#include "store/kvdirstores.h"
#include "ui/texcolorpicker.h"

#include <QFontComboBox>

namespace {

using korvtest::EditingWindow;

class StyleCommands : public EditingWindow
{
protected:
    KvStyleCommands& Handler() const { return *window->Commands().Handler<KvStyleCommands>(); }
    QComboBox* Box() const { return window->Controls().stylesCoB; }
    QStringList BoxNames() const
    {
        QStringList names;
        for (int i = 0; i < Box()->count(); ++i)
            names << Box()->itemText(i);
        return names;
    }
    void SelectStyle(const QString& name)
    {
        Box()->setCurrentIndex(Box()->findText(name));
        Idle();
    }
    // The name dialog: records what it showed, then answers with a name and the flags (a
    // null name cancels).
    struct Shown
    {
        QString title;
        QString name;
        bool attributes = false;
        bool nameEditable = true;
        QString message;
        bool text = false, para = false;
    };
    QList<Shown> shown;
    void AnswerStyleName(const QString& name, int text = -1, int para = -1)
    {
        prompter.AnswerDialogWith(
            [this, name, text, para] {
                TNameF* d = TNameF::Active();
                auto* edit = d->findChild<QLineEdit*>(u"PageNameE"_qs);
                auto* msg = d->findChild<QLabel*>(u"MsgL"_qs);
                shown.append({d->windowTitle(), d->Name(), d->AttributeMode(),
                              edit && !edit->isReadOnly(), msg ? msg->text() : QString(),
                              d->TextAttributes(), d->ParagraphAttributes()});
                if (name.isNull()) {
                    d->reject();
                    return d->result();
                }
                if (edit && !edit->isReadOnly())
                    d->SetName(name);
                if (text >= 0 || para >= 0)
                    d->SetAttributeMode(text > 0, para > 0);
                d->accept();
                return d->result();
            },
            TNameF::DialogName);
    }
    void CreateStyle(const QString& name, bool text, bool para)
    {
        AnswerStyleName(name, text, para);
        Run(u"StyleCreateA"_qs);
    }
};

TEST_F(StyleCommands, OrderIconsAndATakenName)
{
    SetText(u"eins zwei"_qs);
    Select(0, 4);
    CreateStyle(u"apfel"_qs, true, false);
    CreateStyle(u"Birne"_qs, false, true);
    CreateStyle(u"Äpfel"_qs, true, true);
    EXPECT_EQ(BoxNames(), (QStringList{u"Äpfel"_qs, u"apfel"_qs, u"Birne"_qs}));
    EXPECT_EQ(Box()->currentText(), u"Äpfel"_qs) << "a new style is selected";
    // The create dialog: its title, the unnamed name, the attribute part with text checked.
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[0].title, KvTexts::Text(1236));
    EXPECT_EQ(shown[0].name, u"*unbenannt*"_qs);
    EXPECT_TRUE(shown[0].attributes);
    EXPECT_TRUE(shown[0].text);
    EXPECT_FALSE(shown[0].para);
    // The icons of the kinds: text 0, paragraph 1, both 2.
    const QIcon want[] = {window->Editing().StyleIcon(2), window->Editing().StyleIcon(0),
                          window->Editing().StyleIcon(1)};
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Box()->itemIcon(i).pixmap(32, 16).toImage(), want[i].pixmap(32, 16).toImage())
            << i;

    // A taken name (the style's own too) is refused with 5090 and the dialog shows again.
    shown.clear();
    SelectStyle(u"Birne"_qs);
    AnswerStyleName(u"Birne"_qs);
    prompter.Answer(KvAnswer::Ok);
    AnswerStyleName(u"apfel"_qs);
    prompter.Answer(KvAnswer::Ok);
    AnswerStyleName(u"Quitte"_qs);
    Run(u"StyleRenameA"_qs);
    ASSERT_EQ(shown.size(), 3);
    EXPECT_EQ(shown[0].title, KvTexts::Text(1238));
    EXPECT_FALSE(shown[0].attributes) << "renaming has no attribute part";
    EXPECT_EQ(shown[0].name, u"Birne"_qs);
    ASSERT_EQ(prompter.Messages().size(), 2);
    EXPECT_EQ(prompter.Messages()[0].title, KvTexts::Text(5091));
    EXPECT_EQ(prompter.Messages()[0].text, KvTexts::Message(5090, {u"Birne"_qs}));
    EXPECT_EQ(prompter.Messages()[1].text, KvTexts::Message(5090, {u"apfel"_qs}));
    EXPECT_EQ(BoxNames(), (QStringList{u"Äpfel"_qs, u"apfel"_qs, u"Quitte"_qs}));
    EXPECT_EQ(Box()->currentText(), u"Quitte"_qs);
    EXPECT_FALSE(prompter.Unexpected());
}

TEST_F(StyleCommands, SelectionAfterDeleting)
{
    SetText(u"eins"_qs);
    for (const QString& name : {u"A"_qs, u"B"_qs, u"C"_qs, u"D"_qs})
        CreateStyle(name, true, false);
    const struct
    {
        const char16_t* remove;
        const char16_t* selected;
        QStringList left;
    } kSteps[] = {
        {u"C", u"B", {u"A"_qs, u"B"_qs, u"D"_qs}},
        {u"A", u"B", {u"B"_qs, u"D"_qs}},
        {u"D", u"B", {u"B"_qs}},
        {u"B", u"", {}},
    };
    for (const auto& s : kSteps) {
        SelectStyle(QString::fromUtf16(s.remove));
        prompter.Answer(KvAnswer::Yes);
        Run(u"StyleDeleteA"_qs);
        EXPECT_EQ(BoxNames(), s.left);
        EXPECT_EQ(Handler().SelectedStyle(), QString::fromUtf16(s.selected));
        const KvScriptedPrompter::Question q = prompter.Messages().last();
        EXPECT_EQ(q.title, KvTexts::Text(1240) + u':');
        EXPECT_EQ(q.text, KvTexts::Message(5093, {QString::fromUtf16(s.remove)}));
        EXPECT_EQ(q.kind, KvMsgKind::AskYesNo);
    }
    Idle();
    EXPECT_FALSE(A(u"StyleDeleteA"_qs)->isEnabled()) << "nothing selected";
    EXPECT_FALSE(A(u"StyleApplyA"_qs)->isEnabled());
    EXPECT_TRUE(A(u"StyleCreateA"_qs)->isEnabled());
}

TEST_F(StyleCommands, ATextStyleLeavesParagraphsAndRedefineKeepsItsFlags)
{
    SetText(u"eins\nzwei"_qs);
    Select(0, 4);
    Run(u"BoldTextA"_qs);
    CreateStyle(u"Fett"_qs, true, false);
    Select(5, 4);
    Run(u"ParaAlignCenterA"_qs);
    Run(u"StyleApplyA"_qs);
    EXPECT_TRUE(CharsAt(5).bold);
    EXPECT_EQ(Editor()->SelectionParagraph().alignment, KvParaAttributes::Centre);
    Editor()->undo();
    EXPECT_FALSE(CharsAt(5).bold) << "one undo step";

    // Redefining shows the name fixed, the message and the stored flags.
    shown.clear();
    Select(5, 4);
    AnswerStyleName(u"ignored"_qs, 1, 1);
    Run(u"StyleRedefineA"_qs);
    ASSERT_EQ(shown.size(), 1);
    EXPECT_EQ(shown[0].title, KvTexts::Text(1242));
    EXPECT_EQ(shown[0].name, u"Fett"_qs);
    EXPECT_FALSE(shown[0].nameEditable);
    EXPECT_EQ(shown[0].message, KvTexts::Message(5092, {u"Fett"_qs}));
    EXPECT_TRUE(shown[0].text);
    EXPECT_FALSE(shown[0].para);
    const KvStyle* fett = Handler().Styles()->Find(u"Fett"_qs);
    ASSERT_NE(fett, nullptr);
    EXPECT_EQ(fett->Kind(), 2);
    EXPECT_FALSE(fett->Chars().bold) << "taken from the new selection";
    EXPECT_EQ(fett->Para().alignment, KvParaAttributes::Centre);
    EXPECT_EQ(window->Editing().StylesBox()->currentText(), u"Fett"_qs);
}

TEST_F(StyleCommands, MenuAndStyleGiveTheSameBytes)
{
    const QString text = u"eins zwei drei"_qs;
    SetText(text);
    Select(5, 4);
    Run(u"BoldTextA"_qs);
    Run(u"ItalicTextA"_qs);
    QComboBox* size = window->Controls().sizeCoB;
    size->lineEdit()->selectAll();
    QTest::keyClicks(size->lineEdit(), u"14"_qs);
    QTest::keyClick(size->lineEdit(), Qt::Key_Return);
    window->Controls().colorCB->SetCurrentColor(Qt::red);
    Run(u"ChangeFontColorA"_qs);
    window->Controls().bgColorCB->SetCurrentColor(Qt::yellow);
    Run(u"ChangeBGColorA"_qs);
    Select(5, 4);
    const QByteArray byMenu = Doc().SaveRtf();
    CreateStyle(u"Markiert"_qs, true, false);

    SetText(text);
    Select(5, 4);
    Run(u"StyleApplyA"_qs);
    EXPECT_EQ(Doc().SaveRtf(), byMenu);
}

class StylesAtStart : public EditingWindow
{
protected:
    void SetUp() override
    {
        ElementWindow::SetUp();
        MakeNotebook();
        // Three styles in the settings directory before the window opens.
        KvDirStores::Open(KvPaths::SettingsDir());
        TexIniFile& store = KvDirStores::StylesStore();
        for (const QString& name : {u"Zitat"_qs, u"Standard"_qs, u"Code"_qs}) {
            const QString section = store.NewSectionName(u"Styl"_qs);
            store.WriteString(section, u"Descr"_qs, name);
            store.UpdateFile();
        }
        KvDirStores::Close();
    }
};

TEST_F(StylesAtStart, StandardIsSelected)
{
    Open();
    QComboBox* box = window->Controls().stylesCoB;
    ASSERT_EQ(box->count(), 3);
    EXPECT_EQ(box->itemText(0), u"Code"_qs);
    EXPECT_EQ(box->currentText(), u"Standard"_qs);
}

} // namespace
