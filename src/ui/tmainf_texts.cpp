// Resolution of the main window's texts when it is created.
#include "app/kvtexts.h"
#include "platform/applog.h"
#include "ui/kvlanguageinit.h"
#include "ui/texcolorpicker.h"
#include "ui/tmainf.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
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
    // 1. The commands; a command without a caption of its own is named by its tooltip.
    for (QAction* a : m_commands.Commands()) {
        KvLanguageInit::ResolveAction(a);
        if (a->text().isEmpty())
            a->setText(a->toolTip());
    }

    // 2. The main menu down to the fourth level and the context menus.
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

    // 3. Toolbar captions from the items that show and hide them.
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

    // 4.
    KvLanguageInit::ApplyHint(m_ui.zoomCoB,
                              KvTexts::SplitHint(KvTexts::Text(1319) + u'|' + KvTexts::Text(1320)));

    // 5.
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

    // 6.
    m_ui.resultLbl->setText(KvLanguageInit::Caption(m_ui.resultLbl->text()));
    QTreeWidgetItem* header = m_ui.resultLV->headerItem();
    for (int i = 0; i < header->columnCount(); ++i)
        header->setText(i, KvLanguageInit::Caption(header->text(i)));
    QTreeWidgetItem* historyHeader = m_ui.historyLV->headerItem();
    for (int i = 0; i < historyHeader->columnCount(); ++i)
        historyHeader->setText(i, KvLanguageInit::Caption(historyHeader->text(i)));
    m_ui.stopBtn->setText(KvLanguageInit::Caption(m_ui.stopBtn->text()));
    m_ui.newSearchBtn->setText(KvLanguageInit::Caption(m_ui.newSearchBtn->text()));
    m_ui.showFullPathCB->setText(KvLanguageInit::Caption(m_ui.showFullPathCB->text()));

    // 7. Bare numbers.
    auto bareHint = [](QWidget* w) {
        KvLanguageInit::ApplyHint(
            w, KvLanguageInit::Hint(w->property(KvLanguageInit::HintProperty).toString(), true));
    };
    for (QWidget* w : std::initializer_list<QWidget*>{
             m_ui.resultLV, m_ui.searchResCoB, m_ui.stopBtn, m_ui.newSearchBtn, m_ui.historyLV})
        bareHint(w);

    // 8.
    m_ui.foundLbl->setText(u"0 "_qs + KvTexts::Text(12014));

    // 9. Status bar only.
    const QString fullPath = KvTexts::ResolveHintNumber(
        m_ui.showFullPathCB->property(KvLanguageInit::HintProperty).toString());
    KvLanguageInit::ApplyHint(m_ui.showFullPathCB, KvTexts::SplitHint(u'|' + fullPath));

    fillZoomBox();
    UpdateCommandStates();
}
