// Resolution of the main window's texts when it is created.
#include "app/kvtexts.h"
#include "platform/applog.h"
#include "ui/kvhistorylist.h"
#include "ui/kvlanguageinit.h"
#include "ui/kvsearchresultpanel.h"
#include "ui/texcolorpicker.h"
#include "ui/tmainf.h"

#include <QComboBox>
#include <QFontComboBox>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <QToolButton>
#include <functional>

void TMainF::MenuTextAndHint(QAction* item)
{
    // Items that show a command keep the command's texts.
    if (!item || item->isSeparator() || m_commands.Commands().contains(item))
        return;
    // A submenu's own item carries its title.
    KvLanguageInit::ResolveAction(item);
}

void TMainF::languageInit()
{
    KV_LOG_SCOPE("TMainF::LanguageInit");
    // The commands; a command without a caption of its own is named by its tooltip.
    for (QAction* a : m_commands.Commands()) {
        KvLanguageInit::ResolveAction(a);
        if (a->text().isEmpty())
            a->setText(a->toolTip());
    }

    // The main menu down to the fourth level and the context menus.
    std::function<void(QMenu*, int)> walk = [&](QMenu* menu, int depth) {
        if (depth <= 0)
            return;
        MenuTextAndHint(menu->menuAction());
        for (QAction* item : menu->actions()) {
            if (QMenu* sub = item->menu())
                walk(sub, depth - 1);
            else
                MenuTextAndHint(item);
        }
    };
    for (QAction* top : menuBar()->actions()) {
        if (QMenu* m = top->menu())
            walk(m, 4);
    }
    for (QMenu* m : {m_ui.folderTvPopupM, m_ui.trayPM, m_ui.resultLVPM, m_ui.historyPM,
                     m_ui.editPopupM, m_ui.stylesPopupM})
        walk(m, 1);
    // Items outside the menus (none at present) still get their texts.
    for (QAction* a : m_commands.AllActions())
        MenuTextAndHint(a);

    // Toolbar captions from the items that show and hide them.
    const struct
    {
        QToolBar* bar;
        const char16_t* item;
    } kBars[] = {
        {m_ui.mainToolbar, u"MainBarMI"},
        {m_ui.editToolbar, u"EditBarMI"},
        {m_ui.fontAndColorToolbar, u"FontAndColorBarMI"},
        {m_ui.textAttrToolbar, u"TextAttrBarMI"},
        {m_ui.stylesToolbar, u"StylesBarMI"},
    };
    for (const auto& b : kBars)
        b.bar->setWindowTitle(Action(QString::fromUtf16(b.item))->text());

    // The zoom box's hint.
    KvLanguageInit::ApplyHint(m_ui.zoomCoB,
                              KvTexts::SplitHint(KvTexts::Text(1319) + u'|' + KvTexts::Text(1320)));

    // The hints of the font, size and styles boxes; the custom-colour entries.
    auto ownHint = [](QWidget* w) {
        KvLanguageInit::ApplyHint(
            w, KvLanguageInit::Hint(w->property(KvLanguageInit::HintProperty).toString()));
    };
    ownHint(m_ui.fontCoB);
    ownHint(m_ui.sizeCoB);
    const KvHint stylesHint =
        KvLanguageInit::Hint(m_ui.stylesCoB->property(KvLanguageInit::HintProperty).toString());
    KvLanguageInit::ApplyHint(m_ui.stylesCoB, stylesHint);
    KvLanguageInit::ApplyHint(m_ui.stylesTB, stylesHint);
    for (TexColorPicker* picker : {m_ui.colorCB, m_ui.bgColorCB}) {
        QAction* custom = picker->CustomColorEntry();
        custom->setText(KvLanguageInit::Caption(custom->text()));
    }

    // The result panel's and the history list's captions and hints.
    m_ui.searchResP->LanguageInit();
    m_ui.historyLV->LanguageInit();

    // The handlers follow their controls once these show their texts (zoom captions).
    m_commands.AttachControls();
    UpdateCommandStates();
}
