// Loaded by the module tests through LoadLibraryW.
extern "C" __attribute__((visibility("default"))) int probeValue() { return 42; }
