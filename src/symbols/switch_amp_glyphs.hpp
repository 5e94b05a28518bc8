#pragma once
// Type symbols of the obsolete switch, splitter and amplifier families (and the 9-cable splitters):
// 37 slots of TypeGlyphs that exist only while obsolete components are enabled. They reuse the
// supply bars of slots 0 to 2, so CreateDeviceGlyphs must have run first.
#include <vector>

namespace kavrix {

// True while the set is built; the project reader and the project options set it together with
// building or releasing the set.
extern bool IncludeObsolete;

// Draws the 37 symbols in their fixed order, each replacing what its slot held.
void CreateSwitchAmpGlyphs();

// Empties 34 of the 37 slots; slots 5, 6 and 13 stay built. Slots of other families are untouched.
void ReleaseSwitchAmpGlyphs();

// The 37 slots in drawing order, and the three that a release keeps.
const std::vector<int>& SwitchAmpGlyphSlots();
bool KeptOnRelease(int slot);

}  // namespace kavrix
