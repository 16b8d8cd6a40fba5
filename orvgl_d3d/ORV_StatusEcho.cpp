#include "ORV_StatusEcho.h"

#include <array>

namespace {

// The four slots; all unbound at start.
std::array<std::weak_ptr<ORV_IStatusText>, ORV_STATUS_SLOT_COUNT>& StatusWindows()
{
    static std::array<std::weak_ptr<ORV_IStatusText>, ORV_STATUS_SLOT_COUNT> g_hStatusWindow;
    return g_hStatusWindow;
}

void EchoToStatus(int slot, const wchar_t* text)
{
    if (text == nullptr)
        return;
    // Locking keeps the window alive for the call even if the text it is
    // given makes its owner drop it.
    if (const std::shared_ptr<ORV_IStatusText> window = StatusWindows()[slot].lock())
        window->SetStatusText(text);
}

}  // namespace

void BindStatusWindow(int slot, std::weak_ptr<ORV_IStatusText> window)
{
    if (slot < 0 || slot >= ORV_STATUS_SLOT_COUNT)
        return;
    StatusWindows()[slot] = std::move(window);
}

void EchoToStatus0(const wchar_t* text)
{
    EchoToStatus(0, text);
}
void EchoToStatus1(const wchar_t* text)
{
    EchoToStatus(1, text);
}
void EchoToStatus2(const wchar_t* text)
{
    EchoToStatus(2, text);
}
void EchoToStatus3(const wchar_t* text)
{
    EchoToStatus(3, text);
}
