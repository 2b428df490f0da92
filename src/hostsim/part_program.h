#pragma once
// The automation objects of an open part program: the program itself, its command collection,
// commands (which are also cursors), dimension commands, assignments, comments and the
// read-out window.

#include <memory>
#include <string>
#include <vector>

#include "common/dispatch.h"
#include "host_program.h"

namespace zephra::hostsim {

class HostApplication;

// Members bound by name; the numbers are the stand-in's own.
namespace part_member {
inline constexpr common::DispId ExecOptContinueButtonVisible = 1001;
inline constexpr common::DispId ExecOptJumpButtonVisible = 1002;
inline constexpr common::DispId ExecOptSkipButtonVisible = 1003;
inline constexpr common::DispId Seed = 1004;       // get/put: the seed of the simulated results
inline constexpr common::DispId RunNumber = 1005;  // get: runs started since the program opened
inline constexpr common::DispId Executing = 1006;  // get: a run is under way
inline constexpr common::DispId Machine = 1007;    // get: the machine it was opened with
}  // namespace part_member

class PartProgram : public common::DispatchObject<PartProgram> {
 public:
  PartProgram(std::weak_ptr<HostApplication> app, ProgramData data, std::string fullPath, std::string machine,
              uint64_t seed);

  std::string TypeName() const override { return "PartProgram"; }
  static const common::DispatchTable<PartProgram>& Table();
  common::Variant Invoke(common::DispId id, common::InvokeKind kind, common::Args& args) override;
  const std::weak_ptr<HostApplication>& AppRef() const { return app_; }

  const ProgramData& Data() const { return data_; }
  const std::string& FullPath() const { return fullPath_; }
  bool IsClosed() const { return closed_; }
  std::shared_ptr<HostApplication> App() const { return app_.lock(); }

  // The numbers a dimension line reports now (its last execution, or the state before any run).
  const DimensionResult& Result(size_t index) const { return results_[index]; }
  // Starts a new run of the simulation: the next run number; results stay until each line runs.
  uint64_t BeginRun() { return ++runNumber_; }
  // Draws the result of one line for the current run.
  void Measure(size_t index);
  uint64_t Seed() const { return seed_; }
  void SetSeed(uint64_t seed);
  uint64_t RunNumber() const { return runNumber_; }

  bool ExecOptContinue() const { return execOptContinue_; }
  bool ExecOptJump() const { return execOptJump_; }
  bool ExecOptSkip() const { return execOptSkip_; }
  bool RunFlag() const { return runFlag_; }
  const std::string& Machine() const { return machine_; }

  // Marks the program closed: its name and path read empty from now on.
  void MarkClosed() { closed_ = true; }
  void Fire(common::DispId event, common::Args& args) { FireEvent(event, args); }

 private:
  std::weak_ptr<HostApplication> app_;
  ProgramData data_;
  std::string fullPath_;
  std::string machine_;
  uint64_t seed_;
  uint64_t runNumber_ = 0;
  std::vector<DimensionResult> results_;
  bool closed_ = false;
  bool runFlag_ = false;
  bool execOptContinue_ = true;
  bool execOptJump_ = true;
  bool execOptSkip_ = true;
};

// Raises 462 once the host application has quit or is gone: its objects stop answering, like
// those of a server process that has ended.
void CheckHostAlive(const std::weak_ptr<HostApplication>& app);

// The objects a part program hands out; they answer only while the host lives.
template <class T>
class ProgramObject : public common::DispatchObject<T> {
 public:
  common::Variant Invoke(common::DispId id, common::InvokeKind kind, common::Args& args) override {
    CheckHostAlive(program_->AppRef());
    return common::DispatchObject<T>::Invoke(id, kind, args);
  }

 protected:
  explicit ProgramObject(std::shared_ptr<PartProgram> program) : program_(std::move(program)) {}
  std::shared_ptr<PartProgram> program_;
};

class CommandCollection : public ProgramObject<CommandCollection> {
 public:
  explicit CommandCollection(std::shared_ptr<PartProgram> program) : ProgramObject(std::move(program)) {}
  std::string TypeName() const override { return "Commands"; }
  static const common::DispatchTable<CommandCollection>& Table();

};

// A command of a program. Every command object is also a cursor: members 22 and 23 move it to
// the next or previous command, and all other members then answer for the command reached.
class HostCommand : public ProgramObject<HostCommand> {
 public:
  HostCommand(std::shared_ptr<PartProgram> program, size_t index) : ProgramObject(std::move(program)), index_(index) {}
  std::string TypeName() const override { return "Command"; }
  static const common::DispatchTable<HostCommand>& Table();

  size_t Index() const { return index_; }
  const CommandData& Data() const { return program_->Data().commands[index_]; }
  const std::shared_ptr<PartProgram>& Program() const { return program_; }

 private:
  size_t index_;
};

class DimensionCommand : public ProgramObject<DimensionCommand> {
 public:
  DimensionCommand(std::shared_ptr<PartProgram> program, size_t index)
      : ProgramObject(std::move(program)), index_(index) {}
  std::string TypeName() const override { return "DimensionCommand"; }
  static const common::DispatchTable<DimensionCommand>& Table();

  const CommandData& Data() const { return program_->Data().commands[index_]; }
  // Headers and ends of groups report no numbers.
  bool IsResultLine() const;

 private:
  size_t index_;
};

class AssignmentObject : public ProgramObject<AssignmentObject> {
 public:
  AssignmentObject(std::shared_ptr<PartProgram> program, size_t index) : ProgramObject(std::move(program)), index_(index) {}
  std::string TypeName() const override { return "Assignment"; }
  static const common::DispatchTable<AssignmentObject>& Table();
  const CommandData& Data() const { return program_->Data().commands[index_]; }

 private:
  size_t index_;
};

class CommentObject : public ProgramObject<CommentObject> {
 public:
  CommentObject(std::shared_ptr<PartProgram> program, size_t index) : ProgramObject(std::move(program)), index_(index) {}
  std::string TypeName() const override { return "Comment"; }
  static const common::DispatchTable<CommentObject>& Table();
  const CommandData& Data() const { return program_->Data().commands[index_]; }

 private:
  size_t index_;
};

namespace readout_member {
inline constexpr common::DispId Shown = 1001;  // get: the read-out window is switched on
}

class ReadoutWindow : public common::DispatchObject<ReadoutWindow> {
 public:
  explicit ReadoutWindow(std::weak_ptr<HostApplication> app) : app_(std::move(app)) {}
  std::string TypeName() const override { return "ReadoutWindow"; }
  static const common::DispatchTable<ReadoutWindow>& Table();
  common::Variant Invoke(common::DispId id, common::InvokeKind kind, common::Args& args) override {
    CheckHostAlive(app_);
    return DispatchObject<ReadoutWindow>::Invoke(id, kind, args);
  }

 private:
  std::weak_ptr<HostApplication> app_;
};

}  // namespace zephra::hostsim
