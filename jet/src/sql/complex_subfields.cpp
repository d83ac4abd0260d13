#include "sql/complex_subfields.h"

#include "jet/collation.h"

namespace jet::sql {
namespace {

constexpr const char* kNames[kSubfieldCount] = {
    "FileData", "FileFlags", "FileName", "FileTimeStamp", "FileType", "FileURL", "Value"};

}  // namespace

std::optional<Subfield> subfieldNamed(std::string_view name) {
    for (int i = 0; i < kSubfieldCount; ++i)
        if (jetNamesEqual(name, kNames[i]))
            return static_cast<Subfield>(i);
    return std::nullopt;
}

const char* subfieldName(Subfield s) {
    return kNames[static_cast<int>(s)];
}

SqlType subfieldType(Subfield s) {
    switch (s) {
        case Subfield::FileData:
            return SqlType::Binary;
        case Subfield::FileFlags:
            return SqlType::Long;
        case Subfield::FileTimeStamp:
            return SqlType::Date;
        case Subfield::Value:
            return SqlType::Variant;
        default:
            return SqlType::Text;
    }
}

}  // namespace jet::sql
