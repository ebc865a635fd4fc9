// Folder and drive browsing of the setup screen, free of window code.
//
// The state is the folder the next step starts from (currentDir) and whether
// the first step away from the untouched proposal has been made
// (leftDefaultDir). Steps list folders through the directory-list service,
// which raises the path field's change notification inside each successful
// listing; that notification copies currentDir into the proposed
// installation folder, so currentDir is set before each listing and set back
// after a failed one.
#pragma once

#include "framework/cstring.h"
#include "platform/directory_listing.h"

// What browsing needs of its screen.
class BrowsingScreen {
 public:
  virtual ~BrowsingScreen() = default;
  // Writes the exchanged members into the controls.
  virtual void Refresh() = 0;
  // Shows a message with an OK button.
  virtual void ShowMessage(const char* text) = 0;
};

// The proposed installation folder on drive c:, where browsing starts.
CString ProposedFolder();

// True when the last character of `text` is a backslash (a trail byte of a
// double-byte character that equals one does not count).
bool EndsWithBackslash(const CString& text);

class Browsing {
 public:
  // Works on the screen's own members, which it refers to. Browsing starts
  // from `proposedFolder`, shown while the list shows the root of drive c:,
  // as it does from c:\data.
  Browsing(char (&listPath)[kListPathSize], CString& currentDir, int& leftDefaultDir, CString& targetDir,
           DirectoryListing& listing, BrowsingScreen& screen, const CString& proposedFolder = ProposedFolder())
      : m_proposedFolder(proposedFolder),
        m_listPath(listPath),
        m_currentDir(currentDir),
        m_leftDefaultDir(leftDefaultDir),
        m_targetDir(targetDir),
        m_listing(listing),
        m_screen(screen) {}

  // A double-click in the folder list: enters the selected folder, or goes
  // up one level for the parent entry.
  void OnFolderDoubleClick();
  // A new drive in the drive list: lists its root.
  void OnDriveChange();
  // The path field changed: the proposed folder follows currentDir.
  void OnPathChange();

 private:
  void GoUp();
  void Enter(const CString& folder);
  // Lists `path`; on failure shows "Directory: <path> Cannot be read". A path
  // longer than the listing buffer holds counts as a failed listing.
  bool List(const CString& path);

  const CString m_proposedFolder;
  char (&m_listPath)[kListPathSize];
  CString& m_currentDir;
  int& m_leftDefaultDir;
  CString& m_targetDir;
  DirectoryListing& m_listing;
  BrowsingScreen& m_screen;
};
