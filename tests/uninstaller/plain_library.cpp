// A library without DllUnregisterServer: loading it must not count as
// unregistering it.
extern "C" __attribute__((visibility("default"))) int brevixTestPlainLibrary() { return 42; }
