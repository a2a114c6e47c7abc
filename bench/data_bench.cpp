// Whole-data-set operations of the data core: reading and unpacking a full
// settings data file, packing and writing it, each import format and the
// dial table check, beside a plain memcpy of the 111,672-byte image.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/memcpy_baseline.h"
#include "setup/data/address_import.h"
#include "setup/data/bytes.h"
#include "setup/data/data_file.h"
#include "setup/data/dial_codec.h"
#include "setup/data/file_io.h"
#include "setup/link/demo_machine.h"

namespace odc {
namespace {

// A full data set with every key and Speed Dial in use.
std::vector<uint8_t> FullFile() {
  auto set = std::make_unique<DataSet>();
  ReadDataFileBytes(*set, DemoMachineFileBytes().data(), DemoMachineFileBytes().size());
  UnpackTransferImage(*set);
  DisplayRecord r{};
  r.inUse = 1;
  r.kind = kKindFax;
  std::strcpy(r.number, "0123456789012345");
  std::strcpy(r.sub, "1234");
  std::strcpy(r.sid, "5678");
  for (int i = 0; i < kSpeedDialCount; ++i) {
    std::snprintf(r.name, sizeof r.name, "Speed %03d", i + 1);
    r.entryType = kEntrySpeedDial;
    PackSpeedDial(*set, r, i);
  }
  PackTransferImage(*set);
  return DataFileBytes(*set);
}

void BM_ReadAndUnpackFullFile(benchmark::State& state) {
  const std::vector<uint8_t> file = FullFile();
  auto set = std::make_unique<DataSet>();
  for (auto _ : state) {
    BuildTransferImage(*set);
    benchmark::DoNotOptimize(ReadDataFileBytes(*set, file.data(), file.size()));
    UnpackTransferImage(*set);
  }
}
BENCHMARK(BM_ReadAndUnpackFullFile)->Unit(benchmark::kMicrosecond);

void BM_PackAndSerialiseFullFile(benchmark::State& state) {
  const std::vector<uint8_t> file = FullFile();
  auto set = std::make_unique<DataSet>();
  ReadDataFileBytes(*set, file.data(), file.size());
  UnpackTransferImage(*set);
  for (auto _ : state) {
    PackTransferImage(*set);
    benchmark::DoNotOptimize(DataFileBytes(*set));
  }
}
BENCHMARK(BM_PackAndSerialiseFullFile)->Unit(benchmark::kMicrosecond);

void BM_PackAndWriteFullFile(benchmark::State& state) {
  const std::vector<uint8_t> file = FullFile();
  auto set = std::make_unique<DataSet>();
  ReadDataFileBytes(*set, file.data(), file.size());
  UnpackTransferImage(*set);
  const std::string path = "/tmp/odc_bench_" + std::to_string(::getpid()) + ".DAT";
  for (auto _ : state) {
    PackTransferImage(*set);
    benchmark::DoNotOptimize(WriteDataFile(*set, path));
  }
  std::remove(path.c_str());
}
BENCHMARK(BM_PackAndWriteFullFile)->Unit(benchmark::kMicrosecond);

void PackedNumber(uint8_t* at) {
  for (int i = 0; i < 5; ++i) at[i] = 0x21;
}

std::vector<uint8_t> CmcFile(int format) {
  const bool one = format == 1;
  std::vector<uint8_t> file(one ? kType1FileSize : kType2FileSize, 0);
  std::memcpy(file.data(), "CMC", 3);
  const size_t oneTouch = one ? kType1HeaderSize : kType2HeaderSize;
  const int oneTouchCount = one ? kType1OneTouchRecords : kType2OneTouchRecords;
  const size_t oneTouchSize = one ? kType1OneTouchRecordSize : kType2OneTouchRecordSize;
  const size_t speedDial = oneTouch + oneTouchCount * oneTouchSize;
  const int speedDialCount = one ? kType1SpeedDialRecords : kType2SpeedDialRecords;
  const size_t speedDialSize = one ? kType1SpeedDialRecordSize : kType2SpeedDialRecordSize;
  for (int k = 0; k < oneTouchCount; ++k) {
    uint8_t* r = file.data() + oneTouch + k * oneTouchSize;
    if (one) {
      r[0] = kFlagFax | kFlagOneTouchEntry;
      r[1] = 10;
      r[3] = 4;
      std::memcpy(r + 4, "Name", 4);
      PackedNumber(r + 31);
    } else {
      r[0] = 10;
      r[1] = 0x42;  // fax, One Touch entry
      r[26] = 4;
      std::memcpy(r + 27, "Name", 4);
      PackedNumber(r + 50);
    }
  }
  for (int s = 0; s < speedDialCount; ++s) {
    uint8_t* r = file.data() + speedDial + s * speedDialSize;
    if (one) {
      r[0] = kFlagFax | kFlagSpeedDial;
      r[1] = 10;
      r[2] = 4;
      std::memcpy(r + 3, "Fast", 4);
      PackedNumber(r + 29);
    } else {
      r[0] = 10;
      r[1] = 0x22;  // fax, Speed Dial
      r[24] = 4;
      std::memcpy(r + 25, "Fast", 4);
      PackedNumber(r + 48);
    }
  }
  return file;
}

void BM_Import(benchmark::State& state) {
  const int format = static_cast<int>(state.range(0));
  const std::vector<uint8_t> file = format == 3 ? FullFile() : CmcFile(format);
  auto set = std::make_unique<DataSet>();
  auto buffers = std::make_unique<ImportBuffers>();
  for (auto _ : state) {
    if (ImportAddressBookBytes(*set, *buffers, file.data(), file.size()) != format) {
      state.SkipWithError("import failed");
      break;
    }
  }
}
BENCHMARK(BM_Import)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

void BM_CheckDialTables(benchmark::State& state) {
  const std::vector<uint8_t> file = FullFile();
  auto set = std::make_unique<DataSet>();
  ReadDataFileBytes(*set, file.data(), file.size());
  UnpackTransferImage(*set);
  for (auto _ : state) CheckDialTables(*set);
}
BENCHMARK(BM_CheckDialTables)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace odc

BENCHMARK_MAIN();
