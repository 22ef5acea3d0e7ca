#include "cli/check_fix.h"

#include <algorithm>

#include "cli/text.h"
#include "map/map_edit.h"

namespace zorvin::cli {
namespace {

constexpr std::size_t kReadSize = std::size_t{1} << 20;
constexpr std::size_t kContext = 3;  // lines of a diff's context after its last change

// The file read to its end, the edits made on the way; an edit that runs past
// a chunk waits for the next.
void WriteEdited(file::Input& input, file::Replacement& into, const std::vector<map::Edit>& edits) {
  std::string buffer(kReadSize, '\0');
  std::string pending;  // bytes held back, from the file's offset `at`
  std::uint64_t at = 0;
  for (;;) {
    const std::size_t got = input.Read(buffer.data(), buffer.size());
    pending.append(buffer.data(), got);
    std::size_t keep = pending.size();
    if (got > 0) {
      for (const map::Edit& edit : edits) {
        if (edit.begin < at + pending.size() && edit.end > at + pending.size()) keep = static_cast<std::size_t>(edit.begin - at);
      }
    }
    into.Write(map::Edited(std::string_view(pending).substr(0, keep), at, edits));
    pending.erase(0, keep);
    at += keep;
    if (got == 0) return;
  }
}

// The file from its start to three lines past its last edit, or whole.
std::pair<std::string, bool> Head(file::Input& input, std::uint64_t lastEdit) {
  std::string head, buffer(kReadSize, '\0');
  for (;;) {
    const auto after = static_cast<std::ptrdiff_t>(std::min<std::uint64_t>(lastEdit, head.size()));
    if (std::count(head.begin() + after, head.end(), '\n') > static_cast<std::ptrdiff_t>(kContext)) return {head, false};
    const std::size_t got = input.Read(buffer.data(), buffer.size());
    if (got == 0) return {head, true};
    head.append(buffer.data(), got);
  }
}

}  // namespace

Mending Mend(const Scan& scan, bool dryRun, bool backup) {
  Mending mending;
  mending.mended.assign(scan.problems.size(), false);
  for (std::size_t first = 0; first < scan.problems.size();) {
    const std::string* file = scan.problems[first].file;
    std::size_t last = first;
    while (last < scan.problems.size() && scan.problems[last].file == file) ++last;
    std::vector<map::Edit> edits;
    for (std::size_t i = first; i < last; ++i) {
      const Problem& p = scan.problems[i];
      if (p.verdict->mendable) edits.push_back({p.begin, p.end, p.verdict->suggestions.front()});
    }
    const std::size_t from = first;
    first = last;
    if (edits.empty()) continue;
    try {
      file::Input input(*file);
      if (!(input.Stamped() == scan.stamps.at(file))) {
        throw file::FileError("changed since it was checked: it was left as it is; try again");
      }
      if (dryRun) {
        const auto [head, whole] = Head(input, edits.back().end);
        for (std::string& line : map::UnifiedDiff(Escaped(*file, 1000), head, whole, edits)) mending.diff.push_back(std::move(line));
      } else {
        input.RefuseUnwritable();
        file::Replacement replacement(input);
        WriteEdited(input, replacement, edits);
        const std::optional<std::string> kept = replacement.Commit(backup);
        mending.said.push_back("wrote " + Escaped(*file, 1000) + " (" + std::to_string(edits.size()) +
                               (edits.size() == 1 ? " name" : " names") + " mended)" +
                               (kept ? "; its old bytes are in " + Escaped(*kept, 1000) : ""));
      }
      for (std::size_t i = from; i < last; ++i) mending.mended[i] = scan.problems[i].verdict->mendable;
    } catch (const file::FileError& error) {
      mending.failed.push_back(Escaped(*file, 1000) + " " + error.what());
    }
  }
  return mending;
}

}  // namespace zorvin::cli
