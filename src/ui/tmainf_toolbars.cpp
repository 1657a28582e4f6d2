// The five toolbars of the main window.
#include "ui/kvlanguageinit.h"
#include "ui/kvmenubuilder.h"
#include "ui/kvmenuimages.h"
#include "ui/texcolorpicker.h"
#include "ui/tmainf.h"

#include <QAction>
#include <QComboBox>
#include <QFontComboBox>
#include <QMenu>
#include <QToolBar>
#include <QToolButton>

using KvCompose::Named;
using KvCompose::ToolButton;

void TMainF::setupToolbars()
{
    auto bar = [&](const QString& name, Qt::ToolBarArea area, bool breakBefore) {
        if (breakBefore)
            addToolBarBreak(area);
        auto* tb = Named(new QToolBar(this), name);
        tb->setIconSize(QSize(16, 16));
        addToolBar(area, tb);
        return tb;
    };

    m_ui.mainToolbar = bar(u"MainToolbar"_qs, Qt::TopToolBarArea, false);
    m_ui.renameTB = ToolButton(m_ui.mainToolbar, u"RenameTB"_qs);
    m_ui.deleteTB = ToolButton(m_ui.mainToolbar, u"DeleteTB"_qs);
    m_ui.moveUpTB = ToolButton(m_ui.mainToolbar, u"MoveUpTB"_qs);
    m_ui.moveDownTB = ToolButton(m_ui.mainToolbar, u"MoveDownTB"_qs);
    m_ui.zoomCoB = Named(new QComboBox(m_ui.mainToolbar), u"ZoomCoB"_qs);
    m_ui.zoomCoB->setEditable(true);
    m_ui.zoomCoB->setInsertPolicy(QComboBox::NoInsert);
    m_ui.zoomCoB->setMinimumContentsLength(5);
    KvToolbarBuilder(m_ui.mainToolbar, m_commands)
        .sep()
        .button(u"Browse2PrevTB"_qs, u"Browse2PreviousPageA"_qs)
        .button(u"Browse2NextTB"_qs, u"Browse2NextPageA"_qs)
        .button(u"ShowHistoryTB"_qs, u"ShowHistoryA"_qs)
        .button(u"CreateNewPageTB"_qs, u"CreateNewPageA"_qs)
        .widget(m_ui.renameTB)
        .widget(m_ui.deleteTB)
        .sep()
        .button(u"PageSearchTB"_qs, u"PageSearchA"_qs)
        .sep()
        .widget(m_ui.moveUpTB)
        .widget(m_ui.moveDownTB)
        .button(u"PrintTB"_qs, u"PrintPageImmediatelyA"_qs)
        .sep()
        .sep()
        .button(u"CreateNewFolderTB"_qs, u"CreateNewFolderA"_qs)
        .button(u"SortFolderTB"_qs, u"SortFolderA"_qs)
        .sep()
        .button(u"BookmarksTB"_qs, u"BookmarksA"_qs)
        .button(u"KeywordsTB"_qs, u"KeywordsA"_qs)
        .sep()
        .button(u"SearchTB"_qs, u"SearchA"_qs)
        .button(u"Close2TrayTB"_qs, u"Close2TrayA"_qs)
        .sep()
        .button(u"AboutTB"_qs, u"AboutA"_qs)
        .sep()
        .button(u"SwitchAccessTB"_qs, u"SwitchAccessA"_qs)
        .sep()
        .sep()
        .widget(m_ui.zoomCoB);
    RetargetButtons(KvButtonMode::Folder);

    m_ui.editToolbar = bar(u"EditToolbar"_qs, Qt::TopToolBarArea, false);
    KvToolbarBuilder(m_ui.editToolbar, m_commands)
        .button(u"UndoTB"_qs, u"UndoA"_qs)
        .button(u"RedoTB"_qs, u"RedoA"_qs)
        .sep()
        .button(u"CutTB"_qs, u"CutA"_qs)
        .button(u"CopyTB"_qs, u"CopyA"_qs)
        .button(u"PasteTB"_qs, u"PasteA"_qs)
        .sep()
        .button(u"InsertLinkTB"_qs, u"InsertLinkA"_qs)
        .button(u"InsertOLETB"_qs, u"InsertOLEA"_qs);

    m_ui.fontAndColorToolbar = bar(u"FontAndColorToolbar"_qs, Qt::TopToolBarArea, true);
    QToolBar* fc = m_ui.fontAndColorToolbar;
    m_ui.colorCB = Named(new TexColorPicker(fc), u"ColorCB"_qs);
    m_ui.colorCB->SetAction(Action(u"ChangeFontColorA"_qs));
    m_ui.colorCB->CustomColorEntry()->setObjectName(u"ColorCBCustomMI"_qs);
    m_ui.bgColorCB = Named(new TexColorPicker(fc), u"BGColorCB"_qs);
    m_ui.bgColorCB->SetAction(Action(u"ChangeBGColorA"_qs));
    m_ui.bgColorCB->SetCurrentColor(Qt::yellow);
    m_ui.bgColorCB->CustomColorEntry()->setObjectName(u"BGColorCBCustomMI"_qs);
    m_ui.fontCoB = Named(new QFontComboBox(fc), u"FontCoB"_qs);
    m_ui.fontCoB->setProperty(KvLanguageInit::HintProperty, u"#3100"_qs);
    m_ui.sizeCoB = Named(new QComboBox(fc), u"SizeCoB"_qs);
    m_ui.sizeCoB->setEditable(true);
    m_ui.sizeCoB->setInsertPolicy(QComboBox::NoInsert);
    for (int size : {6, 7, 8, 9, 10, 11, 12, 14, 16, 18, 20, 22, 24, 26, 28, 36, 48, 72})
        m_ui.sizeCoB->addItem(QString::number(size));
    m_ui.sizeCoB->setCurrentText(u"10"_qs);
    m_ui.sizeCoB->setProperty(KvLanguageInit::HintProperty, u"#3101"_qs);
    KvToolbarBuilder(fc, m_commands)
        .sep()
        .sep()
        .button(u"BGColorResetTB"_qs, u"BGColorResetA"_qs)
        .sep()
        .widget(m_ui.colorCB)
        .widget(m_ui.bgColorCB)
        .widget(m_ui.fontCoB)
        .widget(m_ui.sizeCoB);

    m_ui.textAttrToolbar = bar(u"TextAttrToolbar"_qs, Qt::TopToolBarArea, false);
    KvToolbarBuilder(m_ui.textAttrToolbar, m_commands)
        .button(u"BoldTB"_qs, u"BoldTextA"_qs)
        .button(u"ItalicTB"_qs, u"ItalicTextA"_qs)
        .button(u"StrikeThroughTB"_qs, u"StrikeThroughTextA"_qs)
        .sep()
        .button(u"FormatCopyTB"_qs, u"FormatCopyA"_qs)
        .button(u"UnderlineTB"_qs, u"UnderlineTextA"_qs)
        .sep()
        .button(u"ParaAlLeftTB"_qs, u"ParaAlignLeftA"_qs)
        .button(u"ParaAlCenterTB"_qs, u"ParaAlignCenterA"_qs)
        .button(u"ParaAlRightTB"_qs, u"ParaAlignRightA"_qs)
        .button(u"ParaIndentLessTB"_qs, u"ParaIndentLessA"_qs)
        .button(u"ParaBulletTB"_qs, u"ParaBulletA"_qs)
        .button(u"ParaIndentMoreTB"_qs, u"ParaIndentMoreA"_qs);

    m_ui.stylesToolbar = bar(u"StylesToolbar"_qs, Qt::TopToolBarArea, false);
    m_ui.stylesTB = ToolButton(m_ui.stylesToolbar, u"StylesTB"_qs);
    m_ui.stylesTB->setIcon(KvMenuImages::Icon(u"SELECTMORE"_qs));
    m_ui.stylesTB->setMenu(m_ui.stylesPopupM);
    m_ui.stylesTB->setPopupMode(QToolButton::InstantPopup);
    m_ui.stylesCoB = Named(new QComboBox(m_ui.stylesToolbar), u"StylesCoB"_qs);
    m_ui.stylesCoB->setMinimumContentsLength(16);
    m_ui.stylesCoB->setProperty(KvLanguageInit::HintProperty, u"#3114"_qs);
    // The styles' pop-up menu opens from the box too.
    m_ui.stylesCoB->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(m_ui.stylesCoB, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        m_ui.stylesPopupM->popup(m_ui.stylesCoB->mapToGlobal(pos));
    });
    KvToolbarBuilder(m_ui.stylesToolbar, m_commands)
        .sep()
        .button(u"StyleApplyTB"_qs, u"StyleApplyA"_qs)
        .widget(m_ui.stylesTB)
        .widget(m_ui.stylesCoB);
}
