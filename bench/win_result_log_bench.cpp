// Result log load and save through the real files, 100,000 result lines, in a
// fresh folder under the Windows temp folder.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "bench/bench_util.h"
#include "bench/win_bench_util.h"
#include "storage/win32/result_log_file.h"

int main() {
  using namespace tw::bench;
  const TempFolder folder("tw-bench-");
  if (!folder.Created()) {
    std::printf("result log bench: cannot create %s\n", folder.Path().c_str());
    return 1;
  }
  const std::string log = folder.Path() + "Result.lst";

  const std::vector<std::string> lines = RealisticResultLog();
  bool saved = true;
  ReportResultLog("save", "file, Wine", MedianMs([&] { saved = tw::storage::WriteResultLog(log, lines) && saved; }));
  std::vector<std::string> loaded;
  ReportResultLog("load", "file, Wine", MedianMs([&] { loaded = tw::storage::LoadResultLog(log); }));

  if (!saved || loaded != lines) {
    std::printf("result log round trip FAILED\n");
    return 1;
  }
  return 0;
}
