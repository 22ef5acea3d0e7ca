#include "cli/cli.h"

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include <algorithm>
#include <cstddef>
#include <optional>
#include <sstream>
#include <string_view>
#include <vector>

#include "effects/effects_catalog.h"
#include "settings/level_catalog.h"
#include "settings/settings_record.h"

namespace zorvin::cli {
namespace {

// Lines of a result; written out each ended by the chosen line end.
using Lines = std::vector<std::string>;

// Thrown by a command that finds nothing or is used wrongly: the message goes
// to standard error and nothing to standard output.
struct Stop {
  int status;
  std::string message;
};

bool IsUtf8(std::string_view text) {
  std::size_t at = 0;
  while (at < text.size()) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 0;
    char32_t code = 0;
    if (lead < 0x80) {
      ++at;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, code = lead & 0x07;
    } else {
      return false;
    }
    if (text.size() - at < length) return false;
    for (std::size_t i = 1; i < length; ++i) {
      const auto next = static_cast<unsigned char>(text[at + i]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not UTF-8.
    const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < least[length] || (code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF) return false;
    at += length;
  }
  return true;
}

char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
  return a.size() == b.size() &&
         std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) { return Lower(x) == Lower(y); });
}

bool ContainsIgnoringCase(std::string_view text, std::string_view part) {
  return std::search(text.begin(), text.end(), part.begin(), part.end(),
                     [](char x, char y) { return Lower(x) == Lower(y); }) != text.end();
}

std::size_t EditDistance(std::string_view a, std::string_view b) {
  std::vector<std::size_t> row(b.size() + 1);
  for (std::size_t j = 0; j <= b.size(); ++j) row[j] = j;
  for (std::size_t i = 1; i <= a.size(); ++i) {
    std::size_t diagonal = row[0];
    row[0] = i;
    for (std::size_t j = 1; j <= b.size(); ++j) {
      const std::size_t above = row[j];
      row[j] =
          std::min({row[j] + 1, row[j - 1] + 1, diagonal + (Lower(a[i - 1]) == Lower(b[j - 1]) ? 0 : 1)});
      diagonal = above;
    }
  }
  return row[b.size()];
}

// The text for a message: control characters and bytes past ASCII escaped,
// and a long text cut short.
std::string Shown(std::string_view text) {
  constexpr std::size_t kLongest = 60;
  std::string shown;
  for (std::size_t i = 0; i < text.size() && i < kLongest; ++i) {
    const auto c = static_cast<unsigned char>(text[i]);
    if (c >= 0x20 && c < 0x7F) {
      shown += static_cast<char>(c);
    } else {
      constexpr char kHex[] = "0123456789abcdef";
      shown += "\\x";
      shown += kHex[c >> 4];
      shown += kHex[c & 15];
    }
  }
  if (text.size() > kLongest) shown += "...";
  return "'" + shown + "'";
}

// "no level named 'x'", and the nearest names when some are close.
template <typename Names>
std::string NotFound(const std::string& what, std::string_view text, const Names& names) {
  std::string message = "no " + what + " named " + Shown(text);
  std::vector<std::pair<std::size_t, std::string_view>> near;
  constexpr std::size_t kLongestName = 64;
  if (!text.empty() && text.size() <= kLongestName) {
    const std::size_t reach = std::max<std::size_t>(2, text.size() / 4);
    for (std::string_view name : names) {
      if (name.empty()) continue;
      const std::size_t distance = EqualIgnoringCase(name, text) ? 0 : EditDistance(text, name);
      if (distance <= reach) near.emplace_back(distance, name);
    }
  }
  std::stable_sort(near.begin(), near.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  // A name that differs only in case is the one meant; otherwise the three nearest.
  const bool caseOnly = !near.empty() && near.front().first == 0;
  if (caseOnly || near.size() > 3) near.resize(caseOnly ? 1 : 3);
  for (std::size_t i = 0; i < near.size(); ++i) {
    message += i == 0 ? "; did you mean " : (i + 1 == near.size() ? " or " : ", ");
    message += "'" + std::string(near[i].second) + "'";
  }
  if (!near.empty()) message += "?";
  return message;
}

std::vector<std::string_view> LevelNames() {
  std::vector<std::string_view> names;
  for (const LevelEntry& entry : LevelCatalog()) names.push_back(entry.Key());
  return names;
}

// Splits a text at each separator (by default, the CR LF the program joins lines with).
Lines SplitLines(std::string_view text, std::string_view separator = kLineBreak) {
  Lines lines;
  for (;;) {
    const std::size_t end = text.find(separator);
    lines.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) return lines;
    text.remove_prefix(end + separator.size());
  }
}

std::string BlockOf(const LevelEntry& entry) {
  SettingsClass record;
  FillRecord(record, entry);
  return RenderBlock(record, entry.Layout());
}

Lines Level(const std::string& name) {
  const LevelEntry* entry = FindLevel(name);
  if (entry == nullptr) throw Stop{kNotFound, NotFound("level", name, LevelNames())};
  return SplitLines(BlockOf(*entry));
}

Lines Levels(bool asListed) {
  Lines lines;
  if (asListed) {
    for (std::string_view item : LevelListItems()) lines.emplace_back(item);
  } else {
    for (std::string_view name : LevelNames()) lines.emplace_back(name);
  }
  return lines;
}

Lines Effects(const std::optional<std::string>& name) {
  Lines lines;
  if (!name) {
    for (std::string_view category : EffectCategoryNames()) lines.emplace_back(category);
    return lines;
  }
  const std::optional<std::string> listing = FindEffectsListing(*name);
  if (!listing) throw Stop{kNotFound, NotFound("effects category", *name, EffectCategoryNames())};
  return SplitLines(*listing);
}

Lines Find(const std::string& text) {
  if (text.empty()) throw Stop{kBadUsage, "find: TEXT is empty"};
  Lines lines;
  for (std::string_view name : LevelNames()) {
    if (ContainsIgnoringCase(name, text)) lines.push_back("level\t" + std::string(name));
  }
  for (std::string_view name : EffectCategoryNames()) {
    if (ContainsIgnoringCase(name, text)) lines.push_back("category\t" + std::string(name));
  }
  for (const EffectCategory& category : EffectCatalog()) {
    for (std::string_view file : category.Files()) {
      if (ContainsIgnoringCase(file, text))
        lines.push_back("file\t" + std::string(file) + "\t" + std::string(category.Name()));
    }
  }
  if (lines.empty()) throw Stop{kNotFound, "no level, category or file name contains " + Shown(text)};
  return lines;
}

// Built by moving each part into place: nlohmann/json copies what an
// initializer list holds.
nlohmann::ordered_json ExportJson() {
  nlohmann::ordered_json all;
  all["version"] = ZORVIN_VERSION_TEXT;
  nlohmann::ordered_json& levels = all["levels"] = nlohmann::ordered_json::array();
  for (const LevelEntry& entry : LevelCatalog()) {
    SettingsClass record;
    FillRecord(record, entry);
    nlohmann::ordered_json level;
    level["name"] = entry.Key();
    nlohmann::ordered_json& fields = level["fields"] = nlohmann::ordered_json::object();
    for (const FieldRow& row : kFields) fields[std::string(row.name)] = record.*row.member;
    level["block"] = RenderBlock(record, entry.Layout());
    levels.push_back(std::move(level));
  }
  nlohmann::ordered_json& list = all["levelList"] = nlohmann::ordered_json::array();
  for (std::string_view item : LevelListItems()) list.push_back(item);
  nlohmann::ordered_json& effects = all["effects"] = nlohmann::ordered_json::array();
  for (const EffectCategory& category : EffectCatalog()) {
    nlohmann::ordered_json entry;
    entry["category"] = category.Name();
    nlohmann::ordered_json& files = entry["files"] = nlohmann::ordered_json::array();
    for (std::string_view file : category.Files()) files.push_back(file);
    effects.push_back(std::move(entry));
  }
  return all;
}

// A CSV field (RFC 4180): quoted when it holds a comma, a quote or a line break.
std::string CsvField(std::string_view text) {
  if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
  std::string quoted = "\"";
  for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
  return quoted + "\"";
}

std::string CsvRow(std::initializer_list<std::string_view> fields) {
  std::string row;
  for (std::string_view field : fields) row += (row.empty() ? "" : ",") + CsvField(field);
  return row;
}

Lines ExportCsv() {
  Lines lines{CsvRow({"kind", "name", "field", "value"})};
  for (const LevelEntry& entry : LevelCatalog()) {
    SettingsClass record;
    FillRecord(record, entry);
    for (const FieldRow& row : kFields)
      lines.push_back(CsvRow({"level", entry.Key(), row.name, record.*row.member}));
    lines.push_back(CsvRow({"level", entry.Key(), "block", RenderBlock(record, entry.Layout())}));
  }
  const auto items = LevelListItems();
  for (std::size_t i = 0; i < items.size(); ++i)
    lines.push_back(CsvRow({"level list", std::to_string(i + 1), "item", items[i]}));
  for (const EffectCategory& category : EffectCatalog()) {
    for (std::string_view file : category.Files())
      lines.push_back(CsvRow({"effects", category.Name(), "file", file}));
  }
  return lines;
}

// A Markdown table cell: one line, no cell border, no HTML of its own.
std::string Cell(std::string_view text) {
  std::string cell;
  for (char c : text) {
    if (c == '|') {
      cell += "\\|";
    } else if (c == '<') {
      cell += "&lt;";
    } else if (c == '&') {
      cell += "&amp;";
    } else {
      cell += c;
    }
  }
  return cell;
}

std::string CellOfLines(const Lines& lines) {
  std::string cell;
  for (const std::string& line : lines) cell += (cell.empty() ? "" : "<br>") + Cell(line);
  return cell;
}

Lines ExportMarkdown() {
  Lines lines{"## Worldspawn settings", "", "| level | settings block |", "| --- | --- |"};
  for (const LevelEntry& entry : LevelCatalog())
    lines.push_back("| " + Cell(entry.Key()) + " | " + CellOfLines(SplitLines(BlockOf(entry))) + " |");
  lines.insert(lines.end(), {"", "## Level list", "", "| # | item |", "| --- | --- |"});
  const auto items = LevelListItems();
  for (std::size_t i = 0; i < items.size(); ++i)
    lines.push_back("| " + std::to_string(i + 1) + " | " + Cell(items[i]) + " |");
  lines.insert(lines.end(), {"", "## Effects", "", "| category | files |", "| --- | --- |"});
  for (const EffectCategory& category : EffectCatalog()) {
    const Lines files(category.Files().begin(), category.Files().end());
    lines.push_back("| " + Cell(category.Name()) + " | " + CellOfLines(files) + " |");
  }
  return lines;
}

Lines Export(const std::string& format) {
  if (format == "csv") return ExportCsv();
  if (format == "markdown") return ExportMarkdown();
  // dump() ends lines with LF; the output's own line end is chosen on writing.
  return SplitLines(ExportJson().dump(2), "\n");
}

std::string Joined(const Lines& lines, LineEnd end) {
  const std::string_view eol = end == LineEnd::CrLf ? "\r\n" : "\n";
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += eol;
  }
  return text;
}

}  // namespace

Result Run(std::span<const std::string> args, LineEnd platformEnd) {
  Result result;
  for (std::size_t i = 0; i < args.size(); ++i) {
    if (!IsUtf8(args[i])) {
      result.status = kBadUsage;
      result.err = "zorvin: argument " + std::to_string(i + 1) + " is not valid UTF-8\n";
      return result;
    }
  }

  CLI::App app("The worldspawn settings and stock effects tables of ZorvinEffects, for scripts and wikis.",
               "zorvin");
  app.set_version_flag("--version", std::string("zorvin ") + ZORVIN_VERSION_TEXT);
  app.require_subcommand(1);
  app.fallthrough();
  bool lf = false;
  bool crlf = false;
  auto* lfFlag = app.add_flag("--lf", lf, "End lines with LF (the default on Linux)");
  app.add_flag("--crlf", crlf, "End lines with CR LF (the default on Windows)")->excludes(lfFlag);

  std::string levelName;
  auto* level = app.add_subcommand("level", "Print the settings block of a level");
  level->add_option("NAME", levelName, "The level's name, exactly")->required();
  bool listed = false;
  auto* levels = app.add_subcommand("levels", "Print every level name that level accepts");
  levels->add_flag("--list", listed, "Print the 42 items of the level drop-down instead");
  std::optional<std::string> category;
  auto* effects = app.add_subcommand("effects", "Print the effects categories, or one category's files");
  effects->add_option("CATEGORY", category, "The category's name, exactly");
  std::string text;
  auto* find = app.add_subcommand("find", "Print every name that contains TEXT, ignoring case");
  find->add_option("TEXT", text, "The text to look for")->required();
  std::string format;
  auto* exportAll = app.add_subcommand("export", "Print both tables whole");
  exportAll->add_option("--format", format, "json, csv or markdown")
      ->required()
      ->check(CLI::IsMember({"json", "csv", "markdown"}));

  std::vector<std::string> reversed(args.rbegin(), args.rend());
  std::ostringstream out;
  std::ostringstream err;
  try {
    app.parse(reversed);
  } catch (const CLI::ParseError& error) {
    result.status = app.exit(error, out, err) == 0 ? kFound : kBadUsage;
    // Help and version end their lines as every result does.
    for (char c : out.str())
      result.out += c == '\n' && platformEnd == LineEnd::CrLf ? "\r\n" : std::string(1, c);
    result.err = err.str();
    return result;
  }

  const LineEnd end = lf ? LineEnd::Lf : crlf ? LineEnd::CrLf : platformEnd;
  try {
    Lines lines;
    if (*level) {
      lines = Level(levelName);
    } else if (*levels) {
      lines = Levels(listed);
    } else if (*effects) {
      lines = Effects(category);
    } else if (*find) {
      lines = Find(text);
    } else {
      lines = Export(format);
    }
    result.out = Joined(lines, end);
  } catch (const Stop& stop) {
    result.status = stop.status;
    result.err = "zorvin: " + stop.message + "\n";
  }
  return result;
}

}  // namespace zorvin::cli
