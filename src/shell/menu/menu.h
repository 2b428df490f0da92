#pragma once
// The operator's menu: a root menu holding entries, each a part entry (a part program with its
// pictures, slide show, help and history) or a submenu holding further entries. The shell shows
// it; the manager edits it. Both read and write it through these classes, from the menu file
// "menu.cfg" in the menu root folder.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "common/program.h"
#include "common/variant.h"

namespace zephra::document {
class BlockParser;
}

namespace zephra::shell {

inline constexpr const char* kMenuTypePart = "PART PROGRAM";
inline constexpr const char* kMenuTypeMenu = "MENU";
// The name the suite writes the menu file under; an existing file is found in its folder
// without regard to letter case.
inline constexpr const char* kMenuFileName = "menu.cfg";
inline constexpr int32_t kMenuLoadError = 5000;

// The messages a menu reports with; each program has its own numbers.
struct MenuMessages {
  int32_t notMenuFile;   // %0% path
  int32_t wrongBlock;    // %0% line, %1% block type
  int32_t trailingText;  // %0% line
  int32_t missingFile;   // %0% path
  int32_t syntaxError;   // the block reader's message, %0% line
};
inline constexpr MenuMessages kShellMenuMessages{30041, 30042, 30043, 30134, 30045};
inline constexpr MenuMessages kManagerMenuMessages{32009, 32010, 32011, 32053, 32013};
// The manager's numbers for the manager, the shell's for every other program.
MenuMessages MenuMessagesFor(common::ProgramKind program);

class MenuItem;
class MenuItemCollection;

// What the root menu and an entry share: an identifier, a caption, children, the root folder.
class MenuNode {
 public:
  MenuNode(const MenuNode&) = delete;
  MenuNode& operator=(const MenuNode&) = delete;
  virtual ~MenuNode();

  const std::string& ID() const { return id_; }
  const std::string& Caption() const { return caption_; }
  void SetCaption(std::string caption) { caption_ = std::move(caption); }
  MenuItemCollection& SubMenus() { return *subMenus_; }
  const MenuItemCollection& SubMenus() const { return *subMenus_; }
  // The menu root folder, which relative file names of entries are resolved against.
  virtual std::string RootDirectory() const = 0;
  // The owner: none for the root menu.
  virtual MenuNode* ParentMenu() const = 0;
  // The menu at the top of the tree, or none for an entry that lost its owner.
  virtual const class Menu* Root() const = 0;

  // ID & "." & the next number; numbers are never reused, even after removals.
  std::string NextID();
  // Depth-first in list order, this node first.
  MenuNode* Find(std::string_view id);

 protected:
  MenuNode();
  std::string id_;
  std::string caption_;
  std::unique_ptr<MenuItemCollection> subMenus_;
  int32_t nextNumber_ = 1;
};

class Menu : public MenuNode {
 public:
  // program chooses the message numbers and the title of the missing-file message.
  explicit Menu(common::ProgramKind program = common::CurrentProgram());
  ~Menu() override;

  bool Initialize(std::string rootDirectory);

  const std::string& Graphic() const { return graphic_; }
  void SetGraphic(std::string graphic) { graphic_ = std::move(graphic); }
  std::string RootDirectory() const override { return rootDirectory_; }
  MenuNode* ParentMenu() const override { return nullptr; }
  const Menu* Root() const override { return this; }
  common::ProgramKind Program() const { return program_; }
  const MenuMessages& Messages() const { return messages_; }

  // Appends the entries of the file to this menu. A missing file is reported through the
  // prompts and leaves the tree as it was; a malformed one raises error 5000 (or the block
  // reader's error). The file is found in its folder without regard to letter case.
  void LoadFromFile(const std::string& path);
  // Replaces the file (an existing one whose name differs only in letter case included)
  // atomically with the whole tree.
  void SaveToFile(const std::string& path) const;
  // The bytes SaveToFile writes.
  std::string SaveToText() const;

 private:
  common::ProgramKind program_;
  MenuMessages messages_;
  std::string graphic_;
  std::string rootDirectory_;
};

class MenuItem : public MenuNode {
 public:
  // Takes its identifier from the parent's NextID.
  explicit MenuItem(MenuNode& parent);
  ~MenuItem() override;

  const std::string& Graphic() const { return graphic_; }
  void SetGraphic(std::string_view text) { graphic_ = ResolveFileName(text); }
  const std::string& Preview() const { return preview_; }
  void SetPreview(std::string_view text) { preview_ = ResolveFileName(text); }
  const std::string& HelpFile() const { return helpFile_; }
  void SetHelpFile(std::string_view text) { helpFile_ = ResolveFileName(text); }
  int32_t HelpTopic() const { return helpTopic_; }
  void SetHelpTopic(int32_t topic) { helpTopic_ = topic; }
  // A value that does not convert to a 32-bit integer is ignored.
  void SetHelpTopic(const common::Variant& topic);
  const std::string& MenuType() const { return menuType_; }
  void SetMenuType(std::string_view type);
  bool IsPartEntry() const { return menuType_ == kMenuTypePart; }
  const std::string& ProgramID() const { return programId_; }
  void SetProgramID(std::string programId) { programId_ = std::move(programId); }
  // Only a part entry has a slide show: writes to other entries are ignored, reads give empty.
  std::string SlideShow() const { return IsPartEntry() ? slideShow_ : std::string(); }
  void SetSlideShow(std::string slideShow);
  const std::string& HistoryDir() const { return historyDir_; }
  void SetHistoryDir(std::string dir) { historyDir_ = std::move(dir); }
  const std::string& HistoryTitle() const { return historyTitle_; }
  void SetHistoryTitle(std::string title) { historyTitle_ = std::move(title); }

  std::string RootDirectory() const override;
  MenuNode* ParentMenu() const override { return parent_; }
  void SetParentMenu(MenuNode* parent) { parent_ = parent; }
  const Menu* Root() const override;

  bool MoveUp();
  bool MoveDown();

  // Reads the entry's block; the parser stands just after its BLOCK SUBMENU line. An entry cut
  // off by the end of the file keeps what it read and is not registered in the history list.
  void LoadFromFile(document::BlockParser& parser);
  // Appends the entry's block at the given depth.
  void SaveToFile(std::string& out, int indent) const;
  // Appends (HistoryDir, HistoryTitle) to the history list when HistoryDir is set.
  void RegisterHistory() const;

 private:
  // A text ending in "/" becomes empty; a bare name is joined to the root folder; anything
  // else stays as it is.
  std::string ResolveFileName(std::string_view text) const;

  MenuNode* parent_;
  std::string graphic_;
  std::string preview_;
  std::string helpFile_;
  int32_t helpTopic_ = 0;
  std::string menuType_;
  std::string programId_;
  std::string slideShow_;
  std::string historyDir_;
  std::string historyTitle_;
};

// The entries of one menu in order, positions counted from 1. Owns its entries.
class MenuItemCollection {
 public:
  explicit MenuItemCollection(MenuNode& owner) : owner_(&owner) {}
  MenuItemCollection(const MenuItemCollection&) = delete;
  MenuItemCollection& operator=(const MenuItemCollection&) = delete;

  MenuNode& Owner() const { return *owner_; }
  int32_t Count() const { return static_cast<int32_t>(items_.size()); }
  // Error 9 for a position outside 1..Count.
  MenuItem& Item(int32_t position) const;
  // The position of this very entry, or 0.
  int32_t IndexOf(const MenuItem& item) const;

  MenuItem& Add(const std::string& caption, const std::string& type);
  MenuItem& AddItemFromFile(document::BlockParser& parser);
  // Removes (and destroys) this very entry; nothing when it is not in the collection.
  void RemoveItem(const MenuItem& item);
  // False when the entry is absent or already first (last); otherwise moves it one place.
  bool MoveUp(const MenuItem& item);
  bool MoveDown(const MenuItem& item);

 private:
  MenuNode* owner_;
  std::vector<std::unique_ptr<MenuItem>> items_;
};

// The content of the sample menu file written where a menu root folder has none.
std::string DefaultMenuFileText();
// The menu file of a folder: the existing one whose name is "menu.cfg" without regard to
// letter case, else the folder joined with "menu.cfg".
std::string MenuFilePath(const std::string& rootDirectory);
// Writes the sample menu file as "menu.cfg" into the folder (atomically); returns its path.
std::string WriteDefaultMenuFile(const std::string& rootDirectory);
// The folder's menu file, the sample one written first when the folder has none.
std::string EnsureMenuFile(const std::string& rootDirectory);

}  // namespace zephra::shell
