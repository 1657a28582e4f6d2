#pragma once

#include "platform/kvatomicfile.h"

#include <QByteArray>
#include <QString>

// The password data of one page and the rules that connect them. The page keeps one of
// these, stores the persisted fields under PWAskMode, PWCopy, PWList, EncSCl and PWBF,
// copies the whole object when a referrer mirrors its target, and notifies its referrers
// after the calls that change it.
class KvPagePassword
{
public:
    // Ask modes.
    static constexpr int AskEveryLoad = 0;
    static constexpr int AskFirstLoad = 1;
    static constexpr int NoPasswordData = -1;

    // Key of the check value for protection class 0.
    static QByteArray FixedCheckKey();
    // Key of the check value: class 1 repeats the password to at least 32 characters,
    // any other class uses the fixed key. Empty for class 1 without a password.
    static QByteArray CheckKey(int protectionClass, const QString& password);
    // The check value PWBF of a password; empty for an empty password.
    static QString CheckValue(int protectionClass, const QString& password);

    // A page is protected when it has a check value.
    bool IsProtected() const { return !m_checkValue.isEmpty(); }
    // Protected and the password not given yet: the page may not be loaded or saved.
    bool IsLocked() const { return IsProtected() && !m_unlocked; }

    // True when text is the page's password (an empty text only for an unprotected
    // page); a right password joins the password list.
    bool CheckPassword(const QString& text) const;
    // A non-empty text protects the page with it and unlocks it; an empty text removes
    // the protection. Returns true.
    bool SetPassword(const QString& text, bool remember);
    // The password recovered from the check value: for class 0 always, for class 1 only
    // with the right password in memory (otherwise empty or wrong).
    QString GetPlainPassword() const;
    // Re-keys the check value under the new class; the password stays.
    void SetProtectionClass(int protectionClass);
    // Tries the passwords given in this run; the first that fits unlocks the page.
    bool TryPasswordList();
    // Called when the page is unloaded: ask mode 0 locks the page again.
    void Unload();

    // Key of the content file: the password's bytes. Empty while no password is known.
    QByteArray ContentKey() const;
    // Content file helpers under the content key (raise BlowFishVCL::EKeyMissing while
    // no password is known). Reading raises BlowFishVCL::EDecryptError for a corrupt
    // file; false when the file cannot be read or written. Plain text stays in memory.
    bool ReadContent(const QString& contentPath, QByteArray& plain) const;
    bool WriteContent(const QString& contentPath, const QByteArray& plain,
                      KvAtomicFile::Access access = KvAtomicFile::Access::KeepOrDefault) const;

    int AskMode() const { return m_askMode; }
    void SetAskMode(int mode) { m_askMode = mode; }
    bool CopyProtection() const { return m_copyProtection; }
    void SetCopyProtection(bool on) { m_copyProtection = on; }
    bool UsePasswordList() const { return m_usePasswordList; }
    void SetUsePasswordList(bool on) { m_usePasswordList = on; }
    int ProtectionClass() const { return m_protectionClass; }
    const QString& StoredCheckValue() const { return m_checkValue; }
    // As read from the page store.
    void SetStoredCheckValue(const QString& value) { m_checkValue = m_committedCheck = value; }
    void SetStoredProtectionClass(int protectionClass)
    {
        m_protectionClass = m_committedClass = protectionClass;
    }

    // The check value and protection class that the page store holds: the content file is
    // under the key of that check value.
    const QString& CommittedCheckValue() const { return m_committedCheck; }
    int CommittedProtectionClass() const { return m_committedClass; }
    // The page store received the current check value and class.
    void Commit()
    {
        m_committedCheck = m_checkValue;
        m_committedClass = m_protectionClass;
    }
    // The content must move to another key: protection switched on or off, or a password
    // other than the one of the committed check value.
    bool ContentKeyChanged() const;
    const QString& Password() const { return m_password; }
    bool Unlocked() const { return m_unlocked; }
    bool PasswordChanged() const { return m_passwordChanged; }
    // After the content was written under the current password.
    void ClearPasswordChanged() { m_passwordChanged = false; }

    // A copy that shares no text with this one, so that its holder alone can Wipe it.
    KvPagePassword Unshared() const;
    // Overwrites the password and the check values in memory: for such a copy when it is
    // done with, never for the page's own data.
    void Wipe();

private:
    int m_askMode = NoPasswordData;
    bool m_copyProtection = false;
    bool m_usePasswordList = false;
    int m_protectionClass = 0;
    QString m_checkValue;
    int m_committedClass = 0;
    QString m_committedCheck;
    QString m_password;
    bool m_unlocked = false;
    bool m_passwordChanged = false;
};
