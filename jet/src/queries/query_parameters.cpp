#include "queries/query_parameters.h"

#include "queries/sql_names.h"

namespace jet {
namespace {

struct ParameterType {
    int32_t flag;         // the attribute 2 Flag
    const char* sqlName;  // as written in PARAMETERS
    int typeCode;         // the Jet column type the value takes
};

// The Flag holds DAO's data type numbering; the Jet column codes agree with
// it up to Memo and for GUID, and Decimal is 20 in DAO but 0x10 in Jet.
constexpr ParameterType kTypes[] = {
    {0, "Value", 0},       {1, "Bit", 0x01},      {2, "Byte", 0x02},       {3, "Short", 0x03},
    {4, "Long", 0x04},     {5, "Currency", 0x05}, {6, "IEEESingle", 0x06}, {7, "IEEEDouble", 0x07},
    {8, "DateTime", 0x08}, {9, "Binary", 0x09},   {10, "Text", 0x0A},      {11, "LongBinary", 0x0B},
    {12, "Memo", 0x0C},    {15, "Guid", 0x0F},    {20, "Decimal", 0x10},
};

ParameterType typeFor(int32_t flag) {
    for (const ParameterType& type : kTypes) {
        if (type.flag == flag) {
            return type;
        }
    }
    return kTypes[0];
}

}  // namespace

std::vector<QueryParameter> queryParameters(const QueryElements& elements) {
    std::vector<QueryParameter> out;
    for (const QueryRow* row : elements.rows(kAttrParameter)) {
        ParameterType type = typeFor(row->flag ? *row->flag : 0);
        QueryParameter parameter;
        parameter.name = textOf(row->name1);
        parameter.typeName = type.sqlName;
        parameter.typeCode = type.typeCode;
        if (type.typeCode == 0x0A && row->lvExtra && *row->lvExtra > 0) {
            parameter.typeName += " ( " + std::to_string(*row->lvExtra) + " )";
        }
        out.push_back(std::move(parameter));
    }
    return out;
}

std::string parametersLine(const std::vector<QueryParameter>& parameters) {
    if (parameters.empty()) {
        return {};
    }
    std::string line = "PARAMETERS ";
    for (size_t i = 0; i < parameters.size(); ++i) {
        line += (i ? ", " : "") + bracketPart(parameters[i].name) + " " + parameters[i].typeName;
    }
    return line + ";\r\n";
}

}  // namespace jet
