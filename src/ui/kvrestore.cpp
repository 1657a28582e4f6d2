#include "ui/kvrestore.h"

#include "app/kvformres.h"
#include "app/kvoptionsg.h"
#include "app/kvtoolbararrange.h"
#include "commands/kvviewcommands.h"
#include "richtext/kvzoomtext.h"
#include "richtext/texrichedit.h"
#include "store/kvvalueformat.h"
#include "store/texprofilefile.h"
#include "ui/kvsearchresultpanel.h"
#include "ui/kvtoolbarstate.h"
#include "ui/texcolorpicker.h"
#include "ui/textreeview.h"
#include "ui/tmainf.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QSplitter>
#include <QStatusBar>
#include <QTabBar>
#include <QTabWidget>
#include <QToolBar>

namespace {

QToolBar* toolbar(const TMainF& w, int i)
{
    const KvMainControls& ui = w.Controls();
    QToolBar* bars[] = {ui.mainToolbar, ui.editToolbar, ui.fontAndColorToolbar, ui.textAttrToolbar,
                        ui.stylesToolbar};
    return bars[i];
}

constexpr KvWindowPart kToolbarParts[] = {
    KvWindowPart::MainToolbar, KvWindowPart::EditToolbar, KvWindowPart::FontAndColorToolbar,
    KvWindowPart::TextAttrToolbar, KvWindowPart::StylesToolbar};

// The colour a picker shows as the value the settings keep; the value read stays when the
// picker still shows it (the "no colour" value has no colour of its own).
int colorValue(const TexColorPicker* picker, int read)
{
    const QColor shown = picker->CurrentColor();
    if (shown == KvColor::ToQColor(read))
        return read;
    return shown.alpha() == 0 ? KvColor::clNone : KvColor::FromQColor(shown);
}

} // namespace

KvRestore::KvRestore(TMainF& window) : QObject(&window), m_w(window)
{
    const KvMainControls& ui = m_w.Controls();
    connect(ui.fldrPageSp, &QSplitter::splitterMoved, this, [this, sp = ui.fldrPageSp] {
        if (const int width = sp->sizes().value(0); width > 0)
            m_treeWidth = width;
    });
    connect(ui.searchResSp, &QSplitter::splitterMoved, this, [this, sp = ui.searchResSp] {
        if (const int height = sp->sizes().value(1); height > 0)
            m_searchResHeight = height;
    });
    ui.fldrPageSp->installEventFilter(this);
    m_w.installEventFilter(this);
    for (int i = 0; i < KvMainFormSettings::ToolbarCount; ++i) {
        QToolBar* tb = toolbar(m_w, i);
        tb->installEventFilter(this);
        connect(tb, &QToolBar::topLevelChanged, this, [this, tb] { ToolbarDockChanged(tb); });
    }
}

bool KvRestore::eventFilter(QObject* watched, QEvent* event)
{
    const KvMainControls& ui = m_w.Controls();
    if (watched == ui.fldrPageSp && event->type() == QEvent::Resize && m_splittersPending)
        // Once the splitter has taken its first size of its own.
        QMetaObject::invokeMethod(this, &KvRestore::ApplySplitters, Qt::QueuedConnection);
    else if (watched == &m_w && event->type() == QEvent::Resize && m_autoArrange && !m_arranging &&
             !m_arrangePending) {
        // Once per burst of resizes, after the window has its new size.
        m_arrangePending = true;
        QMetaObject::invokeMethod(this, &KvRestore::ArrangeToolbars, Qt::QueuedConnection);
    } else if (auto* tb = qobject_cast<QToolBar*>(watched);
               tb && tb->isFloating() && tb->geometry().top() != 0 &&
               (event->type() == QEvent::Move || event->type() == QEvent::Resize))
        // Top 0 is where a toolbar just torn off sits; that is no place to remember.
        m_floating.insert(tb->objectName(), tb->geometry());
    return QObject::eventFilter(watched, event);
}

void KvRestore::Restore()
{
    KvFormRes res;
    const KvScreenLayout screens = KvScreenLayout::Current();
    const bool firstStart = !res.Settings().SectionExists(KvMainFormSettings::Section);
    QRect rect;
    if (firstStart) {
        // A new user gets most of the screen, centred.
        const QRect avail =
            screens.primaryAvailable.isEmpty() ? screens.primary : screens.primaryAvailable;
        rect = QRect(0, 0, avail.width() * 4 / 5, avail.height() * 4 / 5);
        rect.moveCenter(avail.center());
        m_settings = KvMainFormSettings{};
        m_settings.treeWidth = rect.width() / 4;
    } else {
        const QRect primary = screens.primary;
        res.SetDefaultRect(QRect(10, 10, primary.width() * 3 / 4, primary.height() * 3 / 4));
        rect = res.Restore(KvMainFormSettings::Section, true, m_w.size(),
                           m_w.Shell().commandLine.newWindow)
                   .value_or(rect);
        m_settings = KvMainFormSettings::Read(res.Settings());
    }
    if (rect.isValid()) {
        m_w.resize(rect.size().expandedTo(m_w.minimumSize()));
        m_w.move(rect.topLeft());
    }
    const KvOptionsG options;
    m_autoArrange = options.AutoAdjustToolbars;
    switch (options.StartMode) {
    case 0:
        m_w.setWindowState(Qt::WindowMinimized);
        break;
    case 1:
        m_w.setWindowState(Qt::WindowMaximized);
        break;
    default: // 3 (hidden to the tray) starts normal until the tray exists
        break;
    }
    applySettings(firstStart);
}

void KvRestore::applySettings(bool firstStart)
{
    const KvMainControls& ui = m_w.Controls();
    const KvMainFormSettings& s = m_settings;
    m_w.Action(u"PrintWithHeaderMI"_qs)->setChecked(s.printWithHeader);
    m_w.Action(u"ExportWithHeaderMI"_qs)->setChecked(s.exportWithHeader);
    m_treeWidth = std::max(s.treeWidth, 1);
    m_searchResHeight = s.searchResHeight;
    m_w.ShowPart(KvWindowPart::NavigationTree, s.showNavigationTree);
    m_w.ShowPart(KvWindowPart::SearchResults, s.showSearchRes);
    m_w.ShowPart(KvWindowPart::StatusBar, s.showStatusBar);
    ui.searchResP->FullPathBox()->setChecked(s.showFullPath);
    m_splittersPending = true;
    if (ui.fldrPageSp->width() > 0 && m_w.isVisible())
        ApplySplitters();

    for (int i = 0; i < KvMainFormSettings::ToolbarCount; ++i)
        m_w.ShowPart(kToolbarParts[i], s.showToolbar[i]);
    if (!firstStart)
        applyToolbars();

    auto* view = m_w.Commands().Handler<KvViewCommands>();
    const int zoom = TexRichEdit::MajorVersion() < 3 ? 100 : s.zoom;
    if (!view->SelectZoom(KvZoomText::Caption(zoom)))
        view->SelectZoom(KvZoomText::Caption(100));

    ui.colorCB->SetCurrentColor(KvColor::ToQColor(s.color));
    ui.bgColorCB->SetCurrentColor(KvColor::ToQColor(s.bgColor));
    const KvOptionsG options;
    if (options.HasFontNavTree)
        ui.folderTv->setFont(options.FontNavTree.font);
    if (options.HasFontTabSheets)
        ui.pagePC->tabBar()->setFont(options.FontTabSheets.font);
    if (ui.stylesCoB->count() > 0) {
        const int standard = ui.stylesCoB->findText(u"Standard"_qs);
        ui.stylesCoB->setCurrentIndex(
            s.currStyle >= 0 && s.currStyle < ui.stylesCoB->count() ? s.currStyle : standard);
    }
    ui.searchResP->SetFirstColumnWidth(s.resLVColWidth);
}

void KvRestore::ApplySplitters()
{
    if (!m_splittersPending)
        return;
    m_splittersPending = false;
    const KvMainControls& ui = m_w.Controls();
    QSplitter* sp = ui.fldrPageSp;
    if (!ui.folderTv->isHidden()) {
        const int total = sp->sizes().value(0) + sp->sizes().value(1);
        const int tree = std::min(m_treeWidth, std::max(total - 1, 1));
        sp->setSizes({tree, std::max(total - tree, 1)});
    }
    QSplitter* res = ui.searchResSp;
    if (!ui.searchResP->isHidden()) {
        const int total = res->sizes().value(0) + res->sizes().value(1);
        int panel = m_searchResHeight < 0 ? total / 3 : m_searchResHeight;
        panel = std::min(panel, std::max(total - 1, 1));
        res->setSizes({std::max(total - panel, 1), panel});
    }
}

void KvRestore::applyToolbars()
{
    QHash<QString, KvToolbarPlacement> placements;
    for (int i = 0; i < KvMainFormSettings::ToolbarCount; ++i) {
        const QString& name = KvMainFormSettings::ToolbarNames()[i];
        KvToolbarPlacement p = m_settings.toolbars[i];
        if (p.IsFloating()) {
            // Floating toolbars are moved onto the screen, never shrunk.
            p.floating = KvFormRes::FitToScreen(p.floating, KvScreenLayout::Current(), false);
        } else if (KvToolbarState::AreaOf(p.dockedTo) == Qt::NoToolBarArea) {
            // A dock that does not exist leaves the toolbar floating.
            p.dockedTo = u"0"_qs;
        }
        m_floating.insert(name, p.floating);
        m_docked.insert(name, p);
        placements.insert(name, p);
    }
    KvToolbarState::Apply(m_w, placements);
}

void KvRestore::ToolbarDockChanged(QToolBar* tb)
{
    if (!tb->isFloating())
        return;
    const QRect last = m_floating.value(tb->objectName());
    if (tb->geometry().top() == 0)
        tb->move(last.isEmpty() ? QPoint(100, 100) : last.topLeft());
    m_floating.insert(tb->objectName(), tb->geometry());
}

void KvRestore::ArrangeToolbars()
{
    m_arrangePending = false;
    if (m_arranging || !m_w.isVisible() || !m_autoArrange)
        return;
    m_arranging = true;
    const QList<KvToolbarState::Entry> entries = KvToolbarState::Read(m_w);
    QHash<QString, KvToolbarPlacement> placements;
    bool changed = false;
    for (const QString& dock : {u"TopDock"_qs, u"BottomDock"_qs, u"LeftDock"_qs, u"RightDock"_qs}) {
        const bool horizontal = dock == u"TopDock" || dock == u"BottomDock";
        std::vector<KvDockedBar> bars;
        QStringList names;
        for (const KvToolbarState::Entry& e : entries) {
            auto* tb = m_w.findChild<QToolBar*>(e.name);
            if (!tb || tb->isHidden() || e.placement.dockedTo != dock)
                continue;
            const QSize hint = tb->sizeHint();
            bars.push_back(
                {e.placement.row, e.placement.pos, horizontal ? hint.width() : hint.height()});
            names.append(e.name);
        }
        // Positions as the toolbars want them: none starts inside the one before it.
        std::vector<size_t> order(bars.size());
        for (size_t i = 0; i < order.size(); ++i)
            order[i] = i;
        std::sort(order.begin(), order.end(), [&](size_t a, size_t b) {
            return std::pair(bars[a].row, bars[a].pos) < std::pair(bars[b].row, bars[b].pos);
        });
        for (size_t k = 1; k < order.size(); ++k) {
            const KvDockedBar& prev = bars[order[k - 1]];
            KvDockedBar& cur = bars[order[k]];
            if (cur.row == prev.row)
                cur.pos = std::max(cur.pos, prev.pos + prev.length);
        }
        const int length = horizontal ? m_w.width() : m_w.centralWidget()->height();
        changed = KvArrangeToolbars(bars, length) || changed;
        for (size_t i = 0; i < bars.size(); ++i)
            placements.insert(names[int(i)],
                              KvToolbarPlacement{dock, bars[i].row, bars[i].pos, QRect()});
    }
    if (changed) {
        for (const KvToolbarState::Entry& e : entries) {
            if (!placements.contains(e.name))
                placements.insert(e.name, e.placement);
        }
        KvToolbarState::Apply(m_w, placements);
    }
    m_arranging = false;
}

KvMainFormSettings KvRestore::collect()
{
    const KvMainControls& ui = m_w.Controls();
    KvMainFormSettings s = m_settings;
    s.printWithHeader = m_w.Action(u"PrintWithHeaderMI"_qs)->isChecked();
    s.exportWithHeader = m_w.Action(u"ExportWithHeaderMI"_qs)->isChecked();
    s.showNavigationTree = !ui.folderTv->isHidden();
    if (s.showNavigationTree && ui.folderTv->width() > 0 && !m_splittersPending && m_w.isVisible())
        m_treeWidth = ui.fldrPageSp->sizes().value(0);
    s.treeWidth = m_treeWidth;
    s.showSearchRes = !ui.searchResP->isHidden();
    if (s.showSearchRes && !m_splittersPending && m_w.isVisible())
        m_searchResHeight = ui.searchResSp->sizes().value(1);
    s.searchResHeight = m_searchResHeight;
    s.showFullPath = ui.searchResP->FullPathBox()->isChecked();
    s.showStatusBar = !m_w.statusBar()->isHidden();

    const QList<KvToolbarState::Entry> entries = KvToolbarState::Read(m_w);
    for (int i = 0; i < KvMainFormSettings::ToolbarCount; ++i) {
        const QString& name = KvMainFormSettings::ToolbarNames()[i];
        s.showToolbar[i] = !toolbar(m_w, i)->isHidden();
        for (const KvToolbarState::Entry& e : entries) {
            if (e.name != name)
                continue;
            KvToolbarPlacement p = e.placement;
            if (p.IsFloating()) {
                // A floating toolbar keeps the row and position where it was docked last.
                const KvToolbarPlacement docked = m_docked.value(name, p);
                p.row = docked.row;
                p.pos = docked.pos;
                m_floating.insert(name, toolbar(m_w, i)->geometry());
            } else {
                m_docked.insert(name, p);
            }
            p.floating = m_floating.value(name, p.floating);
            s.toolbars[i] = p;
        }
    }
    s.zoom = m_w.Commands().Handler<KvViewCommands>()->CurrentZoom();
    s.color = colorValue(ui.colorCB, m_settings.color);
    s.bgColor = colorValue(ui.bgColorCB, m_settings.bgColor);
    if (ui.stylesCoB->count() > 0)
        s.currStyle = ui.stylesCoB->currentIndex();
    s.resLVColWidth = ui.searchResP->FirstColumnWidth();
    return s;
}

void KvRestore::Store()
{
    KvFormRes res;
    const bool maximized = m_w.isMaximized();
    const QRect rect =
        m_w.isMinimized() ? m_w.normalGeometry() : QRect(m_w.frameGeometry().topLeft(), m_w.size());
    res.Store(KvMainFormSettings::Section, rect, true, maximized);
    m_settings = collect();
    m_settings.Write(res.Settings());
    res.Settings().UpdateFile();
}
