#pragma once
// A new network with every type symbol built and ObjGlyphs following NetObjects, for tests that
// compose object symbols and labels.
#include <gtest/gtest.h>

#include "support/model_guard.hpp"
#include "support/project_guard.hpp"
#include "symbols/glyph_store.hpp"
#include "symbols/object_glyphs.hpp"
#include "symbols/switch_amp_glyphs.hpp"
#include "symbols/type_glyphs.hpp"

namespace kavrix::test {

class GlyphTest : public ::testing::Test {
 protected:
  FreshProject project;  // "Show designators" off, as at start-up
  static void SetUpTestSuite() {
    CreateDeviceGlyphs();
    CreateSwitchAmpGlyphs();
  }
  void SetUp() override {
    InstallGlyphHooks();
    NewNetworkModel();
  }
  void TearDown() override {
    if (TypeGlyphAt(10).empty()) CreateSwitchAmpGlyphs();
    RemoveObjectGlyphHooks();
    NewNetworkModel();
    RemoveGlyphHooks();
  }

  // A placed object with its settings rows (each given from field 1 on, field 0 = -1).
  static int Place(int kind, int inst, int orient, int style = 0,
                   std::initializer_list<std::array<int, 5>> settings = {}) {
    const int row = AddObject(kind, 400, 300, inst, orient, style);
    for (const auto& s : settings) AddContinuation(s[0], s[1], s[2], s[3], s[4]);
    return row;
  }
};

}  // namespace kavrix::test
