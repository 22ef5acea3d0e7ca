#include "cli/export.h"

#include "web/page.h"

namespace zorvin::cli {
namespace {

constexpr ExportFormat kFormats[] = {
    {"json", ExportJson},
    {"csv", ExportCsv},
    {"markdown", ExportMarkdown},
    {"html", web::PageLines},  // the page, src/web/
};

}  // namespace

std::span<const ExportFormat> ExportFormats() { return kFormats; }

const ExportFormat* FindExportFormat(std::string_view name) {
  for (const ExportFormat& format : kFormats) {
    if (format.name == name) return &format;
  }
  return nullptr;
}

}  // namespace zorvin::cli
