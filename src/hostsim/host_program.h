#pragma once
// A part program of the simulated host as read from its ".prg" file: one command per block, in
// file order, with what each command reports. Plain data; the automation objects and the
// execution live in host_objects.h.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace zephra::hostsim {

// Type codes of the host's own commands beside the dimensions and the assignment (191).
namespace command_type {
inline constexpr int32_t Comment = 190;
inline constexpr int32_t Prompt = 192;
inline constexpr int32_t Status = 193;
}  // namespace command_type

// The dialog number of an operator prompt (the execution panel is 338).
inline constexpr int32_t kPromptDialog = 340;

enum class BlockKind { Dimension, Assignment, Comment, Prompt, Status, Command };
// The block word of a kind, as program files spell it.
std::string BlockName(BlockKind kind);

// Where a dimension line stands: a group header or end, an axis of a group, a single dimension.
enum class DimensionRole { None, LocationHeader, LocationEnd, TruePositionHeader, TruePositionEnd, Axis, Single };

struct DialogButton {
  int32_t id = 0;
  std::string caption;
};

struct CommandData {
  BlockKind kind = BlockKind::Command;
  int32_t line = 0;  // the BLOCK line in the file
  int32_t type = 0;
  std::string id;
  std::optional<std::string> text;  // TEXT: member 78 (and the message of Prompt and Status)
  std::optional<std::pair<int32_t, int32_t>> uniqueId;

  // Dimension blocks.
  std::string axis;
  double nominal = 0, plusTol = 0, minusTol = 0;
  std::optional<double> measured, deviation, outTol;
  double bias = 0, sigma = 0;
  double bonus = 0, angle = 0, devAngle = 0, length = 0, max = 0, min = 0;
  std::string feat1;
  int32_t m26 = 0;
  bool reported = true;

  // Assignment blocks.
  std::string variable, value;

  // Comment blocks: the text as the comment object hands it out.
  int32_t commentKind = 0;
  std::string commentText;

  // Prompt blocks.
  std::vector<DialogButton> buttons;

  // Status blocks: ERROR=1 reports the text as the execution dialog's error message.
  bool isError = false;
  // Command blocks: ADDED=1 announces the command as added to the program when it executes.
  bool added = false;

  // Worked out after loading from the group headers and ends around the line.
  DimensionRole role = DimensionRole::None;
  bool inLocationGroup = false;
  bool inTruePositionGroup = false;
  std::string groupId;  // the ID of the enclosing group (axes and ends)
};

struct ProgramData {
  std::string path;  // as opened
  std::string partName, revision, serial;
  std::optional<uint64_t> seed;
  std::vector<CommandData> commands;
};

// Reads a part-program file. A missing file raises error 53, a malformed one an error naming
// the file and the line.
ProgramData LoadProgramFile(const std::string& path);
// The same from bytes in memory; path only names the file in errors.
ProgramData ParseProgramText(std::string bytes, const std::string& path);

// True for the dimension type codes this host knows (group headers and ends, their axes and
// the single dimensions).
bool IsDimensionType(int32_t type);

// The numbers a dimension reports after one execution.
struct DimensionResult {
  double measured = 0;
  double deviation = 0;
  double outTol = 0;
};

// The result of a dimension line in run `run` of a program with the given seed: MEASURED when
// the file fixes it, else NOMINAL + BIAS + a normal deviation of SIGMA drawn from (seed, run,
// line index) alone, so one line's draw never depends on another's. Run 0 is the state before
// any run: NOMINAL + BIAS without deviation. Headers and ends give zeros.
DimensionResult SimulateResult(const CommandData& cmd, uint64_t seed, uint64_t run, size_t index);

}  // namespace zephra::hostsim
