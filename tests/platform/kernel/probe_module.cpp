// The module the LoadLibrary tests load: one function by name, two by ordinal.
extern "C" __attribute__((visibility("default"))) int zx_probe_answer() { return 42; }
extern "C" __attribute__((visibility("default"))) int zx_ordinal_1() { return 1001; }
extern "C" __attribute__((visibility("default"))) int zx_ordinal_7() { return 1007; }
