#include "AAX_CMutex.h"

#include <atomic>
#include <new>
#include <pthread.h>
#include <thread>

// The owner is atomic because other threads read it (to learn that they are not
// the owner) while the owner writes it; a default std::thread::id is "no thread".
struct AAX_CMutex::opaque_aax_mutex_t
{
  std::atomic<std::thread::id> owner{};
  pthread_mutex_t mutex;
};

AAX_CMutex::AAX_CMutex() : mMutex(new (std::nothrow) opaque_aax_mutex_t)
{
  if (mMutex && pthread_mutex_init(&mMutex->mutex, nullptr) != 0)
  {
    delete mMutex;
    mMutex = nullptr;
  }
}

AAX_CMutex::~AAX_CMutex()
{
  if (mMutex)
  {
    pthread_mutex_destroy(&mMutex->mutex);
    delete mMutex;
  }
}

bool AAX_CMutex::Lock()
{
  if (!mMutex) return false;
  const std::thread::id self = std::this_thread::get_id();
  if (mMutex->owner.load() == self) return false;
  if (pthread_mutex_lock(&mMutex->mutex) != 0) return false;
  mMutex->owner.store(self);
  return true;
}

void AAX_CMutex::Unlock()
{
  if (!mMutex) return;
  if (mMutex->owner.load() != std::this_thread::get_id()) return;
  mMutex->owner.store(std::thread::id());
  pthread_mutex_unlock(&mMutex->mutex);
}

bool AAX_CMutex::Try_Lock()
{
  if (!mMutex) return false;
  const std::thread::id self = std::this_thread::get_id();
  if (mMutex->owner.load() == self) return true;
  if (pthread_mutex_trylock(&mMutex->mutex) != 0) return false;
  mMutex->owner.store(self);
  return true;
}
