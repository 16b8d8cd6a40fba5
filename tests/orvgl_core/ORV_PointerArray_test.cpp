#include <type_traits>

#include <gtest/gtest.h>

#include "ORV_PointerArray.h"

namespace {

struct Tracked
{
    explicit Tracked(int* deletions) : m_Deletions(deletions) {}
    virtual ~Tracked() { ++*m_Deletions; }
    int* m_Deletions;
};

struct TrackedChild : Tracked
{
    TrackedChild(int* deletions, int* childDeletions) : Tracked(deletions), m_Child(childDeletions) {}
    ~TrackedChild() override { ++*m_Child; }
    int* m_Child;
};

TEST(ORV_PointerArray, DeletesEachOwnedElementOnceAndBorrowedOnesOnlyOnRemove)
{
    // Two owning copies would delete the same objects twice.
    static_assert(!std::is_copy_constructible_v<ORV_PointerArray<Tracked*>>);
    static_assert(!std::is_copy_assignable_v<ORV_PointerArray<Tracked*>>);

    int deletions = 0, childDeletions = 0;
    {
        ORV_PointerArray<Tracked*> owning(true);
        owning.Add(new Tracked(&deletions));
        owning.Add(nullptr);  // skipped, and erased without a delete
        owning.Add(new TrackedChild(&deletions, &childDeletions));
        owning.RemoveAt(1);
        EXPECT_EQ(deletions, 0);
    }
    EXPECT_EQ(deletions, 2);
    EXPECT_EQ(childDeletions, 1);  // through the virtual destructor

    // Not owning: the array leaves its elements alone, except that RemoveAt
    // still deletes the one it removes and shifts the rest down.
    deletions = 0;
    Tracked kept(&deletions);
    {
        ORV_PointerArray<Tracked*> borrowing(false);
        borrowing.Add(new Tracked(&deletions));
        borrowing.Add(&kept);
        borrowing.RemoveAt(0);
        EXPECT_EQ(deletions, 1);
        ASSERT_EQ(borrowing.Count(), 1);
        EXPECT_EQ(borrowing[0], &kept);
    }
    EXPECT_EQ(deletions, 1);
}

}  // namespace
