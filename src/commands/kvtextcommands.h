#pragma once

#include "commands/kvcommandhandler.h"
#include "richtext/charattributes.h"
#include "richtext/kvformatcopy.h"
#include "richtext/paraattributes.h"

#include <QPointer>

class QComboBox;
class TexRichEdit;

// Character and paragraph formatting of the page editor: the font dialog, the font and size
// boxes, the style bits, colours, format copy, alignment, bullets, indents and the paragraph
// dialog. The tool bar follows the selection in every idle pass.
class KvTextCommands : public KvCommandHandler
{
    Q_OBJECT
public:
    KvTextCommands(KvWindowServices& services, QObject* parent = nullptr);
    ~KvTextCommands() override;
    bool EnableCommands(const KvCommandContext& context) override;
    void AttachControls() override;

    // Style 0 bold, 1 italic, 2 underline, 3 strike-out: removed when the selection has it,
    // else set.
    void SwitchStyle(int style);
    void FontDialog();
    // The font box's name, as typed or chosen.
    void ApplyFontName(const QString& name);
    // The size box's text; a text that is no size (KvFontSizeText) changes nothing and the
    // box shows the selection's size again. False then.
    bool ApplySizeText(const QString& text);
    void ChangeFontColor();
    void ChangeBGColor();
    void BGColorReset();
    // 0 left, 1 right, 2 centre.
    void ParaAlignment(int alignment);
    void ParaBullet(bool on);
    void ParaIndent(bool more);
    void Paragraph();

    // Format copy: the button's click and double click, the editor's mouse-up, the end.
    void FormatCopy();
    void FormatCopyDoubleClick();
    void FormatCopyMouseUp();
    void ResetFormatCopy();
    // Esc in the main window ends format copy; other keys and Esc without it pass.
    bool KeyPressed(const QKeyEvent& event) override;
    bool FormatCopyArmed() const { return m_formatCopy.Armed(); }
    bool FormatCopySticky() const { return m_formatCopy.Sticky(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The editor the formatting commands act on: none while the tool bar is synchronised.
    TexRichEdit* editor() const;
    void applyChars(const KvCharAttributes& chars, unsigned mask);
    void applyPara(const KvParaAttributes& para, unsigned mask);
    void syncToolbar(const KvCommandContext& context);
    void showSize(TexRichEdit* editor);
    void showInBox(QComboBox* box, const QString& text);
    void followPainterEditor(TexRichEdit* editor);

    KvFormatCopy m_formatCopy;
    QPointer<TexRichEdit> m_painterEditor;
    QMetaObject::Connection m_painterConnection;
    bool m_syncing = false;    // the idle pass copies the selection's format into the tool bar
    bool m_fontEdited = false; // the user typed in the font box
    bool m_sizeEdited = false; // the user typed in the size box
    bool m_editable = false;   // the last context's page may be changed
    QComboBox* m_fontBox = nullptr;
    QComboBox* m_sizeBox = nullptr;
};
