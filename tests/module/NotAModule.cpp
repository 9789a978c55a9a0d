// A shared object that is no AAX module: it has none of the entry points.
extern "C" __attribute__((visibility("default"))) int qv_not_a_module() { return 1; }
