#pragma once

#include "app/kvprompter.h"

#include <QMessageBox>
#include <QObject>
#include <memory>

class QWidget;

// Asks the user with real dialogs: message boxes, the folder chooser and the modal
// dialogs of the program. Owned by the main window, whose child it is; it installs
// itself as the current prompter and removes itself when it goes.
class KvWidgetPrompter : public QObject, public KvPrompter
{
    Q_OBJECT
public:
    explicit KvWidgetPrompter(QWidget* window);
    ~KvWidgetPrompter() override;

    int MessageBox(const QString& title, const QString& text, int kind) override;
    QString ChooseFolder(const QString& title, const QString& start) override;
    int RunDialog(const QString& dialogName, std::function<int()> showModal) override;
    int Choose(const QString& title, const QString& text, const QStringList& buttons,
               int escapeIndex) override;
    QString ChooseSaveFile(const QString& title, const QString& start,
                           const QString& filter) override;
    QString ChooseOpenFile(const QString& title, const QString& start,
                           const QString& filter) override;

    // The message box for kind, configured but not shown: icon, German buttons, default
    // and escape button.
    static std::unique_ptr<QMessageBox> BuildMessageBox(QWidget* parent, const QString& title,
                                                        const QString& text, int kind);
    // The answer a closed box gives: the button pressed, or its escape answer.
    static int Result(const QMessageBox& box);

private:
    QWidget* m_window;
};
