#pragma once
// Error and message numbers of the export archive (the editor's catalogue range).

#include <cstdint>

namespace zephra::editor {

namespace archive_error {
// Opening an archive object that is already open.
inline constexpr int32_t AlreadyOpen = 1003;
// Writing to an archive not open for writing, reading from one not open for reading.
inline constexpr int32_t WrongDirection = 1004;
// Not an archive, a damaged one, or one that cannot be restored safely.
inline constexpr int32_t NotAnArchive = 1005;
}  // namespace archive_error

namespace archive_msg {
inline constexpr int32_t PastEnd = 31084;          // bytes wanted, at byte, file size
inline constexpr int32_t OverwriteText = 31114;    // path
inline constexpr int32_t ReplaceShow = 31129;      // slide-show path
inline constexpr int32_t EditorTitle = 31130;
inline constexpr int32_t OverwriteTitle = 31195;
inline constexpr int32_t AlreadyOpen = 31220;      // archive path
inline constexpr int32_t NotAnArchive = 31221;     // archive path
inline constexpr int32_t NotForWriting = 31222;
inline constexpr int32_t NotForReading = 31223;
inline constexpr int32_t NegativeLength = 31234;   // archive path, byte, length
inline constexpr int32_t TooLarge = 31235;         // file path
inline constexpr int32_t NotFullPath = 31236;      // archive path, path
inline constexpr int32_t DotFolder = 31237;        // archive path, path
inline constexpr int32_t ControlCharacters = 31238;  // archive path, path
inline constexpr int32_t Duplicate = 31239;        // archive path, path
inline constexpr int32_t ShowExists = 31240;       // slide-show path
inline constexpr int32_t SameForAll = 31241;
inline constexpr int32_t NotStorable = 31242;      // path
inline constexpr int32_t ArchiveIsMember = 31243;  // archive path
}  // namespace archive_msg

}  // namespace zephra::editor
