/* The wide twins of the path calls that wide_names.h redirects, and the
 * entry point that hands unzip its command line in UTF-8.
 *
 * Every path inside unzip is UTF-8; each twin converts it to UTF-16 for the
 * wide call, and converts any path it returns back to UTF-8. A conversion
 * that runs out of memory fails the call with ENOMEM and
 * ERROR_NOT_ENOUGH_MEMORY.
 *
 * Windows takes a path of fewer than MAX_PATH UTF-16 units, and a folder to
 * be created fewer than MAX_PATH - 12 (room for an 8.3 name in it), from a
 * program not marked aware of long paths, as unzip is not. The twins hold
 * to the same limits (ENAMETOOLONG, ERROR_FILENAME_EXCED_RANGE), so that
 * unzip fails alike where the system would take more (Wine does).
 */
#include "wide_names.h"

#include <errno.h>
#include <stdarg.h>
#include <string.h>
#include <wchar.h>

/* unzip's own main, renamed by tools/build-unzip (-DMAIN=uz_unzip_main). */
int uz_unzip_main(int argc, char **argv);
/* unzip's exit code when memory runs out (PK_MEM). */
#define UZ_EXIT_NO_MEMORY 4

/* ---- conversions ---------------------------------------------------------- */

/* A new UTF-16 copy of `text`, in code page `codePage`; NULL when memory
   runs out. */
static wchar_t *wide_from(UINT codePage, const char *text) {
  const int units = MultiByteToWideChar(codePage, 0, text, -1, NULL, 0);
  wchar_t *wide = units > 0 ? (wchar_t *)malloc((size_t)units * sizeof *wide) : NULL;
  if (wide == NULL) return NULL;
  MultiByteToWideChar(codePage, 0, text, -1, wide, units);
  return wide;
}

/* Fewer than MAX_PATH UTF-16 units, the terminating zero included. */
#define UZ_PATH_UNITS MAX_PATH
/* A folder to be created: room for an 8.3 name in it. */
#define UZ_NEW_FOLDER_UNITS (MAX_PATH - 12)

/* A new UTF-16 copy of the UTF-8 path `utf8` when its full path takes at
   most `limit` units; otherwise NULL, with errno and the last error set. */
static wchar_t *wide_path_within(const char *utf8, DWORD limit) {
  wchar_t *wide = wide_from(CP_UTF8, utf8);
  if (wide == NULL) {
    errno = ENOMEM;
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return NULL;
  }
  const DWORD fullUnits = GetFullPathNameW(wide, 0, NULL, NULL);
  if (fullUnits > limit) {
    free(wide);
    errno = ENAMETOOLONG;
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
    return NULL;
  }
  return wide;
}

static wchar_t *wide_path(const char *utf8) { return wide_path_within(utf8, UZ_PATH_UNITS); }

/* A new UTF-8 copy of `wide`; NULL when memory runs out. */
static char *utf8_from(const wchar_t *wide) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, NULL, 0, NULL, NULL);
  char *utf8 = bytes > 0 ? (char *)malloc((size_t)bytes) : NULL;
  if (utf8 == NULL) return NULL;
  WideCharToMultiByte(CP_UTF8, 0, wide, -1, utf8, bytes, NULL, NULL);
  return utf8;
}

/* Copies `utf8` into `buffer` of `size` bytes, cut before a character that
   does not fit, and terminated. */
static void copy_cut(char *buffer, size_t size, const char *utf8) {
  size_t length = strlen(utf8);
  if (size == 0) return;
  if (length >= size) {
    length = size - 1;
    /* step back over continuation bytes to the start of the cut character */
    while (length > 0 && ((unsigned char)utf8[length] & 0xC0) == 0x80) --length;
  }
  memmove(buffer, utf8, length);
  buffer[length] = '\0';
}

/* `wide` written into `buffer` of `size` bytes as UTF-8. The bytes it needs,
   the terminating zero included; nothing is written when they do not fit. */
static DWORD utf8_into(const wchar_t *wide, char *buffer, DWORD size) {
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, wide, -1, NULL, 0, NULL, NULL);
  if (bytes <= 0) return 0;
  if ((DWORD)bytes <= size && buffer != NULL) WideCharToMultiByte(CP_UTF8, 0, wide, -1, buffer, bytes, NULL, NULL);
  return (DWORD)bytes;
}

void uz_wide_native_name_to_utf8(char *name, size_t size, int from_oem) {
  wchar_t *wide = wide_from(from_oem ? CP_OEMCP : CP_ACP, name);
  char *utf8 = wide != NULL ? utf8_from(wide) : NULL;
  /* Out of memory: the name stays as it is, as unzip would leave it. */
  if (utf8 != NULL) copy_cut(name, size, utf8);
  free(utf8);
  free(wide);
}

/* ---- the C runtime -------------------------------------------------------- */

FILE *uz_wide_fopen(const char *path, const char *mode) {
  wchar_t *widePath = wide_path(path);
  wchar_t *wideMode = widePath != NULL ? wide_from(CP_UTF8, mode) : NULL;
  FILE *file = NULL;
  if (wideMode != NULL) {
    file = _wfopen(widePath, wideMode);
  } else if (widePath != NULL) {
    errno = ENOMEM;
  }
  free(wideMode);
  free(widePath);
  return file;
}

int uz_wide_open(const char *path, int flags, ...) {
  int mode = 0;
  if (flags & _O_CREAT) {
    va_list rest;
    va_start(rest, flags);
    mode = va_arg(rest, int);
    va_end(rest);
  }
  wchar_t *wide = wide_path(path);
  if (wide == NULL) return -1;
  const int fd = _wopen(wide, flags, mode);
  free(wide);
  return fd;
}

/* The calls that take one path and return 0, or -1 with errno. */
#define UZ_WIDE_PATH_CALL(limit, call)           \
  wchar_t *wide = wide_path_within(path, limit); \
  if (wide == NULL) return -1;                   \
  const int result = (call);                     \
  free(wide);                                    \
  return result

int uz_wide_stati64(const char *path, struct _stati64 *buf) { UZ_WIDE_PATH_CALL(UZ_PATH_UNITS, _wstati64(wide, buf)); }
int uz_wide_access(const char *path, int mode) { UZ_WIDE_PATH_CALL(UZ_PATH_UNITS, _waccess(wide, mode)); }
int uz_wide_mkdir(const char *path) { UZ_WIDE_PATH_CALL(UZ_NEW_FOLDER_UNITS, _wmkdir(wide)); }
int uz_wide_rmdir(const char *path) { UZ_WIDE_PATH_CALL(UZ_PATH_UNITS, _wrmdir(wide)); }
int uz_wide_unlink(const char *path) { UZ_WIDE_PATH_CALL(UZ_PATH_UNITS, _wunlink(wide)); }
int uz_wide_chmod(const char *path, int mode) { UZ_WIDE_PATH_CALL(UZ_PATH_UNITS, _wchmod(wide, mode)); }

int uz_wide_rename(const char *from, const char *to) {
  wchar_t *wideFrom = wide_path(from);
  wchar_t *wideTo = wideFrom != NULL ? wide_path(to) : NULL;
  const int result = wideTo != NULL ? _wrename(wideFrom, wideTo) : -1;
  free(wideTo);
  free(wideFrom);
  return result;
}

/* As getenv, the value is valid until the next call. */
char *uz_wide_getenv(const char *name) {
  static char *value = NULL;
  wchar_t *wideName = wide_from(CP_UTF8, name);
  const wchar_t *wideValue = wideName != NULL ? _wgetenv(wideName) : NULL;
  free(value);
  value = wideValue != NULL ? utf8_from(wideValue) : NULL;
  free(wideName);
  return value;
}

/* ---- Windows -------------------------------------------------------------- */

/* Frees `wide`, keeping the last error of the call before. */
static void free_keeping_error(wchar_t *wide) {
  const DWORD error = GetLastError();
  free(wide);
  SetLastError(error);
}

HANDLE WINAPI uz_wide_CreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                  DWORD disposition, DWORD flags, HANDLE templateFile) {
  wchar_t *wide = wide_path(path);
  if (wide == NULL) return INVALID_HANDLE_VALUE;
  const HANDLE file = CreateFileW(wide, access, share, security, disposition, flags, templateFile);
  free_keeping_error(wide);
  return file;
}

BOOL WINAPI uz_wide_SetFileAttributesA(LPCSTR path, DWORD attributes) {
  wchar_t *wide = wide_path(path);
  if (wide == NULL) return FALSE;
  const BOOL done = SetFileAttributesW(wide, attributes);
  free_keeping_error(wide);
  return done;
}

DWORD WINAPI uz_wide_GetFileAttributesA(LPCSTR path) {
  wchar_t *wide = wide_path(path);
  if (wide == NULL) return INVALID_FILE_ATTRIBUTES;
  const DWORD attributes = GetFileAttributesW(wide);
  free_keeping_error(wide);
  return attributes;
}

/* A found entry in the ANSI form, its names in UTF-8 (cut when they do not
   fit the fixed fields). */
static void found_to_utf8(const WIN32_FIND_DATAW *wide, WIN32_FIND_DATAA *found) {
  char *name = utf8_from(wide->cFileName);
  char *shortName = utf8_from(wide->cAlternateFileName);
  found->dwFileAttributes = wide->dwFileAttributes;
  found->ftCreationTime = wide->ftCreationTime;
  found->ftLastAccessTime = wide->ftLastAccessTime;
  found->ftLastWriteTime = wide->ftLastWriteTime;
  found->nFileSizeHigh = wide->nFileSizeHigh;
  found->nFileSizeLow = wide->nFileSizeLow;
  found->dwReserved0 = wide->dwReserved0;
  found->dwReserved1 = wide->dwReserved1;
  copy_cut(found->cFileName, sizeof found->cFileName, name != NULL ? name : "");
  copy_cut(found->cAlternateFileName, sizeof found->cAlternateFileName, shortName != NULL ? shortName : "");
  free(shortName);
  free(name);
}

HANDLE WINAPI uz_wide_FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA found) {
  WIN32_FIND_DATAW wideFound;
  wchar_t *wide = wide_path(pattern);
  if (wide == NULL) return INVALID_HANDLE_VALUE;
  const HANDLE search = FindFirstFileW(wide, &wideFound);
  free_keeping_error(wide);
  if (search != INVALID_HANDLE_VALUE) found_to_utf8(&wideFound, found);
  return search;
}

BOOL WINAPI uz_wide_FindNextFileA(HANDLE search, LPWIN32_FIND_DATAA found) {
  WIN32_FIND_DATAW wideFound;
  if (!FindNextFileW(search, &wideFound)) return FALSE;
  found_to_utf8(&wideFound, found);
  return TRUE;
}

DWORD WINAPI uz_wide_GetFullPathNameA(LPCSTR path, DWORD size, LPSTR buffer, LPSTR *filePart) {
  wchar_t *wide = wide_from(CP_UTF8, path);
  const DWORD units = wide != NULL ? GetFullPathNameW(wide, 0, NULL, NULL) : 0;
  wchar_t *full = units > 0 ? (wchar_t *)malloc(units * sizeof *full) : NULL;
  DWORD result = 0;
  if (full != NULL && GetFullPathNameW(wide, units, full, NULL) > 0) {
    result = utf8_into(full, buffer, size);
    if (result > 0 && result <= size) {
      /* As the ANSI call: the length without the terminating zero. */
      --result;
      if (filePart != NULL) {
        char *lastSeparator = strrchr(buffer, '\\');
        *filePart = lastSeparator != NULL && lastSeparator[1] != '\0' ? lastSeparator + 1 : NULL;
      }
    }
  } else if (wide == NULL || (units > 0 && full == NULL)) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
  }
  free(full);
  free(wide);
  return result;
}

BOOL WINAPI uz_wide_GetVolumeInformationA(LPCSTR root, LPSTR volumeName, DWORD volumeNameSize, LPDWORD serial,
                                          LPDWORD maxComponentLength, LPDWORD fileSystemFlags, LPSTR fileSystemName,
                                          DWORD fileSystemNameSize) {
  wchar_t wideVolumeName[MAX_PATH + 1];
  wchar_t wideFileSystemName[MAX_PATH + 1];
  wchar_t *wideRoot = NULL;
  if (root != NULL && (wideRoot = wide_path(root)) == NULL) return FALSE;
  const BOOL done = GetVolumeInformationW(wideRoot, wideVolumeName, MAX_PATH + 1, serial, maxComponentLength,
                                          fileSystemFlags, wideFileSystemName, MAX_PATH + 1);
  free_keeping_error(wideRoot);
  if (done) {
    char *name = utf8_from(wideVolumeName);
    char *fileSystem = utf8_from(wideFileSystemName);
    if (volumeName != NULL) copy_cut(volumeName, volumeNameSize, name != NULL ? name : "");
    if (fileSystemName != NULL) copy_cut(fileSystemName, fileSystemNameSize, fileSystem != NULL ? fileSystem : "");
    free(fileSystem);
    free(name);
  }
  return done;
}

UINT WINAPI uz_wide_GetDriveTypeA(LPCSTR root) {
  wchar_t *wide = NULL;
  if (root != NULL && (wide = wide_path(root)) == NULL) return DRIVE_UNKNOWN;
  const UINT type = GetDriveTypeW(wide);
  free(wide);
  return type;
}

BOOL WINAPI uz_wide_SetVolumeLabelA(LPCSTR root, LPCSTR label) {
  wchar_t *wideRoot = NULL;
  wchar_t *wideLabel = NULL;
  if (root != NULL && (wideRoot = wide_path(root)) == NULL) return FALSE;
  if (label != NULL && (wideLabel = wide_from(CP_UTF8, label)) == NULL) {
    free(wideRoot);
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return FALSE;
  }
  const BOOL done = SetVolumeLabelW(wideRoot, wideLabel);
  free(wideLabel);
  free_keeping_error(wideRoot);
  return done;
}

DWORD WINAPI uz_wide_GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size) {
  wchar_t wide[MAX_PATH + 1];
  const DWORD units = GetModuleFileNameW(module, wide, MAX_PATH + 1);
  if (units == 0 || units > MAX_PATH) return 0;
  char *utf8 = utf8_from(wide);
  if (utf8 == NULL) return 0;
  copy_cut(buffer, size, utf8);
  free(utf8);
  return (DWORD)strlen(buffer);
}

/* ---- the entry point ------------------------------------------------------ */

static UINT console_output_code_page = 0;

static void restore_console_output(void) { SetConsoleOutputCP(console_output_code_page); }

/* Started by the C runtime with the wide command line (linked with
   -municode): unzip gets its arguments in UTF-8, and its messages, which
   quote names in UTF-8, are shown as such on a console. */
int wmain(int argc, wchar_t **wargv) {
  char **argv = (char **)calloc((size_t)argc + 1, sizeof *argv);
  if (argv == NULL) return UZ_EXIT_NO_MEMORY;
  for (int i = 0; i < argc; ++i) {
    argv[i] = utf8_from(wargv[i]);
    if (argv[i] == NULL) return UZ_EXIT_NO_MEMORY;
  }
  console_output_code_page = GetConsoleOutputCP();
  if (console_output_code_page != 0 && SetConsoleOutputCP(CP_UTF8)) atexit(restore_console_output);
  return uz_unzip_main(argc, argv);
}
