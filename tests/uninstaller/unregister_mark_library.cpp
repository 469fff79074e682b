// A library with a DllUnregisterServer that leaves a mark: one line in the
// file that BREVIX_TEST_UNREGISTER_MARK names, holding the folder it was
// called in.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

extern "C" __attribute__((visibility("default"))) long DllUnregisterServer() {
    const char* mark = std::getenv("BREVIX_TEST_UNREGISTER_MARK");
    if (!mark) return 1;
    if (FILE* f = std::fopen(mark, "a")) {
        char folder[4096] = "?";
        if (!getcwd(folder, sizeof folder)) folder[0] = '?';
        std::fprintf(f, "unregistered in %s\n", folder);
        std::fclose(f);
    }
    // A library may change the current folder; the caller puts it back.
    if (chdir("/") != 0) return 1;
    return 0;
}
