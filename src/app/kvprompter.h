#pragma once

#include <QString>
#include <QStringList>
#include <functional>

// Message-box kinds: the button set in the low four bits, the icon above them.
namespace KvMsgKind {
constexpr int Notice = 0;         // OK, no icon
constexpr int Error = 16;         // OK, error icon
constexpr int ErrorOkCancel = 17; // OK and Cancel, error icon
constexpr int AskYesNoCancel = 35;
constexpr int AskYesNo = 36;
constexpr int Warning = 48;
constexpr int Info = 64;

// Enter presses the second button (No of Yes/No): for questions whose first answer is risky.
constexpr int DefaultSecond = 0x100;

constexpr int ButtonMask = 0x0F;
constexpr int IconMask = 0xF0;
constexpr int ButtonsOk = 0;
constexpr int ButtonsOkCancel = 1;
constexpr int ButtonsYesNoCancel = 3;
constexpr int ButtonsYesNo = 4;
constexpr int IconError = 16;
constexpr int IconQuestion = 32;
constexpr int IconWarning = 48;
constexpr int IconInfo = 64;
} // namespace KvMsgKind

// The button that closed a message box, and the result codes of modal dialogs.
namespace KvAnswer {
constexpr int Ok = 1;
constexpr int Cancel = 2;
constexpr int Yes = 6;
constexpr int No = 7;
} // namespace KvAnswer

// Every question to the user goes through the current prompter: message boxes, the
// folder chooser and any other modal dialog. The window layer installs one that shows
// real dialogs; tests install one that answers from a script.
class KvPrompter
{
public:
    virtual ~KvPrompter() = default;

    // Shows text with the buttons and icon of kind; returns the KvAnswer pressed.
    virtual int MessageBox(const QString& title, const QString& text, int kind) = 0;
    // The chosen directory, empty when cancelled.
    virtual QString ChooseFolder(const QString& title, const QString& start) = 0;
    // Runs a modal dialog; showModal shows it and returns its result. A prompter may
    // answer instead of showing it.
    virtual int RunDialog(const QString& dialogName, std::function<int()> showModal) = 0;
    // Shows text with a button per caption; returns the index of the one pressed, or
    // escapeIndex when the box was closed otherwise. Unattended: escapeIndex.
    virtual int Choose(const QString& title, const QString& text, const QStringList& buttons,
                       int escapeIndex);
    // The path of a file to write, empty when cancelled. filter: "Name (*.ext)".
    virtual QString ChooseSaveFile(const QString& title, const QString& start,
                                   const QString& filter);
    // The path of an existing file to read, empty when cancelled. filter: "Name (*)".
    virtual QString ChooseOpenFile(const QString& title, const QString& start,
                                   const QString& filter);

    // The prompter in use; never null (a fallback answers when none is installed).
    static KvPrompter& Current();
    // Installs p (not owned); nullptr goes back to the fallback.
    static void SetCurrent(KvPrompter* p);
    // Installs p only when it is the current one; used by prompters that go away.
    static void ResetIfCurrent(KvPrompter* p);

    // The main window's message box: writes its log line and asks the current prompter.
    static int ShowMessage(const QString& title, const QString& text, int kind);
    // Same with texts of the table; values fill the placeholders of the text in order.
    static int ShowMessage(int titleNumber, int textNumber, int kind,
                           const QStringList& values = {});

    // The button pressed with Enter: the first one of the kind's set, the second with
    // DefaultSecond.
    static int DefaultAnswer(int kind);
    // The answer that changes nothing: Cancel, else No, else OK.
    static int SafeAnswer(int kind);
};

// Installs a prompter for the lifetime of the scope and puts the previous one back.
class KvPrompterScope
{
public:
    explicit KvPrompterScope(KvPrompter& p);
    ~KvPrompterScope();
    KvPrompterScope(const KvPrompterScope&) = delete;
    KvPrompterScope& operator=(const KvPrompterScope&) = delete;

private:
    KvPrompter* m_previous;
};
