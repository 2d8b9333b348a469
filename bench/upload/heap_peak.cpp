#include "bench/upload/heap_peak.h"

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <malloc.h>

// glibc's own allocator, under the names it keeps for those who wrap it.
extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* p, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void __libc_free(void* p);
}

namespace {

std::atomic<long long> inUse{0};
std::atomic<long long> peak{0};
std::atomic<long long> mark{0};

void* Counted(void* p) {
    if (p) {
        const long long now = inUse.fetch_add(static_cast<long long>(malloc_usable_size(p))) +
                              static_cast<long long>(malloc_usable_size(p));
        long long high = peak.load(std::memory_order_relaxed);
        while (now > high && !peak.compare_exchange_weak(high, now)) {
        }
    }
    return p;
}

void Uncount(void* p) {
    if (p)
        inUse.fetch_sub(static_cast<long long>(malloc_usable_size(p)));
}

} // namespace

extern "C" {

void* malloc(size_t size) {
    return Counted(__libc_malloc(size));
}
void* calloc(size_t count, size_t size) {
    return Counted(__libc_calloc(count, size));
}
void* realloc(void* p, size_t size) {
    const long long old = p ? static_cast<long long>(malloc_usable_size(p)) : 0;
    void* q = __libc_realloc(p, size);
    if (q || size == 0) {
        inUse.fetch_sub(old);
        Counted(q);
    }
    return q;
}
void free(void* p) {
    Uncount(p);
    __libc_free(p);
}
void* memalign(size_t alignment, size_t size) {
    return Counted(__libc_memalign(alignment, size));
}
void* aligned_alloc(size_t alignment, size_t size) {
    return Counted(__libc_memalign(alignment, size));
}
int posix_memalign(void** out, size_t alignment, size_t size) {
    void* p = Counted(__libc_memalign(alignment, size));
    if (!p)
        return ENOMEM;
    *out = p;
    return 0;
}
void* valloc(size_t size) {
    return Counted(__libc_memalign(4096, size));
}

} // extern "C"

namespace HeapPeak {

long long Mark() {
    const long long now = inUse.load();
    mark = now;
    peak = now;
    return now;
}

long long PeakSinceMark() {
    return peak.load() - mark.load();
}

} // namespace HeapPeak
