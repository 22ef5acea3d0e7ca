#include "cli/check_scan.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <unordered_map>

#include "cli/text.h"
#include "file/folder.h"
#include "file/user_file.h"
#include "references/effect_references.h"

namespace zorvin::cli {
namespace {

constexpr std::size_t kReadSize = std::size_t{1} << 20;
constexpr std::size_t kTextTest = 8 * 1024;        // a NUL in these first bytes: not text
constexpr std::size_t kLongestLine = 8u << 20;     // a longer line is looked at in parts

// A path as the problems name it: '/' between its parts, on Windows too.
std::string Generic(std::string path) {
#ifdef _WIN32
  std::replace(path.begin(), path.end(), '\\', '/');
#endif
  return path;
}

std::string Joined(const std::string& folder, const std::string& name) {
  return folder.ends_with('/') ? folder + name : folder + "/" + name;
}

// A backup as --fix and apply make them: NAME.bak or NAME.bak.N.
bool IsBackup(std::string_view name) {
  if (name.ends_with(".bak")) return true;
  const std::size_t dot = name.find_last_of('.');
  if (dot == std::string_view::npos || dot + 1 == name.size()) return false;
  const std::string_view number = name.substr(dot + 1);
  return number.find_first_not_of("0123456789") == std::string_view::npos && name.substr(0, dot).ends_with(".bak");
}

// A folder's entries, in name order (byte by byte), each a file or a folder
// to walk; a link to a folder is not followed.
void Walk(const std::string& folder, std::vector<std::string>& files, std::size_t& skipped) {
  std::vector<file::FolderEntry> entries = file::ReadFolder(folder);
  std::sort(entries.begin(), entries.end(), [](const auto& a, const auto& b) { return a.name < b.name; });
  for (const file::FolderEntry& entry : entries) {
    if (entry.name.starts_with('.') || IsBackup(entry.name)) {
      ++skipped;
    } else if (entry.kind == file::FolderEntry::Kind::folder) {
      Walk(Joined(folder, entry.name), files, skipped);
    } else if (entry.kind == file::FolderEntry::Kind::file) {
      files.push_back(Joined(folder, entry.name));
    }
  }
}

// One file read line by line; false when it is not text. A line is kept
// only while it runs past the chunk it started in, and a chunk without "efx"
// is only counted.
class FileChecker {
 public:
  // What one file holds.
  struct Found {
    std::vector<Problem> problems;
    std::size_t references = 0;
  };

  FileChecker(const std::string& name, const references::EffectNames& names, std::string& buffer, Scan& scan,
              std::mutex& lock, Found& found)
      : name_(name), names_(names), buffer_(buffer), scan_(scan), lock_(lock), found_(found) {}

  bool Check(file::Input& input) {
    std::string& buffer = buffer_;
    std::uint64_t total = 0;
    for (bool first = true; total < input.Size() || first; first = false) {  // read to its size, or to its end
      const std::size_t got = input.Read(buffer.data(), buffer.size());
      if (got == 0) break;
      total += got;
      std::string_view chunk(buffer.data(), got);
      if (first && chunk.substr(0, kTextTest).find('\0') != std::string_view::npos) return false;
      if (first && chunk.starts_with("\xEF\xBB\xBF")) {  // a byte-order mark is no part of the first line
        chunk.remove_prefix(3);
        lineStart_ = 3;
      }
      Feed(chunk);
    }
    if (!line_.empty()) Line(line_);
    return true;
  }

 private:
  void Feed(std::string_view chunk) {
    if (!line_.empty()) {  // the end of the line the last chunk left
      const std::size_t lf = chunk.find('\n');
      line_ += chunk.substr(0, lf);
      if (lf == std::string_view::npos) {
        if (line_.size() > kLongestLine) Cut();
        return;
      }
      Line(line_);
      line_.clear();
      chunk.remove_prefix(lf + 1);
    }
    const std::size_t last = chunk.find_last_of('\n');
    const std::string_view whole = chunk.substr(0, last == std::string_view::npos ? 0 : last + 1);
    // Only the lines with "efx" are looked at; the rest are counted.
    references::EfxFinder efx(whole);
    for (std::size_t at = 0; at < whole.size();) {
      const std::size_t hit = efx.Next(at);
      const std::size_t begin = hit == std::string_view::npos ? whole.size() : whole.rfind('\n', hit) + 1;
      const std::string_view skipped = whole.substr(at, begin - at);
      lineNumber_ += static_cast<std::uint64_t>(std::count(skipped.begin(), skipped.end(), '\n'));
      lineStart_ += skipped.size();
      if (hit == std::string_view::npos) break;
      const std::size_t lf = whole.find('\n', hit);
      Line(whole.substr(begin, lf - begin), true);
      at = lf + 1;
    }
    line_.assign(chunk.substr(whole.size()));
    if (line_.size() > kLongestLine) Cut();
  }

  // A line, its LF taken off; known to hold "efx" or not yet looked at.
  void Line(std::string_view text, bool holdsEfx = false) {
    const std::size_t length = text.size();
    if (text.ends_with('\r')) text.remove_suffix(1);
    if (holdsEfx || references::MayHoldReference(text)) Look(text);
    ++lineNumber_;
    lineStart_ += length + 1;
    columnBase_ = 0;
  }

  // A line too long to hold is looked at up to its last blank.
  void Cut() {
    const std::size_t blank = line_.find_last_of(" \t");
    const std::size_t cut = blank == std::string::npos ? line_.size() : blank + 1;
    const std::string_view part = std::string_view(line_).substr(0, cut);
    Look(part);
    for (const char c : part) columnBase_ += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    lineStart_ += cut;
    line_.erase(0, cut);
  }

  void Look(std::string_view text) {
    for (const references::Reference& reference : references::FindReferences(text)) {
      const std::string_view name = text.substr(reference.begin, reference.end - reference.begin);
      ++found_.references;
      // A name is judged once: the same few names come back in file after file.
      std::unique_lock lock(lock_);
      auto judged = scan_.judged.find(name);
      if (judged == scan_.judged.end()) judged = scan_.judged.emplace(std::string(name), names_.Judge(name)).first;
      if (judged->second.kind == references::Verdict::Kind::known) continue;
      if (file_ == nullptr) file_ = &scan_.fileNames.emplace_back(name_);
      lock.unlock();
      found_.problems.push_back({file_, lineNumber_ + 1, columnBase_ + reference.column, columnBase_ + reference.endColumn,
                                 lineStart_ + reference.begin, lineStart_ + reference.end, &judged->first, &judged->second});
    }
  }

  const std::string& name_;
  const std::string* file_ = nullptr;  // the name as the scan holds it, once it has a problem
  const references::EffectNames& names_;
  std::string& buffer_;  // one for every file a thread reads
  Scan& scan_;           // the names judged and the files' names, shared under lock_
  std::mutex& lock_;
  Found& found_;
  std::string line_;             // a line that runs past the chunk it started in
  std::uint64_t lineNumber_ = 0; // lines ended so far
  std::uint64_t lineStart_ = 0;  // the file offset of the line's first byte (of line_'s)
  std::size_t columnBase_ = 0;   // code points of the line already looked at
};

}  // namespace

std::variant<Scan, Failure> ScanPaths(std::span<const std::string> paths, const references::EffectNames& names) {
  std::vector<std::string> files;
  Scan scan;
  for (const std::string& path : paths) {
    const file::Kind kind = file::KindOf(path);
    if (kind == file::Kind::missing) return Failure{kBadUsage, Shown(path) + " does not exist"};
    if (kind != file::Kind::folder) {
      files.push_back(path);
      continue;
    }
    Walk(Generic(path), files, scan.skipped);
  }
  // The files are read by a few threads at once, each taking the next; what
  // each file holds is put together in the files' order.
  enum class Read { checked, notText, failed };
  struct Result {
    FileChecker::Found found;
    Read read = Read::checked;
    std::string error;
    std::optional<file::Input::Stamp> stamp;
  };
  std::vector<Result> results(files.size());
  std::atomic<std::size_t> next{0};
  std::mutex lock;
  const auto work = [&] {
    std::string buffer(kReadSize, '\0');
    for (std::size_t i = next++; i < files.size(); i = next++) {
      Result& result = results[i];
      try {
        file::Input input(files[i], file::Input::Use::read);
        FileChecker checker(files[i], names, buffer, scan, lock, result.found);
        if (!checker.Check(input)) result.read = Read::notText;
        result.stamp = input.Stamped();
      } catch (const file::FileError& error) {
        result.read = Read::failed;
        result.error = Escaped(files[i], 200) + " " + error.what();
      }
    }
  };
  const std::size_t threads = std::min<std::size_t>({std::max(1u, std::thread::hardware_concurrency()), 4, files.size()});
  std::vector<std::thread> helpers;
  try {
    for (std::size_t t = 1; t < threads; ++t) helpers.emplace_back(work);
  } catch (const std::system_error&) {
    // No more threads: the ones there are do it.
  }
  work();
  for (std::thread& helper : helpers) helper.join();
  for (Result& result : results) {
    if (result.read == Read::notText) ++scan.skipped;
    if (result.read == Read::failed) scan.unreadable.push_back(std::move(result.error));
    if (result.read != Read::checked) continue;
    ++scan.files;
    scan.references += result.found.references;
    if (!result.found.problems.empty()) scan.stamps.emplace(result.found.problems.front().file, *result.stamp);
    scan.problems.insert(scan.problems.end(), result.found.problems.begin(), result.found.problems.end());
  }
  return scan;
}

std::variant<std::vector<std::string>, Failure> OwnEffects(std::span<const std::string> folders) {
  std::vector<std::string> names;
  for (const std::string& folder : folders) {
    if (file::KindOf(folder) != file::Kind::folder) return Failure{kBadUsage, "--effects " + Shown(folder) + " is no folder"};
    std::vector<std::string> files;
    std::size_t skipped = 0;
    Walk(Generic(folder), files, skipped);
    for (const std::string& file : files) {
      const std::string name = file.substr(file.find_last_of('/') + 1);
      if (references::EndsInEfx(name)) names.push_back(name);
    }
  }
  return names;
}

}  // namespace zorvin::cli
