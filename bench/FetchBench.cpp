// Times the fetcher alone: one large file, or many small ones, from a local server.
// Usage: bench_fetch <base-address> big <out-dir>
//        bench_fetch <base-address> many <count> <out-dir>
// Prints the seconds taken and the bytes fetched.
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "seams/LogSink.h"
#include "seams/Observer.h"
#include "seams/RunControl.h"
#include "settings/ProjectSettings.h"
#include "web/FetchContext.h"
#include "web/Fetcher.h"
#include "web/InternetOptions.h"

namespace {

class PrintingLog : public qn::IQNLogSink {
 public:
  void WriteLine(qn::LogKind, const std::string& text) override {
    std::fprintf(stderr, "%s\n", text.c_str());
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 4) {
    std::fprintf(stderr, "usage: %s <base> big <dir> | <base> many <count> <dir>\n", argv[0]);
    return 2;
  }
  const std::string base = argv[1];
  const std::string mode = argv[2];
  const bool many = mode == "many";
  const int count = many ? std::atoi(argv[3]) : 1;
  const std::string dir = argv[many ? 4 : 3];

  qn::CQNSettings settings;
  settings.QN_LIM_MAXFS = 0;
  settings.QN_LIM_DS = 0;
  settings.QN_UMETHOD = 1;  // always transfer
  qn::QNInternetOptions options;
  qn::QNRunFlags run;
  PrintingLog log;
  qn::IQNObserver observer;
  qn::CQNFetcher fetcher({settings, options, run, log, observer, qn::QNTexts()});
  if (!fetcher.OpenInternet(true)) return 1;

  std::uint64_t bytes = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, many ? "small/f%04d.bin" : "big.bin", i);
    const qn::QNFetchResult r =
        fetcher.FetchToFile(base + "/" + name, dir + "/" + name, 0, true, "", 0);
    if (!r.ok) {
      std::fprintf(stderr, "failed: %s\n", name);
      return 1;
    }
    bytes += r.size;
  }
  const double seconds =
      std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  fetcher.CloseInternet(true);
  std::printf("%.6f %llu\n", seconds, static_cast<unsigned long long>(bytes));
  return 0;
}
