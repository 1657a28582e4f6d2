#include "ui/kvdialogplace.h"

#include "app/kvformres.h"
#include "platform/applog.h"
#include "platform/kvexception.h"
#include "store/texprofilefile.h"

#include <QWidget>

void KvDialogPlace::Restore(QWidget& dialog, const QString& section, bool resizable)
{
    const KvFormRes res;
    const QSize designed = dialog.size().expandedTo(dialog.sizeHint());
    const std::optional<QRect> rect = res.Restore(section, resizable, designed);
    if (!rect)
        return;
    if (resizable)
        dialog.resize(rect->size().expandedTo(dialog.minimumSizeHint()));
    dialog.move(rect->topLeft());
}

void KvDialogPlace::Store(const QWidget& dialog, const QString& section, bool resizable)
{
    // The place is a convenience: a settings file that cannot be written is logged and
    // costs the dialog nothing.
    try {
        KvFormRes res;
        res.Store(section, QRect(dialog.frameGeometry().topLeft(), dialog.size()), resizable,
                  dialog.isMaximized());
    } catch (const KvException& e) {
        KvAppLog::Write(e.Message());
    }
}
