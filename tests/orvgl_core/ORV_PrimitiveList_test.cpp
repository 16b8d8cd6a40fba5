#include <algorithm>

#include "ORV_PrimitiveList.h"
#include "TestSupport.h"

TEST(ORV_PrimitiveList, OwnsDrawsAndBoundsItsMembers)
{
    CountedPrimitive::s_Deleted = 0;
    {
        ORV_PrimitiveList list;
        EXPECT_EQ(list.GetBoundingVolume(0), nullptr);  // empty: no volume
        list.AddPrimitive(new CountedPrimitive(false));
        ORV_BoundingVolume* none = list.GetBoundingVolume(0);
        ASSERT_NE(none, nullptr);
        EXPECT_FALSE(static_cast<ORV_BoundingBox*>(none)->IsValid());
        auto* hidden = new CountedPrimitive({5, 5, 5}, {6, 6, 6});
        hidden->SetVisible(false);
        list.AddPrimitive(hidden);
        auto* shown = new CountedPrimitive({-1, 0, 0}, {0, 1, 1});
        shown->SetColor(ORV_Color(1, 2, 3, 4));
        list.AddPrimitive(shown);
        list.AddPrimitive(nullptr);  // null members are skipped everywhere
        ExpectBox(*static_cast<ORV_BoundingBox*>(list.GetBoundingVolume(0)), {-1, 0, 0}, {6, 6, 6});
        list.SetColor(ORV_Color(200, 0, 0, 255));
        RecordingDrawHelper h;
        list.Draw(2, h);
        EXPECT_EQ(hidden->drawn, 0);
        EXPECT_EQ(shown->drawn, 1);
        // Only the members' attributes are sent; the list's own are not.
        EXPECT_EQ(h.GetColor(), ORV_Color(1, 2, 3, 4));
        EXPECT_EQ(std::count(h.log.begin(), h.log.end(), "ResetAttributes"), 2);
        h.shapes.clear();
        list.DrawMembersBoundingVolumes(0, &h, ORV_Color(0, 255, 0, 255));
        EXPECT_EQ(h.shapes.size(), 24u);  // hidden or not, each box is drawn
        list.DrawMembersBoundingVolumes(0, nullptr, ORV_Color());
        list.RemovePrimitive(1);
        EXPECT_EQ(CountedPrimitive::s_Deleted, 1);
        EXPECT_EQ(list.GetPrimitive(1), shown);
    }
    EXPECT_EQ(CountedPrimitive::s_Deleted, 3);
}
