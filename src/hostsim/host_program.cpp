#include "host_program.h"

#include <cmath>
#include <limits>

#include "common/automation_error.h"
#include "common/host_interface.h"
#include "common/number_text.h"
#include "common/paths.h"
#include "common/reg_entry.h"
#include "common/string_res.h"
#include "common/text.h"
#include "document/block_parser.h"
#include "host_messages.h"

namespace zephra::hostsim {

namespace {

using common::AutomationError;
using common::Variant;
namespace htype = common::host::type;

constexpr const char* kSource = "QVXHOST.PartPrograms.Open";

// One problem of the file at a line; turned into the error that names the file.
struct LoadProblem {
  int32_t line;
  std::string what;
};

[[noreturn]] void Fail(int32_t line, int32_t message, std::initializer_list<Variant> args = {}) {
  throw LoadProblem{line, common::FormatMessage(message, args)};
}

double NumberOf(const std::string& key, const std::string& text, int32_t line) {
  auto n = common::ParseNumber(text);
  if (!n) Fail(line, msg::NotANumber, {Variant(key), Variant(text)});
  return *n;
}

int32_t WholeNumberOf(const std::string& key, const std::string& text, int32_t line) {
  auto n = common::ParseNumber(text);
  if (!n || *n != std::floor(*n) || *n < std::numeric_limits<int32_t>::min() ||
      *n > std::numeric_limits<int32_t>::max()) {
    Fail(line, msg::NotAWholeNumber, {Variant(key), Variant(text)});
  }
  return static_cast<int32_t>(*n);
}

std::pair<int32_t, int32_t> UniqueIdOf(const std::string& text, int32_t line) {
  const auto parts = common::Split(text, '|');
  if (parts.size() != 2) Fail(line, msg::BadUniqueId, {Variant(text)});
  try {
    return {WholeNumberOf("UNIQUEID", parts[0], line), WholeNumberOf("UNIQUEID", parts[1], line)};
  } catch (const LoadProblem&) {
    Fail(line, msg::BadUniqueId, {Variant(text)});
  }
}

std::vector<DialogButton> ButtonsOf(const std::string& text, int32_t line) {
  std::vector<DialogButton> buttons;
  for (const std::string& entry : common::Split(text, '|')) {
    const size_t colon = entry.find(':');
    if (colon == std::string::npos) Fail(line, msg::BadButtons, {Variant(text)});
    auto id = common::ParseNumber(entry.substr(0, colon));
    if (!id || *id != std::floor(*id) || *id < 1 || *id > 65535) Fail(line, msg::BadButtons, {Variant(text)});
    buttons.push_back({static_cast<int32_t>(*id), std::string(common::TrimSpaces(entry.substr(colon + 1)))});
  }
  if (buttons.empty() || buttons.size() > 5) Fail(line, msg::BadButtons, {Variant(text)});
  return buttons;
}

bool IsLocationAxis(int32_t t) { return t >= htype::LocationAxisFirst && t <= htype::LocationAxisLast; }
bool IsTruePositionAxis(int32_t t) { return t >= htype::TruePositionAxisFirst && t <= htype::TruePositionAxisLast; }
bool IsSingle(int32_t t) { return t >= htype::SingleFirst && t <= htype::SingleLast; }

std::optional<BlockKind> KindOfBlock(const std::string& type) {
  if (type == "DIMENSION") return BlockKind::Dimension;
  if (type == "ASSIGNMENT") return BlockKind::Assignment;
  if (type == "COMMENT") return BlockKind::Comment;
  if (type == "PROMPT") return BlockKind::Prompt;
  if (type == "STATUS") return BlockKind::Status;
  if (type == "COMMAND") return BlockKind::Command;
  return std::nullopt;
}

// Applies one KEY=VALUE line to a command; false when the key does not belong to its block.
bool ApplyKey(CommandData& c, const std::string& key, const std::string& value, int32_t line) {
  // Keys every command has.
  if (key == "ID") {
    c.id = value;
    return true;
  }
  if (key == "UNIQUEID") {
    c.uniqueId = UniqueIdOf(value, line);
    return true;
  }
  switch (c.kind) {
    case BlockKind::Dimension:
      if (key == "TYPE") {
        c.type = WholeNumberOf(key, value, line);
        if (!IsDimensionType(c.type)) Fail(line, msg::NotADimensionType, {Variant(value)});
      } else if (key == "TEXT") {
        c.text = value;
      } else if (key == "AXIS") {
        c.axis = value;
      } else if (key == "NOMINAL") {
        c.nominal = NumberOf(key, value, line);
      } else if (key == "PLUSTOL") {
        c.plusTol = NumberOf(key, value, line);
      } else if (key == "MINUSTOL") {
        c.minusTol = NumberOf(key, value, line);
      } else if (key == "MEASURED") {
        c.measured = NumberOf(key, value, line);
      } else if (key == "BIAS") {
        c.bias = NumberOf(key, value, line);
      } else if (key == "SIGMA") {
        c.sigma = NumberOf(key, value, line);
      } else if (key == "DEVIATION") {
        c.deviation = NumberOf(key, value, line);
      } else if (key == "OUTTOL") {
        c.outTol = NumberOf(key, value, line);
      } else if (key == "BONUS") {
        c.bonus = NumberOf(key, value, line);
      } else if (key == "ANGLE") {
        c.angle = NumberOf(key, value, line);
      } else if (key == "DEVANGLE") {
        c.devAngle = NumberOf(key, value, line);
      } else if (key == "LENGTH") {
        c.length = NumberOf(key, value, line);
      } else if (key == "MAX") {
        c.max = NumberOf(key, value, line);
      } else if (key == "MIN") {
        c.min = NumberOf(key, value, line);
      } else if (key == "FEAT1") {
        c.feat1 = value;
      } else if (key == "M26") {
        c.m26 = WholeNumberOf(key, value, line);
      } else if (key == "REPORTED") {
        c.reported = common::ReadBooleanText(value);
      } else {
        return false;
      }
      return true;
    case BlockKind::Assignment:
      if (key == "VARIABLE") {
        c.variable = value;
      } else if (key == "VALUE") {
        c.value = value;
      } else if (key == "TEXT") {
        c.text = value;
      } else {
        return false;
      }
      return true;
    case BlockKind::Comment:
      // LINE adds a line ended by CR LF; TEXT adds its text as it stands, so a comment whose
      // last line has no line end can be written.
      if (key == "KIND") {
        c.commentKind = WholeNumberOf(key, value, line);
      } else if (key == "LINE") {
        c.commentText += value + "\r\n";
      } else if (key == "TEXT") {
        c.commentText += value;
      } else {
        return false;
      }
      return true;
    case BlockKind::Prompt:
      if (key == "TEXT") {
        c.text = value;
      } else if (key == "BUTTONS") {
        c.buttons = ButtonsOf(value, line);
      } else {
        return false;
      }
      return true;
    case BlockKind::Status:
      if (key == "TEXT") {
        c.text = value;
      } else if (key == "ERROR") {
        c.isError = common::ReadBooleanText(value);
      } else {
        return false;
      }
      return true;
    case BlockKind::Command:
      if (key == "TYPE") {
        c.type = WholeNumberOf(key, value, line);
      } else if (key == "TEXT") {
        c.text = value;
      } else if (key == "ADDED") {
        c.added = common::ReadBooleanText(value);
      } else {
        return false;
      }
      return true;
  }
  return false;
}


void FinishCommand(CommandData& c) {
  switch (c.kind) {
    case BlockKind::Dimension:
      if (c.type == 0) Fail(c.line, msg::TypeMissing);
      break;
    case BlockKind::Assignment: c.type = htype::Assignment; break;
    case BlockKind::Comment: c.type = command_type::Comment; break;
    case BlockKind::Prompt:
      c.type = command_type::Prompt;
      if (c.buttons.empty()) c.buttons = {{1, "Continue"}, {2, "Cancel"}};
      break;
    case BlockKind::Status: c.type = command_type::Status; break;
    case BlockKind::Command: break;
  }
}

// Group membership: a header opens its group, the matching end (or the next header) closes it;
// lines in between are its axes. Axes outside any group stand alone with no group.
void AssignGroups(ProgramData& data) {
  DimensionRole open = DimensionRole::None;
  std::string groupId;
  for (CommandData& c : data.commands) {
    if (c.kind != BlockKind::Dimension) continue;
    const int32_t t = c.type;
    if (t == htype::LocationStart || t == htype::TruePositionStart) {
      c.role = t == htype::LocationStart ? DimensionRole::LocationHeader : DimensionRole::TruePositionHeader;
      open = c.role;
      groupId = c.id;
    } else if (t == htype::LocationEnd || t == htype::TruePositionEnd) {
      c.role = t == htype::LocationEnd ? DimensionRole::LocationEnd : DimensionRole::TruePositionEnd;
      c.groupId = open == DimensionRole::None ? std::string() : groupId;
      open = DimensionRole::None;
      groupId.clear();
    } else if (IsLocationAxis(t) || IsTruePositionAxis(t)) {
      c.role = DimensionRole::Axis;
      c.inLocationGroup = open == DimensionRole::LocationHeader;
      c.inTruePositionGroup = open == DimensionRole::TruePositionHeader;
      c.groupId = groupId;
    } else {
      c.role = DimensionRole::Single;
    }
  }
}

double Round(double value, double scale) { return std::round(value * scale) / scale; }

uint64_t Mix(uint64_t x) {
  x += 0x9E3779B97F4A7C15ULL;
  x = (x ^ (x >> 30)) * 0xBF58476D1CE4E5B9ULL;
  x = (x ^ (x >> 27)) * 0x94D049BB133111EBULL;
  return x ^ (x >> 31);
}

double Uniform(uint64_t bits) { return (static_cast<double>(bits >> 11) + 0.5) * 0x1.0p-53; }

// A standard normal deviate that depends on (seed, run, index) alone (Box-Muller).
double StandardNormal(uint64_t seed, uint64_t run, size_t index) {
  const uint64_t state = Mix(seed ^ Mix(run ^ Mix(static_cast<uint64_t>(index) + 0x51ED27ULL)));
  const double u1 = Uniform(Mix(state));
  const double u2 = Uniform(Mix(state + 1));
  return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * 3.14159265358979323846 * u2);
}

}  // namespace

std::string BlockName(BlockKind kind) {
  switch (kind) {
    case BlockKind::Dimension: return "Dimension";
    case BlockKind::Assignment: return "Assignment";
    case BlockKind::Comment: return "Comment";
    case BlockKind::Prompt: return "Prompt";
    case BlockKind::Status: return "Status";
    case BlockKind::Command: return "Command";
  }
  return "";
}

bool IsDimensionType(int32_t t) {
  return t == htype::LocationStart || t == htype::LocationEnd || t == htype::TruePositionStart ||
         t == htype::TruePositionEnd || IsLocationAxis(t) || IsTruePositionAxis(t) || IsSingle(t);
}

ProgramData ParseProgramText(std::string bytes, const std::string& path) {
  document::BlockParser parser;
  parser.OpenText(std::move(bytes));
  ProgramData data;
  data.path = path;
  try {
    enum class Where { Outside, Program, Command } where = Where::Outside;
    bool seenProgram = false;
    CommandData current;
    while (true) {
      int token = 0;
      try {
        token = parser.GetToken();
      } catch (const AutomationError&) {
        Fail(parser.CurrentLine(), msg::BadLine);
      }
      const int32_t line = parser.CurrentLine();
      if (token == document::BlockParser::TokenEndFile) {
        if (where == Where::Command) Fail(line, msg::EndsInsideBlock, {Variant(BlockName(current.kind))});
        if (where == Where::Program) Fail(line, msg::EndsInsideBlock, {Variant("PartProgram")});
        if (!seenProgram) Fail(line, msg::NoProgramBlock);
        break;
      }
      if (token == document::BlockParser::TokenStartBlock) {
        const std::string& type = parser.BlockType();
        if (where == Where::Outside) {
          if (type != "PARTPROGRAM") Fail(line, msg::OutsideProgram, {Variant(type)});
          if (seenProgram) Fail(line, msg::SecondProgram);
          seenProgram = true;
          where = Where::Program;
        } else if (where == Where::Program) {
          auto kind = KindOfBlock(type);
          if (!kind) Fail(line, msg::UnknownBlock, {Variant(type)});
          current = CommandData();
          current.kind = *kind;
          current.line = line;
          where = Where::Command;
        } else {
          Fail(line, msg::NestedBlock, {Variant(BlockName(current.kind))});
        }
      } else if (token == document::BlockParser::TokenEndBlock) {
        if (where == Where::Command) {
          FinishCommand(current);
          data.commands.push_back(std::move(current));
          where = Where::Program;
        } else if (where == Where::Program) {
          where = Where::Outside;
        } else {
          Fail(line, msg::EndWithoutBlock);
        }
      } else {
        const std::string& key = parser.Key();
        const std::string& value = parser.Value();
        if (where == Where::Outside) Fail(line, msg::OutsideProgram, {Variant(key)});
        if (where == Where::Program) {
          if (key == "PARTNAME") {
            data.partName = value;
          } else if (key == "REVISION") {
            data.revision = value;
          } else if (key == "SERIAL") {
            data.serial = value;
          } else if (key == "SEED") {
            auto n = common::ParseNumber(value);
            if (!n || *n != std::floor(*n) || *n < 0 || *n > 9007199254740992.0) {
              Fail(line, msg::NotAWholeNumber, {Variant(key), Variant(value)});
            }
            data.seed = static_cast<uint64_t>(*n);
          } else {
            Fail(line, msg::UnknownKey, {Variant(key), Variant("PartProgram")});
          }
        } else if (!ApplyKey(current, key, value, line)) {
          Fail(line, msg::UnknownKey, {Variant(key), Variant(BlockName(current.kind))});
        }
      }
    }
  } catch (const LoadProblem& p) {
    throw AutomationError(msg::LoadError, kSource,
                          common::FormatMessage(msg::LoadError, {Variant(path), Variant(p.line), Variant(p.what)}));
  }
  AssignGroups(data);
  return data;
}

ProgramData LoadProgramFile(const std::string& path) {
  if (!common::FileExists(path) || common::DirectoryExists(path)) {
    throw AutomationError(common::err::FileNotFound, kSource,
                          common::FormatMessage(msg::ProgramMissing, {Variant(path)}));
  }
  return ParseProgramText(common::ReadFileBytes(path, kSource), path);
}

DimensionResult SimulateResult(const CommandData& cmd, uint64_t seed, uint64_t run, size_t index) {
  DimensionResult r;
  if (cmd.role != DimensionRole::Axis && cmd.role != DimensionRole::Single) return r;
  if (cmd.measured) {
    r.measured = *cmd.measured;
  } else {
    double m = cmd.nominal + cmd.bias;
    if (run > 0 && cmd.sigma != 0) m += cmd.sigma * StandardNormal(seed, run, index);
    // A probing system reports to a tenth of a micrometre of a millimetre part.
    r.measured = Round(m, 1e4);
  }
  // Differences of decimal inputs carry binary noise; nine decimals keep what is meant.
  r.deviation = cmd.deviation ? *cmd.deviation : Round(r.measured - cmd.nominal, 1e9);
  if (cmd.outTol) {
    r.outTol = *cmd.outTol;
  } else if (r.deviation > cmd.plusTol) {
    r.outTol = Round(r.deviation - cmd.plusTol, 1e9);
  } else if (r.deviation < -cmd.minusTol) {
    r.outTol = Round(r.deviation + cmd.minusTol, 1e9);
  }
  return r;
}

}  // namespace zephra::hostsim
