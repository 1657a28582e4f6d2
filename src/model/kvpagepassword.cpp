#include "model/kvpagepassword.h"

#include "model/blowfishvcl.h"
#include "model/kvpasswordbytes.h"
#include "model/kvpasswordlist.h"
#include "platform/applog.h"
#include "platform/kvwipe.h"

namespace {

constexpr qsizetype kMinDerivedKeyLength = 32;
constexpr int kDerivedKeyClass = 1;

} // namespace

QByteArray KvPagePassword::FixedCheckKey()
{
    return QByteArrayLiteral("Qd482rnzwoTk");
}

QByteArray KvPagePassword::CheckKey(int protectionClass, const QString& password)
{
    if (protectionClass != kDerivedKeyClass)
        return FixedCheckKey();
    if (password.isEmpty())
        return {};
    QString key = password;
    while (key.size() < kMinDerivedKeyLength)
        key += password;
    return KvPasswordBytes::Encode(key);
}

QString KvPagePassword::CheckValue(int protectionClass, const QString& password)
{
    if (password.isEmpty())
        return {};
    const BlowFishVCL cipher(CheckKey(protectionClass, password));
    return cipher.EncryptString(KvPasswordBytes::Encode(password));
}

bool KvPagePassword::CheckPassword(const QString& text) const
{
    KV_LOG_SCOPE("KvPagePassword::CheckPassword");
    // The check value of an empty text is empty: it fits an unprotected page only.
    if (text.isEmpty())
        return !IsProtected();
    if (CheckValue(m_protectionClass, text) != m_checkValue)
        return false;
    KvPasswordList::Add(text);
    return true;
}

bool KvPagePassword::SetPassword(const QString& text, bool remember)
{
    KV_LOG_SCOPE("KvPagePassword::SetPassword");
    if (!text.isEmpty()) {
        m_passwordChanged = m_passwordChanged || text != m_password;
        m_password = text;
        m_checkValue = CheckValue(m_protectionClass, text);
        // A protected page must keep its password data when stored and read again.
        if (m_askMode < 0)
            m_askMode = AskEveryLoad;
        m_unlocked = true;
        if (remember)
            KvPasswordList::Add(text);
    } else {
        if (!m_password.isEmpty())
            m_passwordChanged = true;
        m_password.clear();
        m_checkValue.clear();
        m_usePasswordList = false;
        m_copyProtection = false;
        m_unlocked = true;
    }
    return true;
}

QString KvPagePassword::GetPlainPassword() const
{
    KV_LOG_SCOPE("KvPagePassword::GetPlainPassword");
    const QByteArray key = CheckKey(m_protectionClass, m_password);
    if (key.isEmpty())
        return {};
    const BlowFishVCL cipher(key);
    QByteArray bytes = cipher.DecryptString(m_checkValue);
    QString plain = KvPasswordBytes::Decode(bytes);
    KvWipe::Wipe(bytes);
    return plain;
}

void KvPagePassword::SetProtectionClass(int protectionClass)
{
    KV_LOG_SCOPE("KvPagePassword::SetProtectionClass");
    const QString plain = GetPlainPassword();
    // Without the password the check value cannot be re-keyed; dropping it instead
    // would leave an encrypted content file on a page that looks unprotected.
    if (plain.isEmpty() && IsProtected())
        return;
    m_protectionClass = protectionClass;
    SetPassword(plain, true);
}

bool KvPagePassword::TryPasswordList()
{
    KV_LOG_SCOPE("KvPagePassword::TryPasswordList");
    const QStringList entries = KvPasswordList::Entries();
    for (const QString& entry : entries) {
        if (CheckPassword(entry)) {
            SetPassword(entry, true);
            return true;
        }
    }
    return false;
}

bool KvPagePassword::ContentKeyChanged() const
{
    if (m_checkValue == m_committedCheck && m_protectionClass == m_committedClass)
        return false;
    if (m_checkValue.isEmpty() || m_committedCheck.isEmpty())
        return m_checkValue.isEmpty() != m_committedCheck.isEmpty();
    // Another class re-keys the check value only; the content key is the password.
    return CheckValue(m_committedClass, m_password) != m_committedCheck;
}

void KvPagePassword::Unload()
{
    if (m_askMode == AskEveryLoad)
        m_unlocked = false;
}

QByteArray KvPagePassword::ContentKey() const
{
    return KvPasswordBytes::Encode(m_password);
}

bool KvPagePassword::ReadContent(const QString& contentPath, QByteArray& plain) const
{
    KV_LOG_SCOPE("KvPagePassword::ReadContent");
    const BlowFishVCL cipher(ContentKey());
    return cipher.DecryptFileToMemory(contentPath, plain);
}

bool KvPagePassword::WriteContent(const QString& contentPath, const QByteArray& plain,
                                  KvAtomicFile::Access access) const
{
    KV_LOG_SCOPE("KvPagePassword::WriteContent");
    const BlowFishVCL cipher(ContentKey());
    return cipher.EncryptToFile(plain, contentPath, BlowFishVCL::DefaultBlockSize, access);
}

KvPagePassword KvPagePassword::Unshared() const
{
    KvPagePassword copy = *this;
    copy.m_checkValue = KvWipe::Unshared(m_checkValue);
    copy.m_committedCheck = KvWipe::Unshared(m_committedCheck);
    copy.m_password = KvWipe::Unshared(m_password);
    return copy;
}

void KvPagePassword::Wipe()
{
    KvWipe::Wipe(m_password);
    KvWipe::Wipe(m_checkValue);
    KvWipe::Wipe(m_committedCheck);
}
