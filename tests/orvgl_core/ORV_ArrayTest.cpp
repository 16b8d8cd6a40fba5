#include <type_traits>

#include <gtest/gtest.h>

#include "ORV_Array.h"
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

TEST(ORV_Array, InsertRemoveAndAssignKeepOrder)
{
    ORV_Array<int> a;
    a.Add(10);
    a.Add(20);
    EXPECT_EQ(a.Count(), 2);
    a.InsertAt(1, 15);        // before the element at 1
    a.InsertAt(3, 30);        // at the end: appends
    a.InsertAt(100, 40);      // past the end: appends
    a.InsertAt(0, 5);
    const int expected[] = {5, 10, 15, 20, 30, 40};
    ASSERT_EQ(a.Count(), 6);
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(a[i], expected[i]);

    a.RemoveAt(0);
    EXPECT_EQ(a[0], 10);
    a.RemoveAt(a.Count() - 1);
    EXPECT_EQ(a.Count(), 4);
    EXPECT_EQ(a[3], 30);

    ORV_Array<int> b;
    b.Add(99);
    ORV_Array<int>& base = b;
    base = a;  // the virtual assignment replaces the contents
    ASSERT_EQ(b.Count(), 4);
    EXPECT_EQ(b[1], 15);
    a[1] = 16;
    EXPECT_EQ(b[1], 15);  // a copy, not shared storage
}

TEST(ORV_PointerArray, OwningDeletesEachElementOnceAndNonOwningNone)
{
    int deletions = 0, childDeletions = 0;
    {
        ORV_PointerArray<Tracked*> owning(true);
        owning.Add(new Tracked(&deletions));
        owning.Add(nullptr);  // skipped
        owning.Add(new TrackedChild(&deletions, &childDeletions));
    }
    EXPECT_EQ(deletions, 2);
    EXPECT_EQ(childDeletions, 1);  // deleted through the virtual destructor

    deletions = 0;
    Tracked kept(&deletions);
    {
        ORV_PointerArray<Tracked*> borrowing(false);
        borrowing.Add(&kept);
        EXPECT_FALSE(borrowing.OwnsElements());
    }
    EXPECT_EQ(deletions, 0);
}

TEST(ORV_PointerArray, RemoveAtDeletesEvenWhenNotOwningAndShiftsDown)
{
    int deletions = 0;
    Tracked* first = new Tracked(&deletions);
    Tracked second(&deletions);
    {
        ORV_PointerArray<Tracked*> borrowing(false);
        borrowing.Add(first);
        borrowing.Add(&second);
        borrowing.RemoveAt(0);
        EXPECT_EQ(deletions, 1);
        ASSERT_EQ(borrowing.Count(), 1);
        EXPECT_EQ(borrowing[0], &second);
    }
    EXPECT_EQ(deletions, 1);  // the borrowed second survives the array

    ORV_PointerArray<Tracked*> owning(true);
    owning.Add(nullptr);
    owning.RemoveAt(0);  // a null element is erased without a delete
    EXPECT_EQ(owning.Count(), 0);
}

TEST(ORV_PointerArray, CopyingIsForbiddenButPlainArraysStillAssign)
{
    // Two owning copies would delete the same objects twice.
    static_assert(!std::is_copy_constructible_v<ORV_PointerArray<Tracked*>>);
    static_assert(!std::is_copy_assignable_v<ORV_PointerArray<Tracked*>>);

    int deletions = 0;
    Tracked item(&deletions);
    ORV_Array<Tracked*> plain;
    plain.Add(&item);
    ORV_PointerArray<Tracked*> borrowing(false);
    borrowing = plain;  // copies the pointers, not the objects
    ASSERT_EQ(borrowing.Count(), 1);
    EXPECT_EQ(borrowing[0], &item);
}

}  // namespace
