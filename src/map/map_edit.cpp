#include "map/map_edit.h"

#include <algorithm>

namespace zorvin::map {
namespace {

std::string_view Part(std::string_view head, std::uint64_t begin, std::uint64_t end) {
  return head.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin));
}

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\r'; }

// Whether what follows a value on its line is only blanks and a comment.
bool RestIsBlank(std::string_view rest) {
  const std::size_t text = rest.find_first_not_of(" \t\v\f\r");
  return text == std::string_view::npos || rest.substr(text).starts_with("//");
}

// The line end of the line that ends at lf (CR LF or LF), else the file's
// first, else LF.
std::string LineEndAt(std::string_view head, std::size_t lf) {
  if (lf == std::string_view::npos) lf = head.find('\n');
  if (lf == std::string_view::npos) return "\n";
  return lf > 0 && head[lf - 1] == '\r' ? "\r\n" : "\n";
}

// Where the new key lines go, and their text: after the last key line, each
// on a line of its own, indented as it is. A file with no LF whose lines end
// in CR alone gets CR.
Edit Insertion(std::string_view head, const KeyLine& last, const std::vector<const Setting*>& added) {
  const std::size_t after = static_cast<std::size_t>(last.valueEnd) + 1;  // past the value's closing quote
  const bool crAlone = head.find('\n') == std::string_view::npos && head.find('\r') != std::string_view::npos;
  const std::size_t lf = head.find(crAlone ? '\r' : '\n', after);
  const bool ownLine = lf != std::string_view::npos && RestIsBlank(head.substr(after, lf - after));
  const std::string lineEnd = crAlone ? "\r" : LineEndAt(head, ownLine ? lf : head.find('\n', after));
  std::string_view indent = Part(head, last.lineBegin, last.keyBegin - 1);
  if (!std::all_of(indent.begin(), indent.end(), IsBlank)) indent = {};
  std::string text;
  for (const Setting* setting : added) {
    const std::string line = std::string(indent) + "\"" + setting->key + "\" \"" + setting->value + "\"";
    text += ownLine ? line + lineEnd : lineEnd + line;
  }
  if (ownLine) return {lf + 1, lf + 1, text};
  // Something follows the last value on its line (the entity's '}'): it
  // starts a line of its own after the new ones.
  return {after, after, text + lineEnd};
}

}  // namespace

Plan PlanSettings(const Reader& reader, std::string_view head, const std::vector<Setting>& settings) {
  Plan plan;
  std::vector<const Setting*> added;
  const std::vector<KeyLine>& lines = reader.WorldspawnKeys();
  for (const Setting& setting : settings) {
    const KeyLine* first = nullptr;
    const KeyLine* changed = nullptr;  // the first that holds another value
    for (const KeyLine& line : lines) {
      if (!SameIgnoringCase(Part(head, line.keyBegin, line.keyEnd), setting.key)) continue;
      if (first == nullptr) first = &line;
      if (Part(head, line.valueBegin, line.valueEnd) != setting.value) {
        plan.edits.push_back({line.valueBegin, line.valueEnd, setting.value});
        if (changed == nullptr) changed = &line;
      }
    }
    if (first == nullptr) {
      added.push_back(&setting);
      plan.keys.push_back({setting.key, setting.value, Done::added, ""});
    } else {
      const KeyLine& shown = changed != nullptr ? *changed : *first;
      plan.keys.push_back({std::string(Part(head, shown.keyBegin, shown.keyEnd)), setting.value,
                           changed != nullptr ? Done::set : Done::same,
                           std::string(Part(head, shown.valueBegin, shown.valueEnd))});
    }
  }
  // A worldspawn always has a key line: its classname.
  if (!added.empty() && !lines.empty()) plan.edits.push_back(Insertion(head, lines.back(), added));
  std::sort(plan.edits.begin(), plan.edits.end(), [](const Edit& a, const Edit& b) { return a.begin < b.begin; });
  return plan;
}

std::string Edited(std::string_view bytes, std::uint64_t at, const std::vector<Edit>& edits) {
  std::string edited;
  edited.reserve(bytes.size());
  std::uint64_t cursor = at;
  const std::uint64_t end = at + bytes.size();
  for (const Edit& edit : edits) {
    if (edit.begin < cursor || edit.end > end) continue;  // not in these bytes
    edited += Part(bytes, cursor - at, edit.begin - at);
    edited += edit.text;
    cursor = edit.end;
  }
  edited += Part(bytes, cursor - at, end - at);
  return edited;
}

namespace {

struct Line {
  std::size_t begin, end;  // end: past its LF, if it has one
  bool lf;
};

// "a,b" of a hunk's header, as diff writes it ("a" alone for one line).
std::string Range(std::size_t start, std::size_t count) {
  return count == 1 ? std::to_string(start) : std::to_string(start) + "," + std::to_string(count);
}

std::vector<std::string> SplitAtLf(std::string_view text) {
  std::vector<std::string> lines;
  for (std::size_t at = 0; at < text.size();) {
    const std::size_t lf = text.find('\n', at);
    lines.emplace_back(text.substr(at, lf == std::string_view::npos ? std::string_view::npos : lf - at));
    at = lf == std::string_view::npos ? text.size() : lf + 1;
  }
  return lines;
}

}  // namespace

std::vector<std::string> UnifiedDiff(std::string_view name, std::string_view head, bool wholeFile,
                                     const std::vector<Edit>& edits) {
  std::vector<Line> lines;
  for (std::size_t at = 0; at < head.size();) {
    const std::size_t lf = head.find('\n', at);
    if (lf == std::string_view::npos) {
      if (wholeFile) lines.push_back({at, head.size(), false});
      break;
    }
    lines.push_back({at, lf + 1, true});
    at = lf + 1;
  }
  // Each line's edits: those that start inside it; an insertion at its very
  // end (the start of the next line) adds lines after it.
  std::vector<std::vector<Edit>> lineEdits(lines.size());
  std::vector<std::string> after(lines.size());
  for (const Edit& edit : edits) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
      if (edit.begin == edit.end && edit.begin == lines[i].end && lines[i].lf) {
        after[i] += edit.text;
        break;
      }
      if (edit.begin >= lines[i].begin && edit.begin < lines[i].end) {
        lineEdits[i].push_back(edit);
        break;
      }
    }
  }
  const auto text = [&](std::size_t i) {
    std::string_view line = Part(head, lines[i].begin, lines[i].end);
    if (lines[i].lf) line.remove_suffix(1);
    return std::string(line);
  };
  const auto changed = [&](std::size_t i) { return !lineEdits[i].empty() || !after[i].empty(); };

  std::vector<std::string> diff = {"--- " + std::string(name), "+++ " + std::string(name)};
  constexpr std::size_t kContext = 3;
  constexpr std::string_view kNoLf = "\\ No newline at end of file";
  std::size_t added = 0;  // lines the hunks before this one add
  for (std::size_t i = 0; i < lines.size();) {
    if (!changed(i)) {
      ++i;
      continue;
    }
    // A hunk: from three lines before this change to three after the last
    // change that lies within six lines of the one before it.
    const std::size_t start = i >= kContext ? i - kContext : 0;
    std::size_t last = i;
    for (std::size_t j = i; j < lines.size() && j <= last + 2 * kContext; ++j) {
      if (changed(j)) last = j;
    }
    const std::size_t end = std::min(lines.size(), last + kContext + 1);
    std::vector<std::string> body;
    std::size_t newCount = 0;
    for (std::size_t j = start; j < end; ++j) {
      if (lineEdits[j].empty()) {
        body.push_back(" " + text(j));
        if (!lines[j].lf) body.emplace_back(kNoLf);
        ++newCount;
      } else {
        body.push_back("-" + text(j));
        if (!lines[j].lf) body.emplace_back(kNoLf);
        const std::string edited = Edited(Part(head, lines[j].begin, lines[j].end), lines[j].begin, lineEdits[j]);
        for (const std::string& line : SplitAtLf(edited)) body.push_back("+" + line), ++newCount;
        if (!lines[j].lf) body.emplace_back(kNoLf);
      }
      for (const std::string& line : SplitAtLf(after[j])) body.push_back("+" + line), ++newCount;
    }
    diff.push_back("@@ -" + Range(start + 1, end - start) + " +" + Range(start + 1 + added, newCount) + " @@");
    diff.insert(diff.end(), body.begin(), body.end());
    added += newCount - (end - start);
    i = end;
  }
  return diff;
}

}  // namespace zorvin::map
