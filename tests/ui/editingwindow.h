#pragma once

// The main window on the element tests' notebook with page "Plan" shown and its editor
// focused, for the tests of the editing, formatting and style commands.
#include "elementwindow.h"
#include "richtext/charattributes.h"
#include "richtext/texrichdocument.h"
#include "ui/kvmainediting.h"
#include "ui/tfindreplacef.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace korvtest {

class EditingWindow : public ElementWindow
{
protected:
    void SetUp() override
    {
        ElementWindow::SetUp();
        MakeNotebook();
        Open();
        ShowPage(u"Page0000001"_qs);
    }

    void ShowPage(const QString& id)
    {
        Show(id);
        ASSERT_NE(Editor(), nullptr);
        Editor()->setFocus();
        ASSERT_TRUE(WaitUntil([this] { return Editor()->hasFocus(); }));
        Idle();
    }
    TexRichDocument& Doc() const { return *Editor()->Attached(); }
    // The shown page's text, as plain text; the page counts as unchanged afterwards.
    void SetText(const QString& text)
    {
        Doc().LoadPlainText(text);
        Idle();
    }
    void Select(int start, int length)
    {
        Editor()->SetSelection(start, length);
        Idle();
    }
    QString Text() const { return Doc().PlainText(); }
    KvCharAttributes CharsAt(int position) const
    {
        const int start = Editor()->SelStart(), length = Editor()->SelLength();
        Editor()->SetSelection(position, 1);
        const KvCharAttributes a = Editor()->SelectionCharAttributes();
        Editor()->SetSelection(start, length);
        return a;
    }
    KvMainEditing& Editing() const { return window->Editing(); }
    template <typename W> W* Child(const QString& name) const
    {
        return window->findChild<W*>(name);
    }
    // The messages asked so far, as text numbers would read them.
    QStringList MessageTexts() const
    {
        QStringList texts;
        for (const auto& q : prompter.Messages())
            texts << q.text;
        return texts;
    }
};

} // namespace korvtest
