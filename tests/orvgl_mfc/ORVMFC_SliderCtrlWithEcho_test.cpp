#include <climits>
#include <cmath>

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
    RecordingSlider* NewSlider(wxPoint at, wxSize size, long style = wxSL_HORIZONTAL)
    {
        return new RecordingSlider(m_Frame, wxID_ANY, at, size, style);
    }
    static int Position(wxSlider* slider) { return slider->wxSlider::GetValue(); }
};

TEST_F(SliderTest, ValuesMapOntoPositionsWithinTheRangeOnly)
{
    RecordingSlider* slider = NewSlider({10, 10}, {200, 30});
    // Bad ranges and values outside them change nothing.
    slider->InitSlider(1.0f, 1.0f, 1.0f);
    slider->InitSlider(0.0f, 1.0f, 1.5f);
    EXPECT_EQ(slider->GetEcho(), nullptr);
    // 33333.83 truncated, read back a shade low, echoed rounded.
    slider->InitSlider(0.0f, 3.0f, 1.0f);
    EXPECT_EQ(Position(slider), 33333);
    EXPECT_FLOAT_EQ(slider->GetValue(), 0.99999f);
    EXPECT_EQ(slider->GetEcho()->GetLabel(), " 1.00");
    EXPECT_TRUE(slider->SetValue(3.0f));
    EXPECT_EQ(Position(slider), 100000);
    EXPECT_FALSE(slider->SetValue(std::nextafter(3.0f, 4.0f)));
    EXPECT_FALSE(slider->SetValue(std::nextafter(0.0f, -1.0f)));
    EXPECT_EQ(Position(slider), 100000);
    EXPECT_TRUE(slider->changes.empty());  // only the user's moves notify
    // Far outside any position: held at the limits, no overflow.
    EXPECT_EQ(slider->ValueToPosition(1e30f), INT_MAX);
    EXPECT_EQ(slider->ValueToPosition(-1e30f), INT_MIN);
    // Vertical: the maximum at the top. The range's ends both count from
    // its minimum.
    RecordingSlider* vertical = NewSlider({300, 10}, {40, 200}, wxSL_VERTICAL);
    vertical->InitSlider(-1.0f, 1.0f, 1.0f);
    EXPECT_EQ(Position(vertical), 0);
    EXPECT_FLOAT_EQ(vertical->GetValue(), 1.0f);
    EXPECT_TRUE(vertical->SetValue(0.5f));
    EXPECT_EQ(Position(vertical), 25000);
    EXPECT_FALSE(vertical->SetValue(1.5f));
    EXPECT_TRUE(vertical->SetValue(-1.0f));
    EXPECT_EQ(Position(vertical), 100000);
    EXPECT_EQ(vertical->GetEcho()->GetLabel(), " -1.00");
    slider->InitSlider(1.0f, 3.0f, 2.5f);
    EXPECT_FLOAT_EQ(slider->GetValue(), 2.5f);
    EXPECT_TRUE(slider->SetValue(2.8f));  // the top is the minimum plus the range
    ORVMFC_SliderCtrlWithEcho unmade;     // not a window yet: nothing happens
    unmade.InitSlider(0.0f, 1.0f, 0.5f);
    EXPECT_EQ(unmade.GetEcho(), nullptr);
}

}  // namespace
