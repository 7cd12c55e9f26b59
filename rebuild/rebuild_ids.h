/*
** Resource and command ids of the repair utility, as its resource script gives them.
*/
#ifndef ZARNE_REBUILD_REBUILD_IDS_H
#define ZARNE_REBUILD_REBUILD_IDS_H

constexpr int kFixMenu = 100;  // menu and accelerator table of the frame
constexpr int kFixIcon = 1001;
constexpr int kCmRebuild = 104;       // File|Rebuild...
constexpr int kCmHelpAbout = 2009;    // Help|About...
constexpr int kRebuildDialog = 1001;  // template of TRebuild
constexpr int kRebuildTableList = 398;
constexpr int kAboutDialog = 22000;  // template of ZarneFixAboutDlg
constexpr int kAboutVersion = 22001;
constexpr int kAboutCopyright = 22002;
constexpr int kAboutSpecialBuild = 22003;

#endif
