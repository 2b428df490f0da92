#pragma once
// The suite's side of the measuring host's automation interface: the dispatch numbers the
// programs call on the host's objects, and the events the host fires. Only these numbers are
// fixed; what the host does inside is its own business.

#include <cstdint>

#include "dispatch.h"

namespace zephra::common::host {

inline constexpr const char* kProgId = "QVXHOST.Application";
// The option file the host reads at start-up, written into its folder when the machine is
// off-line; it holds the one line "/f".
inline constexpr const char* kStartupOptionFile = "AutomationStartupOptions.txt";
inline constexpr const char* kOfflineMachine = "OFFLINE";

// Application.
namespace app {
inline constexpr DispId PartPrograms = 1;        // get: the part-program collection
inline constexpr DispId ActivePartProgram = 2;   // get: the active part program or Nothing
inline constexpr DispId Path = 3;                // get: the host's directory
inline constexpr DispId PartProgramFolder = 6;   // get: where part programs are browsed for
inline constexpr DispId Alive = 7;               // get: liveness probe; failing means the host is gone
inline constexpr DispId Visible = 8;             // put: show or hide the host
inline constexpr DispId QuitPending = 15;        // put true before Quit at shut-down
inline constexpr DispId BringToFront = 23;       // call
inline constexpr DispId Quit = 25;               // call
inline constexpr DispId EventSource = 27;        // get: the object firing the application events
inline constexpr DispId Interactive = 28;        // put false at start-up
inline constexpr DispId AutomationMode = 33;     // put true at start-up
inline constexpr DispId LanguageId = 65;         // get: 32-bit language identifier
// Bound by name: presses a button of one of the host's dialogs (window handle, button
// identifier) and returns whether there was such a button; the suite's way of pressing a
// button of the host's panel or prompt dialogs.
inline constexpr const char* PressDialogButton = "PressDialogButton";
}  // namespace app

// The host's dialogs, as announced by OnOpenRemotePanelDialog2.
namespace dialog {
inline constexpr int32_t ExecutionPanel = 338;  // open for the whole run
inline constexpr int32_t ButtonCancel = 2;      // on the panel: aborts the run
}  // namespace dialog

// Termination types of OnEndExecution.
namespace termination {
inline constexpr int32_t Completed = 0;
inline constexpr int32_t Aborted = 1;
}  // namespace termination

// Part-program collection.
namespace programs {
inline constexpr DispId Count = 1;  // get
inline constexpr DispId Open = 8;   // call (file path, machine name): the opened part program
}  // namespace programs

// Part program.
namespace part {
inline constexpr DispId PartName = 1;        // get: report heading text
inline constexpr DispId Directory = 2;       // get
inline constexpr DispId Revision = 3;        // get: report heading text
inline constexpr DispId SerialNumber = 4;    // get: report heading text
inline constexpr DispId FullName = 5;        // get: full path
inline constexpr DispId Name = 6;            // get: file name
inline constexpr DispId Application = 8;     // get
inline constexpr DispId Commands = 11;       // get: the command collection
inline constexpr DispId ReadoutWindow = 12;  // get: object whose ShowReadout switches the read-out
inline constexpr DispId Close = 17;          // call
inline constexpr DispId Quit = 20;           // call: the close used when PartProgQuitAfterEx is set
inline constexpr DispId Execute = 27;        // call: start execution; true when started
inline constexpr DispId RunStarted = 34;     // put true at each run start
// Named members (bound by name): hide buttons of the host's execution dialog.
inline constexpr const char* ExecOptContinueButtonVisible = "ExecOptContinueButtonVisible";
inline constexpr const char* ExecOptJumpButtonVisible = "ExecOptJumpButtonVisible";
inline constexpr const char* ExecOptSkipButtonVisible = "ExecOptSkipButtonVisible";
}  // namespace part

// Command collection of a part program.
namespace commands {
inline constexpr DispId Count = 3;  // get
inline constexpr DispId Item = 9;   // call with a 1-based index
}  // namespace commands

// Read-out window object.
namespace readout {
inline constexpr DispId ShowReadout = 58;  // call with -1 (show) or 0 (hide)
inline constexpr int32_t Show = -1;
inline constexpr int32_t Hide = 0;
}  // namespace readout

// Command.
namespace command {
inline constexpr DispId Id = 3;                 // get: the command's ID text
inline constexpr DispId Type = 6;               // get: host type code
inline constexpr DispId DimensionCommand = 8;   // get: the dimension-command object
inline constexpr DispId IsDimension = 17;       // get: Boolean
inline constexpr DispId Hidden = 19;            // get: Boolean; true for dimension lines, which
                                                // the report takes through 17 and 21 instead
inline constexpr DispId IsDimensionLine = 19;   // the same member under a name that says so
inline constexpr DispId Reported = 21;          // get: Boolean
// The cursor steps of a command object reached through a dimension's member 17: each returns
// false and leaves the cursor where it is when there is no command in that direction.
inline constexpr DispId Next = 22;              // call: step on towards the end
inline constexpr DispId Previous = 23;          // call: step back towards the start
inline constexpr DispId CommentCommand = 53;    // get: the comment object
inline constexpr DispId IsComment = 54;         // get: Boolean
inline constexpr DispId AssignmentCommand = 57; // get: the assignment object
inline constexpr DispId IsAssignment = 58;      // get: Boolean
inline constexpr DispId DisplayText = 78;       // get: identifier / display text
inline constexpr DispId Identity = 83;          // call (ByRef long, ByRef long): unique identity
}  // namespace command

// Dimension command.
namespace dimension {
inline constexpr DispId Angle = 1;
inline constexpr DispId Bonus = 2;
inline constexpr DispId Deviation = 3;
inline constexpr DispId DevAngle = 4;
inline constexpr DispId Id = 5;          // the dimension's identifier text
inline constexpr DispId Feat1 = 6;
inline constexpr DispId Length = 9;
inline constexpr DispId Nominal = 10;
inline constexpr DispId Max = 11;
inline constexpr DispId Measured = 12;
inline constexpr DispId Min = 13;
inline constexpr DispId MinusTol = 14;
inline constexpr DispId PlusTol = 15;
inline constexpr DispId OutTol = 16;
inline constexpr DispId Command = 17;    // the command object the dimension belongs to
inline constexpr DispId M26 = 26;
inline constexpr DispId AxisLetter = 29;
// The dimension line is an axis of a group; a true-position axis also switches off the
// evaluation of positional axes (X, Y, Z, PA, PR) in slide-show values.
inline constexpr DispId InLocationGroup = 30;      // Boolean
inline constexpr DispId InTruePositionGroup = 31;  // Boolean
}  // namespace dimension

// Assignment and comment objects.
namespace assignment {
inline constexpr DispId Name = 1;
inline constexpr DispId Value = 2;
}  // namespace assignment
namespace comment {
inline constexpr DispId Kind = 1;
inline constexpr DispId Text = 3;
}  // namespace comment

// Host type codes the suite tests for.
namespace type {
inline constexpr int32_t LocationStart = 1000;
inline constexpr int32_t LocationEnd = 1001;
inline constexpr int32_t TruePositionStart = 1200;
inline constexpr int32_t TruePositionEnd = 1201;
inline constexpr int32_t LocationAxisFirst = 1002;
inline constexpr int32_t LocationAxisLast = 1020;
inline constexpr int32_t SingleFirst = 1100;
inline constexpr int32_t SingleLast = 1118;
inline constexpr int32_t TruePositionAxisFirst = 1202;
inline constexpr int32_t TruePositionAxisLast = 1219;
inline constexpr int32_t Assignment = 191;
inline constexpr int32_t MoveAll = 12350;
}  // namespace type

// Events of the application's event source.
namespace app_event {
inline constexpr DispId OnStartExecution = 1;          // (part program)
inline constexpr DispId OnEndExecution = 2;            // (part program, termination type)
inline constexpr DispId OnObjectExecuted2 = 3;         // (part program, command, arm)
inline constexpr DispId OnAddObject = 4;               // (part program, command)
inline constexpr DispId OnClosePartProgram = 5;        // (part program)
inline constexpr DispId OnUpdateStatusMessage = 6;     // (text)
inline constexpr DispId OnOpenRemotePanelDialog2 = 7;  // (part program, dialog, window, message,
                                                       //  five button ids, default button)
}  // namespace app_event

// Events of a part program.
namespace part_event {
inline constexpr DispId OnStartExecution = 1;           // ()
inline constexpr DispId OnEndExecution = 2;             // (termination type)
inline constexpr DispId OnObjectExecuted = 3;           // (command)
inline constexpr DispId OnObjectExecuted2 = 4;          // (command, arm)
inline constexpr DispId OnExecuteDialogStatusMsg = 5;   // (text)
inline constexpr DispId OnExecuteDialogErrorMsg = 6;    // (text)
}  // namespace part_event

// Status-message tokens of OnUpdateStatusMessage.
inline constexpr const char* kTokenShutdown = "#QVXSHUTDOWN#";
inline constexpr const char* kTokenErrorDialogOk = "#QVXERRDLGOK#";
inline constexpr const char* kTokenShowError = "#SHOWERROR#";
inline constexpr const char* kTokenMessageBox = "#QVXMSGBOX#";

}  // namespace zephra::common::host
