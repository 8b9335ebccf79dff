#include "data/tabledefs.h"

namespace {

// The name and address orderings every list offers: "1" ascending, "2" descending.
std::vector<TIndexDef> NameAndAddressIndexes(const std::string& urlField, const std::string& aliasField)
{
    return {
        {"URL1", urlField, false, false, true},
        {"URL2", urlField, false, true, true},
        {"Alias1", aliasField, false, false, true},
        {"Alias2", aliasField, false, true, true},
    };
}

}  // namespace

std::vector<TFieldDef> StationFieldDefs()
{
    return {
        {"Index", TFieldType::DateTime, 0, false},
        {"desireDateTime", TFieldType::DateTime, 0, false},
        {"overDateTime", TFieldType::DateTime, 0, false},
        {"StatusCode", TFieldType::Integer, 0, false},
        {"NextDesireDateTime", TFieldType::DateTime, 0, true},
        {"URL", TFieldType::String, 50, false},
        {"Alias", TFieldType::String, 30, false},
        {"Frequency", TFieldType::String, 12, false},
        {"DayType", TFieldType::Integer, 0, false},
        {"Depth", TFieldType::Integer, 0, false},
        {"QuickMode", TFieldType::Boolean, 0, false},
        {"Cross", TFieldType::Boolean, 0, false},
        {"kind_serial", TFieldType::Integer, 0, false},
    };
}

std::vector<TIndexDef> StationIndexDefs()
{
    std::vector<TIndexDef> defs = {
        {"Index_ID", "Index", true, false, false},
        {"desireDateTime_Index", "desireDateTime", false, false, true},
    };
    for (TIndexDef& def : NameAndAddressIndexes("URL", "Alias"))
        defs.push_back(def);
    return defs;
}

std::vector<TFieldDef> SeeFieldDefs()
{
    return {
        {"Index", TFieldType::AutoInc, 0, false},
        {"last_date", TFieldType::Date, 0, false},
        {"URL", TFieldType::String, 50, false},
        {"Alias", TFieldType::String, 30, false},
        {"kind_serial", TFieldType::Integer, 0, false},
    };
}

std::vector<TIndexDef> SeeIndexDefs()
{
    std::vector<TIndexDef> defs = {{"Index_ID", "Index", true, false, false}};
    for (TIndexDef& def : NameAndAddressIndexes("URL", "Alias"))
        defs.push_back(def);
    return defs;
}

std::vector<TIndexDef> FavorIndexDefs()
{
    std::vector<TIndexDef> defs = {{"Index", "Index", true, false, false}};
    for (TIndexDef& def : NameAndAddressIndexes("URL", "ALIAS"))
        defs.push_back(def);
    return defs;
}
