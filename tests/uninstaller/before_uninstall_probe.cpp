// Stands for the program a log names as BeforeUninstall: appends its
// arguments to the file named first, and whether the file named second was
// still there, which tells whether it ran before anything was removed.
#include <cstdio>
#include <fstream>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    std::ofstream mark(argv[1], std::ios::app);
    for (int i = 2; i < argc; ++i) mark << argv[i] << ' ';
    mark << (std::ifstream(argv[2]) ? "present" : "missing") << '\n';
    return 0;
}
