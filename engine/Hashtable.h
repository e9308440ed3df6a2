#pragma once
// String table that keeps its entries in insertion order: the information table of a
// repetition, printed as key/value lines and as the columns of the summary.

#include <string>
#include <vector>

class THashtable {
public:
    // Replaces the value of a present key (its position stays), else appends the entry.
    // Every key is an entry, the empty one included.
    void putWideString(const std::string& key, const std::string& element);
    // The value, or "" when the key is absent.
    std::string getWideString(const std::string& key) const;
    int getLength() const { return Flength; }
    // The whole key array (its capacity); entries are 0 .. getLength() - 1.
    const std::vector<std::string>& getKeys() const { return Fkeys; }
    // Value of entry i, 0 <= i < getLength().
    const std::string& getValueAt(int i) const;
    int capacity() const { return static_cast<int>(Fkeys.size()); }

private:
    int find(const std::string& key) const;
    void ensureCapacity(int n);

    std::vector<std::string> Fkeys;
    std::vector<std::string> FwideStringElements;
    int Flength = 0;
};
