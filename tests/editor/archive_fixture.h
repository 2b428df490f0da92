#pragma once
// Set-up of the archive tests: English messages, scripted prompts, a temporary folder.

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>

#include "archive_bytes.h"
#include "common/automation_error.h"
#include "common/prompts.h"
#include "common/string_res.h"
#include "support/scripted_prompts.h"
#include "support/temp_home.h"

namespace zephra::testing {

class ArchiveTest : public ScriptedPromptsTest {
 protected:
  // Every entry below the folder with its contents ("name/" for folders), hidden files too.
  std::set<std::string> Tree() const {
    std::set<std::string> out;
    for (const auto& e : std::filesystem::recursive_directory_iterator(dir_.Path())) {
      const std::string rel = std::filesystem::relative(e.path(), dir_.Path()).string();
      out.insert(e.is_directory() ? rel + "/" : rel + "=" + ReadAll(e.path().string()));
    }
    return out;
  }

  TempDir dir_;
};

// Runs f and returns the error it raised; a test failure when it raised none.
template <typename F>
common::AutomationError ErrorOf(F&& f) {
  try {
    f();
  } catch (const common::AutomationError& e) {
    return e;
  }
  ADD_FAILURE() << "no error raised";
  return common::AutomationError(0, "", "");
}

}  // namespace zephra::testing
