#include "property_map.h"

#include "byte_reader.h"
#include "jet/collation.h"
#include "text_decoder.h"

namespace jet {
namespace {

constexpr std::string_view kSignature("MR2\0", 4);
constexpr uint16_t kNameList = 0x80;
constexpr size_t kBlockHeader = 6;  // 4-byte length, 2-byte kind
constexpr size_t kEntryHeader = 8;  // length, DDL flag, type, name index, value length

Status corrupt(const std::string& what) {
    return Status(ErrorCode::Corrupt, "The property list " + what + ".");
}

const uint8_t* bytesOf(std::string_view s) {
    return reinterpret_cast<const uint8_t*>(s.data());
}

std::string ucs2(std::string_view bytes) {
    std::string out;
    appendJet4Text(bytesOf(bytes), bytes.size(), out);
    return out;
}

// Reads a 2-byte length and that many bytes of name; false when it overruns.
bool readName(std::string_view block, size_t& at, std::string& name) {
    if (at + 2 > block.size())
        return false;
    const size_t length = le16(bytesOf(block) + at);
    if (at + 2 + length > block.size())
        return false;
    name = ucs2(block.substr(at + 2, length));
    at += 2 + length;
    return true;
}

}  // namespace

Result<PropertyMap> PropertyMap::parse(std::string_view blob) {
    PropertyMap map;
    if (blob.empty())
        return map;
    if (blob.substr(0, kSignature.size()) != kSignature)
        return corrupt("has an unknown signature");
    std::vector<std::string> names;
    for (size_t at = kSignature.size(); at + kBlockHeader <= blob.size();) {
        const size_t length = le32(bytesOf(blob) + at);
        if (length < kBlockHeader || length > blob.size() - at)
            return corrupt("has a block that overruns it");
        const uint16_t kind = le16(bytesOf(blob) + at + 4);
        const std::string_view block = blob.substr(at + kBlockHeader, length - kBlockHeader);
        at += length;
        if (kind == kNameList) {
            for (size_t p = 0; p < block.size();) {
                std::string name;
                if (!readName(block, p, name))
                    return corrupt("has a name that overruns its block");
                names.push_back(std::move(name));
            }
        } else if (Status s = map.readValues(block, names); !s) {
            return s;
        }
    }
    return map;
}

Status PropertyMap::readValues(std::string_view block, const std::vector<std::string>& names) {
    std::string owner;
    size_t at = 0;
    if (block.size() >= 4) {
        const size_t ownerLength = le32(bytesOf(block));
        if (ownerLength < 4 || ownerLength > block.size())
            return corrupt("has an owner name that overruns its block");
        size_t nameAt = 4;
        if (ownerLength > 6 && !readName(block.substr(0, ownerLength), nameAt, owner))
            return corrupt("has an owner name that overruns its block");
        at = ownerLength;
    }
    while (at + kEntryHeader <= block.size()) {
        const uint8_t* e = bytesOf(block) + at;
        const size_t entryLength = le16(e);
        const size_t nameIndex = le16(e + 4);
        const size_t valueLength = le16(e + 6);
        if (entryLength < kEntryHeader || entryLength > block.size() - at ||
            kEntryHeader + valueLength > entryLength)
            return corrupt("has a value that overruns its block");
        if (nameIndex >= names.size())
            return corrupt("names a property that it does not list");
        properties_.push_back(Property{owner, names[nameIndex], e[3],
                                       std::string(block.substr(at + kEntryHeader, valueLength))});
        at += entryLength;
    }
    return Status::ok();
}

const PropertyMap::Property* PropertyMap::find(std::string_view owner,
                                               std::string_view name) const {
    for (const Property& p : properties_)
        if (jetNamesEqual(p.owner, owner) && jetNamesEqual(p.name, name))
            return &p;
    return nullptr;
}

std::optional<std::string> PropertyMap::text(std::string_view owner, std::string_view name) const {
    const Property* p = find(owner, name);
    if (!p || (p->type != 0x0A && p->type != 0x0C))
        return std::nullopt;
    return ucs2(p->bytes);
}

std::optional<int64_t> PropertyMap::integer(std::string_view owner, std::string_view name) const {
    const Property* p = find(owner, name);
    if (!p)
        return std::nullopt;
    const uint8_t* b = bytesOf(p->bytes);
    if (p->type == 0x02 && p->bytes.size() >= 1)
        return b[0];
    if (p->type == 0x03 && p->bytes.size() >= 2)
        return static_cast<int16_t>(le16(b));
    if (p->type == 0x04 && p->bytes.size() >= 4)
        return static_cast<int32_t>(le32(b));
    return std::nullopt;
}

}  // namespace jet
