#pragma once
// Arguments of the picture components' members: a required argument left out is error 449.

#include <string>

#include "common/dispatch.h"

namespace zephra::graphics {

inline const common::Variant& RequiredArg(const common::Args& args, size_t i, const std::string& source) {
  const common::Variant& v = common::Arg(args, i);
  if (v.IsMissing()) common::RaisePlatformError(common::err::ArgumentNotOptional, source);
  return v;
}

// An optional handle argument: 0 when left out.
inline int32_t OptionalLong(const common::Args& args, size_t i) {
  const common::Variant& v = common::Arg(args, i);
  return v.IsMissing() ? 0 : v.ToLong();
}

}  // namespace zephra::graphics
