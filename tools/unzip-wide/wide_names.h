/* UTF-8 names and the wide Windows calls for unzip's Windows build.
 *
 * tools/build-unzip compiles every source file of unzip with this header
 * included first (gcc -include). Inside the unpacker every path is then held
 * in UTF-8:
 *   - the command line is taken from the wide one (wide_names.c, wmain);
 *   - an entry name marked UTF-8 (general purpose bit 11, or the Unicode path
 *     extra field 0x7075) stays as it is, any other name is converted from
 *     the code page its archiver used (utf8-names.patch, fileio.c);
 *   - every call below that takes or returns a path is sent to its wide twin,
 *     which converts between UTF-8 and UTF-16.
 * So a name comes out exactly, in any script and under any system code page,
 * where unzip's own Windows port goes through the ANSI code page and the ANSI
 * calls, which cannot hold a name outside that code page.
 */
#ifndef UZ_WIDE_NAMES_H
#define UZ_WIDE_NAMES_H

/* Before unzip's own headers: windows.h must come before unzip defines its
   CR macro, which clashes with a mingw header. */
#include <windows.h>
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/types.h>

/* unzip sizes its path buffers (FILNAMSIZ) from PATH_MAX. A path Windows
   takes holds at most MAX_PATH - 1 UTF-16 units; each takes at most three
   bytes of UTF-8. */
#undef PATH_MAX
#define PATH_MAX (3 * MAX_PATH)

/* Paths are UTF-8, so a byte below 0x80 is always a character of its own:
   no double-byte stepping by the system's code page. */
#ifndef NO_MBCS
#define NO_MBCS
#endif

/* A name from an archive that does not mark it UTF-8, after unzip has read
   it in the code page its host used (OEM for FAT, HPFS and old NTFS
   archivers, else ANSI; the rule of unzip's Ext_ASCII_TO_Native), converted
   in place to UTF-8 within `size` bytes, cut at a character if need be. */
void uz_wide_native_name_to_utf8(char *name, size_t size, int from_oem);
#define UZ_NAME_IS_OEM(hostnum, hostver, isuxatt, islochdr)                               \
  (((hostnum) == FS_FAT_ && !(((islochdr) || (isuxatt)) &&                                 \
                              ((hostver) == 25 || (hostver) == 26 || (hostver) == 40))) || \
   (hostnum) == FS_HPFS_ || ((hostnum) == FS_NTFS_ && (hostver) == 50))

/* The C runtime's calls with a path. */
FILE *uz_wide_fopen(const char *path, const char *mode);
int uz_wide_open(const char *path, int flags, ...);
int uz_wide_stati64(const char *path, struct _stati64 *buf);
int uz_wide_access(const char *path, int mode);
int uz_wide_mkdir(const char *path);
int uz_wide_rmdir(const char *path);
int uz_wide_unlink(const char *path);
int uz_wide_chmod(const char *path, int mode);
int uz_wide_rename(const char *from, const char *to);
char *uz_wide_getenv(const char *name);

#define fopen(path, mode) uz_wide_fopen(path, mode)
#define open(...) uz_wide_open(__VA_ARGS__)
#define _open(...) uz_wide_open(__VA_ARGS__)
/* unzip's zstat is _stati64: a call of its own for 32-bit times (i686),
   another name of _stat64 for 64-bit ones (x86_64). */
#ifdef _stati64
#define _stat64(path, buf) uz_wide_stati64(path, buf)
#else
#define _stati64(path, buf) uz_wide_stati64(path, buf)
#endif
#define access(path, mode) uz_wide_access(path, mode)
#define _access(path, mode) uz_wide_access(path, mode)
#define mkdir(path) uz_wide_mkdir(path)
#define _mkdir(path) uz_wide_mkdir(path)
#define rmdir(path) uz_wide_rmdir(path)
#define _rmdir(path) uz_wide_rmdir(path)
#define unlink(path) uz_wide_unlink(path)
#define _unlink(path) uz_wide_unlink(path)
#define remove(path) uz_wide_unlink(path)
#define chmod(path, mode) uz_wide_chmod(path, mode)
#define _chmod(path, mode) uz_wide_chmod(path, mode)
#define rename(from, to) uz_wide_rename(from, to)
#define getenv(name) uz_wide_getenv(name)

/* The Windows calls with a path. */
HANDLE WINAPI uz_wide_CreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                  DWORD disposition, DWORD flags, HANDLE templateFile);
BOOL WINAPI uz_wide_SetFileAttributesA(LPCSTR path, DWORD attributes);
DWORD WINAPI uz_wide_GetFileAttributesA(LPCSTR path);
HANDLE WINAPI uz_wide_FindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA found);
BOOL WINAPI uz_wide_FindNextFileA(HANDLE search, LPWIN32_FIND_DATAA found);
DWORD WINAPI uz_wide_GetFullPathNameA(LPCSTR path, DWORD size, LPSTR buffer, LPSTR *filePart);
BOOL WINAPI uz_wide_GetVolumeInformationA(LPCSTR root, LPSTR volumeName, DWORD volumeNameSize, LPDWORD serial,
                                          LPDWORD maxComponentLength, LPDWORD fileSystemFlags, LPSTR fileSystemName,
                                          DWORD fileSystemNameSize);
UINT WINAPI uz_wide_GetDriveTypeA(LPCSTR root);
BOOL WINAPI uz_wide_SetVolumeLabelA(LPCSTR root, LPCSTR label);
DWORD WINAPI uz_wide_GetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD size);

#define CreateFileA(path, access, share, security, disposition, flags, templateFile) \
  uz_wide_CreateFileA(path, access, share, security, disposition, flags, templateFile)
#define SetFileAttributesA(path, attributes) uz_wide_SetFileAttributesA(path, attributes)
#define GetFileAttributesA(path) uz_wide_GetFileAttributesA(path)
#define FindFirstFileA(pattern, found) uz_wide_FindFirstFileA(pattern, found)
#define FindNextFileA(search, found) uz_wide_FindNextFileA(search, found)
#define GetFullPathNameA(path, size, buffer, filePart) uz_wide_GetFullPathNameA(path, size, buffer, filePart)
#define GetVolumeInformationA(root, name, nameSize, serial, maxComponent, flags, fsName, fsNameSize) \
  uz_wide_GetVolumeInformationA(root, name, nameSize, serial, maxComponent, flags, fsName, fsNameSize)
#define GetDriveTypeA(root) uz_wide_GetDriveTypeA(root)
#define SetVolumeLabelA(root, label) uz_wide_SetVolumeLabelA(root, label)
#define GetModuleFileNameA(module, buffer, size) uz_wide_GetModuleFileNameA(module, buffer, size)

#endif /* UZ_WIDE_NAMES_H */
