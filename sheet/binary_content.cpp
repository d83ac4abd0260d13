#include "sheet/binary_content.h"

#include <optional>

namespace sheet {

namespace {

constexpr uint16_t kOleHeaderSignature = 0x1C15;
constexpr uint32_t kOle1Version = 0x0501;
constexpr uint32_t kEmbeddedFormat = 2;
constexpr uint16_t kPackageSignature = 2;
constexpr uint32_t kPackageEmbeddedFile = 0x00030000;
constexpr std::size_t kFileHeaderSize = 14;
constexpr std::size_t kCoreHeaderSize = 12;
constexpr std::size_t kInfoHeaderSize = 40;
constexpr uint32_t kBitFields = 3;

// Little-endian reads that refuse to pass the end: every read checks, and a
// failed one leaves the reader failed for good.
class Reader {
  public:
    explicit Reader(std::string_view bytes, std::size_t at = 0)
        : bytes_(bytes), at_(at), ok_(at <= bytes.size()) {}

    bool ok() const { return ok_; }
    std::size_t at() const { return at_; }

    uint32_t u32() { return uint32_t(number(4)); }
    uint16_t u16() { return uint16_t(number(2)); }
    std::string_view take(uint64_t size) {
        if (!ok_ || size > bytes_.size() - at_) {
            ok_ = false;
            return {};
        }
        const std::string_view part = bytes_.substr(at_, size);
        at_ += size;
        return part;
    }
    // A string ended by a zero byte (the zero is consumed, not returned).
    std::string_view zeroEnded() {
        if (!ok_) {
            return {};
        }
        const std::size_t end = bytes_.find('\0', at_);
        if (end == std::string_view::npos) {
            ok_ = false;
            return {};
        }
        const std::string_view text = bytes_.substr(at_, end - at_);
        at_ = end + 1;
        return text;
    }
    // A length-prefixed string of the OLE 1.0 stream, its zero dropped.
    std::string_view prefixed() {
        std::string_view text = take(u32());
        if (!text.empty() && text.back() == '\0') {
            text.remove_suffix(1);
        }
        return text;
    }

  private:
    uint64_t number(int size) {
        const std::string_view raw = take(size);
        uint64_t value = 0;
        for (int i = int(raw.size()) - 1; i >= 0; --i) {
            value = value << 8 | static_cast<unsigned char>(raw[i]);
        }
        return value;
    }

    std::string_view bytes_;
    std::size_t at_;
    bool ok_;
};

uint32_t le32(std::string_view bytes, std::size_t at) {
    return Reader(bytes, at).u32();
}

void putLe(std::string& out, uint32_t value, int size) {
    for (int i = 0; i < size; ++i) {
        out.push_back(char(value >> (8 * i) & 0xFF));
    }
}

// A zero-ended text inside the header at [offset, offset + length).
std::string headerText(std::string_view header, uint16_t offset, uint16_t length) {
    if (offset >= header.size() || length > header.size() - offset) {
        return {};
    }
    const std::string_view text = header.substr(offset, length);
    return std::string(text.substr(0, text.find('\0')));
}

struct NativeData {
    std::string_view bytes;
    std::string_view className;  // as the OLE 1.0 stream names it
};

bool isPackageClass(std::string_view name) {
    static constexpr std::string_view kPackage = "package";
    if (name.size() != kPackage.size()) {
        return false;
    }
    for (std::size_t i = 0; i < name.size(); ++i) {
        const char c = name[i];
        if ((c >= 'A' && c <= 'Z' ? char(c + 32) : c) != kPackage[i]) {
            return false;
        }
    }
    return true;
}

// The native data of an OLE object: the header Access writes, then the
// OLE 1.0 stream of an embedded object.
std::optional<NativeData> oleNativeData(std::string_view bytes, BinaryContent& content) {
    Reader header(bytes);
    if (header.u16() != kOleHeaderSignature) {
        return std::nullopt;
    }
    const uint16_t headerSize = header.u16();
    header.u32();  // object type
    const uint16_t nameLength = header.u16();
    const uint16_t classLength = header.u16();
    const uint16_t nameOffset = header.u16();
    const uint16_t classOffset = header.u16();
    if (!header.ok() || headerSize > bytes.size()) {
        return std::nullopt;
    }
    content.wrapper = BinaryContent::Wrapper::OleObject;
    const std::string_view headerBytes = bytes.substr(0, headerSize);
    content.objectName = headerText(headerBytes, nameOffset, nameLength);
    content.className = headerText(headerBytes, classOffset, classLength);
    Reader stream(bytes, headerSize);
    const uint32_t version = stream.u32();
    const uint32_t format = stream.u32();
    const std::string_view className = stream.prefixed();
    stream.prefixed();  // topic
    stream.prefixed();  // item
    const std::string_view native = stream.take(stream.u32());
    if (!stream.ok() || version != kOle1Version || format != kEmbeddedFormat) {
        return std::nullopt;
    }
    if (content.className.empty()) {
        content.className = std::string(className);
    }
    return NativeData{native, className};
}

// The file a "Package" object carries: its label, its path, then the file.
std::optional<std::string_view> packagedFile(std::string_view native, BinaryContent& content) {
    Reader package(native);
    if (package.u16() != kPackageSignature) {
        return std::nullopt;
    }
    const std::string_view label = package.zeroEnded();
    package.zeroEnded();  // the path it was packaged from
    if (package.u32() != kPackageEmbeddedFile) {
        return std::nullopt;
    }
    package.take(package.u32());  // the temporary path
    const std::string_view file = package.take(package.u32());
    if (!package.ok()) {
        return std::nullopt;
    }
    content.wrapper = BinaryContent::Wrapper::Package;
    content.fileName = std::string(label);
    return file;
}

// The picture inside an object's data: a picture file, or a bare DIB.
void takePicture(std::string_view data, BinaryContent& content) {
    if (const auto format = BinaryContent::pictureFormat(data);
        format != BinaryContent::Format::None) {
        content.format = format;
        content.picture = std::string(data);
        return;
    }
    std::string bmp = BinaryContent::bmpFromDib(data);
    if (!bmp.empty()) {
        content.format = BinaryContent::Format::Bmp;
        content.picture = std::move(bmp);
    }
}

}  // namespace

BinaryContent::Format BinaryContent::pictureFormat(std::string_view bytes) {
    if (bytes.starts_with("\x89PNG\r\n\x1A\n")) {
        return Format::Png;
    }
    if (bytes.starts_with("\xFF\xD8\xFF")) {
        return Format::Jpeg;
    }
    if (bytes.starts_with("GIF87a") || bytes.starts_with("GIF89a")) {
        return Format::Gif;
    }
    // "BM", then a DIB header of one of the sizes Windows has defined.
    if (bytes.size() > kFileHeaderSize + 4 && bytes.starts_with("BM")) {
        const uint32_t dibSize = le32(bytes, kFileHeaderSize);
        if (dibSize == 12 || dibSize == 40 || dibSize == 52 || dibSize == 56 || dibSize == 64 ||
            dibSize == 108 || dibSize == 124) {
            return Format::Bmp;
        }
    }
    return Format::None;
}

std::string BinaryContent::bmpFromDib(std::string_view dib) {
    Reader header(dib);
    const uint32_t headerSize = header.u32();
    uint32_t bitCount = 0, compression = 0, colorsUsed = 0;
    std::size_t entrySize = 4;
    if (headerSize == kCoreHeaderSize) {
        header.take(4);  // 16-bit width and height
        if (header.u16() != 1) {
            return {};
        }
        bitCount = header.u16();
        entrySize = 3;
    } else if (headerSize == kInfoHeaderSize || headerSize == 52 || headerSize == 56 ||
               headerSize == 64 || headerSize == 108 || headerSize == 124) {
        header.take(8);  // width and height
        if (header.u16() != 1) {
            return {};
        }
        bitCount = header.u16();
        compression = header.u32();
        header.take(12);  // image size, resolution
        colorsUsed = header.u32();
    } else {
        return {};
    }
    if (!header.ok() ||
        (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 &&
         bitCount != 32) ||
        colorsUsed > 256) {
        return {};
    }
    const uint64_t colors = colorsUsed != 0 ? colorsUsed : bitCount <= 8 ? (1u << bitCount) : 0;
    uint64_t pixels = headerSize + colors * entrySize;
    if (headerSize == kInfoHeaderSize && compression == kBitFields) {
        pixels += 12;  // the three colour masks follow the header
    }
    if (pixels >= dib.size()) {
        return {};
    }
    std::string bmp = "BM";
    putLe(bmp, uint32_t(kFileHeaderSize + dib.size()), 4);
    putLe(bmp, 0, 4);
    putLe(bmp, uint32_t(kFileHeaderSize + pixels), 4);
    bmp.append(dib);
    return bmp;
}

const char* BinaryContent::formatName(Format format) {
    switch (format) {
        case Format::Png:
            return "PNG";
        case Format::Jpeg:
            return "JPEG";
        case Format::Gif:
            return "GIF";
        case Format::Bmp:
            return "BMP";
        case Format::None:
            break;
    }
    return "";
}

BinaryContent BinaryContent::read(std::string_view bytes) {
    BinaryContent content;
    if (pictureFormat(bytes) != Format::None) {
        takePicture(bytes, content);
        return content;
    }
    const auto native = oleNativeData(bytes, content);
    if (!native) {
        return content;
    }
    if (isPackageClass(native->className) || isPackageClass(content.className)) {
        if (const auto file = packagedFile(native->bytes, content)) {
            takePicture(*file, content);
        }
        return content;
    }
    takePicture(native->bytes, content);
    return content;
}

}  // namespace sheet
