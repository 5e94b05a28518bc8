#pragma once
// The main window's Undo command (Edit menu "Undo" and the toolbar button): reverts the newest
// action through the undo ring and brings the windows back to editing state.
class QWidget;

namespace kavrix {

// Shows the busy cursor while it works, shows the ring's message if any, and after a revert puts
// the main window back into editing state (Form1Tag 0) and repaints `canvas` (may be null).
// Returns whether anything was undone.
bool Undo1Click(QWidget* canvas);

// Enabled state of the Edit menu's Undo item, read when the menu opens.
bool Undo1Enabled();

}  // namespace kavrix
