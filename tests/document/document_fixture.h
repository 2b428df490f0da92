#pragma once
// Shared set-up of the document tests: English messages, scripted prompts, and shows made from
// text in memory.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/prompts.h"
#include "common/string_res.h"
#include "document/slide_show.h"
#include "support/scripted_prompts.h"

namespace zephra::testing {

class DocumentTest : public ScriptedPromptsTest {
 protected:
  // Loads text or binary bytes into a fresh show with the monitor's message numbers.
  std::unique_ptr<document::SlideShow> Load(const std::string& bytes,
                                            const document::MessageProfile& profile = document::kMonitorMessages) {
    auto show = std::make_unique<document::SlideShow>(profile);
    show->LoadFromMemory(bytes);
    return show;
  }
};

// Lines joined with CR LF, each line ending in CR LF.
inline std::string Crlf(std::initializer_list<const char*> lines) {
  std::string out;
  for (const char* l : lines) {
    out += l;
    out += "\r\n";
  }
  return out;
}

}  // namespace zephra::testing
