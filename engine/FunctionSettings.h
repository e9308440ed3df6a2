#pragma once
// The function settings file, parsed once and read for many parameters.

#include <pugixml.hpp>
#include <string>

#include "OrvexRawTypes.h"

class TFunctionSettings {
public:
    // A file that is missing or not well-formed reads as holding no function.
    explicit TFunctionSettings(std::string fileName);
    TFunctionSettings(const TFunctionSettings&) = delete;
    TFunctionSettings& operator=(const TFunctionSettings&) = delete;

    const std::string& FileName() const { return fileName_; }
    // Fills info from parameter i of funcName's entry (name matched case-insensitively), and
    // `values` with the texts of its numbers; false on any fault of the file.
    bool Read(const std::string& funcName, int i, TRVarInfo& info, std::string& values) const;

private:
    std::string fileName_;
    pugi::xml_document doc_;
};
