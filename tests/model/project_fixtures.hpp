#pragma once
// Sample projects built through the model, one per family of kinds plus one with every source
// kind; tests/data holds the files the program writes for them.
#include <functional>
#include <string>
#include <vector>

namespace kavrix::test {

struct FixtureProject {
  std::string file;             // name under tests/data
  std::function<void()> build;  // fills a new project
};

const std::vector<FixtureProject>& FixtureProjects();

}  // namespace kavrix::test
