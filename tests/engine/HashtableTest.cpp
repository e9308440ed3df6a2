#include <gtest/gtest.h>

#include "Hashtable.h"

TEST(Hashtable, PutKeepsInsertionOrderAndReplacesInPlace) {
    THashtable t;
    t.putWideString("b", "1");
    t.putWideString("a", "2");
    t.putWideString("c", "3");
    t.putWideString("a", "changed");
    ASSERT_EQ(t.getLength(), 3);
    EXPECT_EQ(t.getKeys()[0], "b");
    EXPECT_EQ(t.getKeys()[1], "a");
    EXPECT_EQ(t.getKeys()[2], "c");
    EXPECT_EQ(t.getValueAt(1), "changed");
    EXPECT_EQ(t.getWideString("a"), "changed");
    EXPECT_EQ(t.getWideString("A"), ""); // keys are case-sensitive
    EXPECT_EQ(t.getWideString("absent"), "");
    EXPECT_THROW(t.getValueAt(3), std::exception);
}

TEST(Hashtable, AnEmptyKeyIsAnEntryLikeAnyOther) {
    // Capacity 4 with 3 entries: the free slot holds an empty key and must not take the value.
    THashtable t;
    for (const char* k : {"x", "y", "z"})
        t.putWideString(k, k);
    ASSERT_GT(t.capacity(), t.getLength());
    t.putWideString("", "empty");
    EXPECT_EQ(t.getLength(), 4);
    EXPECT_EQ(t.getWideString(""), "empty");
    EXPECT_EQ(t.getValueAt(3), "empty");
    t.putWideString("", "again");
    EXPECT_EQ(t.getLength(), 4);
    EXPECT_EQ(t.getValueAt(3), "again");
}
