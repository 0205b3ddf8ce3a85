// Preloaded into 32-bit Wine when the machine's kernel runs no 32-bit code
// and qemu-user emulates it: qemu reserves the whole 32-bit address space
// up front, so every mmap with MAP_FIXED_NOREPLACE fails there and Wine can
// map nothing at a fixed address (not even its shared user data). This does
// what Wine does on kernels without MAP_FIXED_NOREPLACE: asks for the
// address as a hint and gives the mapping back if it landed elsewhere.
#define _GNU_SOURCE
#include <dlfcn.h>
#include <errno.h>
#include <sys/mman.h>
#include <sys/types.h>

typedef void *(*mmap64_fn)(void *, size_t, int, int, int, off64_t);

static void *map(void *address, size_t length, int protection, int flags, int fd, off64_t offset) {
    static mmap64_fn real_mmap64;
    if (!real_mmap64) real_mmap64 = (mmap64_fn)dlsym(RTLD_NEXT, "mmap64");
    if (!(flags & MAP_FIXED_NOREPLACE)) return real_mmap64(address, length, protection, flags, fd, offset);
    void *mapped = real_mmap64(address, length, protection, flags & ~MAP_FIXED_NOREPLACE, fd, offset);
    if (mapped == MAP_FAILED || mapped == address) return mapped;
    munmap(mapped, length);
    errno = EEXIST;
    return MAP_FAILED;
}

void *mmap(void *address, size_t length, int protection, int flags, int fd, off_t offset) {
    return map(address, length, protection, flags, fd, offset);
}

void *mmap64(void *address, size_t length, int protection, int flags, int fd, off64_t offset) {
    return map(address, length, protection, flags, fd, offset);
}
