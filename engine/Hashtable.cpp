#include "Hashtable.h"

#include "OrvexError.h"

int THashtable::find(const std::string& key) const {
    // Only used slots: a free slot holds "" and must not swallow an empty key.
    for (int i = 0; i < Flength; ++i)
        if (Fkeys[static_cast<std::size_t>(i)] == key) return i;
    return -1;
}

void THashtable::ensureCapacity(int n) {
    std::size_t cap = Fkeys.size();
    if (cap == 0 && n > 0) cap = static_cast<std::size_t>(n);
    while (static_cast<std::size_t>(n) > cap)
        cap *= 2;
    if (cap != Fkeys.size()) {
        Fkeys.resize(cap);
        FwideStringElements.resize(cap);
    }
}

void THashtable::putWideString(const std::string& key, const std::string& element) {
    const int i = find(key);
    if (i >= 0) {
        FwideStringElements[static_cast<std::size_t>(i)] = element;
        return;
    }
    ensureCapacity(Flength + 1);
    Fkeys[static_cast<std::size_t>(Flength)] = key;
    FwideStringElements[static_cast<std::size_t>(Flength)] = element;
    ++Flength;
}

std::string THashtable::getWideString(const std::string& key) const {
    const int i = find(key);
    return i >= 0 ? FwideStringElements[static_cast<std::size_t>(i)] : std::string();
}

const std::string& THashtable::getValueAt(int i) const {
    if (i < 0 || i >= Flength) throw EOrvexError("Table index out of range: " + std::to_string(i));
    return FwideStringElements[static_cast<std::size_t>(i)];
}
