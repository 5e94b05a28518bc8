#pragma once
// The windows that stay on top of the main window (the Analyzer, the price window, the
// calculator) and the one rule they share with the program's modal windows.
class QWidget;

namespace kavrix::platform {

// Keeps `window` above the program's other windows, except that a modal window (a message box,
// a file or print dialog) is never under it: while one is shown the window takes the normal
// layer, unless the modal window is its own (that one stays above it as its dialog). Once the
// last modal window has gone the window is back on top; a window hidden meanwhile stays hidden.
void KeepOnTop(QWidget* window);

}  // namespace kavrix::platform
