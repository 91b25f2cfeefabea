#include "StoreLock.h"

#include <sched.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

namespace Korvu {
namespace StoreDetail {

namespace {

// These calls fail only on a broken lock or a misuse of it; going on could
// hand out torn values.
void check(int result)
{
    if (result != 0) {
        std::fprintf(stderr, "quellstore: lock failure %d\n", result);
        std::abort();
    }
}

} // namespace

StoreLock::StoreLock()
{
    pthread_rwlockattr_t attributes;
    check(pthread_rwlockattr_init(&attributes));
    pthread_rwlockattr_setkind_np(&attributes, PTHREAD_RWLOCK_PREFER_WRITER_NONRECURSIVE_NP);
    int result = pthread_rwlock_init(&handle, &attributes);
    pthread_rwlockattr_destroy(&attributes);
    check(result);
}

StoreLock::~StoreLock() { pthread_rwlock_destroy(&handle); }

void StoreLock::lock() { check(pthread_rwlock_wrlock(&handle)); }

void StoreLock::unlock() { pthread_rwlock_unlock(&handle); }

void StoreLock::lock_shared()
{
    // EAGAIN: the reader count is at its maximum; wait for one to leave.
    int result;
    while ((result = pthread_rwlock_rdlock(&handle)) == EAGAIN)
        sched_yield();
    check(result);
}

void StoreLock::unlock_shared() { pthread_rwlock_unlock(&handle); }

} // namespace StoreDetail
} // namespace Korvu
