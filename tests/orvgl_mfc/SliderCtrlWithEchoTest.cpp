#include <climits>
#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "MfcTestSupport.h"
#include "ORVMFC_SliderCtrlWithEcho.h"

namespace {

class RecordingSlider : public ORVMFC_SliderCtrlWithEcho
{
public:
    using ORVMFC_SliderCtrlWithEcho::ORVMFC_SliderCtrlWithEcho;
    void OnValueChanged(float value) override { changes.push_back(value); }
    std::vector<float> changes;
};

class SliderTest : public FrameTest
{
protected:
    RecordingSlider* NewSlider(const wxRect& rect, long style = wxSL_HORIZONTAL)
    {
        return new RecordingSlider(m_Frame, wxID_ANY, rect.GetPosition(), rect.GetSize(), style);
    }
    static int Position(wxSlider* slider) { return slider->wxSlider::GetValue(); }
    static wxString Echo(ORVMFC_SliderCtrlWithEcho* slider) { return slider->GetEcho()->GetLabel(); }
};

TEST_F(SliderTest, HorizontalSliderMapsValuesAndEchoesThem)
{
    RecordingSlider* slider = NewSlider(wxRect(10, 10, 200, 30));
    // Bad ranges and values outside them change nothing.
    slider->InitSlider(1.0f, 1.0f, 1.0f);
    slider->InitSlider(2.0f, 1.0f, 1.5f);
    slider->InitSlider(0.0f, 1.0f, 1.5f);
    EXPECT_EQ(slider->GetEcho(), nullptr);
    EXPECT_EQ(slider->GetRect(), wxRect(10, 10, 200, 30));

    slider->InitSlider(0.0f, 1.0f, 0.5f);
    EXPECT_EQ(Position(slider), 50000);
    ASSERT_NE(slider->GetEcho(), nullptr);
    EXPECT_EQ(Echo(slider), " 0.50");

    // 33333.83 truncated, read back a shade low, echoed rounded.
    slider->InitSlider(0.0f, 3.0f, 1.0f);
    EXPECT_EQ(Position(slider), 33333);
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.99999f);
    EXPECT_EQ(Echo(slider), " 1.00");

    EXPECT_TRUE(slider->SetValue(3.0f));
    EXPECT_EQ(Position(slider), 100000);
    EXPECT_FALSE(slider->SetValue(std::nextafter(3.0f, 4.0f)));
    EXPECT_FALSE(slider->SetValue(std::nextafter(0.0f, -1.0f)));
    EXPECT_EQ(Position(slider), 100000);
    EXPECT_TRUE(slider->SetValue(0.0f));
    EXPECT_EQ(Echo(slider), " 0.00");
    EXPECT_TRUE(slider->changes.empty());

    // Far outside any position: held at the limits, no overflow.
    EXPECT_EQ(slider->ValueToPosition(1e30f), INT_MAX);
    EXPECT_EQ(slider->ValueToPosition(-1e30f), INT_MIN);

    // Not a window yet: nothing happens.
    ORVMFC_SliderCtrlWithEcho unmade;
    unmade.InitSlider(0.0f, 1.0f, 0.5f);
    EXPECT_EQ(unmade.GetEcho(), nullptr);
}

TEST_F(SliderTest, VerticalSliderHasItsMaximumAtTheTop)
{
    RecordingSlider* slider = NewSlider(wxRect(10, 10, 40, 200), wxSL_VERTICAL);
    ASSERT_TRUE(slider->IsVertical());
    slider->InitSlider(-1.0f, 1.0f, 1.0f);
    EXPECT_EQ(Position(slider), 0);
    EXPECT_FLOAT_EQ(slider->GetValue(), 1.0f);
    EXPECT_TRUE(slider->SetValue(-1.0f));
    EXPECT_EQ(Position(slider), 100000);
    EXPECT_FLOAT_EQ(slider->GetValue(), -1.0f);
    EXPECT_EQ(Echo(slider), " -1.00");
    EXPECT_TRUE(slider->SetValue(0.5f));
    EXPECT_EQ(Position(slider), 25000);
}

TEST_F(SliderTest, EchoTakesRoomFromTheSliderOnceAndFollowsIt)
{
    RecordingSlider* horizontal = NewSlider(wxRect(10, 10, 200, 30));
    horizontal->InitSlider(0.0f, 1.0f, 0.25f);
    wxStaticText* echo = horizontal->GetEcho();
    EXPECT_EQ(horizontal->GetRect(), wxRect(10, 10, 150, 30));
    EXPECT_EQ(echo->GetRect(), wxRect(160, 10, 50, 30));
    EXPECT_EQ(echo->GetParent(), m_Frame);
    EXPECT_EQ(echo->GetWindowStyleFlag() & wxBORDER_MASK, wxBORDER_SUNKEN);
    EXPECT_EQ(echo->GetFont(), m_Frame->GetFont());
    // Re-ranging keeps the echo and the size.
    horizontal->InitSlider(-2.0f, 2.0f, 1.0f);
    EXPECT_EQ(horizontal->GetEcho(), echo);
    EXPECT_EQ(horizontal->GetRect(), wxRect(10, 10, 150, 30));

    // 50 x 20 centred at the top: left = 10 + 41 / 2 - 25.
    RecordingSlider* vertical = NewSlider(wxRect(10, 50, 41, 200), wxSL_VERTICAL);
    vertical->InitSlider(0.0f, 1.0f, 0.0f);
    EXPECT_EQ(vertical->GetEcho()->GetRect(), wxRect(5, 50, 50, 20));
    EXPECT_EQ(vertical->GetRect(), wxRect(10, 70, 41, 180));

    horizontal->Hide();
    EXPECT_FALSE(echo->IsShown());
    horizontal->Show();
    EXPECT_TRUE(echo->IsShown());
    wxWeakRef<wxStaticText> echoRef(echo);
    horizontal->Destroy();
    EXPECT_FALSE(echoRef);
}

TEST_F(SliderTest, ScrollingUpdatesTheEchoThenNotifies)
{
    RecordingSlider* slider = NewSlider(wxRect(10, 10, 200, 30));
    slider->InitSlider(0.0f, 2.0f, 0.0f);
    int parentSaw = 0;
    m_Frame->Bind(wxEVT_SCROLL_THUMBTRACK, [&](wxScrollEvent&) { ++parentSaw; });

    // What a drag does: the position moves, then the slider reports it.
    slider->wxSlider::SetValue(25000);
    wxScrollEvent event(wxEVT_SCROLL_THUMBTRACK, slider->GetId(), 25000, wxHORIZONTAL);
    event.SetEventObject(slider);
    slider->GetEventHandler()->ProcessEvent(event);
    EXPECT_EQ(Echo(slider), " 0.50");
    EXPECT_EQ(slider->changes, std::vector<float>{0.5f});
    EXPECT_EQ(parentSaw, 1);
}

}  // namespace
