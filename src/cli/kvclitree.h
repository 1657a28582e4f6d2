#pragma once

class KvCliIo;
class KvCliNotebook;

// The "tree" command: the notebook as an indented tree, top folder then trash, then the
// lost elements under a heading of their own.
namespace KvCliTree {

void Print(const KvCliNotebook& notebook, bool withIds, KvCliIo& io);

} // namespace KvCliTree
