#pragma once

#include "model/kvobject.h"
#include "model/kvpagepassword.h"

#include <QDateTime>
#include <memory>
#include <optional>

class KvFolder;
class KvPageLayout;
class TexIniFile;
class TexRichDocument;

// A page: one rich-text document in its own content file (data directory + id + "." +
// extension; a referrer uses its target's file and page-store section). While loaded it
// owns an editor document that holds the text; only Store writes it back.
class KvPage : public KvObject
{
public:
    class EPageNotLoaded : public KvException
    {
    public:
        EPageNotLoaded() : KvException(QString()) {}
    };
    class EWrongPassword : public KvException
    {
    public:
        explicit EWrongPassword(const QString& pageId) : KvException(pageId) {}
    };
    class EDecryptError : public KvException
    {
    public:
        explicit EDecryptError(const QString& path) : KvException(path) {}
    };
    class EEncryptError : public KvException
    {
    public:
        explicit EEncryptError(const QString& path) : KvException(path) {}
    };
    // The password of a locked page cannot change without the old one: its content could
    // not be moved to the new key. Message 5511 with the page name.
    class EPasswordChangeRefused : public KvException
    {
    public:
        explicit EPasswordChangeRefused(const QString& pageName);
    };

    // Our editor document keeps scroll positions (what older editor controls could not).
    static constexpr int RichEditMajorVersion = 3;

    KvPage(const QString& id, KvFolder* parent, bool atEnd);
    ~KvPage() override;

    void Store() override;
    void Remove() override;
    void CreateChild(const QString& id) override;
    void CreateChildOfKind(const QString& id, const QString& prefix) override;
    void OnTargetNotify(NotifyKind kind) override;
    void PassToTarget(NotifyKind kind) override;

    // keepPlainFile is accepted for callers of the old form; decrypted text is kept in
    // memory only and never written to a file.
    virtual void Load(bool show, bool keepPlainFile);
    virtual void Unload();
    virtual bool GetWriteProtect() const;
    virtual void SetWriteProtect(bool on);
    virtual int GetStatus() const;
    virtual void SetStatus(int status);
    virtual bool GetWritable() const;
    virtual void SetWritable(bool writable);
    virtual int GetProtectionClass() const;
    virtual void SetProtectionClass(int protectionClass);
    virtual int GetPasswordAskMode() const;
    virtual void SetPasswordAskMode(int mode);
    virtual bool GetCopyPasswordProtection() const;
    virtual void SetCopyPasswordProtection(bool on);
    virtual bool GetUsePasswordList() const;
    virtual void SetUsePasswordList(bool on);
    virtual bool GetRestorePosition() const;
    virtual void SetRestorePosition(bool on);
    virtual void CreateEditor(bool show);
    virtual void ConfigureEditor();

    // The content as stored, decrypted for a protected page (its password asked for as
    // Load asks: EWrongPassword when not given; EDecryptError for a corrupt file). The
    // bytes themselves, not read into a document; empty when there is no content file.
    // Every reader of a page's content goes through ReadContent or ReadStoredBytes, which
    // read the file that holds the content now (ContentReadPath).
    QByteArray ReadContent();
    // The content file's bytes as stored (encrypted for a protected page); empty when there
    // is none. For copies that keep the page's key.
    QByteArray ReadStoredBytes() const;
    TexRichDocument* GetEditor() const;
    KvPageLayout* GetLayout();
    const QString& ContentFilePath() const;
    // The file that holds the content now: the content file, or the side file of a password
    // change that was stored but not yet moved into place (see KvRekeyFile).
    QString ContentReadPath() const;
    // Always empty: no plain copy of a protected page is written.
    const QString& TempFilePath() const;
    qint64 ContentFileSize() const;
    QDateTime ContentFileTime() const;
    bool IsLoaded() const;
    int Zoom() const;
    const QString& LastEditor() const;

    bool IsProtected() const;
    bool IsUnlocked() const;
    bool CheckPassword(const QString& text);
    // Protects the page with text (empty: removes the protection). When the content must
    // move to the new key and the page is locked, the old password is asked first (through
    // KvPasswordAsker); raises EPasswordChangeRefused when it is not given, and
    // EDecryptError when the content cannot be read. Nothing changes then.
    bool SetPassword(const QString& text, bool remember);
    bool TryPasswordList();
    QString GetPlainPassword() const;
    const KvPagePassword& Password() const;
    // The text of an unloaded page kept for a new key until the next Store writes it.
    const std::optional<QByteArray>& PendingContent() const { return m_pendingContent; }
    // Asks for the password of a locked page as Load does; false when it is not given.
    bool Unlock();
    // Text kept from a crash that the user wants back: the next Load puts it in place of
    // the stored text as one undoable, unsaved change, so that the next Store writes it.
    void RestoreText(const QByteArray& rtf);
    bool HasRestoredText() const { return m_restoredText.has_value(); }

protected:
    // The editor document while loaded (for subclasses that create it on a widget).
    void SetEditor(std::unique_ptr<TexRichDocument> editor);
    bool HasEditor() const { return m_editor != nullptr; }

private:
    void AskForPassword();
    void RestorePosition();
    void WriteContent(const QByteArray& rtf, bool newKey);
    void AfterContentWritten(TexIniFile& store, const QString& section);
    void WritePasswordKeys(TexIniFile& store, const QString& section, bool current);
    void KeepContentForNewKey(const QString& newPassword);
    // Finishes a password change that was stored but not moved into place, once its check
    // value is on disk (writable only). 0, or the errno of a rename that failed.
    int CompleteRekey();
    bool MayWrite() const;
    void MirrorFrom(KvPage& source);
    void UpdateEditorReadOnly();
    QString OwnContentPath() const;

    QString m_contentPath;
    // The text of an unloaded page whose password changed: the file is still under the old
    // key and is rewritten under the new one by the next Store.
    std::optional<QByteArray> m_pendingContent;
    std::optional<QByteArray> m_restoredText;
    QString m_tempPath;
    std::unique_ptr<TexRichDocument> m_editor;
    std::unique_ptr<KvPageLayout> m_layout;
    bool m_loaded = false;
    bool m_writeProtect = false;
    bool m_restorePosition = false;
    int m_status = 0;
    KvPagePassword m_password;
    QString m_lastEditor;
    bool m_writable = true;
    int m_zoom = 0;
};
