#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Hashtable.h"

TEST(Hashtable, PutKeepsInsertionOrderReplacesInPlaceAndTakesTheEmptyKey) {
    THashtable t;
    for (const char* k : {"b", "a", "c"})
        t.putWideString(k, k);
    t.putWideString("a", "changed");
    ASSERT_EQ(t.getLength(), 3);
    EXPECT_EQ(std::vector<std::string>(t.getKeys().begin(), t.getKeys().begin() + 3),
              (std::vector<std::string>{"b", "a", "c"}));
    EXPECT_EQ(t.getValueAt(1), "changed");
    EXPECT_EQ(t.getWideString("a"), "changed");
    EXPECT_EQ(t.getWideString("A"), ""); // keys are case-sensitive
    EXPECT_EQ(t.getWideString("absent"), "");
    EXPECT_THROW(t.getValueAt(3), std::exception);

    // Capacity 4 with 3 entries: the free slot holds an empty key and must not take the value.
    ASSERT_GT(t.capacity(), t.getLength());
    t.putWideString("", "empty");
    EXPECT_EQ(t.getLength(), 4);
    EXPECT_EQ(t.getWideString(""), "empty");
    EXPECT_EQ(t.getValueAt(3), "empty");
    t.putWideString("", "again");
    EXPECT_EQ(t.getLength(), 4);
    EXPECT_EQ(t.getValueAt(3), "again");
}
