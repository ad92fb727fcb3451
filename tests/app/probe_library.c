/* A tiny shared library for the binding tests; each build says where it was built for. */
__attribute__((visibility("default"))) const char* probe_origin(void) { return PROBE_ORIGIN; }
