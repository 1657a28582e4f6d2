#include "elements/kvwelcomepage.h"

#include "app/kvtexts.h"
#include "elements/kvelementedit.h"
#include "elements/kvelementenv.h"
#include "elements/kvelementwindow.h"
#include "model/kvfolder.h"
#include "model/kvpage.h"
#include "platform/applog.h"
#include "richtext/texrichdocument.h"

#include <QFile>

namespace {

constexpr int kWelcome = 5100;

} // namespace

namespace KvWelcomePage {

bool Wanted(const KvFolder& current, bool windowStored)
{
    return !windowStored && current.GetWritable() && current.ChildCount() == 0;
}

KvPage* Create(KvElementEnv& env, const QString& file)
{
    KV_LOG_SCOPE("TMainF::WelcomePage");
    QByteArray rtf;
    {
        QFile f(file);
        if (!f.open(QIODevice::ReadOnly)) {
            KvAppLog::Write(u"welcome page not made, %1: %2"_qs.arg(file, f.errorString()));
            kvLogScope_.Exit(1);
            return nullptr;
        }
        rtf = f.readAll();
        if (f.error() != QFileDevice::NoError || rtf.isEmpty()) {
            KvAppLog::Write(u"welcome page not made, %1 unreadable or empty"_qs.arg(file));
            kvLogScope_.Exit(2);
            return nullptr;
        }
    }
    KvPage* page = KvElementEdit(env).CreateNewPage(*env.top, KvTexts::Text(kWelcome), 0);
    const bool shown = page->IsLoaded();
    if (!shown)
        page->Load(false, false);
    page->GetEditor()->LoadRtf(rtf);
    page->GetEditor()->SetModified(true);
    page->Store();
    if (!shown)
        page->Unload();
    env.window->CommandsChanged();
    return page;
}

} // namespace KvWelcomePage
