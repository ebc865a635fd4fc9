#include "package/program_folder.h"

CString ProgramFolder(const CString& path) {
  const int lastBackslash = path.ReverseFind('\\');
  if (lastBackslash > 0) return path.Left(lastBackslash + 1);
  return CString();
}

CString DescriptorPath(const CString& helpFilePath) {
  const int lastDot = helpFilePath.ReverseFind('.');
  CString path = lastDot > 0 ? helpFilePath.Left(lastDot) : helpFilePath;
  path += ".ini";
  return path;
}
