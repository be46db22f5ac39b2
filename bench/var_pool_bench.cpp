// Lookups in a pool of 2,000 variables: existing names and missing ones (a
// missing name is created on lookup, as the pool does, so each iteration
// uses a fresh pool slot only once per name).
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "platform/headless_platform.h"
#include "services/services.h"
#include "services/var_pool.h"

namespace {

std::vector<std::string> names(int n, const char* stem) {
  std::vector<std::string> out;
  for (int i = 0; i < n; ++i)
    out.push_back(std::string(1, static_cast<char>('A' + i % 26)) + stem + std::to_string(i));
  return out;
}

struct Pool {
  kiv::platform::HeadlessPlatform platform;
  kiv::Services services{platform};
  std::vector<std::string> existing = names(2000, "EDIT.OPTION.SETTING");
  Pool() {
    for (const auto& n : existing) kiv::varSet(services, n, "value");
  }
};

void BM_LookupExisting(benchmark::State& state) {
  Pool pool;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(
        kiv::varFind(pool.services, pool.existing[i++ % pool.existing.size()]).value().data());
  }
}
BENCHMARK(BM_LookupExisting);

void BM_GetValueExisting(benchmark::State& state) {
  Pool pool;
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(kiv::varGet(pool.services, pool.existing[i++ % pool.existing.size()]));
  }
}
BENCHMARK(BM_GetValueExisting);

void BM_ExistsMissing(benchmark::State& state) {
  Pool pool;
  std::vector<std::string> missing = names(2000, "NOT.THERE.AT.ALL");
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(kiv::varExists(pool.services, missing[i++ % missing.size()]));
  }
}
BENCHMARK(BM_ExistsMissing);

void BM_LookupMissingCreates(benchmark::State& state) {
  Pool pool;
  std::vector<std::string> missing = names(1 << 20, "NEW.NAME");
  std::size_t i = 0;
  for (auto _ : state) {
    benchmark::DoNotOptimize(&kiv::varFind(pool.services, missing[i++ % missing.size()]));
  }
}
BENCHMARK(BM_LookupMissingCreates)->Iterations(1 << 20);

}  // namespace
