#pragma once

#include <QByteArray>
#include <QString>

// Overwriting secrets (decrypted page text, passwords, keys) before their memory goes back.
//
// Qt shares the buffer of copied strings and byte arrays. Writing through one copy first
// gives it a buffer of its own and leaves the shared one as it was, so only a buffer that
// its object holds alone is overwritten here; a shared one is let go unchanged, and the
// holder that keeps it is the one to wipe it. Who must wipe a secret therefore keeps the
// only reference: it takes an Unshared copy and hands out references, never copies.
namespace KvWipe {

// Overwrites the whole buffer with zeros when this object holds it alone (it stays
// allocated, empty, for reuse or until the object goes); otherwise lets it go. Either
// way the object is empty afterwards.
void Wipe(QByteArray& bytes);
void Wipe(QString& text);

// A copy with a buffer of its own.
QByteArray Unshared(const QByteArray& bytes);
QString Unshared(const QString& text);

// Bytes overwritten so far in this process; tests compare it before and after a step.
qint64 BytesWiped();

} // namespace KvWipe
