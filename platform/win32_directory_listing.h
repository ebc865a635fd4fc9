// The directory-list service of Windows, on one dialog's drive list, folder
// list and path field.
#pragma once

#include <windows.h>

#include "platform/directory_listing.h"

class Win32DirectoryListing : public DirectoryListing {
 public:
  Win32DirectoryListing(int folderListId, int driveComboId, int pathFieldId)
      : m_folderListId(folderListId), m_driveComboId(driveComboId), m_pathFieldId(pathFieldId) {}
  void Attach(HWND dialog) { m_dialog = dialog; }

  int ListDrives(char* path) override;
  int ListFolders(char* path) override;
  void SelectedFolder(char* buffer, int size) override;
  void SelectedDrive(char* buffer, int size) override;

 private:
  HWND m_dialog = nullptr;
  int m_folderListId;
  int m_driveComboId;
  int m_pathFieldId;
};
