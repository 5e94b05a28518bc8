#include "catalogue/knob_table.hpp"

#include "catalogue/knob_table_build.hpp"

namespace kavrix {
namespace {
constexpr knobs::Table kBuilt = knobs::Build();
static_assert(kBuilt.fits, "knob runs overflow the table");
static_assert(knobs::kKnobRecords == kKnobRecordCount);
}  // namespace

const std::array<KnobRecord, kKnobRecordCount> KnobTable = kBuilt.rec;

}  // namespace kavrix
