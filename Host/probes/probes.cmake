# qv_export_probe_symbols(target): the lock and wait functions of
# aaxhost_probes, exported from the executable target so that a plug-in it
# loads calls them instead of the C library's (the allocator needs no list:
# the C++ runtime already binds to the executable's). Sanitizer builds keep
# the runtime's own, so nothing is exported there.
include_guard(GLOBAL)

function(qv_export_probe_symbols target)
  if(QV_SANITIZE)
    return()
  endif()
  foreach(fn pthread_mutex_lock pthread_mutex_trylock pthread_mutex_timedlock
      pthread_mutex_clocklock pthread_rwlock_rdlock pthread_rwlock_wrlock
      pthread_rwlock_tryrdlock pthread_rwlock_trywrlock pthread_rwlock_timedrdlock
      pthread_rwlock_timedwrlock pthread_rwlock_clockrdlock pthread_rwlock_clockwrlock
      pthread_cond_wait pthread_cond_timedwait pthread_cond_clockwait sem_wait
      sem_timedwait sem_clockwait pthread_spin_lock)
    target_link_options(${target} PRIVATE "LINKER:--export-dynamic-symbol=${fn}")
  endforeach()
endfunction()
