#pragma once

#include <QByteArray>
#include <QString>

// How password text becomes key bytes. Windows-1252 when every character exists there,
// so that pages protected on Windows keep their passwords; otherwise UTF-8.
namespace KvPasswordBytes {

QByteArray Encode(const QString& password);
// The inverse: UTF-8 when the bytes are valid UTF-8 and contain a multi-byte sequence,
// otherwise Windows-1252.
QString Decode(const QByteArray& bytes);

} // namespace KvPasswordBytes
