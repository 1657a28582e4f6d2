#pragma once

#include <QString>
#include <atomic>
#include <cerrno>

// Test hook of the file layer: makes chosen operations of the writer fail the way a full
// disk, a lost share or a read-only mount would, also for root, whom file permissions do
// not stop. While nothing is armed an operation pays one relaxed atomic load.
namespace KvFileSeam {

enum Op : unsigned
{
    Open = 1u,    // creating the file that takes the new content
    Write = 2u,   // one write of content
    Fsync = 4u,   // the sync of the written file
    Rename = 8u,  // putting the written file in place of the destination
    Access = 16u, // the check whether a path may be written at all
    SyncFs = 32u, // the deferred sync of a file system; the path is the directory synced
    AnyWrite = Open | Write | Fsync | Rename,
};

struct Failure
{
    unsigned ops = AnyWrite;
    QString pattern;     // shell pattern on the destination path; empty for every path
    int nth = 1;         // the nth matching operation fails; 1 is the next one
    int error = EIO;     // errno the operation fails with
    bool sticky = false; // every later matching operation fails too, as after a crash
};

namespace detail {
extern std::atomic<bool> armed;
int Check(Op op, const QString& path);
} // namespace detail

// The errno the operation on path must fail with, 0 when it goes on.
inline int Check(Op op, const QString& path)
{
    if (!detail::armed.load(std::memory_order_relaxed))
        return 0;
    return detail::Check(op, path);
}

// Replaces what was armed before and restarts the counts.
void Arm(const Failure& failure);
void Disarm();
// Matching operations since Arm, and how many of them were made to fail.
int Seen();
int Injected();

// Arms for the lifetime of the object.
class Scope
{
public:
    explicit Scope(const Failure& failure) { Arm(failure); }
    ~Scope() { Disarm(); }
    Scope(const Scope&) = delete;
    Scope& operator=(const Scope&) = delete;
};

} // namespace KvFileSeam
