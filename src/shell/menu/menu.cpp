#include "menu.h"

#include <algorithm>

#include "common/automation_error.h"
#include "common/default_settings.h"
#include "common/paths.h"
#include "common/prompts.h"
#include "common/string_res.h"
#include "common/text.h"
#include "document/block_parser.h"

namespace zephra::shell {

using common::AutomationError;
using common::Variant;
using document::BlockParser;

namespace {

constexpr const char* kCrLf = "\r\n";

// A value cannot hold a line break in the block format: one written there would split the line
// and make the file unreadable, so breaks are written as blanks.
std::string LineSafe(std::string_view text) {
  std::string out(text);
  for (char& c : out) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return out;
}

void AppendKey(std::string& out, int indent, const char* key, std::string_view value) {
  out.append(static_cast<size_t>(indent), '\t');
  out += key;
  out += '=';
  out += LineSafe(value);
  out += kCrLf;
}

MenuMessages MessagesOf(const MenuNode& node) {
  const Menu* root = node.Root();
  return root ? root->Messages() : MenuMessagesFor(common::CurrentProgram());
}

[[noreturn]] void RaiseWrongBlock(const MenuMessages& messages, const BlockParser& parser) {
  throw AutomationError(kMenuLoadError, "MenuLoad",
                        common::FormatMessage(messages.wrongBlock,
                                              {Variant(parser.CurrentLine()), Variant(parser.BlockType())}));
}

}  // namespace

MenuMessages MenuMessagesFor(common::ProgramKind program) {
  return program == common::ProgramKind::Manager ? kManagerMenuMessages : kShellMenuMessages;
}

// ---- MenuNode ----

MenuNode::MenuNode() : subMenus_(std::make_unique<MenuItemCollection>(*this)) {}

MenuNode::~MenuNode() = default;

std::string MenuNode::NextID() { return id_ + "." + std::to_string(nextNumber_++); }

MenuNode* MenuNode::Find(std::string_view id) {
  if (id_ == id) return this;
  for (int32_t i = 1; i <= subMenus_->Count(); ++i) {
    if (MenuNode* found = subMenus_->Item(i).Find(id)) return found;
  }
  return nullptr;
}

// ---- Menu ----

Menu::Menu(common::ProgramKind program) : program_(program), messages_(MenuMessagesFor(program)) {
  id_ = "R";
  caption_ = "Main Menu";
}

Menu::~Menu() = default;

bool Menu::Initialize(std::string rootDirectory) {
  rootDirectory_ = std::move(rootDirectory);
  return true;
}

void Menu::LoadFromFile(const std::string& path) {
  std::string file = path;
  if (!common::FileExists(file)) {
    auto resolved = common::ResolvePathNoCase(path);
    if (!resolved) {
      common::CurrentPrompts().ShowMessage(common::FormatMessage(messages_.missingFile, {Variant(path)}), 0,
                                           common::ProgramTitle(program_));
      return;
    }
    file = *resolved;
  }
  BlockParser parser(messages_.syntaxError);
  parser.OpenFile(file);
  if (parser.GetToken() != BlockParser::TokenStartBlock || parser.BlockType() != kMenuTypeMenu) {
    throw AutomationError(kMenuLoadError, "MenuLoad", common::FormatMessage(messages_.notMenuFile, {Variant(path)}));
  }
  bool reading = true;
  while (reading) {
    switch (parser.GetToken()) {
      case BlockParser::TokenKeyValue:
        if (parser.Key() == "CAPTION") {
          caption_ = parser.Value();
        } else if (parser.Key() == "GRAPHIC") {
          graphic_ = parser.Value();
        }
        break;
      case BlockParser::TokenStartBlock:
        if (parser.BlockType() != "SUBMENU") RaiseWrongBlock(messages_, parser);
        subMenus_->AddItemFromFile(parser);
        break;
      default:  // the root's END, or the end of a file that lacks it
        reading = false;
        break;
    }
  }
  if (parser.GetToken() != BlockParser::TokenEndFile) {
    throw AutomationError(kMenuLoadError, "Menu",
                          common::FormatMessage(messages_.trailingText, {Variant(parser.CurrentLine())}));
  }
}

std::string Menu::SaveToText() const {
  std::string out = "BLOCK MENU";
  out += kCrLf;
  AppendKey(out, 1, "CAPTION", caption_);
  AppendKey(out, 1, "GRAPHIC", graphic_);
  for (int32_t i = 1; i <= subMenus_->Count(); ++i) subMenus_->Item(i).SaveToFile(out, 1);
  out += "END";
  out += kCrLf;
  return out;
}

void Menu::SaveToFile(const std::string& path) const {
  // Replace the file the loader would find, so a differently cased twin never appears.
  const std::string target = common::FileExists(path) ? path : common::ResolvePathNoCase(path).value_or(path);
  common::WriteFileAtomically(target, SaveToText());
}

// ---- MenuItem ----

MenuItem::MenuItem(MenuNode& parent) : parent_(&parent) { id_ = parent.NextID(); }

MenuItem::~MenuItem() = default;

std::string MenuItem::RootDirectory() const { return parent_ ? parent_->RootDirectory() : std::string(); }

const Menu* MenuItem::Root() const { return parent_ ? parent_->Root() : nullptr; }

std::string MenuItem::ResolveFileName(std::string_view text) const {
  if (!text.empty() && text.back() == common::kPathSeparator) return "";
  if (!text.empty() && text.find(common::kPathSeparator) == std::string_view::npos) {
    return common::JoinPath(RootDirectory(), text);
  }
  return std::string(text);
}

void MenuItem::SetHelpTopic(const Variant& topic) {
  try {
    helpTopic_ = topic.ToLong();
  } catch (const AutomationError&) {
    // Not a number: the topic stays as it was.
  }
}

void MenuItem::SetMenuType(std::string_view type) { menuType_ = common::ToUpperAscii(type); }

void MenuItem::SetSlideShow(std::string slideShow) {
  if (IsPartEntry()) slideShow_ = std::move(slideShow);
}

bool MenuItem::MoveUp() { return parent_ && parent_->SubMenus().MoveUp(*this); }

bool MenuItem::MoveDown() { return parent_ && parent_->SubMenus().MoveDown(*this); }

void MenuItem::LoadFromFile(BlockParser& parser) {
  while (true) {
    switch (parser.GetToken()) {
      case BlockParser::TokenEndFile:
        return;
      case BlockParser::TokenKeyValue: {
        const std::string& key = parser.Key();
        const std::string& value = parser.Value();
        if (key == "CAPTION") {
          SetCaption(value);
        } else if (key == "GRAPHIC") {
          SetGraphic(value);
        } else if (key == "HELPFILE") {
          SetHelpFile(value);
        } else if (key == "HELPTOPIC") {
          SetHelpTopic(Variant(value));
        } else if (key == "HISTORY_DIR") {
          SetHistoryDir(value);
        } else if (key == "HISTORY_TITLE") {
          SetHistoryTitle(value);
        } else if (key == "MENUTYPE") {
          SetMenuType(value);
        } else if (key == "PREVIEW") {
          SetPreview(value);
        } else if (key == "PROGRAMID") {
          SetProgramID(value);
        } else if (key == "SLIDESHOW") {
          SetSlideShow(value);
        }
        break;
      }
      case BlockParser::TokenStartBlock:
        if (parser.BlockType() != "SUBMENU") RaiseWrongBlock(MessagesOf(*this), parser);
        subMenus_->AddItemFromFile(parser);
        break;
      case BlockParser::TokenEndBlock:
        RegisterHistory();
        return;
    }
  }
}

void MenuItem::SaveToFile(std::string& out, int indent) const {
  out.append(static_cast<size_t>(indent), '\t');
  out += "BLOCK SUBMENU";
  out += kCrLf;
  const int inner = indent + 1;
  AppendKey(out, inner, "CAPTION", caption_);
  AppendKey(out, inner, "GRAPHIC", graphic_);
  AppendKey(out, inner, "PREVIEW", preview_);
  AppendKey(out, inner, "HELPFILE", helpFile_);
  AppendKey(out, inner, "HELPTOPIC", std::to_string(helpTopic_));
  AppendKey(out, inner, "MENUTYPE", menuType_);
  AppendKey(out, inner, "PROGRAMID", programId_);
  AppendKey(out, inner, "SLIDESHOW", slideShow_);
  AppendKey(out, inner, "HISTORY_DIR", historyDir_);
  AppendKey(out, inner, "HISTORY_TITLE", historyTitle_);
  for (int32_t i = 1; i <= subMenus_->Count(); ++i) subMenus_->Item(i).SaveToFile(out, inner);
  out.append(static_cast<size_t>(indent), '\t');
  out += "END";
  out += kCrLf;
}

void MenuItem::RegisterHistory() const {
  if (!historyDir_.empty()) common::AppendHistoryList(historyDir_, historyTitle_);
}

// ---- MenuItemCollection ----

MenuItem& MenuItemCollection::Item(int32_t position) const {
  if (position < 1 || position > Count()) {
    common::RaisePlatformError(common::err::SubscriptOutOfRange, "MenuItemCollection.Item");
  }
  return *items_[static_cast<size_t>(position - 1)];
}

int32_t MenuItemCollection::IndexOf(const MenuItem& item) const {
  for (size_t i = 0; i < items_.size(); ++i) {
    if (items_[i].get() == &item) return static_cast<int32_t>(i + 1);
  }
  return 0;
}

MenuItem& MenuItemCollection::Add(const std::string& caption, const std::string& type) {
  auto item = std::make_unique<MenuItem>(*owner_);
  item->SetCaption(caption);
  item->SetMenuType(type);
  items_.push_back(std::move(item));
  return *items_.back();
}

MenuItem& MenuItemCollection::AddItemFromFile(BlockParser& parser) {
  auto item = std::make_unique<MenuItem>(*owner_);
  item->LoadFromFile(parser);
  items_.push_back(std::move(item));
  return *items_.back();
}

void MenuItemCollection::RemoveItem(const MenuItem& item) {
  const int32_t p = IndexOf(item);
  if (p > 0) items_.erase(items_.begin() + (p - 1));
}

bool MenuItemCollection::MoveUp(const MenuItem& item) {
  const int32_t p = IndexOf(item);
  if (p < 2) return false;
  std::swap(items_[static_cast<size_t>(p - 1)], items_[static_cast<size_t>(p - 2)]);
  return true;
}

bool MenuItemCollection::MoveDown(const MenuItem& item) {
  const int32_t p = IndexOf(item);
  if (p == 0 || p >= Count()) return false;
  std::swap(items_[static_cast<size_t>(p - 1)], items_[static_cast<size_t>(p)]);
  return true;
}

// ---- the menu file of a folder ----

std::string DefaultMenuFileText() {
  std::string out = "BLOCK Menu";
  out += kCrLf;
  AppendKey(out, 1, "CAPTION", "Main Menu");
  AppendKey(out, 1, "GRAPHIC", "");
  out += "\tBLOCK SUBMENU";
  out += kCrLf;
  const std::pair<const char*, const char*> keys[] = {
      {"CAPTION", "Sample"}, {"GRAPHIC", ""},   {"PREVIEW", ""},   {"HELPFILE", ""},    {"HELPTOPIC", "0"},
      {"MENUTYPE", kMenuTypePart}, {"PROGRAMID", ""}, {"SLIDESHOW", ""}, {"HISTORY_DIR", ""}, {"HISTORY_TITLE", ""},
  };
  for (const auto& [key, value] : keys) AppendKey(out, 2, key, value);
  out += "\tEND";
  out += kCrLf;
  out += "END";
  out += kCrLf;
  return out;
}

std::string MenuFilePath(const std::string& rootDirectory) {
  if (auto existing = common::FindFileNoCase(rootDirectory, kMenuFileName)) return *existing;
  return common::JoinPath(rootDirectory, kMenuFileName);
}

std::string WriteDefaultMenuFile(const std::string& rootDirectory) {
  const std::string path = common::JoinPath(rootDirectory, kMenuFileName);
  common::WriteFileAtomically(path, DefaultMenuFileText());
  return path;
}

std::string EnsureMenuFile(const std::string& rootDirectory) {
  if (auto existing = common::FindFileNoCase(rootDirectory, kMenuFileName)) return *existing;
  return WriteDefaultMenuFile(rootDirectory);
}

}  // namespace zephra::shell
