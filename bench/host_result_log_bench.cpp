// Result log load and save through the portable byte path, 100,000 result lines.
#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "storage/result_log.h"

int main() {
  using namespace tw::bench;
  const std::vector<std::string> lines = RealisticResultLog();
  std::string bytes;
  ReportResultLog("save", "bytes, host", MedianMs([&] { bytes = tw::storage::SerializeResultLog(lines); }));
  std::vector<std::string> loaded;
  ReportResultLog("load", "bytes, host", MedianMs([&] { loaded = tw::storage::ParseResultLog(bytes); }));
  if (loaded != lines || lines.front().size() != 56) {
    std::printf("result log round trip FAILED\n");
    return 1;
  }
  return 0;
}
