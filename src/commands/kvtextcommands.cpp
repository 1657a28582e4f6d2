#include "commands/kvtextcommands.h"

#include "app/kvprompter.h"
#include "commands/kveditingservices.h"
#include "commands/kvwindowservices.h"
#include "platform/applog.h"
#include "richtext/kvfontsizetext.h"
#include "richtext/kvparadialogvalues.h"
#include "richtext/texrichedit.h"

#include <QAbstractButton>
#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>

namespace {

// name, caption, hint, shortcut, image, checkable, available
constexpr KvActionSpec kCommands[] = {
    {"FontA", "#1211", "#1212", "", "", false, true},
    {"ParagraphA", "#1255", "#1256", "", "", false, true},
    {"FormatCopyA", "#1253", "#1254", "", "FORMATCOPY", true, true},
    {"BoldTextA", "", "#3102", "Ctrl+Shift+F", "BOLD", true, true},
    {"ItalicTextA", "", "#3103", "Ctrl+Shift+K", "ITALIC", true, true},
    {"UnderlineTextA", "", "#3104", "Ctrl+Shift+U", "UNDERLINE", true, true},
    {"StrikeThroughTextA", "", "#3105", "Ctrl+Shift+D", "STRIKETHROUGH", true, true},
    {"ParaAlignLeftA", "", "#3109", "", "ALIGNLEFT", true, true},
    {"ParaAlignCenterA", "", "#3110", "", "ALIGNCENTER", true, true},
    {"ParaAlignRightA", "", "#3111", "", "ALIGNRIGHT", true, true},
    {"ParaIndentLessA", "", "#3112", "", "INDENTLEFT", false, true},
    {"ParaIndentMoreA", "", "#3113", "", "INDENTRIGHT", false, true},
    {"ParaBulletA", "", "#3115", "", "BULLET", true, true},
    {"ChangeFontColorA", "", "#3106", "", "", false, true},
    {"ChangeBGColorA", "", "#3107", "", "", false, true},
    {"BGColorResetA", "", "#3108", "", "RESET", false, true},
};

constexpr const char* kStyleActions[] = {"BoldTextA", "ItalicTextA", "UnderlineTextA",
                                         "StrikeThroughTextA"};
constexpr unsigned kStyleFields[] = {KvCharAttributes::Bold, KvCharAttributes::Italic,
                                     KvCharAttributes::Underline, KvCharAttributes::StrikeOut};
// Indent steps of 10 points.
constexpr int kIndentStep = 200;

bool& StyleBit(KvCharAttributes& a, int style)
{
    switch (style) {
    case 0:
        return a.bold;
    case 1:
        return a.italic;
    case 2:
        return a.underline;
    default:
        return a.strikeOut;
    }
}

// A colour of a colour button in the adapter's terms; none is the "none of its own" value.
int ColorValue(const QColor& color, int none)
{
    return color.isValid() && color.alpha() > 0 ? KvColor::FromQColor(color) : none;
}

} // namespace

KvTextCommands::KvTextCommands(KvWindowServices& services, QObject* parent)
    : KvCommandHandler(u"KvTextCommands"_qs, services, parent)
{
    addActions(kCommands);
    for (int style = 0; style < 4; ++style)
        onTriggered(kStyleActions[style], [this, style] { SwitchStyle(style); });
    onTriggered("FontA", [this] { FontDialog(); });
    onTriggered("ParagraphA", [this] { Paragraph(); });
    onTriggered("FormatCopyA", [this] { FormatCopy(); });
    onTriggered("ParaAlignLeftA", [this] { ParaAlignment(KvParaAttributes::Left); });
    onTriggered("ParaAlignRightA", [this] { ParaAlignment(KvParaAttributes::Right); });
    onTriggered("ParaAlignCenterA", [this] { ParaAlignment(KvParaAttributes::Centre); });
    onTriggered("ParaBulletA", [this](bool on) { ParaBullet(on); });
    onTriggered("ParaIndentLessA", [this] { ParaIndent(false); });
    onTriggered("ParaIndentMoreA", [this] { ParaIndent(true); });
    onTriggered("ChangeFontColorA", [this] { ChangeFontColor(); });
    onTriggered("ChangeBGColorA", [this] { ChangeBGColor(); });
    onTriggered("BGColorResetA", [this] { BGColorReset(); });
}

KvTextCommands::~KvTextCommands() = default;

TexRichEdit* KvTextCommands::editor() const
{
    return m_syncing ? nullptr : services().Editor();
}

void KvTextCommands::applyChars(const KvCharAttributes& chars, unsigned mask)
{
    if (TexRichEdit* e = editor()) {
        e->ApplyAttributes(chars, mask, {}, 0);
        e->setFocus();
    }
}

void KvTextCommands::applyPara(const KvParaAttributes& para, unsigned mask)
{
    if (TexRichEdit* e = editor()) {
        e->ApplyAttributes({}, 0, para, mask);
        e->setFocus();
    }
}

// ---- character format ----

void KvTextCommands::SwitchStyle(int style)
{
    KV_LOG_SCOPE("TMainF::SwitchStyle");
    TexRichEdit* e = editor();
    if (!e || !services().CurrentPage())
        return;
    KvCharAttributes a = e->SelectionCharAttributes();
    const unsigned field = kStyleFields[std::clamp(style, 0, 3)];
    // Partly bold text counts as not bold: the command makes all of it bold.
    bool& bit = StyleBit(a, style);
    bit = !bit || (e->SelectionMixedChars() & field) != 0;
    applyChars(a, field);
}

void KvTextCommands::FontDialog()
{
    KV_LOG_SCOPE("TMainF::FontMIClick");
    TexRichEdit* e = editor();
    KvEditingServices* editing = services().Editing();
    if (!e || !editing || !services().CurrentPage())
        return;
    const KvCharAttributes now = e->SelectionCharAttributes();
    QFont initial(now.name);
    initial.setPointSize(std::max(1, now.size));
    initial.setBold(now.bold);
    initial.setItalic(now.italic);
    initial.setUnderline(now.underline);
    initial.setStrikeOut(now.strikeOut);
    const std::optional<QFont> chosen = editing->ChooseFont(initial);
    if (!chosen)
        return;
    // The dialog sets family, size and the four style bits.
    KvCharAttributes a = now;
    a.name = chosen->family();
    a.size = chosen->pointSize() > 0 ? chosen->pointSize() : now.size;
    a.bold = chosen->bold();
    a.italic = chosen->italic();
    a.underline = chosen->underline();
    a.strikeOut = chosen->strikeOut();
    unsigned mask = KvCharAttributes::Size | KvCharAttributes::Styles;
    if (a.name != now.name)
        mask |= KvCharAttributes::Name;
    applyChars(a, mask);
}

void KvTextCommands::ApplyFontName(const QString& name)
{
    KV_LOG_SCOPE("TMainF::FontCBClick");
    m_fontEdited = false;
    TexRichEdit* e = editor();
    if (!e || name.trimmed().isEmpty() || !services().CurrentPage())
        return;
    KvCharAttributes a;
    a.name = name.trimmed();
    applyChars(a, KvCharAttributes::Name);
}

bool KvTextCommands::ApplySizeText(const QString& text)
{
    KV_LOG_SCOPE("TMainF::SizeCoBExit");
    m_sizeEdited = false;
    TexRichEdit* e = editor();
    if (!e || !services().CurrentPage())
        return false;
    const std::optional<int> size = KvFontSizeText::Parse(text);
    if (!size) {
        showSize(e);
        return false;
    }
    KvCharAttributes a;
    a.size = *size;
    applyChars(a, KvCharAttributes::Size);
    return true;
}

void KvTextCommands::showSize(TexRichEdit* e)
{
    if (m_sizeBox && e)
        showInBox(m_sizeBox, e->SelectionMixedChars() & KvCharAttributes::Size
                                 ? QString()
                                 : QString::number(e->SelectionCharAttributes().size));
}

void KvTextCommands::showInBox(QComboBox* box, const QString& text)
{
    // The list's entry too: a box whose text differs from its entry reports the text as
    // chosen when the focus leaves it, which would apply it to the whole selection. A text
    // the list lacks (a font that is not installed) shows with no entry.
    const int current = box->currentIndex();
    if (box->currentText() == text &&
        (current >= 0 ? box->itemText(current) == text : box->findText(text) < 0))
        return;
    const QSignalBlocker block(box);
    box->setCurrentIndex(box->findText(text));
    if (box->currentText() != text)
        box->setEditText(text);
}

void KvTextCommands::ChangeFontColor()
{
    KV_LOG_SCOPE("TMainF::ChangeFontColor");
    KvEditingServices* editing = services().Editing();
    if (!editing || !services().CurrentPage())
        return;
    KvCharAttributes a;
    a.color = ColorValue(editing->TextColor(), KvColor::clWindowText);
    applyChars(a, KvCharAttributes::Color);
}

void KvTextCommands::ChangeBGColor()
{
    KV_LOG_SCOPE("TMainF::ChangeBGColor");
    KvEditingServices* editing = services().Editing();
    if (!editing || !services().CurrentPage())
        return;
    KvCharAttributes a;
    a.background = ColorValue(editing->BackgroundColor(), KvColor::clWindow);
    applyChars(a, KvCharAttributes::Background);
}

void KvTextCommands::BGColorReset()
{
    KV_LOG_SCOPE("TMainF::BGColorReset");
    if (!services().CurrentPage())
        return;
    // The window colour as background is none of its own: the page's shows through.
    KvCharAttributes a;
    a.background = KvColor::clWindow;
    applyChars(a, KvCharAttributes::Background);
}

// ---- paragraph format ----

void KvTextCommands::ParaAlignment(int alignment)
{
    KV_LOG_SCOPE("TMainF::ParaAlignment");
    KvParaAttributes p;
    p.alignment = alignment;
    applyPara(p, KvParaAttributes::AlignmentField);
}

void KvTextCommands::ParaBullet(bool on)
{
    KV_LOG_SCOPE("TMainF::ParaBullet");
    KvParaAttributes p;
    p.numbering = on ? KvParaAttributes::Bullet : KvParaAttributes::NoNumbering;
    applyPara(p, KvParaAttributes::NumberingField);
}

void KvTextCommands::ParaIndent(bool more)
{
    KV_LOG_SCOPE("TMainF::ParaIndent");
    TexRichEdit* e = editor();
    if (!e)
        return;
    KvParaAttributes p = e->SelectionParagraph();
    if (more)
        p.startIndent += kIndentStep;
    else
        p.startIndent = p.startIndent >= kIndentStep ? p.startIndent - kIndentStep : 0;
    // The whole paragraph moves: its following lines keep their offset.
    applyPara(p, KvParaAttributes::StartIndentField);
}

void KvTextCommands::Paragraph()
{
    KV_LOG_SCOPE("TMainF::Paragraph");
    TexRichEdit* e = editor();
    KvEditingServices* editing = services().Editing();
    if (!e || !editing)
        return;
    const KvParaAttributes paragraph = e->SelectionParagraph();
    const KvParaDialogValues opened = KvParaDialogValues::From(paragraph);
    KvParaDialogValues values = opened;
    if (!editing->EditParagraph(values))
        return;
    // The dialog refuses values that do not read; only what changed is applied.
    const std::optional<KvParaDialogValues::Applied> applied = values.Apply(opened, paragraph);
    if (applied && applied->mask)
        applyPara(applied->attributes, applied->mask);
    else
        e->setFocus();
}

// ---- format copy ----

void KvTextCommands::FormatCopy()
{
    KV_LOG_SCOPE("TMainF::FormatCopy");
    if (m_formatCopy.TakeIgnoredClick()) {
        Action(u"FormatCopyA"_qs)->setChecked(m_formatCopy.Armed());
        return;
    }
    if (m_formatCopy.Armed()) {
        ResetFormatCopy();
        return;
    }
    TexRichEdit* e = services().Editor();
    if (!e || !services().CurrentPage()) {
        Action(u"FormatCopyA"_qs)->setChecked(false);
        return;
    }
    m_formatCopy.Arm(e->SelectionCharAttributes());
    Action(u"FormatCopyA"_qs)->setChecked(true);
    followPainterEditor(e);
}

void KvTextCommands::FormatCopyDoubleClick()
{
    KV_LOG_SCOPE("TMainF::FormatCopyTBDblClick");
    TexRichEdit* e = services().Editor();
    if (!e && !m_formatCopy.Armed())
        return;
    m_formatCopy.ToggleSticky(e ? e->SelectionCharAttributes() : KvCharAttributes());
    if (!m_formatCopy.Armed()) {
        ResetFormatCopy();
        return;
    }
    Action(u"FormatCopyA"_qs)->setChecked(true);
    followPainterEditor(e);
}

void KvTextCommands::FormatCopyMouseUp()
{
    KV_LOG_SCOPE("TMainF::REMouseUp");
    TexRichEdit* e = services().Editor();
    if (!e || !m_formatCopy.Armed())
        return;
    m_formatCopy.ApplyTo(*e);
    if (!m_formatCopy.Armed())
        ResetFormatCopy();
}

void KvTextCommands::ResetFormatCopy()
{
    KV_LOG_SCOPE("TMainF::ResetFormatCopy");
    m_formatCopy.End();
    Action(u"FormatCopyA"_qs)->setChecked(false);
    followPainterEditor(nullptr);
}

bool KvTextCommands::KeyPressed(const QKeyEvent& event)
{
    if (event.key() != Qt::Key_Escape || event.modifiers() != Qt::NoModifier ||
        !m_formatCopy.Armed())
        return false;
    ResetFormatCopy();
    return true;
}

void KvTextCommands::followPainterEditor(TexRichEdit* e)
{
    if (m_painterEditor == e)
        return;
    if (m_painterEditor) {
        m_painterEditor->SetFormatPainter(false);
        disconnect(m_painterConnection);
    }
    m_painterEditor = e;
    if (e) {
        e->SetFormatPainter(true);
        m_painterConnection = connect(e, &TexRichEdit::formatPainterReleased, this,
                                      [this] { guarded([this] { FormatCopyMouseUp(); }); });
    }
}

bool KvTextCommands::eventFilter(QObject* watched, QEvent* event)
{
    // The format-copy button's double click; the font and size boxes' keys and leaving.
    if (event->type() == QEvent::MouseButtonDblClick) {
        KvEditingServices* editing = services().Editing();
        if (editing && watched == editing->FormatCopyButton() &&
            isAvailable(Action(u"FormatCopyA"_qs)) && Action(u"FormatCopyA"_qs)->isEnabled()) {
            guarded([this] { FormatCopyDoubleClick(); });
            return false;
        }
    }
    const bool fontLine = m_fontBox && watched == m_fontBox->lineEdit();
    const bool sizeLine = m_sizeBox && watched == m_sizeBox->lineEdit();
    if (!fontLine && !sizeLine)
        return false;
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            guarded([&] {
                if (fontLine)
                    ApplyFontName(m_fontBox->currentText());
                else
                    ApplySizeText(m_sizeBox->currentText());
            });
            return true;
        }
    } else if (event->type() == QEvent::FocusOut) {
        // Leaving a box applies only what the user changed in it.
        guarded([&] {
            if (fontLine && m_fontEdited)
                ApplyFontName(m_fontBox->currentText());
            else if (sizeLine && m_sizeEdited)
                ApplySizeText(m_sizeBox->currentText());
        });
    }
    return false;
}

void KvTextCommands::AttachControls()
{
    KvEditingServices* editing = services().Editing();
    if (!editing)
        return;
    m_fontBox = editing->FontBox();
    m_sizeBox = editing->SizeBox();
    if (m_fontBox) {
        m_fontBox->setEditable(true);
        m_fontBox->setInsertPolicy(QComboBox::NoInsert);
        connect(m_fontBox, &QComboBox::textActivated, this,
                [this](const QString& name) { guarded([&] { ApplyFontName(name); }); });
        if (QLineEdit* line = m_fontBox->lineEdit()) {
            connect(line, &QLineEdit::textEdited, this, [this] { m_fontEdited = true; });
            line->installEventFilter(this);
        }
    }
    if (m_sizeBox) {
        connect(m_sizeBox, &QComboBox::textActivated, this,
                [this](const QString& text) { guarded([&] { ApplySizeText(text); }); });
        if (QLineEdit* line = m_sizeBox->lineEdit()) {
            connect(line, &QLineEdit::textEdited, this, [this] { m_sizeEdited = true; });
            line->installEventFilter(this);
        }
    }
    if (QAbstractButton* button = editing->FormatCopyButton())
        button->installEventFilter(this);
}

// ---- enabling and the tool bar ----

bool KvTextCommands::EnableCommands(const KvCommandContext& c)
{
    m_editable = c.pageEditable;
    const bool version2 = c.editorVersion > 1;
    const bool all = applyRules({
        {u"FontA", c.pageEditable},
        {u"ParagraphA", c.pageEditable && version2},
        {u"FormatCopyA", c.pageEditable},
        {u"BoldTextA", c.pageEditable},
        {u"ItalicTextA", c.pageEditable},
        {u"UnderlineTextA", c.pageEditable},
        {u"StrikeThroughTextA", c.pageEditable},
        {u"ParaAlignLeftA", c.pageEditable},
        {u"ParaAlignCenterA", c.pageEditable},
        {u"ParaAlignRightA", c.pageEditable},
        {u"ParaIndentLessA", c.pageEditable},
        {u"ParaIndentMoreA", c.pageEditable},
        {u"ParaBulletA", c.pageEditable},
        {u"ChangeFontColorA", c.pageEditable},
        {u"ChangeBGColorA", c.pageEditable && version2},
        {u"BGColorResetA", c.pageEditable && version2},
    });
    for (QComboBox* box : {m_fontBox, m_sizeBox}) {
        if (box && box->isEnabled() != c.pageEditable)
            box->setEnabled(c.pageEditable);
    }
    // Format copy ends when it can no longer be used; it follows the shown page's editor.
    if (m_formatCopy.Armed()) {
        if (!Action(u"FormatCopyA"_qs)->isEnabled())
            ResetFormatCopy();
        else
            followPainterEditor(services().Editor());
    }
    syncToolbar(c);
    return all;
}

void KvTextCommands::syncToolbar(const KvCommandContext& c)
{
    TexRichEdit* e = services().Editor();
    if (!e || !c.pageLoaded)
        return;
    m_syncing = true;
    const KvCharAttributes chars = e->SelectionCharAttributes();
    const KvParaAttributes para = e->SelectionParagraph();
    // What differs within the selection shows as empty or unchecked.
    const unsigned mixed = e->SelectionMixedChars();
    // A box the user is typing in stays as it is.
    if (m_fontBox && !(m_fontEdited && m_fontBox->hasFocus()))
        showInBox(m_fontBox, mixed & KvCharAttributes::Name
                                 ? QString()
                                 : chars.name); // the page's name, also where only a substitute is
    if (m_sizeBox && !(m_sizeEdited && m_sizeBox->hasFocus()))
        showInBox(m_sizeBox,
                  mixed & KvCharAttributes::Size ? QString() : QString::number(chars.size));
    const bool bits[] = {chars.bold && !(mixed & KvCharAttributes::Bold),
                         chars.italic && !(mixed & KvCharAttributes::Italic),
                         chars.underline && !(mixed & KvCharAttributes::Underline),
                         chars.strikeOut && !(mixed & KvCharAttributes::StrikeOut)};
    for (int i = 0; i < 4; ++i) {
        QAction* a = Action(QString::fromUtf8(kStyleActions[i]));
        if (a->isChecked() != bits[i])
            a->setChecked(bits[i]);
    }
    const struct
    {
        const char16_t* action;
        bool on;
    } aligns[] = {
        {u"ParaAlignLeftA", para.alignment == KvParaAttributes::Left},
        {u"ParaAlignRightA", para.alignment == KvParaAttributes::Right},
        {u"ParaAlignCenterA", para.alignment == KvParaAttributes::Centre},
        {u"ParaBulletA", para.numbering == KvParaAttributes::Bullet},
        {u"FormatCopyA", m_formatCopy.Armed()},
    };
    for (const auto& a : aligns) {
        QAction* action = Action(QString::fromUtf16(a.action));
        if (action->isChecked() != a.on)
            action->setChecked(a.on);
    }
    m_syncing = false;
}
