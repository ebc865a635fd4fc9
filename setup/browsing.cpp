#include "setup/browsing.h"

#include <cstring>

#include "res/texts.h"

namespace {

CString StartDriveRoot() { return CString(TEXT_START_DRIVE_LETTER) + ":\\"; }

}  // namespace

CString ProposedFolder() { return StartDriveRoot() + TEXT_PROPOSED_FOLDER_NAME; }

bool EndsWithBackslash(const CString& text) {
  return !text.IsEmpty() && text.ReverseFind('\\') == text.GetLength() - 1;
}

void Browsing::OnFolderDoubleClick() {
  char selected[kListPathSize] = "";
  m_listing.SelectedFolder(selected, kListPathSize);
  CString folder = selected;
  // Nothing selected: there is no step to take.
  if (folder.IsEmpty()) return;
  if (EndsWithBackslash(folder)) folder = folder.Left(folder.GetLength() - 1);
  if (folder == TEXT_PARENT_ENTRY) {
    GoUp();
  } else {
    Enter(folder);
  }
}

void Browsing::GoUp() {
  const CString saved = m_currentDir;
  const int lastBackslash = m_currentDir.ReverseFind('\\');
  if (lastBackslash <= 0) return;
  m_currentDir = m_currentDir.Left(lastBackslash);
  // A bare drive such as d: is listed as its root.
  if (m_currentDir.GetLength() == 2 && m_currentDir.GetAt(1) == ':') m_currentDir += "\\";
  if (!List(m_currentDir)) m_currentDir = saved;
}

void Browsing::Enter(const CString& folder) {
  const CString saved = m_currentDir;
  CString base = m_currentDir;
  // The first step from the untouched proposal starts from the root of
  // drive c:, which is what the list shows.
  if (base == m_proposedFolder && m_leftDefaultDir == 0) {
    base = CString(TEXT_START_DRIVE_LETTER) + ":";
    m_leftDefaultDir = 1;
  }
  const CString path = EndsWithBackslash(base) ? base + folder : base + "\\" + folder;
  m_currentDir = path;
  if (!List(path)) m_currentDir = saved;
}

void Browsing::OnDriveChange() {
  char drive[kListPathSize] = "";
  m_listing.SelectedDrive(drive, kListPathSize);
  const CString driveText = drive;
  if (!List(driveText + "\\")) return;
  m_currentDir = driveText;
  m_targetDir = driveText + "\\";
  m_screen.Refresh();
}

void Browsing::OnPathChange() {
  m_targetDir = m_currentDir;
  m_screen.Refresh();
}

bool Browsing::List(const CString& path) {
  CString tried = path;
  bool listed = false;
  if (path.GetLength() < kListPathSize) {
    std::memcpy(m_listPath, path.c_str(), static_cast<size_t>(path.GetLength()) + 1);
    listed = m_listing.ListFolders(m_listPath) != 0;
    // The service may have rewritten the buffer; the message quotes it.
    tried = CString(m_listPath, static_cast<int>(strnlen(m_listPath, kListPathSize - 1)));
  }
  if (!listed) m_screen.ShowMessage(CString(TEXT_DIRECTORY_PREFIX) + tried + TEXT_CANNOT_BE_READ);
  return listed;
}
