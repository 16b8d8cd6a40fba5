// Loads that failed, remembered per requested name with the stamps of the
// files the search looked at. Asking again for a bad file then costs next to
// nothing instead of finding, opening and parsing the file on every draw.
// An entry holds until the search would see something else: the file was
// written, replaced or removed, or one appeared in a folder searched
// earlier. The file system is looked at again at most once per recheck
// interval, so a repaired file is taken up within that time.
//
// Owned by the graphics system, one for each resource table.
#pragma once

#include <chrono>
#include <map>
#include <string>
#include <vector>

#include "ORVD3D_FileStamp.h"

class ORVD3D_FailedLoads
{
public:
    using Clock = std::chrono::steady_clock;
    static constexpr Clock::duration kDefaultRecheckInterval = std::chrono::seconds(1);

    // The status report remembered for name while it holds; null otherwise,
    // and an entry that no longer holds is forgotten.
    const std::wstring* Recall(const std::wstring& name);
    void Remember(const std::wstring& name, std::vector<ORVD3D_FileStamp> looked, std::wstring report);
    void Forget(const std::wstring& name) { m_Entries.erase(name); }
    void Clear() { m_Entries.clear(); }
    int Count() const { return static_cast<int>(m_Entries.size()); }

    // Zero looks at the file system on every request.
    void SetRecheckInterval(Clock::duration interval) { m_RecheckInterval = interval; }

private:
    struct Entry
    {
        std::vector<ORVD3D_FileStamp> looked;
        std::wstring report;
        Clock::time_point checked;
    };
    std::map<std::wstring, Entry, std::less<>> m_Entries;
    Clock::duration m_RecheckInterval = kDefaultRecheckInterval;
};
