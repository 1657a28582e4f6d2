#include "ui/tbookmarksf.h"

#include "app/kvformres.h"
#include "app/kvhelphook.h"
#include "app/kvidledriver.h"
#include "app/kvprompter.h"
#include "app/kvtexts.h"
#include "lists/kvsearchformsettings.h"
#include "model/kvobject.h"
#include "platform/applog.h"
#include "platform/kvexception.h"
#include "store/texprofilefile.h"
#include "ui/kvdialogplace.h"
#include "ui/kvelementhooks.h"
#include "ui/kvlanguageinit.h"
#include "ui/kvmenubuilder.h"
#include "ui/kvmenuimages.h"
#include "ui/kvresultlistview.h"
#include "ui/textreeview.h"
#include "ui/tmainf.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QPushButton>
#include <QVBoxLayout>

using KvCompose::Named;

namespace {

TBookmarksF* g_active = nullptr;

constexpr int kHelpContext = 1600;
const QString kShowFullPath = u"ShowFullPath"_qs;
const QString kFldrColumnWidth = u"FldrColumnWidth"_qs;

QPushButton* Button(QWidget* parent, const QString& name, const QString& caption,
                    const QString& hint, const QString& image)
{
    auto* b = Named(new QPushButton(caption, parent), name);
    if (!hint.isEmpty())
        b->setStatusTip(hint);
    if (!image.isEmpty())
        b->setIcon(KvMenuImages::Icon(image));
    b->setAutoDefault(false);
    return b;
}

} // namespace

TBookmarksF::TBookmarksF(TMainF& main, KvItemList& bookmarks, bool writable)
    : QDialog(&main), m_main(main), m_list(bookmarks), m_before(bookmarks), m_writable(writable)
{
    KV_LOG_SCOPE("TBookmarksF::FormCreate");
    setObjectName(DialogName);
    QString title = KvTexts::Text(1229);
    if (!m_writable)
        title += u' ' + KvTexts::Text(5201);
    setWindowTitle(title);
    setSizeGripEnabled(true);
    createControls();
    KvLanguageInit::ResolveWidgetTree(this);
    readSettings();
    m_list.AttachView(m_view.get(), m_showFullPathCB->isChecked());
    // The enabled states follow the selection whenever the program is idle.
    auto* idle = new KvIdleDriver([this] { EnableCommands(); }, this);
    idle->SetActive(true);
    g_active = this;
}

TBookmarksF::~TBookmarksF()
{
    if (m_list.View() == m_view.get())
        m_list.AttachView(nullptr, m_list.FullPath());
    if (g_active == this)
        g_active = nullptr;
}

TBookmarksF* TBookmarksF::Active()
{
    return g_active;
}

void TBookmarksF::createControls()
{
    m_bookmarkLV = Named(new KvResultListView(this), u"BookmarkLV"_qs);
    m_bookmarkLV->SetListenerName(u"TBookmarksF.BookmarkLV"_qs);
    m_bookmarkLV->setSelectionMode(QAbstractItemView::SingleSelection);
    m_bookmarkLV->setStatusTip(u"#16006"_qs);
    TexTreeView* tree = m_main.Controls().folderTv;
    m_bookmarkLV->SetImageSource([tree](int image) { return tree->Image(image); });
    // Column clicks sort, and so reorder the bookmarks, only where they may be written.
    m_bookmarkLV->SetSortLocked(!m_writable);
    m_view = std::make_unique<KvResultItemView>(*m_bookmarkLV);

    m_showBtn = Button(this, u"ShowBookmarkBtn"_qs, u"#16007"_qs, u"#16008"_qs, u"SHOW"_qs);
    m_newBtn = Button(this, u"NewBookmarkBtn"_qs, u"#16000"_qs, u"#16001"_qs, u"ADDBOOKMARK"_qs);
    m_delBtn = Button(this, u"DelBookmarkBtn"_qs, u"#16002"_qs, u"#16003"_qs, u"DELETE"_qs);
    m_upBtn = Button(this, u"MoveUpBtn"_qs, QString(), u"#16004"_qs, u"UP"_qs);
    m_downBtn = Button(this, u"MoveDownBtn"_qs, QString(), u"#16005"_qs, u"DOWN"_qs);
    m_showFullPathCB = Named(new QCheckBox(u"#16010"_qs, this), u"ShowFullPathCB"_qs);
    m_showFullPathCB->setStatusTip(u"#16013"_qs);
    m_closeBtn = Button(this, u"CloseBtn"_qs, u"#4000"_qs, u"#5900"_qs, u"OK"_qs);
    m_cancelBtn = Button(this, u"CancelBtn"_qs, u"#4001"_qs, u"#5901"_qs, u"CANCEL"_qs);
    m_closeBtn->setDefault(true);

    auto* side = new QVBoxLayout;
    side->addWidget(m_showBtn);
    side->addSpacing(8);
    side->addWidget(m_newBtn);
    side->addWidget(m_delBtn);
    side->addSpacing(8);
    side->addWidget(m_upBtn);
    side->addWidget(m_downBtn);
    side->addStretch(1);
    auto* middle = new QHBoxLayout;
    middle->addWidget(m_bookmarkLV, 1);
    middle->addLayout(side);
    auto* bottom = new QHBoxLayout;
    bottom->addWidget(m_showFullPathCB);
    bottom->addStretch(1);
    bottom->addWidget(m_closeBtn);
    bottom->addWidget(m_cancelBtn);
    auto* form = new QVBoxLayout(this);
    form->addLayout(middle, 1);
    form->addLayout(bottom);

    connect(m_bookmarkLV, &KvResultListView::showRequested, this, [this] {
        if (!m_bookmarkLV->CurrentId().isEmpty())
            done(ShowElement);
    });
    connect(m_bookmarkLV, &KvResultListView::sorted, this, &TBookmarksF::sorted);
    connect(m_showBtn, &QPushButton::clicked, this, [this] { done(ShowElement); });
    connect(m_newBtn, &QPushButton::clicked, this, &TBookmarksF::NewBookmarkBtnClick);
    connect(m_delBtn, &QPushButton::clicked, this, &TBookmarksF::DelBookmarkBtnClick);
    connect(m_upBtn, &QPushButton::clicked, this, &TBookmarksF::MoveUpBtnClick);
    connect(m_downBtn, &QPushButton::clicked, this, &TBookmarksF::MoveDownBtnClick);
    connect(m_showFullPathCB, &QCheckBox::clicked, this, &TBookmarksF::ShowFullPathCBClick);
    connect(m_closeBtn, &QPushButton::clicked, this, [this] { done(Closed); });
    connect(m_cancelBtn, &QPushButton::clicked, this, [this] { done(Cancelled); });
    resize(520, 360);
}

void TBookmarksF::readSettings()
{
    KvFormRes res;
    KvDialogPlace::Restore(*this, FormName, true);
    const TexProfileFile& f = res.Settings();
    m_showFullPathCB->setChecked(f.ReadBool(FormName, kShowFullPath, false));
    m_bookmarkLV->SetFirstColumnWidth(
        f.ReadInteger(FormName, kFldrColumnWidth, KvSearchFormSettings::DefaultColumnWidth));
}

void TBookmarksF::writeSettings()
{
    KV_LOG_SCOPE("TBookmarksF::SaveFormSettings");
    // A settings file that cannot be written is logged and costs the dialog nothing.
    try {
        KvFormRes res;
        res.Store(FormName, QRect(frameGeometry().topLeft(), size()), true, isMaximized());
        TexProfileFile& f = res.Settings();
        f.WriteBool(FormName, kShowFullPath, m_showFullPathCB->isChecked());
        f.WriteInteger(FormName, kFldrColumnWidth, m_bookmarkLV->FirstColumnWidth());
        f.UpdateFile();
    } catch (const KvException& e) {
        KvAppLog::Write(e.Message());
    }
}

int TBookmarksF::Run()
{
    KV_LOG_SCOPE("TBookmarksF::Run");
    const int result = KvPrompter::Current().RunDialog(DialogName, [this] { return exec(); });
    m_chosen = m_bookmarkLV->CurrentId();
    // The list is unbound whatever happens to it.
    struct Unbind
    {
        TBookmarksF& f;
        ~Unbind() { f.m_list.AttachView(nullptr, f.m_list.FullPath()); }
    } unbind{*this};
    if (m_writable) {
        if (result == Cancelled) {
            m_list = m_before;
        } else {
            m_list.Save();
        }
    }
    if (result != Cancelled)
        writeSettings();
    return result;
}

void TBookmarksF::EnableCommands()
{
    const int rows = m_bookmarkLV->Count();
    const QString id = m_bookmarkLV->CurrentId();
    const QStringList order = m_bookmarkLV->Ids();
    const bool selected = !id.isEmpty();
    m_bookmarkLV->setEnabled(rows > 0);
    m_showBtn->setEnabled(selected);
    m_newBtn->setEnabled(m_writable);
    m_delBtn->setEnabled(selected && m_writable);
    m_upBtn->setEnabled(selected && m_writable && order.first() != id);
    m_downBtn->setEnabled(selected && m_writable && order.last() != id);
    m_showFullPathCB->setEnabled(m_bookmarkLV->isEnabled());
}

void TBookmarksF::NewBookmarkBtnClick()
{
    KV_LOG_SCOPE("TBookmarksF::NewBookmarkBtnClick");
    if (!m_writable)
        return;
    KvObject* chosen = m_main.Elements().window.ChooseElement(KvChooseKind::Any, nullptr);
    if (!chosen)
        return;
    // Unsorted: the new row goes to the end, where the list puts the new bookmark.
    m_bookmarkLV->SetIds(m_bookmarkLV->Ids());
    m_list.Add(chosen, true);
    EnableCommands();
}

void TBookmarksF::DelBookmarkBtnClick()
{
    KV_LOG_SCOPE("TBookmarksF::DelBookmarkBtnClick");
    const QString id = m_bookmarkLV->CurrentId();
    if (!m_writable || id.isEmpty())
        return;
    // The row's element, not the id at the row's index: elements that are gone keep their
    // ids without a row.
    m_list.RemoveId(id);
    EnableCommands();
}

void TBookmarksF::moveRow(bool up)
{
    const QString id = m_bookmarkLV->CurrentId();
    if (!m_writable || id.isEmpty())
        return;
    if (m_list.MoveRow(id, up))
        m_bookmarkLV->SelectId(id);
    EnableCommands();
}

void TBookmarksF::MoveUpBtnClick()
{
    moveRow(true);
}

void TBookmarksF::MoveDownBtnClick()
{
    moveRow(false);
}

void TBookmarksF::ShowFullPathCBClick()
{
    const QString id = m_bookmarkLV->CurrentId();
    m_list.AttachView(nullptr, m_list.FullPath());
    m_list.AttachView(m_view.get(), m_showFullPathCB->isChecked());
    m_view->SelectId(id);
}

void TBookmarksF::sorted()
{
    // The sorted rows become the order of the bookmarks; the rows stay as they are.
    m_list.ClearIds(true);
    for (const QString& id : m_bookmarkLV->Ids())
        m_list.Add(FindObject(id), false);
}

void TBookmarksF::keyPressEvent(QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Escape:
        done(Cancelled);
        return;
    case Qt::Key_F1:
        KvHelpHook::ShowTopic(kHelpContext);
        return;
    default:
        QDialog::keyPressEvent(e);
    }
}
