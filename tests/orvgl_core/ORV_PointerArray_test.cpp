#include <type_traits>

#include "ORV_PointerArray.h"
#include "TestSupport.h"

TEST(ORV_PointerArray, DeletesEachOwnedElementOnceAndBorrowedOnesOnlyOnRemove)
{
    // Two owning copies would delete the same objects twice.
    static_assert(!std::is_copy_constructible_v<ORV_PointerArray<ORV_Primitive*>>);
    static_assert(!std::is_copy_assignable_v<ORV_PointerArray<ORV_Primitive*>>);
    int& deletions = CountedPrimitive::s_Deleted;
    deletions = 0;
    {
        // Deleted through the base pointer's virtual destructor.
        ORV_PointerArray<ORV_Primitive*> owning(true);
        owning.Add(new CountedPrimitive);
        owning.Add(nullptr);  // skipped, and erased without a delete
        owning.Add(new CountedPrimitive);
        owning.RemoveAt(1);
        EXPECT_EQ(deletions, 0);
    }
    EXPECT_EQ(deletions, 2);
    // Not owning: the array leaves its elements alone, except that RemoveAt
    // still deletes the one it removes and shifts the rest down.
    deletions = 0;
    CountedPrimitive kept;
    {
        ORV_PointerArray<ORV_Primitive*> borrowing(false);
        borrowing.Add(new CountedPrimitive);
        borrowing.Add(&kept);
        borrowing.RemoveAt(0);
        EXPECT_EQ(deletions, 1);
        ASSERT_EQ(borrowing.Count(), 1);
        EXPECT_EQ(borrowing[0], &kept);
    }
    EXPECT_EQ(deletions, 1);
}
