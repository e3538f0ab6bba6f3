#pragma once
// Command identifiers of the main window's menus, tool bar and the branch context menu.
// They keep the numbers the device's service documentation uses for the same commands.
namespace zelmot::app {

enum CommandId : int {
  kCmdNone = 0,
  // File
  kCmdFileNew = 57600,
  kCmdFileOpen = 57601,
  kCmdFileSave = 57603,
  kCmdFileSaveAs = 57604,
  kCmdExportDbf = 302,
  kCmdImportDbf = 303,
  kCmdRecentFile1 = 57616,  // the four recent files are 57616..57619
  kCmdAppExit = 57665,
  // Device
  kCmdReadAll = 139,
  kCmdWriteAll = 140,
  kCmdWriteChanged = 256,
  kCmdCompare = 257,
  kCmdWriteErroneous = 147,
  kCmdReadBranch = 284,
  kCmdWriteBranch = 285,
  kCmdWriteChangedBranch = 281,
  kCmdCompareBranch = 282,
  kCmdPreviousProblem = 278,
  kCmdNextProblem = 279,
  kCmdCalibration = 1319,
  kCmdGraph1 = 32805,
  kCmdGraph2 = 32806,
  kCmdSinglePoll = 141,
  kCmdCheckLink = 138,
  kCmdConverterSemiAutomatic = 32799,
  kCmdConverterAutomatic = 32801,
  // Program modes
  kCmdShowLinearIndexes = 145,
  kCmdAutoReading = 134,
  kCmdImmediateWrite = 271,
  kCmdNoAttributes = 294,
  kCmdProgramNetwork = 268,
  kCmdToolBar = 59392,
  kCmdStatusBar = 59393,
  kCmdTrendPanel = 32870,  // the live trend of the polled parameters
  kCmdTrendArchiveDay = 32871,  // a past day of the archive in the trend
  // Help
  kCmdHelp = 57670,
  kCmdExportParameterList = 154,
  kCmdExportProtocol = 288,
  kCmdAbout = 57664,
  // The main window's own pop-up menu
  kCmdSendAply = 266,
  kCmdChangePasswords = 296,
  // Context menu of a branch
  kCmdReadThisBranch = 150,
  kCmdWriteThisBranch = 151,
  kCmdWriteChangedThisBranch = 152,
  kCmdCompareThisBranch = 153,
  kCmdBlockProperties = 155,
};

inline constexpr int kRecentFileCount = 4;

}  // namespace zelmot::app
