#pragma once

#include <string>
#include <string_view>

// Replaces the file at path with contents: written to a temporary file in the same
// folder, flushed to disk, then renamed over the old one. On any failure the old
// file is left as it was, the temporary is removed and the result is false.
bool WriteFileAtomic(const std::string& path, std::string_view contents);

// Copies the file at path to "<path>.bad", replacing an older copy, so a file we could
// not read survives the rewrite that follows. True on success.
bool KeepBadCopy(const std::string& path);
