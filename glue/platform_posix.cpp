#include <errno.h>
#include <string.h>
#include <sys/uio.h>
#include <unistd.h>

#include "glue/platform.h"

// The kernel reports an unreadable address as an error instead of a fault.
bool copyReadable(const void* address, void* out, size_t n) {
    struct iovec local = {out, n};
    struct iovec remote = {const_cast<void*>(address), n};
    const ssize_t got = process_vm_readv(getpid(), &local, 1, &remote, 1, 0);
    if (got == static_cast<ssize_t>(n)) return true;
    if (got >= 0 || errno == EFAULT) return false;
    // process_vm_readv refused outright (seccomp, old kernel): fall back to a
    // pipe, whose write also fails with EFAULT on unreadable memory.
    int fds[2];
    if (pipe(fds) != 0) return false;
    bool ok = write(fds[1], address, n) == static_cast<ssize_t>(n) && read(fds[0], out, n) == static_cast<ssize_t>(n);
    close(fds[0]);
    close(fds[1]);
    return ok;
}

