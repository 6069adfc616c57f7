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
// Lets the kernel move the bytes (no round trip through user memory). Returns
// false without having written anything when the kernel cannot do it here.
bool CopyInKernel(DataFile& source, std::uint64_t offset, std::uint64_t size, DataFile& target,
                  bool& unsupported) {
    unsupported = false;
    if (!target.Flush()) return false;
    const int in = source.Descriptor();
    const int out = target.Descriptor();
    off64_t inOffset = static_cast<off64_t>(offset);
    off64_t outOffset = static_cast<off64_t>(target.Tell());
    const std::uint64_t start = static_cast<std::uint64_t>(outOffset);
    while (size > 0) {
        const std::size_t chunk = static_cast<std::size_t>(std::min<std::uint64_t>(size, 1u << 30));
        const ssize_t moved = ::copy_file_range(in, &inOffset, out, &outOffset, chunk, 0);
        if (moved < 0 && static_cast<std::uint64_t>(outOffset) == start &&
            (errno == ENOSYS || errno == EXDEV || errno == EINVAL || errno == EOPNOTSUPP)) {
            unsupported = true;
            return false;
        }
        if (moved == 0) return false;  // the source ended early
        if (moved < 0) {
            target.MarkFailed(errno);
            return false;
        }
        size -= static_cast<std::uint64_t>(moved);
    }
    // The kernel wrote at explicit offsets: the target's own position follows.
    if (!target.Seek(static_cast<std::uint64_t>(outOffset))) {
        target.MarkFailed(target.Error());
        return false;
    }
    return true;
}
#endif

}  // namespace

bool CopyFileRange(DataFile& source, std::uint64_t offset, std::uint64_t size, DataFile& target) {
    if (!source.IsOpen() || !target.IsOpen()) return false;
    if (size == 0) return true;
#ifdef __linux__
    bool unsupported = false;
    if (CopyInKernel(source, offset, size, target, unsupported)) return true;
    if (!unsupported) return false;
#endif
    return CopyThroughBuffer(source, offset, size, target);
}
