// Temporary no-op bodies of canvas handlers whose commands are still being built. Each group goes
// when its real definition lands.
#include "editor/canvas_window.hpp"

namespace kavrix {

// property panels
void TForm5::FormDblClick(QObject*) {}
void TForm5::UpDown1Exit() {}
void TForm5::ComboBox1Exit() {}
void TForm5::Button5Click() {}
void TForm5::Button15Click() {}
void TForm5::Button2Click() {}

}  // namespace kavrix
