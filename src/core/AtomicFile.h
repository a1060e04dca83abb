#pragma once

#include <string>
#include <string_view>

// Replaces the file at path with contents: written to a temporary file in the same
// folder, flushed to disk, then renamed over the old one. On any failure the old
// file is left as it was, the temporary is removed and the result is false.
bool WriteFileAtomic(const std::string& path, std::string_view contents);
