// Base of the resources loaded once from a file and shared by name through
// the graphics system's tables (textures, meshes).
//
// The table that created a resource owns it. While loaded, a resource holds
// its own reference to the device it was created on and its file name exactly
// as requested (the table key), not the path where the file was found.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ORVD3D_FileStamp.h"
#include "d3d9.h"

class ORVD3D_Resource
{
public:
    // Larger than any mesh or texture the game could use: such a file is
    // refused before a byte of it is read.
    static constexpr std::uint64_t kMaxFileBytes = std::uint64_t{64} << 20;

    ORVD3D_Resource() = default;
    virtual ~ORVD3D_Resource();

    ORVD3D_Resource(const ORVD3D_Resource&) = delete;
    ORVD3D_Resource& operator=(const ORVD3D_Resource&) = delete;

    // Finds the file through the search list and creates the Direct3D object
    // from it. A failure is reported to status slot 0 and, with the file and
    // the reason, as one line to the problem reporter.
    virtual bool Load(IDirect3DDevice9* device, const wchar_t* fileName);
    // Releases everything and returns to the constructed state.
    virtual void Unload();
    virtual bool CreateFromPath(const wchar_t* locatedPath) = 0;

    const wchar_t* GetFileName() const { return m_FileName.c_str(); }
    // The status-slot message of the last failed Load; empty after a
    // successful one.
    const std::wstring& GetFailureReport() const { return m_FailureReport; }

    // Tries fileName as given, then in each search folder, and sets found to
    // the first candidate that is there, is not a folder and may be read
    // (empty when none is). Nothing is opened: a pipe would wait for a
    // writer. When looked is given, it receives the stamp of every
    // candidate looked at, in order, so that a later search can tell whether
    // it would find anything different.
    static bool LocateFile(const wchar_t* fileName, std::wstring& found,
                           std::vector<ORVD3D_FileStamp>* looked = nullptr);

    // False, with reason set, when path is nothing a load could read to its
    // end: not there, not a regular file (a device, a pipe), or larger than
    // kMaxFileBytes.
    static bool CheckBeforeReading(const std::wstring& path, std::string& reason);

protected:
    // A path as a message shows it: quoted, without a leading "./".
    static std::string QuotePath(std::wstring_view path);
    // One line to the problem reporter: "PATH: REASON", both quoted safely.
    static void ReportFileProblem(std::wstring_view path, const std::string& reason);
    // Why the last D3DX call failed, without the path it names first.
    static std::string ReasonFromReader(const std::wstring& path);

    IDirect3DDevice9* m_pDevice = nullptr;
    std::wstring m_FileName;
    // Set by CreateFromPath when it refuses a file for a reason of its own
    // (rather than the reader's).
    std::string m_FailureReason;
    std::wstring m_FailureReport;
};
