#include "ui/kvmainediting.h"

#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "platform/applog.h"
#include "platform/sysenv.h"
#include "ui/tcharmapf.h"
#include "ui/texcolorpicker.h"
#include "ui/tfindreplacef.h"
#include "ui/tmainf.h"
#include "ui/tnamef.h"
#include "ui/tparaf.h"
#include "ui/tpastekindf.h"

#include <QComboBox>
#include <QFileDialog>
#include <QFontComboBox>
#include <QFontDialog>
#include <QToolButton>

namespace {

QFontDialog* g_fontDialog = nullptr;
QFileDialog* g_fileDialog = nullptr;

QString WithoutDots(int number)
{
    QString t = KvTexts::Text(number);
    while (t.endsWith(u'.'))
        t.chop(1);
    return t;
}

} // namespace

KvMainEditing::~KvMainEditing() = default;

TFindReplaceF* KvMainEditing::FindDialog() const
{
    return m_find;
}

TCharMapF* KvMainEditing::CharMap() const
{
    return m_charMap;
}

QComboBox* KvMainEditing::FontBox() const
{
    return m_w.Controls().fontCoB;
}

QComboBox* KvMainEditing::SizeBox() const
{
    return m_w.Controls().sizeCoB;
}

QComboBox* KvMainEditing::StylesBox() const
{
    return m_w.Controls().stylesCoB;
}

QAbstractButton* KvMainEditing::FormatCopyButton() const
{
    return m_w.findChild<QToolButton*>(u"FormatCopyTB"_qs);
}

QIcon KvMainEditing::StyleIcon(int kind) const
{
    return QIcon(TNameF::StyleImage(kind));
}

QColor KvMainEditing::TextColor() const
{
    return m_w.Controls().colorCB ? m_w.Controls().colorCB->CurrentColor() : QColor();
}

QColor KvMainEditing::BackgroundColor() const
{
    return m_w.Controls().bgColorCB ? m_w.Controls().bgColorCB->CurrentColor() : QColor();
}

QFontDialog* KvMainEditing::ActiveFontDialog()
{
    return g_fontDialog;
}

QFileDialog* KvMainEditing::ActiveFileDialog()
{
    return g_fileDialog;
}

std::optional<QFont> KvMainEditing::ChooseFont(const QFont& initial)
{
    KV_LOG_SCOPE("KvMainEditing::ChooseFont");
    QFontDialog dialog(&m_w);
    dialog.setObjectName(FontDialogName);
    dialog.setCurrentFont(initial);
    // What the dialog makes of the page's font name where only a substitute is installed.
    const QString shownFamily = dialog.currentFont().family();
    g_fontDialog = &dialog;
    const int result =
        KvPrompter::Current().RunDialog(FontDialogName, [&dialog] { return dialog.exec(); });
    g_fontDialog = nullptr;
    if (result != QDialog::Accepted)
        return std::nullopt;
    QFont chosen = dialog.currentFont();
    // Font names stay as the page has them unless the user chose another.
    if (chosen.family() == shownFamily)
        chosen.setFamily(initial.family());
    return chosen;
}

bool KvMainEditing::EditParagraph(KvParaDialogValues& values)
{
    TParaF dialog(&m_w);
    dialog.SetValues(values);
    if (!dialog.Execute())
        return false;
    values = dialog.Values();
    return true;
}

std::optional<KvPaste::Kind> KvMainEditing::ChoosePasteKind(const QList<KvPaste::Kind>& kinds)
{
    TPasteKindF dialog(kinds, &m_w);
    if (!dialog.Execute())
        return std::nullopt;
    return dialog.Chosen();
}

QString KvMainEditing::ChoosePictureFile()
{
    KV_LOG_SCOPE("KvMainEditing::ChoosePictureFile");
    QFileDialog dialog(&m_w, WithoutDots(1221), KvSysEnv::Get().documentsDir, KvTexts::Text(5976));
    dialog.setObjectName(PictureDialogName);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    g_fileDialog = &dialog;
    const int result =
        KvPrompter::Current().RunDialog(PictureDialogName, [&dialog] { return dialog.exec(); });
    g_fileDialog = nullptr;
    if (result != QDialog::Accepted)
        return {};
    return dialog.selectedFiles().value(0);
}

bool KvMainEditing::EditStyleName(KvStyleNameRequest& request)
{
    TNameF dialog(&m_w);
    dialog.setWindowTitle(request.title);
    dialog.SetName(request.name);
    dialog.SetNameEditable(request.nameEditable);
    dialog.SetMessage(request.message);
    if (request.attributes)
        dialog.SetAttributeMode(request.textAttributes, request.paraAttributes);
    if (!dialog.Execute())
        return false;
    request.name = dialog.Name();
    request.textAttributes = dialog.TextAttributes();
    request.paraAttributes = dialog.ParagraphAttributes();
    return true;
}

void KvMainEditing::ShowCharMap(const QFont& font, std::function<void(const QString&)> chosen)
{
    if (!m_charMap)
        m_charMap = new TCharMapF(&m_w);
    m_charMap->SetChooser(std::move(chosen));
    m_charMap->SetFont(font);
    m_charMap->show();
    m_charMap->raise();
    m_charMap->activateWindow();
}

void KvMainEditing::ShowFindDialog(bool replace, const KvFindFields& preset,
                                   KvFindReplaceHandler& handler)
{
    if (!m_find)
        m_find = new TFindReplaceF(&m_w);
    m_find->Open(replace, preset, handler);
}

bool KvMainEditing::FindDialogOpen() const
{
    return m_find && m_find->isVisible();
}

void KvMainEditing::CloseFindDialog()
{
    if (m_find)
        m_find->close();
}

void KvMainEditing::MoveFindDialogOff(const QRect& hit)
{
    if (m_find)
        m_find->MoveOff(hit);
}
