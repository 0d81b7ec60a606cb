// The content check and the start-up's look at the content on a roster of N
// copies of a demo character (each copy a full character with the demo's
// files): time and the most heap held at once should grow with N, not N^2.
//   vdx_content_bench
// compares N = 100 and N = 1000 (ten times the characters: at most ten times
// the time and the peak).
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <pugixml.hpp>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <sstream>

#include "content/content_files.h"
#include "content/get_xml.h"
#include "startup/check_content.h"

// The heap in use and its peak, counted by the program's own allocator hooks
// (a benchmark program of its own, so these hooks see only it).
namespace {
std::atomic<long long> heapInUse{0};
std::atomic<long long> heapPeak{0};

void* Allocate(std::size_t size) {
  void* p = std::malloc(size == 0 ? 1 : size);
  if (p == nullptr) throw std::bad_alloc();
  const long long now = heapInUse += static_cast<long long>(malloc_usable_size(p));
  long long peak = heapPeak.load(std::memory_order_relaxed);
  while (now > peak && !heapPeak.compare_exchange_weak(peak, now)) {
  }
  return p;
}
void Free(void* p) {
  if (p == nullptr) return;
  heapInUse -= static_cast<long long>(malloc_usable_size(p));
  std::free(p);
}
}  // namespace

void* operator new(std::size_t size) {
  return Allocate(size);
}
void* operator new[](std::size_t size) {
  return Allocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (...) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& tag) noexcept {
  return operator new(size, tag);
}
void operator delete(void* p) noexcept {
  Free(p);
}
void operator delete[](void* p) noexcept {
  Free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  Free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
  Free(p);
}
void operator delete(void* p, const std::nothrow_t&) noexcept {
  Free(p);
}
void operator delete[](void* p, const std::nothrow_t&) noexcept {
  Free(p);
}

namespace {

namespace fs = std::filesystem;

// A game folder with the demo's files (linked) and a Game.xml holding the demo
// characters and `copies` more copies of Kira under other names, all with
// Kira's Path (the folder shipped with the demo), or each with a Path of its
// own that the folder lacks: then every throw looks for a folder per opponent.
fs::path RosterFolder(int copies, bool ownPaths) {
  const fs::path dir = fs::temp_directory_path() / ("vdx_roster_" + std::to_string(copies) +
                                                    (ownPaths ? "_own" : ""));
  fs::remove_all(dir);
  fs::create_directories(dir);
  for (const auto& entry : fs::directory_iterator(VDX_DEMO_DIR))
    if (entry.path().filename() != "Game.xml")
      fs::create_symlink(entry.path(), dir / entry.path().filename());
  pugi::xml_document xml;
  if (!xml.load_file((fs::path(VDX_DEMO_DIR) / "Game.xml").c_str())) return {};
  const pugi::xml_node kira = xml.document_element().find_node([](const pugi::xml_node& n) {
    return std::string_view(n.name()) == "Character" &&
           std::string_view(n.attribute("Name").value()) == "Kira";
  });
  if (!kira) return {};
  for (int n = 1; n <= copies; ++n) {
    pugi::xml_node copy = kira.parent().append_copy(kira);
    copy.attribute("Name").set_value(("Kira" + std::to_string(n)).c_str());
    if (ownPaths) copy.attribute("Path").set_value(("kira" + std::to_string(n)).c_str());
  }
  xml.save_file((dir / "Game.xml").c_str());
  return dir;
}

// Runs `work` on the state's roster (copies, own paths) and reports the most
// heap it held at once besides the time.
template <typename Work>
void OnRoster(benchmark::State& state, Work work) {
  const fs::path dir = RosterFolder(static_cast<int>(state.range(0)), state.range(1) != 0);
  if (dir.empty()) {
    state.SkipWithError("the demo folder is missing");
    return;
  }
  const long long inUse = heapInUse.load();
  heapPeak = inUse;
  for (auto _ : state)
    work(dir);
  state.counters["peak_heap_MB"] =
      static_cast<double>(heapPeak.load() - inUse) / (1024.0 * 1024.0);
  fs::remove_all(dir);
}

// `vdx --check-content`: read, look for every file, decode every file.
void BM_ContentCheck(benchmark::State& state) {
  OnRoster(state, [](const fs::path& dir) {
    std::ostringstream out;
    benchmark::DoNotOptimize(vdx::RunContentCheck(vdx::FoldersInGameFolder(dir), out));
  });
}
BENCHMARK(BM_ContentCheck)
    ->ArgsProduct({{100, 1000}, {0, 1}})
    ->ArgNames({"copies", "own_paths"})
    ->Unit(benchmark::kMillisecond);

// What start-up does with the roster before the menu: read it and look for
// every file it names.
void BM_StartUpContentLook(benchmark::State& state) {
  OnRoster(state, [](const fs::path& dir) {
    const vdx::PathResolver paths(dir);
    vdx::Settings settings;
    vdx::Content content;
    vdx::LoadReport report;
    vdx::GetXML(paths, settings, content, report);
    vdx::FindMissingFiles(paths, settings, content, report);
    benchmark::DoNotOptimize(report.missing.size());
  });
}
BENCHMARK(BM_StartUpContentLook)
    ->ArgsProduct({{100, 1000}, {0, 1}})
    ->ArgNames({"copies", "own_paths"})
    ->Unit(benchmark::kMillisecond);

}  // namespace
