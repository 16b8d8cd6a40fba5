// What the file system says about one path, read without opening the file:
// whether something is there, what kind of file it is, whether it may be
// read, its size, and its identity and change times. Two stamps of one path
// differ when the file was written, replaced, made readable or unreadable,
// or appeared or went away in between. A value type.
#pragma once

#include <cstdint>
#include <string>

class ORVD3D_FileStamp
{
public:
    ORVD3D_FileStamp() = default;

    // The stamp of path (a name as the library holds it; it reaches the
    // disk as UTF-8). Symbolic links are followed.
    static ORVD3D_FileStamp Of(const std::wstring& path);

    bool Exists() const { return m_Exists; }
    bool IsFolder() const { return m_Exists && m_Kind == Kind::Folder; }
    bool IsRegularFile() const { return m_Exists && m_Kind == Kind::Regular; }
    bool IsReadable() const { return m_Readable; }
    std::uint64_t GetSize() const { return m_Size; }

    bool operator==(const ORVD3D_FileStamp& other) const = default;

private:
    enum class Kind {
        None,
        Regular,
        Folder,
        Other,  // a device, a pipe, a socket: nothing a load can read to its end
    };

    bool m_Exists = false;
    Kind m_Kind = Kind::None;
    bool m_Readable = false;
    std::uint64_t m_Device = 0;
    std::uint64_t m_Inode = 0;
    std::uint64_t m_Size = 0;
    std::int64_t m_ModifiedSeconds = 0;
    std::int64_t m_ModifiedNanoseconds = 0;
    std::int64_t m_ChangedSeconds = 0;
    std::int64_t m_ChangedNanoseconds = 0;
};
