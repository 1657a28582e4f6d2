#include "ui/tsplashf.h"

#include "app/kvtexts.h"
#include "app/kvupgrade.h"

#include <QApplication>
#include <QFrame>
#include <QLabel>
#include <QPointer>
#include <QVBoxLayout>

namespace {
QPointer<TSplashF>& registered()
{
    static QPointer<TSplashF> splash;
    return splash;
}

int g_quiet = 0;
} // namespace

TSplashF::TSplashF(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
{
    setObjectName(u"SplashF"_qs);
    auto* frame = new QFrame(this);
    frame->setFrameShape(QFrame::Box);
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(frame);

    auto* layout = new QVBoxLayout(frame);
    layout->setContentsMargins(24, 18, 24, 18);
    auto* product = new QLabel(KvTexts::Text(9999), frame);
    QFont big = product->font();
    big.setPointSizeF(big.pointSizeF() * 2);
    big.setBold(true);
    product->setFont(big);
    layout->addWidget(product);
    layout->addWidget(new QLabel(u"Version "_qs + KvUpgrade::ProductVersion(), frame));
    m_status = new QLabel(frame);
    m_status->setMinimumWidth(320);
    layout->addWidget(m_status);
}

TSplashF::~TSplashF()
{
    if (registered() == this)
        registered() = nullptr;
}

void TSplashF::SetStatus(const QString& text)
{
    m_status->setText(text);
    if (isVisible())
        m_status->repaint();
}

QString TSplashF::Status() const
{
    return m_status->text();
}

TSplashF* TSplashF::Registered()
{
    return registered();
}
void TSplashF::Register(TSplashF* splash)
{
    registered() = splash;
}

void TSplashF::ShowStatus(const QString& text)
{
    if (TSplashF* s = registered())
        s->SetStatus(text);
}

TSplashF::Quiet::Quiet()
{
    ++g_quiet;
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* w : windows) {
        if (auto* splash = qobject_cast<TSplashF*>(w); splash && splash->isVisible())
            splash->hide();
    }
}

TSplashF::Quiet::~Quiet()
{
    --g_quiet;
}

bool TSplashF::Quieted()
{
    return g_quiet > 0 || QApplication::activeModalWidget() != nullptr;
}

void TSplashF::setVisible(bool visible)
{
    if (visible && Quieted())
        return;
    QWidget::setVisible(visible);
}
