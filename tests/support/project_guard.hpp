#pragma once
// Puts the project-wide settings that live outside the network model (option controls, print
// scale, canvas colour, cable tables, limits, estimation rows, comment texts, hooks) back to
// their start-up values around a test, together with a new network.
#include "model/network_model.hpp"

namespace kavrix::test {

void ResetProjectState();

class FreshProject {
 public:
  FreshProject() { ResetProjectState(); }
  ~FreshProject() {
    Hooks() = m_savedHooks;
    ResetProjectState();
  }
  FreshProject(const FreshProject&) = delete;
  FreshProject& operator=(const FreshProject&) = delete;

 private:
  ModelHooks m_savedHooks = Hooks();
};

}  // namespace kavrix::test
