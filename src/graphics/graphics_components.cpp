#include "graphics_components.h"

#include <unistd.h>

#include <memory>
#include <string>

#include "bitmap.h"
#include "common/component_registry.h"
#include "metafile.h"
#include "screen_capture.h"

namespace zephra::graphics {

namespace {

// The components live inside every program that shows pictures, so that program is their
// in-process server.
std::string RunningProgram() {
  char buf[4096];
  const ssize_t n = ::readlink("/proc/self/exe", buf, sizeof buf - 1);
  return n > 0 ? std::string(buf, static_cast<size_t>(n)) : std::string();
}

}  // namespace

void RegisterGraphicsComponents(bool writeClassHive) {
  auto& registry = common::ComponentRegistry::Instance();
  const std::string server = RunningProgram();
  registry.Register({kBitmapProgId, kBitmapClassId, server, true}, [] { return std::make_shared<Bitmap>(); },
                    writeClassHive);
  registry.Register({kMetafileProgId, kMetafileClassId, server, true}, [] { return std::make_shared<Metafile>(); },
                    writeClassHive);
  registry.Register({kScreenCaptureProgId, kScreenCaptureClassId, server, true},
                    [] { return std::make_shared<ScreenCapture>(); }, writeClassHive);
}

}  // namespace zephra::graphics
