#ifndef KORVU_QUELLSTORE_STORELOCK_H
#define KORVU_QUELLSTORE_STORELOCK_H

// Internal to the library.

#include <pthread.h>

namespace Korvu {
namespace StoreDetail {

// A readers-writer lock that lets a waiting writer in before new readers.
// std::shared_mutex on glibc prefers readers, so a steady stream of
// enumerations could hold a write off indefinitely. Usable with
// std::shared_lock and std::unique_lock; not recursive.
class StoreLock {
public:
    StoreLock();
    ~StoreLock();
    StoreLock(const StoreLock&) = delete;
    StoreLock& operator=(const StoreLock&) = delete;

    void lock();
    void unlock();
    void lock_shared();
    void unlock_shared();

private:
    pthread_rwlock_t handle;
};

} // namespace StoreDetail
} // namespace Korvu

#endif
