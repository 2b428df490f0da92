#include "message_profile.h"

namespace zephra::document {

const MessageProfile& MessageProfile::Editor() { return kEditorMessages; }
const MessageProfile& MessageProfile::Monitor() { return kMonitorMessages; }

const MessageProfile& MessageProfile::For(common::ProgramKind kind) {
  return kind == common::ProgramKind::Editor ? kEditorMessages : kMonitorMessages;
}

}  // namespace zephra::document
