// Byte builders for the binary values Access stores in OLE Object columns:
// the OLE object header, the OLE 1.0 stream and the "Package" wrapper, for
// tests of what the window and the cell viewer make of such values.
// Header-only.
#pragma once

#include <cstdint>
#include <string>

namespace testsupport {

// `value` as `size` little-endian bytes.
inline std::string littleEndian(uint32_t value, int size) {
    std::string out;
    for (int i = 0; i < size; ++i) {
        out.push_back(char(value >> (8 * i) & 0xFF));
    }
    return out;
}

// The OLE 1.0 stream of an embedded object.
inline std::string ole1Stream(const std::string& className, const std::string& native,
                              const std::string& topic = {}) {
    const auto le = littleEndian;
    std::string out = le(0x0501, 4) + le(2, 4);
    out += le(uint32_t(className.size() + 1), 4) + className + '\0';
    out += topic.empty() ? le(0, 4) : le(uint32_t(topic.size() + 1), 4) + topic + '\0';
    out += le(0, 4);  // item
    out += le(uint32_t(native.size()), 4) + native;
    return out;
}

// The header Access writes in front of the stream.
inline std::string oleHeader(const std::string& name, const std::string& className) {
    const auto le = littleEndian;
    const uint16_t nameLength = uint16_t(name.size() + 1);
    const uint16_t classLength = uint16_t(className.size() + 1);
    const uint16_t size = uint16_t(20 + nameLength + classLength);
    std::string out = le(0x1C15, 2) + le(size, 2) + le(2, 4);
    out += le(nameLength, 2) + le(classLength, 2) + le(20, 2) + le(20 + nameLength, 2);
    out += le(0xFFFFFFFF, 4) + name + '\0' + className + '\0';
    return out;
}

inline std::string oleObject(const std::string& name, const std::string& className,
                             const std::string& native) {
    return oleHeader(name, className) + ole1Stream(className, native);
}

// The native data of a "Package" object carrying one embedded file.
inline std::string package(const std::string& label, const std::string& file) {
    const auto le = littleEndian;
    const std::string path = "C:\\pictures\\" + label;
    std::string out = le(2, 2) + label + '\0' + path + '\0' + le(0x00030000, 4);
    out += le(uint32_t(path.size() + 1), 4) + path + '\0';
    out += le(uint32_t(file.size()), 4) + file;
    return out;
}

}  // namespace testsupport
