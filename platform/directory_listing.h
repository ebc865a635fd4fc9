// The directory-list service the setup screen browses with: it fills the
// drive list and the folder list, writes the path field, and reads the
// selections back. Host tests replace it with a fake.
#pragma once

// Paths handed to the service live in buffers of this size (259 characters
// and a NUL); the service may rewrite them.
constexpr int kListPathSize = 260;

class DirectoryListing {
 public:
  virtual ~DirectoryListing() = default;

  // Fills the drive list with one entry per drive, "[-x-]", and writes the
  // current folder into the path field. Nonzero on success.
  virtual int ListDrives(char* path) = 0;

  // Lists the subfolders of the folder in `path` ("[name]", plus "[..]" below
  // a drive's root) and writes the folder into the path field, which raises
  // the field's change notification before the call returns. Zero when the
  // folder cannot be listed: the list and the field keep what they showed.
  virtual int ListFolders(char* path) = 0;

  // The selected folder entry without brackets and with one backslash
  // behind it (the parent entry gives "..\"); the buffer is left as it was
  // when nothing is selected.
  virtual void SelectedFolder(char* buffer, int size) = 0;

  // The selected drive as its letter and a colon, such as "d:".
  virtual void SelectedDrive(char* buffer, int size) = 0;
};
