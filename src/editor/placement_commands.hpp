#pragma once
// Arming a placement: a palette button or Draw menu item writes a kind with its defaults into the
// free row CurObject (and its continuation rows), composes the row's symbol and leaves the kind in
// PendingKind; the canvas then moves that row with the pointer and its click commits it. Sources
// and comments also take a source slot or a comment text index at arming time. These functions
// work on the model only; the window handlers show the returned message and the line hint.
#include <cstdint>
#include <string>

#include "model/network_model.hpp"

namespace kavrix {

inline constexpr const char* kLnbLimitMessage =
    "This application supports networks with no more than four LNB components!";
inline constexpr const char* kAntennaLimitMessage = "The number of antenna components must be up to 4";
inline constexpr const char* kCommentLimitMessage =
    "No more comments can be added: a drawing holds at most 101 comment texts.";
inline constexpr const char* kNewCommentText = "Double click and enter a text";

enum class ArmStatus {
  kArmed,
  kNavigation,      // the canvas shows the navigation overview: nothing happens
  kNoCommand,       // the kind has no placement command
  kNoLnbSlot,       // four LNBs already
  kNoAntennaSlot,   // four antennas already
  kNoCommentSlot,   // every comment text slot handed out
};

struct ArmResult {
  ArmStatus status = ArmStatus::kArmed;
  std::string caption;  // message box caption; empty: a plain message window
  std::string message;  // empty when there is nothing to show
  bool showLineHint = false;  // trunk lines: the canvas shows its "Shift" hint
  bool armed() const { return status == ArmStatus::kArmed; }
};

// Arms `kind` while the canvas is in mode `canvasTag` (its Tag). On success the row CurObject
// holds the kind and its defaults, the rows behind it its continuation rows and then a zero row;
// Form1Tag, PanelOpen and (except for TV sockets) AutoScrollDY are 0. A picked-up object is put
// back where it was first. An earlier arm that was never placed gives back its source slot or
// comment index. A refusal changes nothing.
ArmResult ArmPlacement(int kind, int32_t canvasTag);

// Ends an armed placement without placing it: the slot or comment index it took is given back,
// its rows are cleared and PendingKind is 0. A picked-up object is put back where it was.
void CancelPlacement();

}  // namespace kavrix
