#include "D3DXReadFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <new>

namespace {

// Owns one file descriptor.
class FileDescriptor
{
public:
    explicit FileDescriptor(int fd) : m_Fd(fd) {}
    ~FileDescriptor()
    {
        if (m_Fd >= 0)
            ::close(m_Fd);
    }
    FileDescriptor(const FileDescriptor&) = delete;
    FileDescriptor& operator=(const FileDescriptor&) = delete;
    int Get() const { return m_Fd; }

private:
    int m_Fd;
};

std::string TooLarge(std::size_t maxBytes, unsigned long long size)
{
    return "larger than the " + std::to_string(maxBytes >> 20) + " MB a data file may have (" + std::to_string(size) +
           " bytes)";
}

}  // namespace

bool D3DXReadFile(const std::string& path, std::size_t maxBytes, std::string* bytes, std::string* error)
{
    bytes->clear();
    // Non-blocking, so that opening a FIFO returns at once instead of
    // waiting for a writer; the type check below then refuses it.
    FileDescriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    if (file.Get() < 0) {
        *error = "cannot open: " + std::string(std::strerror(errno));
        return false;
    }
    struct stat info
    {};
    if (::fstat(file.Get(), &info) != 0) {
        *error = "cannot read: " + std::string(std::strerror(errno));
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        *error = S_ISDIR(info.st_mode) ? "a folder, not a file" : "not a regular file";
        return false;
    }
    if (static_cast<unsigned long long>(info.st_size) > maxBytes) {
        *error = TooLarge(maxBytes, static_cast<unsigned long long>(info.st_size));
        return false;
    }
    try {
        bytes->resize(static_cast<std::size_t>(info.st_size));
        std::size_t got = 0;
        // The file may grow while it is read: read on to its end, up to the cap.
        for (;;) {
            if (got == bytes->size()) {
                if (bytes->size() > maxBytes) {
                    *error = TooLarge(maxBytes, bytes->size());
                    return false;
                }
                bytes->resize(std::min(maxBytes + 1, bytes->size() + 65536));
            }
            const ssize_t n = ::read(file.Get(), bytes->data() + got, bytes->size() - got);
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                *error = "cannot read: " + std::string(std::strerror(errno));
                return false;
            }
            if (n == 0)
                break;
            got += static_cast<std::size_t>(n);
        }
        bytes->resize(got);
    } catch (const std::bad_alloc&) {
        *error = "out of memory";
        return false;
    }
    return true;
}
