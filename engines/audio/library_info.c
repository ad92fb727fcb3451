/* Identifies the audio companion library. */
__attribute__((visibility("default"))) const char* lumoset_engine_name(void) { return "audio"; }
