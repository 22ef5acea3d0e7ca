// The memory zorvin takes stays small whatever the map: the most it holds at
// once, counted by this exe's own operator new, for maps whose worldspawns
// are built to make it hold much (a flood of empty keys, a huge value, tens of
// thousands of keys, the lines a diff shows).
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

#include "cli/cli.h"

namespace {

std::atomic<std::size_t> g_live{0}, g_peak{0};

void* Allocate(std::size_t size) {
  // Each block carries its size before it, so that delete can count it.
  void* block = std::malloc(size + alignof(std::max_align_t));
  if (block == nullptr) throw std::bad_alloc();
  *static_cast<std::size_t*>(block) = size;
  const std::size_t live = g_live += size;
  for (std::size_t peak = g_peak; live > peak && !g_peak.compare_exchange_weak(peak, live);) {
  }
  return static_cast<char*>(block) + alignof(std::max_align_t);
}

void Free(void* pointer) {
  if (pointer == nullptr) return;
  void* block = static_cast<char*>(pointer) - alignof(std::max_align_t);
  g_live -= *static_cast<std::size_t*>(block);
  std::free(block);
}

}  // namespace

void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void operator delete(void* pointer) noexcept { Free(pointer); }
void operator delete[](void* pointer) noexcept { Free(pointer); }
void operator delete(void* pointer, std::size_t) noexcept { Free(pointer); }
void operator delete[](void* pointer, std::size_t) noexcept { Free(pointer); }
// The forms that do not throw, which libstdc++ uses too (a temporary buffer's).
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
  try {
    return Allocate(size);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t size, const std::nothrow_t& nothrow) noexcept { return operator new(size, nothrow); }
void operator delete(void* pointer, const std::nothrow_t&) noexcept { Free(pointer); }
void operator delete[](void* pointer, const std::nothrow_t&) noexcept { Free(pointer); }

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kMost = std::size_t{16} << 20;  // half the 32 MB a run may take in all

std::string Repeated(std::string_view text, std::size_t bytes) {
  std::string repeated;
  repeated.reserve(bytes + text.size());
  while (repeated.size() < bytes) repeated += text;
  return repeated;
}

TEST(MapMemory, StaysSmallWhateverTheWorldspawn) {
  const std::string head = "{\n\"classname\" \"worldspawn\"\n";
  std::string keys;
  for (int i = 0; i < 16000; ++i) keys += "\"a_key_of_some_length_" + std::to_string(i) + "\" \"a value of some length\"\n";
  const struct {
    const char* what;
    std::string map;
  } cases[] = {
      {"16 MB of empty keys", head + Repeated("\"\" \"\"\n", std::size_t{16} << 20) + "}\n"},
      {"16 MB of empty keys on one line", head + Repeated("\"\"\"\"", std::size_t{16} << 20) + "\n}\n"},
      {"a value of almost 1 MB", head + "\"_color\" \"" + Repeated("1 ", std::size_t{1} << 20).substr(0, 1000000) + "\"\n}\n"},
      {"16,000 keys with long names and values", head + keys + "}\n"},
      {"16 MB of empty lines", head + std::string(std::size_t{16} << 20, '\n') + "}\n"},
      {"16 MB of brushes on one line", head + Repeated("{ ( 0 0 0 ) }", std::size_t{16} << 20) + "\n}\n"},
  };
  const fs::path dir = fs::temp_directory_path() / "zorvin-memory";
  fs::remove_all(dir);
  fs::create_directories(dir);
  const fs::path map = dir / "m.map";
  for (const auto& c : cases) {
    std::ofstream(map, std::ios::binary) << c.map;
    for (const char* command : {"apply --dry-run", "light", "apply"}) {
      std::vector<std::string> args = {command == std::string("light") ? "light" : "apply"};
      if (args[0] == "apply") args.push_back("mp_toujane");
      args.push_back(map.string());
      if (command == std::string("apply --dry-run")) args.push_back("--dry-run");
      const std::size_t before = g_live;
      g_peak = before;
      const zorvin::cli::Result result = zorvin::cli::Run(args, zorvin::cli::LineEnd::Lf);
      EXPECT_LE(g_peak - before, kMost) << c.what << ", " << command << ": " << (g_peak - before) / 1024 << " KB at most; "
                                        << result.err;
    }
  }
  fs::remove_all(dir);
}

}  // namespace
