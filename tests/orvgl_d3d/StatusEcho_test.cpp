#include <gtest/gtest.h>

#include "D3DTestSupport.h"

TEST(StatusEcho, EachSlotReachesOnlyItsOwnLiveWindow)
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
    EchoToStatus1(L"unbound");
    EXPECT_EQ(sinks[1]->texts.size(), 1u);
}

TEST(MessageBox, HandlerReceivesTheCallAndFallbackWritesOneLine)
{
    {
        MessageBoxRecorder recorder;
        EXPECT_EQ(ORV_MessageBox(HWND{}, L"text", L"caption", MB_OK | MB_ICONERROR), IDOK);
        ASSERT_EQ(recorder.boxes.size(), 1u);
        EXPECT_EQ(recorder.boxes[0].text, L"text");
        EXPECT_EQ(recorder.boxes[0].caption, L"caption");
        EXPECT_EQ(recorder.boxes[0].type, MB_OK | MB_ICONERROR);
    }
    // The recorder put the empty handler back: one UTF-8 line on stderr.
    testing::internal::CaptureStderr();
    EXPECT_EQ(ORV_MessageBox(HWND{}, L"Fehler \u00fc", L"Titel", MB_OK), IDOK);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), "Titel: Fehler \xc3\xbc\n");
}

TEST(ProblemReport, ReachesTheInstalledReporterOnlyAndScopesNest)
{
    ORV_ReportProblem("nobody listens");  // no reporter: nothing happens
    std::vector<std::string> outer;
    std::vector<std::string> inner;
    {
        const ORV_ProblemReporterScope first([&](const std::string& line) { outer.push_back(line); });
        ORV_ReportProblem("one");
        {
            const ORV_ProblemReporterScope second([&](const std::string& line) { inner.push_back(line); });
            ORV_ReportProblem("two");
        }
        ORV_ReportProblem("three");
    }
    ORV_ReportProblem("four");
    EXPECT_EQ(outer, (std::vector<std::string>{"one", "three"}));
    EXPECT_EQ(inner, std::vector<std::string>{"two"});
}
