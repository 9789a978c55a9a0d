/* A mono gain with state, built once per fault: each variant breaks one rule
   an LV2 validator must catch, and nothing else.
     FAULT_ALLOC    allocates in run()
     FAULT_STATE    trusts the size of a restored value, and crashes on another
     FAULT_BLOCK    restarts a fade at every run(), so the block size shows
     FAULT_EXPORT   exports a symbol besides lv2_descriptor
     (the default outside its range is in the .ttl alone) */
#include <lv2/core/lv2.h>
#include <lv2/state/state.h>
#include <lv2/urid/urid.h>

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
} Faulty;

#ifdef FAULT_EXPORT
LV2_SYMBOL_EXPORT int faulty_helper(int x) { return x + 1; }
#endif

static LV2_Handle Instantiate(const LV2_Descriptor* d, double rate, const char* path,
                              const LV2_Feature* const* features)
{
  (void)d, (void)rate, (void)path;
  LV2_URID_Map* map = NULL;
  for (int i = 0; features[i]; ++i)
    if (!strcmp(features[i]->URI, LV2_URID__map)) map = (LV2_URID_Map*)features[i]->data;
  if (!map) return NULL;
  Faulty* f = (Faulty*)calloc(1, sizeof(Faulty));
  if (!f) return NULL;
  f->key = map->map(map->handle, GAIN_URI);
  f->type = map->map(map->handle, "http://lv2plug.in/ns/ext/atom#Float");
  f->saved = 1.0f;
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
  const float g = *f->gain;
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

static const void* Extension(const char* uri)
{
  static const LV2_State_Interface state = {Save, Restore};
  return strcmp(uri, LV2_STATE__interface) ? NULL : &state;
}

static const LV2_Descriptor kDescriptor = {FAULTY_URI, Instantiate, Connect, NULL,
                                           Run,        NULL,        Cleanup, Extension};

LV2_SYMBOL_EXPORT const LV2_Descriptor* lv2_descriptor(uint32_t index)
{
  return index == 0 ? &kDescriptor : NULL;
}
