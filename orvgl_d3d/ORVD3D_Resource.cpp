#include "ORVD3D_Resource.h"

#include "ORV_ProblemReport.h"
#include "ORV_StatusEcho.h"
#include "QuotedText.h"
#include "Utf8.h"
#include "d3dx9mesh.h"

namespace {

// Folders tried after the name itself, in order; the empty entry ends the
// list. Textures and meshes share it: either may lie in the other's folder.
const wchar_t* const kSearchList[] = {L"", L"./Textures", L"Textures", L"./MeshFiles", L"MeshFiles", L""};

std::wstring StatusReport(const std::wstring& fileName, const wchar_t* what)
{
    return L"**ERROR** [" + QuoteText(fileName) + L"]: " + what;
}

}  // namespace

ORVD3D_Resource::~ORVD3D_Resource()
{
    ORVD3D_Resource::Unload();
}

bool ORVD3D_Resource::Load(IDirect3DDevice9* device, const wchar_t* fileName)
{
    // A copy: fileName may point into this resource's own name, which
    // Unload is about to clear.
    const std::wstring name = fileName != nullptr ? fileName : L"";
    Unload();
    m_FailureReason.clear();
    m_FailureReport.clear();

    m_pDevice = device;
    if (m_pDevice == nullptr)
        return false;
    m_pDevice->AddRef();
    m_FileName = name;

    std::wstring located;
    if (!LocateFile(name.c_str(), located)) {
        m_FailureReport = StatusReport(name, L"file not found!");
        EchoToStatus0(m_FailureReport.c_str());
        ReportFileProblem(name, "not found (looked in the working folder, Textures and MeshFiles)");
        return false;
    }
    std::string reason;
    if (CheckBeforeReading(located, reason) && CreateFromPath(located.c_str()))
        return true;
    if (reason.empty())
        reason = !m_FailureReason.empty() ? m_FailureReason : ReasonFromReader(located);
    m_FailureReport = StatusReport(name, L"open for loading failed!");
    EchoToStatus0(m_FailureReport.c_str());
    ReportFileProblem(located, reason);
    return false;
}

void ORVD3D_Resource::Unload()
{
    if (m_pDevice != nullptr) {
        m_pDevice->Release();
        m_pDevice = nullptr;
    }
    m_FileName.clear();
}

bool ORVD3D_Resource::LocateFile(const wchar_t* fileName, std::wstring& found, std::vector<ORVD3D_FileStamp>* looked)
{
    found.clear();
    if (looked != nullptr)
        looked->clear();
    if (fileName == nullptr || *fileName == L'\0')
        return false;
    const std::wstring name = fileName;
    std::wstring candidate = name;
    std::size_t entry = 0;
    for (;;) {
        const ORVD3D_FileStamp stamp = ORVD3D_FileStamp::Of(candidate);
        if (looked != nullptr)
            looked->push_back(stamp);
        // A folder cannot be loaded from, so it does not count.
        if (stamp.Exists() && !stamp.IsFolder() && stamp.IsReadable()) {
            found = candidate;
            break;
        }
        ++entry;
        if (*kSearchList[entry] == L'\0')
            break;
        candidate = std::wstring(kSearchList[entry]) + L"/" + name;
    }
    return !found.empty();
}

bool ORVD3D_Resource::CheckBeforeReading(const std::wstring& path, std::string& reason)
{
    const ORVD3D_FileStamp stamp = ORVD3D_FileStamp::Of(path);
    if (!stamp.Exists()) {
        reason = "not found";
        return false;
    }
    // A device or a pipe may never end (a link to /dev/zero): reading it
    // would stall the game.
    if (!stamp.IsRegularFile()) {
        reason = "not a regular file";
        return false;
    }
    if (stamp.GetSize() > kMaxFileBytes) {
        reason = "larger than " + std::to_string(kMaxFileBytes >> 20) + " MB (" + std::to_string(stamp.GetSize()) +
                 " bytes)";
        return false;
    }
    return true;
}

std::string ORVD3D_Resource::QuotePath(std::wstring_view path)
{
    // "./MeshFiles/x" is where the search found "x"; "MeshFiles/x" reads
    // better and names the same file.
    if (path.starts_with(L"./"))
        path.remove_prefix(2);
    return WideToUtf8(QuoteText(path));
}

void ORVD3D_Resource::ReportFileProblem(std::wstring_view path, const std::string& reason)
{
    ORV_ReportProblem(QuotePath(path) + ": " + QuoteUtf8(reason, kQuotedReasonLength));
}

std::string ORVD3D_Resource::ReasonFromReader(const std::wstring& path)
{
    std::string reason = D3DXGetLastErrorEXT();
    const std::string prefix = WideToUtf8(path) + ": ";
    if (reason.compare(0, prefix.size(), prefix) == 0)
        reason.erase(0, prefix.size());
    if (reason.empty())
        reason = "cannot be loaded";
    return reason;
}
