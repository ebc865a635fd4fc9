#include "platform/win32_directory_listing.h"

int Win32DirectoryListing::ListDrives(char* path) {
  return ::DlgDirListComboBoxA(m_dialog, path, m_driveComboId, m_pathFieldId, DDL_DRIVES);
}

int Win32DirectoryListing::ListFolders(char* path) {
  // The service adds the entries one by one; with the list's drawing held
  // back it is drawn once at the end, not after every entry (which under
  // Wine made a folder of thousands of subfolders take minutes to list).
  const HWND list = ::GetDlgItem(m_dialog, m_folderListId);
  ::SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  const int listed = ::DlgDirListA(m_dialog, path, m_folderListId, m_pathFieldId, DDL_EXCLUSIVE | DDL_DIRECTORY);
  ::SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  ::RedrawWindow(list, nullptr, nullptr, RDW_ERASE | RDW_FRAME | RDW_INVALIDATE);
  return listed;
}

void Win32DirectoryListing::SelectedFolder(char* buffer, int size) {
  ::DlgDirSelectExA(m_dialog, buffer, size, m_folderListId);
}

void Win32DirectoryListing::SelectedDrive(char* buffer, int size) {
  ::DlgDirSelectComboBoxExA(m_dialog, buffer, size, m_driveComboId);
}
