#include "support/FileCopy.h"

#include <algorithm>
#include <vector>

#include "support/DataFile.h"

#ifdef __linux__
#include <unistd.h>
#include <cerrno>
#endif

namespace {

constexpr std::size_t kCopyBlock = 1 << 20;

bool CopyThroughBuffer(DataFile& source, std::uint64_t offset, std::uint64_t size,
                       DataFile& target) {
    static thread_local std::vector<char> buffer(kCopyBlock);
    if (!source.Seek(offset)) return false;
    while (size > 0) {
        const std::size_t chunk =
            static_cast<std::size_t>(std::min<std::uint64_t>(size, kCopyBlock));
        if (source.Read(buffer.data(), chunk) != chunk) return false;
        if (!target.Write(buffer.data(), chunk)) return false;
        size -= chunk;
    }
    return true;
}

#ifdef __linux__
// Errors of copy_file_range that can only be the target's.
bool IsTargetError(int error) {
    return error == ENOSPC || error == EDQUOT || error == EFBIG;
}

// Lets the kernel move the bytes (no round trip through user memory). When the
// kernel cannot, or fails for a reason that may be either file's, `done` is
// false and `offset`, `size` and the target's position say what is still to
// copy, so that the plain path goes on and finds out which file is at fault.
bool CopyInKernel(DataFile& source, std::uint64_t& offset, std::uint64_t& size, DataFile& target,
                  bool& done) {
    done = true;
    if (!target.Flush()) return false;
    off64_t inOffset = static_cast<off64_t>(offset);
    off64_t outOffset = static_cast<off64_t>(target.Tell());
    bool handOver = false;  // to the plain path
    while (size > 0) {
        const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(size, 1u << 30));
        const ssize_t moved = ::copy_file_range(source.Descriptor(), &inOffset, target.Descriptor(),
                                                &outOffset, chunk, 0);
        if (moved == 0) break;  // the source ended early
        if (moved < 0 && errno == EINTR) continue;
        if (moved < 0 && IsTargetError(errno)) {
            target.MarkFailed(errno);
            break;
        }
        if (moved < 0) {
            handOver = true;
            break;
        }
        size -= static_cast<std::uint64_t>(moved);
    }
    offset = static_cast<std::uint64_t>(inOffset);
    // The kernel wrote at explicit offsets: the target's own position follows.
    if (!target.Seek(static_cast<std::uint64_t>(outOffset))) {
        target.MarkFailed(target.Error());
        return false;
    }
    done = !handOver;
    return size == 0 && !target.Failed();
}
#endif

}  // namespace

bool CopyFileRange(DataFile& source, std::uint64_t offset, std::uint64_t size, DataFile& target) {
    if (!source.IsOpen() || !target.IsOpen()) return false;
    if (size == 0) return true;
#ifdef __linux__
    bool done = false;
    const bool copied = CopyInKernel(source, offset, size, target, done);
    if (done) return copied;
#endif
    return CopyThroughBuffer(source, offset, size, target);
}
