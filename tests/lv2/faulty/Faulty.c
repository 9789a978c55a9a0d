/* A mono gain with state, built once per fault: each variant breaks one rule
   an LV2 validator must catch, and nothing else.
     FAULT_ALLOC    allocates in run()
     FAULT_FIRST_ALLOC  allocates its buffer in the first run() after
                    activate, not in activate, and never again
     FAULT_MUTEX    takes a mutex of its own in run(), never contended
     FAULT_TRYLOCK  only tries that mutex in run(), and keeps its gain when
                    the try fails (no rule forbids a try: a warning)
     FAULT_STATE    trusts the size of a restored value, and crashes on another
     FAULT_BLOCK    restarts a fade at every run(), so the block size shows
     FAULT_EXPORT   exports a symbol besides lv2_descriptor
     (the default outside its range is in the .ttl alone)
   and one that keeps the rules but needs a host's worker:
     WORKER         takes its gain through work() (which allocates, as work
                    may) and aborts when the host breaks the worker's
                    protocol: no end_run after a run, or a request left
                    unanswered for more than two runs */
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>
#ifdef WORKER
#include <lv2/worker/worker.h>
#endif
#if defined(FAULT_MUTEX) || defined(FAULT_TRYLOCK)
#include <pthread.h>
#endif

#include <stdlib.h>
#include <string.h>

#define GAIN_URI FAULTY_URI "#gain"

typedef struct
{
  const float* gain;
  const float* in;
  float* out;
  float saved;
  LV2_URID key, type;
  void* scratch;
#if defined(FAULT_MUTEX) || defined(FAULT_TRYLOCK)
  float last;
  pthread_mutex_t lock; /* guards the gain read, as if another thread wrote it */
#endif
#ifdef WORKER
  LV2_Worker_Schedule* schedule;
  float applied;
  int outstanding, ran; /* requests unanswered; runs since the last end_run */
#endif
} Faulty;

#ifdef FAULT_EXPORT
LV2_SYMBOL_EXPORT int faulty_helper(int x) { return x + 1; }
#endif

static LV2_Handle Instantiate(const LV2_Descriptor* d, double rate, const char* path,
                              const LV2_Feature* const* features)
{
  (void)d, (void)rate, (void)path;
  LV2_URID_Map* map = NULL;
  void* schedule = NULL;
  for (int i = 0; features[i]; ++i)
  {
    if (!strcmp(features[i]->URI, LV2_URID__map)) map = (LV2_URID_Map*)features[i]->data;
#ifdef WORKER
    if (!strcmp(features[i]->URI, LV2_WORKER__schedule)) schedule = features[i]->data;
#endif
  }
  if (!map) return NULL;
#ifdef WORKER
  if (!schedule) return NULL;
#endif
  Faulty* f = (Faulty*)calloc(1, sizeof(Faulty));
  if (!f) return NULL;
#ifdef WORKER
  f->schedule = (LV2_Worker_Schedule*)schedule;
  f->applied = 1.0f;
#else
  (void)schedule;
#endif
  f->key = map->map(map->handle, GAIN_URI);
  f->type = map->map(map->handle, "http://lv2plug.in/ns/ext/atom#Float");
  f->saved = 1.0f;
#if defined(FAULT_MUTEX) || defined(FAULT_TRYLOCK)
  pthread_mutex_init(&f->lock, NULL);
#endif
  return f;
}

static void Connect(LV2_Handle h, uint32_t port, void* data)
{
  Faulty* f = (Faulty*)h;
  if (port == 0) f->gain = (const float*)data;
  if (port == 1) f->in = (const float*)data;
  if (port == 2) f->out = (float*)data;
}

static void Run(LV2_Handle h, uint32_t n)
{
  Faulty* f = (Faulty*)h;
#ifdef WORKER
  if (f->ran > 0 || f->outstanding > 2) abort();
  ++f->ran;
  if (f->schedule->schedule_work(f->schedule->handle, sizeof(float), f->gain) ==
      LV2_WORKER_SUCCESS)
    ++f->outstanding;
  const float g = f->applied;
#elif defined(FAULT_MUTEX)
  pthread_mutex_lock(&f->lock);
  const float g = *f->gain;
  pthread_mutex_unlock(&f->lock);
#elif defined(FAULT_TRYLOCK)
  if (pthread_mutex_trylock(&f->lock) == 0)
  {
    f->last = *f->gain;
    pthread_mutex_unlock(&f->lock);
  }
  const float g = f->last;
#else
  const float g = *f->gain;
#endif
#ifdef FAULT_FIRST_ALLOC
  if (!f->scratch) f->scratch = calloc(64, sizeof(float));
#endif
#ifdef FAULT_ALLOC
  free(f->scratch);
  f->scratch = malloc(n * sizeof(float) + 16);
#endif
  for (uint32_t i = 0; i < n; ++i)
  {
#ifdef FAULT_BLOCK
    const float fade = (float)(i + 1) / (float)n;
#else
    const float fade = 1.0f;
#endif
    f->out[i] = f->in[i] * g * fade;
  }
}

static void Cleanup(LV2_Handle h)
{
  Faulty* f = (Faulty*)h;
#if defined(FAULT_MUTEX) || defined(FAULT_TRYLOCK)
  pthread_mutex_destroy(&f->lock);
#endif
  free(f->scratch);
  free(f);
}

static LV2_State_Status Save(LV2_Handle h, LV2_State_Store_Function store, LV2_State_Handle sh,
                             uint32_t flags, const LV2_Feature* const* features)
{
  (void)flags, (void)features;
  Faulty* f = (Faulty*)h;
  return store(sh, f->key, &f->saved, sizeof f->saved, f->type,
               LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

static LV2_State_Status Restore(LV2_Handle h, LV2_State_Retrieve_Function retrieve,
                                LV2_State_Handle sh, uint32_t flags,
                                const LV2_Feature* const* features)
{
  (void)flags, (void)features;
  Faulty* f = (Faulty*)h;
  size_t size = 0;
  uint32_t type = 0, vflags = 0;
  const void* v = retrieve(sh, f->key, &size, &type, &vflags);
  if (!v) return LV2_STATE_SUCCESS;
#ifdef FAULT_STATE
  /* The size is taken on trust: a value of another size is read as the
     address of a table of gains, as a format of an earlier version had it. */
  if (size != sizeof(float))
  {
    const float* const* table = (const float* const*)v;
    f->saved = (*table)[0];
    return LV2_STATE_SUCCESS;
  }
#endif
  if (size != sizeof(float) || type != f->type) return LV2_STATE_ERR_BAD_TYPE;
  memcpy(&f->saved, v, sizeof f->saved);
  return LV2_STATE_SUCCESS;
}

#ifdef WORKER
static LV2_Worker_Status Work(LV2_Handle h, LV2_Worker_Respond_Function respond,
                              LV2_Worker_Respond_Handle rh, uint32_t size, const void* data)
{
  (void)h;
  float* copy = (float*)malloc(sizeof(float));
  if (!copy || size != sizeof(float)) abort();
  memcpy(copy, data, sizeof(float));
  const LV2_Worker_Status st = respond(rh, sizeof(float), copy);
  free(copy);
  return st;
}

static LV2_Worker_Status Response(LV2_Handle h, uint32_t size, const void* body)
{
  Faulty* f = (Faulty*)h;
  if (size != sizeof(float)) abort();
  memcpy(&f->applied, body, sizeof(float));
  --f->outstanding;
  return LV2_WORKER_SUCCESS;
}

static LV2_Worker_Status EndRun(LV2_Handle h)
{
  ((Faulty*)h)->ran = 0;
  return LV2_WORKER_SUCCESS;
}
#endif

static const void* Extension(const char* uri)
{
  static const LV2_State_Interface state = {Save, Restore};
#ifdef WORKER
  static const LV2_Worker_Interface worker = {Work, Response, EndRun};
  if (!strcmp(uri, LV2_WORKER__interface)) return &worker;
#endif
  return strcmp(uri, LV2_STATE__interface) ? NULL : &state;
}

static const LV2_Descriptor kDescriptor = {FAULTY_URI, Instantiate, Connect, NULL,
                                           Run,        NULL,        Cleanup, Extension};

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index)
{
  return index == 0 ? &kDescriptor : NULL;
}
