// Files of the package written whole: each is written under a temporary
// name in its own folder and renamed into place only once every byte is
// written, flushed to the disk and closed without error. A build that fails
// or is killed half-way leaves the file as it was before, never a part of
// it under the file's own name; what it leaves is a temporary file, which
// the next build removes.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace kit {

// Marks the temporary names: `<file>.setup-pack-part`, and names that
// begin so (libzip writes the archive under a name of its own made from the
// name it is given).
extern const char kPartialFileMark[];

// The temporary name of `target` while it is written.
std::filesystem::path PartialNameOf(const std::filesystem::path& target);

// Writes `target` whole: `write` makes the file at the temporary path it is
// given and returns false, with `error` set, when it fails. False, with
// `error` set, when `write` fails or the file cannot be flushed, closed or
// renamed; the temporary file is removed then.
bool WriteWhole(const std::filesystem::path& target,
                const std::function<bool(const std::filesystem::path& partial, std::string& error)>& write,
                std::string& error);

// `bytes` as the whole content of `target`.
bool WriteWholeFile(const std::filesystem::path& target, const std::string& bytes, std::string& error);

// A copy of `source`, read through to its end, as `target`, with the
// source's permissions.
bool CopyWholeFile(const std::filesystem::path& source, const std::filesystem::path& target, std::string& error);

// Removes the temporary files that builds which did not end left in
// `folder`; returns their names.
std::vector<std::string> RemovePartialFiles(const std::filesystem::path& folder);

}  // namespace kit
