#pragma once

#include "commands/kveditingservices.h"

#include <QPointer>

class QFileDialog;
class QFontDialog;
class TCharMapF;
class TFindReplaceF;
class TMainF;

// The main window's tool-bar controls and dialogs as the editing and style commands see
// them. Owns the modeless find dialog and character map (as children of the window).
class KvMainEditing : public KvEditingServices
{
public:
    static inline const QString FontDialogName = u"FontDialog"_qs;
    static inline const QString PictureDialogName = u"PictureFileDialog"_qs;

    explicit KvMainEditing(TMainF& window) : m_w(window) {}
    ~KvMainEditing() override;

    QComboBox* FontBox() const override;
    QComboBox* SizeBox() const override;
    QComboBox* StylesBox() const override;
    QAbstractButton* FormatCopyButton() const override;
    QIcon StyleIcon(int kind) const override;
    QColor TextColor() const override;
    QColor BackgroundColor() const override;
    std::optional<QFont> ChooseFont(const QFont& initial) override;
    bool EditParagraph(KvParaDialogValues& values) override;
    std::optional<KvPaste::Kind> ChoosePasteKind(const QList<KvPaste::Kind>& kinds) override;
    QString ChoosePictureFile() override;
    bool EditStyleName(KvStyleNameRequest& request) override;
    void ShowCharMap(const QFont& font, std::function<void(const QString&)> chosen) override;
    void ShowFindDialog(bool replace, const KvFindFields& preset,
                        KvFindReplaceHandler& handler) override;
    bool FindDialogOpen() const override;
    void CloseFindDialog() override;
    void MoveFindDialogOff(const QRect& hit) override;

    TFindReplaceF* FindDialog() const;
    TCharMapF* CharMap() const;
    // The font and file dialog while they run (tests answer them through the prompter).
    static QFontDialog* ActiveFontDialog();
    static QFileDialog* ActiveFileDialog();

private:
    TMainF& m_w;
    QPointer<TFindReplaceF> m_find;
    QPointer<TCharMapF> m_charMap;
};
