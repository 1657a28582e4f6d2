#pragma once

#include "app/kvprompter.h"

#include <QList>
#include <QString>
#include <deque>
#include <functional>

// A prompter that answers from a script instead of asking anybody. Answers are queued
// per kind of question and taken in order; an answer for a named dialog waits for that
// dialog. Every question is recorded. A question without a queued answer gets the answer
// that changes nothing and is flagged as unexpected.
class KvScriptedPrompter : public KvPrompter
{
public:
    enum class Channel
    {
        Message,
        Folder,
        Dialog,
        Choice,
        SaveFile,
        OpenFile
    };

    struct Question
    {
        Channel channel = Channel::Message;
        QString title; // message or chooser title; the dialog's name for dialogs
        QString text;  // message text; the start directory for the chooser
        int kind = 0;
        int answer = 0;
        QString folder; // also the file of a save-file or open-file choice
        QString filter; // of a file choice
        QStringList buttons;
        bool unexpected = false;
    };

    // Queues the button for the next message box.
    KvScriptedPrompter& Answer(int button);
    // Queues the directory the next folder chooser returns (empty: cancelled).
    KvScriptedPrompter& AnswerFolder(const QString& directory);
    // Queues the result of the next dialog; with a name, of the next dialog of that name.
    KvScriptedPrompter& AnswerDialog(int result, const QString& dialogName = {});
    // As above, but handler runs in place of the dialog and gives the result.
    KvScriptedPrompter& AnswerDialogWith(std::function<int()> handler,
                                         const QString& dialogName = {});

    // Queues the index of the button the next choice returns.
    KvScriptedPrompter& AnswerChoice(int index);
    // As above, but handler runs when the choice is asked and gives the index.
    KvScriptedPrompter& AnswerChoiceWith(std::function<int()> handler);
    // Queues the path the next save-file chooser returns (empty: cancelled).
    KvScriptedPrompter& AnswerSaveFile(const QString& path);
    // Queues the path the next open-file chooser returns (empty: cancelled).
    KvScriptedPrompter& AnswerOpenFile(const QString& path);

    int MessageBox(const QString& title, const QString& text, int kind) override;
    int Choose(const QString& title, const QString& text, const QStringList& buttons,
               int escapeIndex) override;
    QString ChooseSaveFile(const QString& title, const QString& start,
                           const QString& filter) override;
    QString ChooseOpenFile(const QString& title, const QString& start,
                           const QString& filter) override;
    QString ChooseFolder(const QString& title, const QString& start) override;
    int RunDialog(const QString& dialogName, std::function<int()> showModal) override;

    const QList<Question>& Asked() const { return m_asked; }
    // Message boxes only, in order.
    QList<Question> Messages() const;
    // The questions of one channel, in order.
    QList<Question> AskedOn(Channel channel) const;
    // True when some question had no answer queued.
    bool Unexpected() const;
    // Answers queued but not used.
    int Pending() const { return int(m_script.size()); }
    void Clear();

private:
    struct Step
    {
        Channel channel = Channel::Message;
        int value = 0;
        QString text; // folder, or the dialog name the answer is meant for
        std::function<int()> handler;
    };

    // Takes the first queued step for the channel (and dialog name); false when none.
    // A file chooser's question (save or open): the scripted path, or empty.
    QString chooseFile(Channel channel, const QString& title, const QString& start,
                       const QString& filter);
    bool take(Channel channel, const QString& dialogName, Step& step);
    void unexpected(Question& q) const;

    std::deque<Step> m_script;
    QList<Question> m_asked;
};
