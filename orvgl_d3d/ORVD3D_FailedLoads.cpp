#include "ORVD3D_FailedLoads.h"

#include <utility>

#include "ORVD3D_Resource.h"

const std::wstring* ORVD3D_FailedLoads::Recall(const std::wstring& name)
{
    const auto entry = m_Entries.find(name);
    if (entry == m_Entries.end())
        return nullptr;
    const Clock::time_point now = Clock::now();
    if (m_RecheckInterval > Clock::duration::zero() && now - entry->second.checked < m_RecheckInterval)
        return &entry->second.report;
    std::wstring found;
    std::vector<ORVD3D_FileStamp> looked;
    ORVD3D_Resource::LocateFile(name.c_str(), found, &looked);
    if (looked != entry->second.looked) {
        m_Entries.erase(entry);
        return nullptr;
    }
    entry->second.checked = now;
    return &entry->second.report;
}

void ORVD3D_FailedLoads::Remember(const std::wstring& name, std::vector<ORVD3D_FileStamp> looked, std::wstring report)
{
    m_Entries[name] = Entry{std::move(looked), std::move(report), Clock::now()};
}
