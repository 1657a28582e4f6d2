#pragma once

#include <QDialog>
#include <functional>

class QButtonGroup;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStatusBar;
class TexComboBox;

// The hyperlink dialog: the link type, its scheme prefix, the target (typed, or picked:
// an element, a keyword, a file, a directory) and for files and directories the path type.
// OK gives the URL to write into the page. Runs through the prompter, so that tests can
// work it: while it runs, Active() is the dialog.
class THyperlinkF : public QDialog
{
    Q_OBJECT
public:
    static inline const QString DialogName = u"THyperlinkF"_qs;
    // Section of the settings file: place, LinkType, PathOption and the target history.
    static inline const QString FormName = u"HyperlinkF"_qs;
    static constexpr int HelpContext = 1000;

    // The pickers of the first two types; each answers empty when cancelled.
    struct Pickers
    {
        // An element: "*" + id + "*(" + name + ")"; preselectId may be empty.
        std::function<QString(const QString& preselectId)> element;
        std::function<QString()> keyword;
    };

    // dataDir: what relative paths are relative to.
    THyperlinkF(const QString& dataDir, Pickers pickers, QWidget* parent = nullptr);
    ~THyperlinkF() override;

    // Shows the dialog through the prompter; the URL on OK, empty on Cancel.
    QString Execute();
    static THyperlinkF* Active();

    // The link type (KvLinkInsert::Type as a number) and path type; choosing a type once
    // the dialog is set up opens the picker of types 0 and 1 at once.
    int LinkType() const;
    void SetLinkType(int type);
    int PathOption() const;
    void SetPathOption(int option);
    QString Target() const;
    void SetTarget(const QString& text);
    // The URL OK gave.
    const QString& Url() const { return m_url; }

    void SearchBBClick();
    void OKBtnClick();

    // The controls, for tests.
    QLineEdit* PrefixEdit() const { return m_prefixE; }
    TexComboBox* LinkBox() const { return m_linkCB; }
    QPushButton* SearchButton() const { return m_searchBB; }
    QComboBox* PathOptionsBox() const { return m_pathOptionsCoB; }
    QPushButton* OkButton() const { return m_okBtn; }
    QStatusBar* StatusBar() const { return m_statusBar; }

protected:
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void createControls();
    void hyperlinkGBClick(int type);
    void updateControls();
    void remember();

    QString m_dataDir;
    Pickers m_pickers;
    QString m_url;
    bool m_setUp = false;
    bool m_placed = false;

    QGroupBox* m_hyperlinkGB = nullptr;
    QButtonGroup* m_types = nullptr;
    QLineEdit* m_prefixE = nullptr;
    TexComboBox* m_linkCB = nullptr;
    QPushButton* m_searchBB = nullptr;
    QLabel* m_pathOptionLbl = nullptr;
    QComboBox* m_pathOptionsCoB = nullptr;
    QPushButton* m_okBtn = nullptr;
    QPushButton* m_cancelBtn = nullptr;
    QPushButton* m_helpBtn = nullptr;
    QStatusBar* m_statusBar = nullptr;
};
