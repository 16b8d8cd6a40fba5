#include "ORVD3D_FileStamp.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "Utf8.h"

ORVD3D_FileStamp ORVD3D_FileStamp::Of(const std::wstring& path)
{
    ORVD3D_FileStamp stamp;
    // A name that is not all characters names no file.
    const std::optional<std::string> name = WideToUtf8Exactly(path);
    if (!name || name->empty())
        return stamp;
    const std::string& onDisk = *name;
    struct stat info
    {};
    if (::stat(onDisk.c_str(), &info) != 0)
        return stamp;
    stamp.m_Exists = true;
    if (S_ISREG(info.st_mode))
        stamp.m_Kind = Kind::Regular;
    else if (S_ISDIR(info.st_mode))
        stamp.m_Kind = Kind::Folder;
    else
        stamp.m_Kind = Kind::Other;
    // Asked of the file system rather than found by opening: opening a pipe
    // waits for a writer.
    stamp.m_Readable = ::faccessat(AT_FDCWD, onDisk.c_str(), R_OK, AT_EACCESS) == 0;
    stamp.m_Device = static_cast<std::uint64_t>(info.st_dev);
    stamp.m_Inode = static_cast<std::uint64_t>(info.st_ino);
    stamp.m_Size = info.st_size > 0 ? static_cast<std::uint64_t>(info.st_size) : 0;
    stamp.m_ModifiedSeconds = info.st_mtim.tv_sec;
    stamp.m_ModifiedNanoseconds = info.st_mtim.tv_nsec;
    stamp.m_ChangedSeconds = info.st_ctim.tv_sec;
    stamp.m_ChangedNanoseconds = info.st_ctim.tv_nsec;
    return stamp;
}
