#pragma once
// The drawing as it is committed. The canvas keeps uncommitted state in the object table: an
// armed component sits in the free row CurObject (which ends the table) and follows the pointer,
// and a picked-up object moves with the pointer in its own row. Whatever reads the drawing as
// the user placed it (the run and the level commands, saving, the estimate, print and picture
// export) opens a CommittedDrawing first.
#include <array>
#include <cstdint>
#include <string>

#include "model/network_model.hpp"

namespace kavrix {

// Row of the object the canvas holds picked up (it moves with the pointer), or -1.
int HeldObjectRow();
// Puts the held object at `row` back where it was picked up: position, and for a line its
// direction, bends and route style.
void PutAtPickUpPlace(int row);

// An armed comment writes its placeholder into a text slot over what the slot held (a new network's
// first slots hold start texts). The slot's earlier text is kept: the committed drawing reads it,
// and an arm given up puts it back, so arming leaves no trace in what is saved.
void LendCommentSlot(int slot, const std::string& placeholder);
void GiveBackCommentSlot(int slot);

// While alive, the drawing reads as committed and nothing as being placed: an armed, unplaced
// component is not in the table (its row reads as the free row ending it), the source slot it took
// counts as free and the comment text slot it took holds what it held before;
// an object held picked up stands where it was picked up and the table ends after the last
// committed row. Only the values it changed are put back afterwards, and only where nothing
// else wrote them meanwhile. Nested scopes find the drawing committed already and change nothing.
class CommittedDrawing {
 public:
  CommittedDrawing();
  ~CommittedDrawing();
  CommittedDrawing(const CommittedDrawing&) = delete;
  CommittedDrawing& operator=(const CommittedDrawing&) = delete;

 private:
  struct Change {
    int row = 0;
    int field = 0;
    int32_t shown = 0;      // what the canvas had there
    int32_t committed = 0;  // what the scope put there
  };
  void set(int row, int field, int32_t value);

  std::array<Change, 2 * kObjFields> m_changes{};
  int m_changeCount = 0;
  bool* m_slot = nullptr;  // source slot of the armed component, counted free meanwhile
  std::string* m_text = nullptr;  // text slot of the armed comment, showing its earlier text
  std::string m_shownText;
  int32_t m_curObject = 0;
  uint8_t m_pendingKind = 0;
  bool m_movedEnd = false;
};

}  // namespace kavrix
