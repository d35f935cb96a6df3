// ms1-virtual-mouse: the simulated MS_1 that both driver library files reach.
#include "libs/virtualmouse/sim_server.h"

int main(int argc, char** argv) {
  ms1::vmouse::SimServer server(ms1::vmouse::ParseServerOptions(argc, argv));
  return server.Run();
}
