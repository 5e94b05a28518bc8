#include "catalogue/port_templates.hpp"

#include "catalogue/port_template_build.hpp"

namespace kavrix {
namespace {
constexpr tmpl::Table kBuilt = tmpl::Build();
static_assert(kBuilt.fits, "port-template blocks overlap or overflow the table");
static_assert(tmpl::kTemplateRows == kTemplateRowCount);
}  // namespace

const std::array<TemplateRow, kTemplateRowCount> PortTemplates = kBuilt.rows;

int TemplateTerminalShift(int kind) {
  if (kind < 0 || kind >= static_cast<int>(kBuilt.shift.size())) return 0;
  return kBuilt.shift[kind];
}

}  // namespace kavrix
