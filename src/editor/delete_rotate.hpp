#pragma once
// Deleting and turning the objects of the drawing. The row functions work on the model alone
// (object rows, their symbols, the source tables, the undo ring) and record their undo entries
// under the current EditSerial; the caller advances it once per command. `DeleteComponent` adds
// the question a source asks before its plan is dropped, through the platform seams.
#include <string>
#include <vector>

#include "editor/canvas_state.hpp"
#include "model/source_file.hpp"
#include "platform/platform.hpp"

namespace kavrix {

inline constexpr const char* kConfirmDeleteCaption = "Confirm Delete";
inline constexpr const char* kConfirmDeleteText = "Do you wish to delete the component?";
inline constexpr const char* kSaveTerrPlanQuestion = "Do you want to save Terr TV antenna parameters?";
// "Do you want to save LNB " + "A".."D" + " parameters?"
std::string SaveLnbPlanQuestion(int slot);

// `row` is the main row of an object of the drawing (not an armed one, not a settings row).
bool IsCommittedObject(int row);

// The plan of the slot of the LNB or antenna in `row`, as its plan file holds it: an LNB's eight
// carrier columns in rows 1..31, an antenna's frequencies and levels in rows 1..100.
SourceGrid SourcePlanOfSlot(int row);

// Gives up the slot of the LNB or antenna in `row`: its header and plan are recorded for undo,
// then the slot is marked free and its plan (an antenna's header too) cleared.
void ReleaseSourceSlot(int row);

// Row numbers kept outside the table (the row an open editor works on) that must stay with their
// object while rows are removed: behind the removed rows they move up with it, on them they
// become -1.
using RowFollowers = std::vector<int*>;

// Removes the committed object in `row`: every one of its rows is recorded for undo (the last
// first, so that undo puts the main row back first), the rows and symbols behind it move up and
// the row counters shrink by the object's size.
void RemoveObjectRows(int row, const RowFollowers& followers = {});

// Deletes the committed object whose main row is SelObject. A source first offers to save its
// plan through `saveDialog`. Returns false, changing nothing, when SelObject is no committed
// object or the plan the user asked for could not be written (the error has been shown).
bool DeleteComponent(platform::FileDialogRequest& saveDialog, const RowFollowers& followers = {});

// Deletes every committed object whose anchor lies strictly inside `rect`, object by object.
// Returns how many were deleted.
int DeleteObjectsInside(const SelectionRect& rect, platform::FileDialogRequest& saveDialog,
                        const RowFollowers& followers = {});

// Turns the object in `row` a quarter: +1 on, -1 back, keeping Orient within 1..4, and rebuilds
// its symbol. A TV socket's new Orient becomes the one the next socket gets. No undo entry.
void TurnObject(int row, int quarterTurns);

}  // namespace kavrix
