#include <gtest/gtest.h>

#include "D3DTestSupport.h"

TEST(ORV_StatusEcho, EachSlotReachesOnlyItsOwnLiveWindow)
{
    std::shared_ptr<StatusRecorder> sinks[ORV_STATUS_SLOT_COUNT];
    for (int slot = 0; slot < ORV_STATUS_SLOT_COUNT; ++slot)
        BindStatusWindow(slot, sinks[slot] = std::make_shared<StatusRecorder>());
    BindStatusWindow(4, sinks[0]);  // no such slot
    EchoToStatus0(L"zero");
    EchoToStatus1(L"one");
    EchoToStatus2(L"two");
    EchoToStatus3(L"three");
    EchoToStatus0(nullptr);
    const wchar_t* expected[] = {L"zero", L"one", L"two", L"three"};
    for (int slot = 0; slot < ORV_STATUS_SLOT_COUNT; ++slot)
        EXPECT_EQ(sinks[slot]->texts, std::vector<std::wstring>{expected[slot]});

    // A window that is gone is skipped; the slot never kept it alive.
    std::weak_ptr<StatusRecorder> gone = sinks[2];
    sinks[2].reset();
    EXPECT_TRUE(gone.expired());
    EchoToStatus2(L"after");
    for (int slot = 0; slot < ORV_STATUS_SLOT_COUNT; ++slot)
        BindStatusWindow(slot, {});

    // Without a message-box handler a box is one UTF-8 line on stderr.
    testing::internal::CaptureStderr();
    EXPECT_EQ(ORV_MessageBox(HWND{}, L"Fehler \u00fc", L"Titel", MB_OK), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Titel: Fehler \xc3\xbc\n");
}
