#include "store/waitcrsr.h"

#include <QCursor>
#include <QGuiApplication>

WaitCrsr::WaitCrsr(Qt::CursorShape shape)
{
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance())) {
        QGuiApplication::setOverrideCursor(QCursor(shape));
        m_active = true;
    }
}

WaitCrsr::~WaitCrsr()
{
    if (m_active && qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::restoreOverrideCursor();
}
