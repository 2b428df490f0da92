#pragma once
// Shared set-up of the document tests: English messages, scripted prompts, and shows made from
// text in memory.

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "common/prompts.h"
#include "common/string_res.h"
#include "document/slide_show.h"

namespace zephra::testing {

class DocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    common::SetLanguage(common::kLanguageEnglish);
    prompts_ = std::make_shared<common::ScriptedPrompts>();
    old_ = common::SetPrompts(prompts_);
  }
  void TearDown() override { common::SetPrompts(old_); }

  // Loads text or binary bytes into a fresh show with the monitor's message numbers.
  std::unique_ptr<document::SlideShow> Load(const std::string& bytes,
                                            const document::MessageProfile& profile = document::kMonitorMessages) {
    auto show = std::make_unique<document::SlideShow>(profile);
    show->LoadFromMemory(bytes);
    return show;
  }

  const common::ScriptedPrompts& Prompts() const { return *prompts_; }
  void ClearPrompts() { prompts_->ClearRecords(); }

 private:
  std::shared_ptr<common::ScriptedPrompts> prompts_;
  std::shared_ptr<common::Prompts> old_;
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
