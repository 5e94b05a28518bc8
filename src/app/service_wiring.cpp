// Connects the model's hooks and the windows' service table to the symbol layer and the other
// windows, once, before the first window is created.
#include "app/forms.hpp"
#include "editor/canvas_window.hpp"
#include "model/drawing_extent.hpp"
#include "model/network_model.hpp"
#include "simulation/window/analyzer_window.hpp"
#include "symbols/glyph_store.hpp"
#include "symbols/object_glyphs.hpp"
#include "symbols/switch_amp_glyphs.hpp"
#include "symbols/type_glyphs.hpp"
#include "symbols/value_labels.hpp"

namespace kavrix {

void InstallApplicationServices() {
  InstallGlyphHooks();
  InstallObjectGlyphHooks();
  ModelHooks& h = Hooks();
  h.makeObjectGlyph = [](int row) { StoreObjGlyph(row, MakeObjectGlyph(row)); };
  h.drawObjectLabels = [](int row) { DrawObjectLabels(row); };
  h.calcDrawingExtent = [] { CalcDrawingExtent(); };
  h.createSwitchAmpGlyphs = [] { CreateSwitchAmpGlyphs(); };
  h.selectTvStandard = [](int item) {
    if (Form5) Form5->SelectTvStandard(item);
  };
  h.releaseSwitchAmpGlyphs = [] { ReleaseSwitchAmpGlyphs(); };
  h.levelDisplayEnded = [] {
    if (!Form5 || !Form5->Timer2) return;
    Form5->Timer2->stop();
    Form5->update();
  };
  WindowHooks& w = Windows();
  w.createDeviceGlyphs = [] { CreateDeviceGlyphs(); };
  w.clearAnalyzerCharts = [] {
    if (!Form4) return;
    for (AnalyzerChart* c : {Form4->Chart1, Form4->Chart2})
      for (int i = 0; c && i < c->seriesCount(); ++i) c->clearSeries(i);
    if (Form4->Chart1) Form4->Chart1->Tag = 0;
  };
  w.clearAnalyzerSeries0 = [] {
    if (Form4 && Form4->Chart1) Form4->Chart1->clearSeries(0);
  };
}

}  // namespace kavrix
