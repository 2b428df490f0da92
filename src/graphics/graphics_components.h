#pragma once
// The picture library's components, created by name: the bitmap, the metafile and the screen
// capture. Programs that show pictures call RegisterGraphicsComponents() at start-up.

namespace zephra::graphics {

inline constexpr const char* kBitmapProgId = "VRDGRAPHICS.BITMAP";
inline constexpr const char* kBitmapClassId = "{26BC5141-79BD-11D0-B80D-0020AFE698D0}";
inline constexpr const char* kBitmapInterfaceId = "{26BC5140-79BD-11D0-B80D-0020AFE698D0}";
inline constexpr const char* kMetafileProgId = "VRDGraphics.Metafile";
inline constexpr const char* kMetafileClassId = "{27A406EB-6FB1-11D0-B80D-0020AFE698D0}";
inline constexpr const char* kMetafileInterfaceId = "{27A406EA-6FB1-11D0-B80D-0020AFE698D0}";
inline constexpr const char* kScreenCaptureProgId = "VRDGraphics.ScreenCapture";
inline constexpr const char* kScreenCaptureClassId = "{DE9D8FA5-9BB8-11D0-9589-00A02490C939}";
inline constexpr const char* kScreenCaptureInterfaceId = "{DE9D8FA4-9BB8-11D0-9589-00A02490C939}";

// The source named in the components' errors: the names callers create them by.
inline constexpr const char* kBitmapSource = "VRDGraphics.Bitmap";
inline constexpr const char* kMetafileSource = "VRDGraphics.Metafile";

// Registers the three components (names matched without regard to case). With writeClassHive
// their class registrations are written to the settings store as well, naming the running
// program as their in-process server.
void RegisterGraphicsComponents(bool writeClassHive = true);

}  // namespace zephra::graphics
