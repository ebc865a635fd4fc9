#include "framework/app_paths.h"

AppPaths FormAppPaths(const CString& modulePath, const CString& titleResource) {
  AppPaths paths;
  CString fileName = modulePath.Mid(modulePath.ReverseFind('\\') + 1);
  const int extension = fileName.ReverseFind('.');
  paths.exeName = extension >= 0 ? fileName.Left(extension) : fileName;
  paths.appTitle = titleResource.IsEmpty() ? paths.exeName : titleResource;
  const int lastDot = modulePath.ReverseFind('.');
  paths.helpFilePath = (lastDot >= 0 ? modulePath.Left(lastDot) : modulePath) + ".HLP";
  return paths;
}
