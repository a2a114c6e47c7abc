// Writes the demonstration machine file (tests/fixtures/demo_machine.dat):
//   make_demo_machine OUTPUT.dat
// The file is the memory of the simulated machine for demonstrations:
//   ODC_SIMULATED_MACHINE=OUTPUT.dat odctool ...
#include <cstdio>

#include "setup/link/demo_machine.h"
#include "setup/link/simulated_machine.h"

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_demo_machine OUTPUT.dat\n");
    return 2;
  }
  if (!odc::WriteFileAtomically(argv[1], odc::DemoMachineFileBytes())) {
    std::fprintf(stderr, "make_demo_machine: cannot write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
