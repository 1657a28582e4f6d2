// libFuzzer target: the reader of encrypted records and of hex check values on arbitrary
// input. The first byte gives the key length, the key follows, the rest is the input.
//
// What must hold: reading never crashes or allocates beyond the input, the memory and the
// file reader agree on every input (same bytes, or both refuse it), whatever the reader
// accepts encrypts back to records of the same plain text, and hex text decrypts without
// error.
#include "model/blowfishvcl.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>

namespace {

std::unique_ptr<QTemporaryDir> g_dir;

// The decrypted bytes, or nothing when the reader refuses the data as corrupt.
std::optional<QByteArray> FromMemory(const BlowFishVCL& cipher, const QByteArray& data)
{
    try {
        return cipher.DecryptData(data);
    } catch (const BlowFishVCL::EDecryptError&) {
        return std::nullopt;
    }
}

std::optional<QByteArray> FromFile(const BlowFishVCL& cipher, const QByteArray& data)
{
    const QString path = g_dir->filePath(u"input.kvp"_qs);
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly | QIODevice::Truncate) || f.write(data) != data.size())
        std::abort();
    f.close();
    QByteArray plain;
    try {
        if (!cipher.DecryptFileToMemory(path, plain))
            std::abort(); // the file exists and is readable
        return plain;
    } catch (const BlowFishVCL::EDecryptError&) {
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static std::unique_ptr<QCoreApplication> app = std::make_unique<QCoreApplication>(*argc, *argv);
    g_dir = std::make_unique<QTemporaryDir>();
    return g_dir->isValid() ? 0 : 1;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 2)
        return 0;
    const size_t keyLength = 1 + data[0] % 72;
    if (size < 1 + keyLength)
        return 0;
    const QByteArray key(reinterpret_cast<const char*>(data + 1), qsizetype(keyLength));
    const QByteArray input(reinterpret_cast<const char*>(data + 1 + keyLength),
                           qsizetype(size - 1 - keyLength));
    const BlowFishVCL cipher(key);

    const std::optional<QByteArray> memory = FromMemory(cipher, input);
    const std::optional<QByteArray> file = FromFile(cipher, input);
    if (memory.has_value() != file.has_value() || (memory && *memory != *file))
        std::abort(); // two readers of one format must never disagree
    if (memory) {
        if (memory->size() > input.size())
            std::abort(); // records never decrypt to more than they hold
        if (cipher.DecryptData(cipher.EncryptData(*memory)) != *memory)
            std::abort();
    }

    // Hex check values: any text decrypts (or gives nothing) without failing, and the hex
    // of an encryption decrypts to the text up to its first zero byte.
    const QString hex = QString::fromLatin1(input);
    const QByteArray fromHex = cipher.DecryptString(hex);
    if (fromHex.size() > input.size() / 2 + 8)
        std::abort();
    const QByteArray text =
        input.left(input.indexOf('\0') < 0 ? input.size() : input.indexOf('\0'));
    if (cipher.DecryptString(cipher.EncryptString(text)) != text)
        std::abort();
    return 0;
}
