// A download from the simulated machine, then the unpack into the working
// tables, beside a plain memcpy of the 111,672-byte transfer image.
#include <benchmark/benchmark.h>

#include <cstring>
#include <memory>
#include <vector>

#include "bench/memcpy_baseline.h"
#include "setup/link/demo_machine.h"
#include "setup/link/machine_link.h"
#include "setup/link/simulated_machine.h"

namespace odc {
namespace {

class SilentUi : public LinkUi {
 public:
  void ShowLinkMessage(LinkMessage) override { ++messages; }
  void SendDisconnectCommand() override {}
  void ShowReadyStatus() override {}
  int messages = 0;
};

void BM_DownloadAndUnpack(benchmark::State& state) {
  SimulatedMachine machine;
  const std::vector<uint8_t> file = DemoMachineFileBytes();
  machine.LoadMemory(file.data(), file.size());
  MachineLink link(machine);
  SilentUi ui;
  auto set = std::make_unique<DataSet>();
  for (auto _ : state) {
    if (!DownloadMachineData(link, ui, *set)) state.SkipWithError("download failed");
    UnpackTransferImage(*set);
    benchmark::DoNotOptimize(set->oneTouch);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(kImageSize));
}
BENCHMARK(BM_DownloadAndUnpack);

// The walk alone, on the item reply a download receives.
void BM_WalkDownloadReply(benchmark::State& state) {
  auto machineSet = std::make_unique<DataSet>();
  BuildDemoMachine(*machineSet);
  std::vector<uint8_t> reply;
  for (const ItemRecord& record : machineSet->records) {
    uint8_t head[8];
    std::memcpy(head, &record.id, 4);
    std::memcpy(head + 4, &record.length, 4);
    reply.insert(reply.end(), head, head + 8);
    if (record.length != kNoData)
      reply.insert(reply.end(), record.data, record.data + record.length);
  }
  auto set = std::make_unique<DataSet>();
  for (auto _ : state) {
    if (!WalkDownloadReply(*set, reply.data(), reply.size())) state.SkipWithError("walk failed");
    benchmark::DoNotOptimize(set->records);
  }
  state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(reply.size()));
}
BENCHMARK(BM_WalkDownloadReply);

}  // namespace
}  // namespace odc

BENCHMARK_MAIN();
