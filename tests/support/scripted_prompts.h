#pragma once
// The base of tests that load or save user files: English messages, and scripted prompts in
// place of the console ones (every prompt recorded, default answers unless the test queues
// others), restored afterwards.

#include <gtest/gtest.h>

#include <memory>

#include "common/prompts.h"
#include "common/string_res.h"

namespace zephra::testing {

class ScriptedPromptsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    common::SetLanguage(common::kLanguageEnglish);
    prompts_ = std::make_shared<common::ScriptedPrompts>();
    old_ = common::SetPrompts(prompts_);
  }
  void TearDown() override { common::SetPrompts(old_); }

  common::ScriptedPrompts& Prompts() { return *prompts_; }
  const common::ScriptedPrompts& Prompts() const { return *prompts_; }
  void ClearPrompts() { prompts_->ClearRecords(); }

 private:
  std::shared_ptr<common::ScriptedPrompts> prompts_;
  std::shared_ptr<common::Prompts> old_;
};

}  // namespace zephra::testing
