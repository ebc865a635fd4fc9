#include "platform/win32_directory_listing.h"

int Win32DirectoryListing::ListDrives(char* path) {
  return ::DlgDirListComboBoxA(m_dialog, path, m_driveComboId, m_pathFieldId, DDL_DRIVES);
}

int Win32DirectoryListing::ListFolders(char* path) {
  return ::DlgDirListA(m_dialog, path, m_folderListId, m_pathFieldId, DDL_EXCLUSIVE | DDL_DIRECTORY);
}

void Win32DirectoryListing::SelectedFolder(char* buffer, int size) {
  ::DlgDirSelectExA(m_dialog, buffer, size, m_folderListId);
}

void Win32DirectoryListing::SelectedDrive(char* buffer, int size) {
  ::DlgDirSelectComboBoxExA(m_dialog, buffer, size, m_driveComboId);
}
