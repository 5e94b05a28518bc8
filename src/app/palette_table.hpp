#pragma once
// What the main window's palette and Draw menu hold: every tool button with its role, the kind it
// arms, the button that folds it and its hint or caption, in bar order; the Draw menu tree; and the
// name of the command behind each kind. Plain data, read by the palette widget, the menu builder
// and the consistency tests. Texts are the stored ones, spelling included.
#include <span>
#include <vector>

namespace kavrix::palette {

enum class Role {
  kPlacement,  // always on the bar, arms a kind
  kCategory,   // text button that unfolds devices or group buttons; open state in its Tag
  kGroup,      // check button that unfolds devices while down
  kDevice,     // arms a kind; shown by its category or group
};

enum class Show {
  kAlways,      // visible from start-up
  kWithParent,  // shown when its category or group opens, hidden when it closes
  kNever,       // starts hidden; the palette's own folding only ever hides it
};

struct ButtonDef {
  int id;           // ToolButton<id>
  Role role;
  int kind;         // kind armed (placement and device buttons), else 0
  int parent;       // category or group button that folds it, 0 for none
  Show show;
  const char* text; // caption of a category button, hint of every other button
};

// Every button in bar order: a category is followed by what it unfolds, a group by its devices.
std::span<const ButtonDef> PaletteButtons();
const ButtonDef* FindPaletteButton(int id);

// Buttons of the obsolete families whose visibility the "Include obsolete components" option
// sets, each list under the category or group button that must be down for it.
struct ObsoleteFamily {
  int parent;
  std::vector<int> buttons;
};
const std::vector<ObsoleteFamily>& ObsoleteFamilies();
// Buttons released (put up and clicked) when that option changes, in this order.
const std::vector<int>& ObsoleteReleaseOrder();

// One Draw menu entry: a submenu (items not empty) or an item arming `kind`. A device item is
// captioned with its model name unless `caption` is given. An item whose kind has no placement
// command is shown but runs nothing.
struct DrawEntry {
  const char* caption;
  int kind;
  bool obsolete;  // shown only while obsolete components are included
  std::vector<DrawEntry> items;
};
const std::vector<DrawEntry>& DrawMenuEntries();

// Name of the command control whose Click arms `kind` ("TerrTV1" for 92), empty when none.
const char* PlacementCommandName(int kind);

}  // namespace kavrix::palette
