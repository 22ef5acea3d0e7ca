// zorvin export: both tables whole, in each format a reader may want. Each
// writer gives lines; the line end is chosen when they are written out.
#pragma once

#include <span>
#include <string>
#include <string_view>

#include "cli/outcome.h"

namespace zorvin::cli {

struct ExportFormat {
  std::string_view name;  // as --format takes it
  Lines (*write)();
};

// The formats, in the order --help names them.
std::span<const ExportFormat> ExportFormats();

// The format named name, or nullptr.
const ExportFormat* FindExportFormat(std::string_view name);

// {"version", "levels": [{"name", "fields", "block"}...], "levelList", "effects": [{"category", "files"}...]}
Lines ExportJson();

// kind,name,field,value: 20 field rows and a block row per level, the level
// list's items, then every category's files.
Lines ExportCsv();
// One CSV field (RFC 4180): quoted, its quotes doubled, when it holds a comma,
// a quote or a line break.
std::string CsvField(std::string_view text);

// Three tables: the levels with their blocks, the level list, the categories
// with their files; a cell's lines joined by <br>.
Lines ExportMarkdown();
// One Markdown table cell: '|' escaped so it ends no cell, '<' and '&' as
// entities so no text turns into HTML.
std::string MarkdownCell(std::string_view text);

}  // namespace zorvin::cli
