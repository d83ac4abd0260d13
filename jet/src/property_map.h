// The property blob of an object (MSysObjects.LvProp): named properties of
// the object itself and of each of its columns, e.g. a calculated column's
// "Expression" and "ResultType".
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "jet/status.h"

namespace jet {

class PropertyMap {
  public:
    struct Property {
        std::string owner;  // column name; empty for the object itself
        std::string name;
        uint8_t type = 0;   // Jet type code of the value
        std::string bytes;  // the value as stored
    };

    // Parses a Jet 4 / ACE blob ("MR2\0"). An empty blob gives an empty map;
    // a blob whose blocks overrun their bounds is Corrupt.
    static Result<PropertyMap> parse(std::string_view blob);

    // The property `name` of column `owner` (names compared as Jet does).
    const Property* find(std::string_view owner, std::string_view name) const;
    // A text property (Text or Memo) as UTF-8.
    std::optional<std::string> text(std::string_view owner, std::string_view name) const;
    // A Byte, Integer or Long property.
    std::optional<int64_t> integer(std::string_view owner, std::string_view name) const;

  private:
    Status readValues(std::string_view block, const std::vector<std::string>& names);

    std::vector<Property> properties_;
};

}  // namespace jet
