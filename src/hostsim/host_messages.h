#pragma once
// Message numbers of the simulated measuring host. It is a program of its own, so its texts
// have their own catalogue range (lang/ENU34000.txt).

#include <cstdint>

namespace zephra::hostsim::msg {

inline constexpr int32_t Base = 34000;
inline constexpr int32_t ProgramMissing = 34001;      // %0% path
inline constexpr int32_t LoadError = 34002;           // %0% path, %1% line, %2% what is wrong
inline constexpr int32_t BadLine = 34003;
inline constexpr int32_t UnknownBlock = 34004;        // %0% block type
inline constexpr int32_t UnknownKey = 34005;          // %0% key, %1% block type
inline constexpr int32_t NotANumber = 34006;          // %0% key, %1% text
inline constexpr int32_t NotAWholeNumber = 34007;     // %0% key, %1% text
inline constexpr int32_t TypeMissing = 34008;
inline constexpr int32_t NotADimensionType = 34009;   // %0% type
inline constexpr int32_t BadUniqueId = 34010;         // %0% text
inline constexpr int32_t BadButtons = 34011;          // %0% text
inline constexpr int32_t NestedBlock = 34012;         // %0% outer block type
inline constexpr int32_t EndWithoutBlock = 34013;
inline constexpr int32_t EndsInsideBlock = 34014;     // %0% block type
inline constexpr int32_t NoProgramBlock = 34015;
inline constexpr int32_t OutsideProgram = 34016;      // %0% block type or key
inline constexpr int32_t SecondProgram = 34017;
inline constexpr int32_t HostGone = 34018;
inline constexpr int32_t NoEventLoop = 34019;
inline constexpr int32_t PanelMessage = 34020;        // %0% part-program name
inline constexpr int32_t CancelCaption = 34021;
inline constexpr int32_t WindowCaption = 34022;
inline constexpr int32_t ProgramLine = 34023;         // %0% name, %1% path
inline constexpr int32_t NoProgram = 34024;
inline constexpr int32_t OptionsLine = 34025;         // %0% .. %2% Continue, Jump, Skip, %3% flag 34
inline constexpr int32_t Shown = 34026;
inline constexpr int32_t Hidden = 34027;
inline constexpr int32_t StartupLine = 34028;         // %0% option text
inline constexpr int32_t ReadoutCaption = 34029;
inline constexpr int32_t DialogsCaption = 34030;
inline constexpr int32_t StateIdle = 34031;
inline constexpr int32_t StateRunning = 34032;        // %0% run number
inline constexpr int32_t StateWaiting = 34033;
inline constexpr int32_t NoDialogs = 34034;
inline constexpr int32_t ReadoutEmpty = 34035;

}  // namespace zephra::hostsim::msg
