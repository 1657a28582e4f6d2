#include "model/kvpage.h"

#include "app/kvtexts.h"
#include "model/blowfishvcl.h"
#include "model/kvdircontext.h"
#include "model/kvfolder.h"
#include "model/kvpagejournal.h"
#include "model/kvpagelayout.h"
#include "model/kvpasswordasker.h"
#include "model/kvplaincopies.h"
#include "model/kvrekeyfile.h"
#include "platform/applog.h"
#include "platform/kvatomicfile.h"
#include "platform/sysenv.h"
#include "richtext/texrichdocument.h"
#include "store/kvstorebatch.h"
#include "store/texinifile.h"

#include <QFile>
#include <QFileInfo>

namespace {

const QString kWriteProtect = u"WriteProtect"_qs;
const QString kStatus = u"Status"_qs;
const QString kModBy = u"ModBy"_qs;
const QString kSelStart = u"SelStart"_qs;
const QString kSelLength = u"SelLength"_qs;
const QString kScrollPos = u"ScrollPos"_qs;
const QString kPWAskMode = u"PWAskMode"_qs;
const QString kPWCopy = u"PWCopy"_qs;
const QString kEncSCl = u"EncSCl"_qs;
const QString kPWBF = u"PWBF"_qs;
const QString kPWList = u"PWList"_qs;

} // namespace

KvPage::EPasswordChangeRefused::EPasswordChangeRefused(const QString& pageName)
    : KvException(KvTexts::Message(5511, {pageName}))
{}

KvPage::KvPage(const QString& id, KvFolder* parent, bool atEnd) : KvObject(id)
{
    KV_LOG_SCOPE("KvPage::KvPage");
    if (parent)
        SetParent(parent, atEnd);
    const KvDirContext& ctx = KvDirContext::Current();
    KvPropReader& reader = KvDirContext::PageReader();
    const QString& section = PropSection();
    m_writeProtect = reader.ReadBool(section, kWriteProtect, false);
    m_status = reader.ReadInteger(section, kStatus, 0);
    m_lastEditor = reader.ReadString(section, kModBy, QString());
    const int askMode = reader.ReadInteger(section, kPWAskMode, KvPagePassword::NoPasswordData);
    if (askMode >= 0) {
        m_password.SetAskMode(askMode);
        m_password.SetCopyProtection(reader.ReadBool(section, kPWCopy, false));
        m_password.SetStoredProtectionClass(reader.ReadInteger(section, kEncSCl, 0));
        m_password.SetStoredCheckValue(reader.ReadString(section, kPWBF, QString()));
        m_password.SetUsePasswordList(reader.ReadBool(section, kPWList, false));
    }
    m_contentPath = ctx.DataDir() + section + u'.' + ctx.fileExt;
}

KvPage::~KvPage()
{
    m_editor.reset();
    m_layout.reset();
}

QString KvPage::OwnContentPath() const
{
    const KvDirContext& ctx = KvDirContext::Current();
    return ctx.DataDir() + Id() + u'.' + ctx.fileExt;
}

void KvPage::CreateChild(const QString&)
{
    CheckRemoved();
}

void KvPage::CreateChildOfKind(const QString&, const QString&)
{
    CheckRemoved();
}

TexRichDocument* KvPage::GetEditor() const
{
    CheckRemoved();
    if (!m_editor)
        throw EPageNotLoaded();
    return m_editor.get();
}

KvPageLayout* KvPage::GetLayout()
{
    KV_LOG_SCOPE("KvPage::GetLayout");
    CheckRemoved();
    if (!m_layout)
        m_layout = std::make_unique<KvPageLayout>(this);
    return m_layout.get();
}

const QString& KvPage::ContentFilePath() const
{
    CheckRemoved();
    return m_contentPath;
}

QString KvPage::ContentReadPath() const
{
    CheckRemoved();
    return KvRekeyFile::ReadPath(m_contentPath, m_password.CommittedCheckValue());
}

bool KvPage::MayWrite() const
{
    return m_writable && KvDirContext::Current().writable;
}

int KvPage::CompleteRekey()
{
    // The rename may come only once the page store on disk names the new check value: not
    // inside a batch (its end renames, after its journal), nor while the store holds
    // changes a flush could not write.
    if (!MayWrite() || KvStoreBatch::Active() || KvStoreBatch::Outstanding() ||
        KvDirContext::PageStore().HasPendingChanges())
        return 0;
    int error = 0;
    if (!KvRekeyFile::Complete(m_contentPath, m_password.CommittedCheckValue(), &error) &&
        error != 0)
        KvAppLog::Write(u"KvPage: the password change of %1 waits: %2"_qs.arg(
            Id(), KvAtomicFile::ErrorString(error)));
    return error;
}

const QString& KvPage::TempFilePath() const
{
    CheckRemoved();
    return m_tempPath;
}

qint64 KvPage::ContentFileSize() const
{
    CheckRemoved();
    const QFileInfo info(ContentReadPath());
    return info.exists() ? info.size() : 0;
}

QDateTime KvPage::ContentFileTime() const
{
    CheckRemoved();
    const QFileInfo info(ContentReadPath());
    return info.exists() ? info.lastModified() : QDateTime();
}

bool KvPage::IsLoaded() const
{
    return m_loaded;
}

int KvPage::Zoom() const
{
    return m_zoom;
}

const QString& KvPage::LastEditor() const
{
    CheckRemoved();
    return m_lastEditor;
}

void KvPage::SetEditor(std::unique_ptr<TexRichDocument> editor)
{
    m_editor = std::move(editor);
}

void KvPage::CreateEditor(bool)
{
    KV_LOG_SCOPE("KvPage::CreateEditor");
    CheckRemoved();
    m_editor = std::make_unique<TexRichDocument>();
}

void KvPage::UpdateEditorReadOnly()
{
    // Text that could not be saved must not be editable: a read-only directory counts too.
    if (m_editor)
        m_editor->SetReadOnly(!m_writable || m_writeProtect);
}

void KvPage::ConfigureEditor()
{
    KV_LOG_SCOPE("KvPage::ConfigureEditor");
    CheckRemoved();
    if (!m_editor)
        throw EPageNotLoaded();
    GetLayout()->ApplyTo(*m_editor, false);
    UpdateEditorReadOnly();
    m_editor->SetModified(false);
    m_zoom = 100;
}

void KvPage::AskForPassword()
{
    if (m_password.UsePasswordList())
        m_password.TryPasswordList();
    if (m_password.Unlocked())
        return;
    KvPasswordAsker* asker = KvPasswordAsker::Current();
    QString text;
    if (!asker || !asker->AskPassword(*this, text) || !m_password.CheckPassword(text))
        throw EWrongPassword(Id());
    m_password.SetPassword(text, true);
}

void KvPage::Load(bool show, bool keepPlainFile)
{
    KV_LOG_SCOPE("KvPage::Load");
    Q_UNUSED(keepPlainFile);
    CheckRemoved();
    if (m_password.IsProtected() && !m_password.Unlocked())
        AskForPassword();
    if (!m_editor) {
        CreateEditor(show);
        ConfigureEditor();
    }
    bool pending = false;
    CompleteRekey();
    const QString path = ContentReadPath();
    if (m_pendingContent) {
        // The file still has the old key; the text is rewritten by the next Store.
        m_editor->LoadRtf(*m_pendingContent);
        m_pendingContent.reset();
        pending = true;
        RestorePosition();
    } else if (QFileInfo::exists(path)) {
        if (m_password.IsProtected()) {
            QByteArray plain;
            bool ok = false;
            try {
                ok = m_password.ReadContent(path, plain);
            } catch (const BlowFishVCL::EDecryptError&) {
                ok = false;
            } catch (const BlowFishVCL::EKeyMissing&) {
                ok = false;
            }
            if (!ok)
                throw EDecryptError(m_contentPath);
            m_editor->LoadRtf(plain);
            plain.fill('\0');
        } else {
            m_editor->LoadRtfFile(path);
        }
        RestorePosition();
    }
    if (!pending)
        m_password.ClearPasswordChanged();
    m_editor->SetModified(false);
    if (m_restoredText) {
        m_editor->ReplaceContent(*m_restoredText);
        m_restoredText->fill('\0');
        m_restoredText.reset();
        m_editor->SetModified(true);
    }
    m_loaded = true;
    NotifyReferrers(NameChanged);
}

bool KvPage::Unlock()
{
    KV_LOG_SCOPE("KvPage::Unlock");
    CheckRemoved();
    if (!m_password.IsLocked())
        return true;
    try {
        AskForPassword();
    } catch (const EWrongPassword&) {
        return false;
    }
    NotifyReferrers(NameChanged);
    return true;
}

void KvPage::RestoreText(const QByteArray& rtf)
{
    CheckRemoved();
    m_restoredText = rtf;
}

QByteArray KvPage::ReadContent()
{
    KV_LOG_SCOPE("KvPage::ReadContent");
    CheckRemoved();
    if (m_password.IsProtected() && !m_password.Unlocked())
        AskForPassword();
    if (m_pendingContent)
        return *m_pendingContent; // the file still has the old key
    CompleteRekey();
    const QString path = ContentReadPath();
    if (!QFileInfo::exists(path))
        return {};
    if (!m_password.IsProtected())
        return ReadStoredBytes();
    QByteArray plain;
    bool ok = false;
    try {
        ok = m_password.ReadContent(path, plain);
    } catch (const KvException&) {
        ok = false;
    }
    if (!ok)
        throw EDecryptError(m_contentPath);
    return plain;
}

QByteArray KvPage::ReadStoredBytes() const
{
    KV_LOG_SCOPE("KvPage::ReadStoredBytes");
    CheckRemoved();
    const QString path = ContentReadPath();
    QFile file(path);
    if (!file.exists())
        return {};
    if (!file.open(QIODevice::ReadOnly))
        throw KvException(KvTexts::Message(5630, {path, file.errorString()}));
    return file.readAll();
}

void KvPage::RestorePosition()
{
    if (!m_restorePosition)
        return;
    TexIniFile& store = KvDirContext::PageStore();
    const QString& section = PropSection();
    m_editor->SetSelection(store.ReadInteger(section, kSelStart, 0),
                           store.ReadInteger(section, kSelLength, 0));
    if (RichEditMajorVersion > 2 && store.ValueExists(section, kScrollPos))
        m_editor->SetScrollPoint(store.ReadPoint(section, kScrollPos));
}

void KvPage::Unload()
{
    KV_LOG_SCOPE("KvPage::Unload");
    CheckRemoved();
    if (!m_tempPath.isEmpty()) {
        QFile::remove(m_tempPath);
        m_tempPath.clear();
    }
    // Text waiting for a new key stays in memory until the page is stored: the file is
    // still under the old key.
    if (m_editor && !m_pendingContent && m_password.PasswordChanged() &&
        m_password.ContentKeyChanged())
        m_pendingContent = m_editor->SaveRtf();
    m_editor.reset();
    m_zoom = 0;
    m_layout.reset();
    m_loaded = false;
    m_password.Unload();
    NotifyReferrers(NameChanged);
}

void KvPage::WriteContent(const QByteArray& rtf, bool newKey)
{
    // Under a new key the content goes to the side file first (see KvRekeyFile); under the
    // stored key to the file that holds it now, which is the side file while its rename
    // waits.
    const QString path = newKey
                             ? KvRekeyFile::SidePath(m_contentPath, m_password.StoredCheckValue())
                             : ContentReadPath();
    if (m_password.IsProtected()) {
        bool ok = false;
        try {
            ok = m_password.WriteContent(path, rtf);
        } catch (const BlowFishVCL::EKeyMissing&) {
            ok = false;
        }
        if (!ok)
            throw EEncryptError(m_contentPath);
    } else {
        TexRichDocument::WriteFile(path, rtf);
    }
}

void KvPage::WritePasswordKeys(TexIniFile& store, const QString& section, bool current)
{
    // Until the content is under the new key, the store keeps the committed check value.
    const QString& check =
        current ? m_password.StoredCheckValue() : m_password.CommittedCheckValue();
    if (check.isEmpty()) {
        store.DeleteKey(section, kPWAskMode);
        store.DeleteKey(section, kPWBF);
        store.DeleteKey(section, kEncSCl);
        store.DeleteKey(section, kPWCopy);
        store.DeleteKey(section, kPWList);
        return;
    }
    store.WriteInteger(section, kPWAskMode, std::max(m_password.AskMode(), 0));
    store.WriteString(section, kPWBF, check);
    store.WriteInteger(section, kEncSCl,
                       current ? m_password.ProtectionClass()
                               : m_password.CommittedProtectionClass());
    store.WriteBool(section, kPWCopy, m_password.CopyProtection());
    store.WriteBool(section, kPWList, m_password.UsePasswordList());
}

void KvPage::AfterContentWritten(TexIniFile& store, const QString& section)
{
    m_password.ClearPasswordChanged();
    if (KvDirContext::Current().groupDir) {
        m_lastEditor = KvSysEnv::UserName();
        store.WriteString(section, kModBy, m_lastEditor);
    } else {
        m_lastEditor.clear();
        store.DeleteKey(section, kModBy);
    }
}

void KvPage::KeepContentForNewKey(const QString& newPassword)
{
    if (m_editor || m_pendingContent)
        return;
    CompleteRekey();
    const QString path = ContentReadPath();
    if (!QFileInfo::exists(path))
        return;
    QByteArray plain;
    if (m_password.IsProtected()) {
        // The same password keeps the key.
        if (!newPassword.isEmpty() &&
            KvPagePassword::CheckValue(m_password.ProtectionClass(), newPassword) ==
                m_password.StoredCheckValue())
            return;
        // A new check value over content under the old key would leave a page that opens
        // with no password at all: the old one is needed to re-key the content.
        if (!m_password.Unlocked()) {
            try {
                AskForPassword();
            } catch (const EWrongPassword&) {
                throw EPasswordChangeRefused(Name());
            }
        }
        bool ok = false;
        try {
            ok = m_password.ReadContent(path, plain);
        } catch (const KvException&) {
            ok = false;
        }
        if (!ok)
            throw EDecryptError(m_contentPath);
    } else {
        if (newPassword.isEmpty())
            return;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw TexRichDocument::ELoadError(m_contentPath);
        plain = file.readAll();
    }
    m_pendingContent = std::move(plain);
}

void KvPage::Store()
{
    KV_LOG_SCOPE("KvPage::Store");
    KvObject::Store();
    if (IsBeingNotified(Id()))
        return;
    TexIniFile& store = KvDirContext::PageStore();
    const QString section = PropSection();
    int rekeyError = CompleteRekey();
    const bool newKey = m_password.ContentKeyChanged();
    bool contentWritten = false;
    if (m_editor) {
        if (m_restorePosition) {
            store.WriteInteger(section, kSelStart, m_editor->SelStart());
            store.WriteInteger(section, kSelLength, m_editor->SelLength());
            if (RichEditMajorVersion > 2)
                store.WritePoint(section, kScrollPos, m_editor->ScrollPoint());
        } else {
            store.DeleteKey(section, kSelStart);
            store.DeleteKey(section, kSelLength);
            store.DeleteKey(section, kScrollPos);
        }
        store.WriteBool(section, kWriteProtect, m_writeProtect);
        if ((m_editor->IsModified() && !m_writeProtect) || m_password.PasswordChanged()) {
            if (m_password.IsProtected() && !m_password.Unlocked())
                throw EWrongPassword(Id());
            WriteContent(m_editor->SaveRtf(), newKey);
            m_pendingContent.reset();
            AfterContentWritten(store, section);
            m_editor->SetModified(false);
            contentWritten = true;
        }
    } else if (m_pendingContent && m_password.PasswordChanged()) {
        if (m_password.IsProtected() && !m_password.Unlocked())
            throw EWrongPassword(Id());
        WriteContent(*m_pendingContent, newKey);
        m_pendingContent.reset();
        AfterContentWritten(store, section);
        contentWritten = true;
    }
    // The new check value is stored together with the content under its key, or when there
    // is no content to move. Otherwise (the text is held by a referrer that stores it next)
    // the store keeps the committed one.
    const bool commit = !newKey || contentWritten || !QFileInfo::exists(m_contentPath);
    if (newKey && commit && !contentWritten)
        QFile::remove(KvRekeyFile::SidePath(m_contentPath, m_password.StoredCheckValue()));
    if (!IsReferrer())
        store.WriteInteger(section, kStatus, m_status);
    // A referrer that moved the content to the new key stores the key with it.
    if (!IsReferrer() || (newKey && contentWritten))
        WritePasswordKeys(store, section, commit);
    store.UpdateFile();
    if (commit) {
        m_password.Commit();
        if (newKey) {
            // Outside a batch the new check value is on disk now; inside one its end renames.
            if (contentWritten &&
                !KvStoreBatch::RenameAfterWrite(
                    KvRekeyFile::SidePath(m_contentPath, m_password.StoredCheckValue()),
                    m_contentPath))
                rekeyError = CompleteRekey();
            // Referrers and target share one content file and one key.
            NotifyReferrers(NameChanged);
        }
    }
    if (m_layout && m_layout->IsModified() && !IsReferrer())
        m_layout->Store();
    // Nothing is lost (readers take the side file), but the user learns that the change
    // waits.
    if (rekeyError != 0)
        throw KvException(KvTexts::Message(
            5760, {Name(), ContentReadPath(), KvAtomicFile::ErrorString(rekeyError)}));
}

void KvPage::Remove()
{
    KV_LOG_SCOPE("KvPage::Remove");
    CheckRemoved();
    m_editor.reset();
    m_layout.reset();
    TexIniFile& store = KvDirContext::PageStore();
    store.EraseSection(Id());
    store.UpdateFile();
    // Only the page's own files (its content and the side file of a pending password
    // change): a referrer shares its target's. Inside a store batch they go once the stores
    // no longer name the page.
    if (!IsReferrer() && m_contentPath == OwnContentPath()) {
        if (KvPageJournal* journal = KvDirContext::Current().journal)
            journal->PageRemoved(Id());
        KvStoreBatch::DeleteAfterWrite(m_contentPath);
        KvStoreBatch::DeleteAfterWrite(
            KvRekeyFile::SidePath(m_contentPath, m_password.CommittedCheckValue()));
    }
    if (!m_tempPath.isEmpty()) {
        QFile::remove(m_tempPath);
        m_tempPath.clear();
    }
    m_loaded = false;
    KvObject::Remove();
}

void KvPage::MirrorFrom(KvPage& source)
{
    m_writeProtect = source.m_writeProtect;
    m_status = source.m_status;
    m_contentPath = source.m_contentPath;
    m_tempPath = source.m_tempPath;
    m_restorePosition = source.m_restorePosition;
    m_password = source.m_password;
    m_pendingContent = source.m_pendingContent;
    m_lastEditor = source.m_lastEditor;
    m_writable = source.m_writable;
    if (source.m_layout) {
        GetLayout()->CopyFrom(*source.m_layout);
    }
    UpdateEditorReadOnly();
}

void KvPage::OnTargetNotify(NotifyKind kind)
{
    KV_LOG_SCOPE("KvPage::OnTargetNotify");
    if (IsRemoved())
        return;
    if (kind == NameChanged) {
        if (auto* target = dynamic_cast<KvPage*>(Target()); target && !target->IsRemoved())
            MirrorFrom(*target);
    }
    KvObject::OnTargetNotify(kind);
}

void KvPage::PassToTarget(NotifyKind kind)
{
    KV_LOG_SCOPE("KvPage::PassToTarget");
    if (IsRemoved())
        return;
    if (kind == NameChanged) {
        if (auto* target = dynamic_cast<KvPage*>(Target()); target && !target->IsRemoved())
            target->MirrorFrom(*this);
    }
    KvObject::PassToTarget(kind);
}

bool KvPage::GetWriteProtect() const
{
    CheckRemoved();
    return m_writeProtect;
}

void KvPage::SetWriteProtect(bool on)
{
    KV_LOG_SCOPE("KvPage::SetWriteProtect");
    CheckRemoved();
    m_writeProtect = on;
    UpdateEditorReadOnly();
    NotifyReferrers(NameChanged);
}

int KvPage::GetStatus() const
{
    CheckRemoved();
    return m_status;
}

void KvPage::SetStatus(int status)
{
    KV_LOG_SCOPE("KvPage::SetStatus");
    CheckRemoved();
    m_status = status;
    NotifyReferrers(NameChanged);
}

bool KvPage::GetWritable() const
{
    CheckRemoved();
    return m_writable;
}

void KvPage::SetWritable(bool writable)
{
    KV_LOG_SCOPE("KvPage::SetWritable");
    CheckRemoved();
    m_writable = writable;
    UpdateEditorReadOnly();
    NotifyReferrers(NameChanged);
}

int KvPage::GetProtectionClass() const
{
    CheckRemoved();
    return m_password.ProtectionClass();
}

void KvPage::SetProtectionClass(int protectionClass)
{
    KV_LOG_SCOPE("KvPage::SetProtectionClass");
    CheckRemoved();
    m_password.SetProtectionClass(protectionClass);
    NotifyReferrers(NameChanged);
}

int KvPage::GetPasswordAskMode() const
{
    CheckRemoved();
    return m_password.AskMode();
}

void KvPage::SetPasswordAskMode(int mode)
{
    KV_LOG_SCOPE("KvPage::SetPasswordAskMode");
    CheckRemoved();
    m_password.SetAskMode(mode);
    NotifyReferrers(NameChanged);
}

bool KvPage::GetCopyPasswordProtection() const
{
    CheckRemoved();
    return m_password.CopyProtection();
}

void KvPage::SetCopyPasswordProtection(bool on)
{
    KV_LOG_SCOPE("KvPage::SetCopyPasswordProtection");
    CheckRemoved();
    m_password.SetCopyProtection(on);
    NotifyReferrers(NameChanged);
}

bool KvPage::GetUsePasswordList() const
{
    CheckRemoved();
    return m_password.UsePasswordList();
}

void KvPage::SetUsePasswordList(bool on)
{
    KV_LOG_SCOPE("KvPage::SetUsePasswordList");
    CheckRemoved();
    m_password.SetUsePasswordList(on);
    NotifyReferrers(NameChanged);
}

bool KvPage::GetRestorePosition() const
{
    CheckRemoved();
    return m_restorePosition;
}

void KvPage::SetRestorePosition(bool on)
{
    KV_LOG_SCOPE("KvPage::SetRestorePosition");
    CheckRemoved();
    m_restorePosition = on;
    NotifyReferrers(NameChanged);
}

bool KvPage::IsProtected() const
{
    return m_password.IsProtected();
}

bool KvPage::IsUnlocked() const
{
    return m_password.Unlocked();
}

bool KvPage::CheckPassword(const QString& text)
{
    KV_LOG_SCOPE("KvPage::CheckPassword");
    CheckRemoved();
    return m_password.CheckPassword(text);
}

bool KvPage::SetPassword(const QString& text, bool remember)
{
    KV_LOG_SCOPE("KvPage::SetPassword");
    CheckRemoved();
    KeepContentForNewKey(text);
    m_password.SetPassword(text, remember);
    if (!text.isEmpty())
        KvPlainCopies::PageProtected(m_contentPath);
    NotifyReferrers(NameChanged);
    return true;
}

bool KvPage::TryPasswordList()
{
    KV_LOG_SCOPE("KvPage::TryPasswordList");
    CheckRemoved();
    if (!m_password.TryPasswordList())
        return false;
    NotifyReferrers(NameChanged);
    return true;
}

QString KvPage::GetPlainPassword() const
{
    KV_LOG_SCOPE("KvPage::GetPlainPassword");
    CheckRemoved();
    return m_password.GetPlainPassword();
}

const KvPagePassword& KvPage::Password() const
{
    CheckRemoved();
    return m_password;
}
