#include "core/AtomicFile.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

bool WriteFileAtomic(const std::string& path, std::string_view contents)
{
    if (path.empty())
        return false;

    std::string temp = path + ".tmpXXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0)
        return false;

    bool ok = true;
    const char* data = contents.data();
    std::size_t left = contents.size();
    while (ok && left > 0)
    {
        const ssize_t n = ::write(fd, data, left);
        if (n < 0)
        {
            if (errno == EINTR)
                continue;
            ok = false;
            break;
        }
        data += n;
        left -= static_cast<std::size_t>(n);
    }
    // mkstemp creates 0600; settings files should read like any other file.
    ok = ok && ::fchmod(fd, 0644) == 0;
    ok = ok && ::fsync(fd) == 0;
    ok = (::close(fd) == 0) && ok;
    ok = ok && std::rename(temp.c_str(), path.c_str()) == 0;
    if (!ok)
        std::remove(temp.c_str());
    return ok;
}

bool KeepBadCopy(const std::string& path)
{
    std::error_code ec;
    std::filesystem::copy_file(path, path + ".bad", std::filesystem::copy_options::overwrite_existing, ec);
    return !ec;
}
