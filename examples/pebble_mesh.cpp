// Writes a noisy pebble as an ASCII STL, a rough that looks scanned, for
// trying the fit and taking pictures of it:
//   pebble_mesh SEED TRIANGLES SIZE_MM OUT.stl
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "rough/pebble.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: pebble_mesh SEED TRIANGLES SIZE_MM OUT.stl\n");
        return 2;
    }
    const brevix::rough::Mesh mesh = brevix::rough::pebbleMesh(std::strtoull(argv[1], nullptr, 10),
                                                               std::atoi(argv[2]), std::atof(argv[3]));
    std::ofstream out(argv[4], std::ios::binary);
    out << brevix::rough::asciiStl(mesh, "pebble");
    return out.good() ? 0 : 1;
}
