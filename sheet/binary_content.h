// BinaryContent: what a binary (OLE Object) value holds, as far as the cell
// viewer can show it: a picture (PNG, JPEG, GIF or BMP) stored bare or
// inside the wrappers Access puts around OLE Object values, or nothing it
// recognises (then the viewer shows hex). Access wraps an embedded object in
// an "OLE object header" (signature 0x1C15, the object's name and class)
// followed by an OLE 1.0 stream (version 0x0501, class, topic, item, native
// data). The native data of a Paint picture is a BMP file or a bare DIB,
// which gets the BITMAPFILEHEADER an image reader needs; that of the
// "Package" class carries a file with its name. Every length is checked
// against the bytes there are: a wrapper that does not add up is reported
// as not recognised, never read past.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace sheet {

struct BinaryContent {
    enum class Format { None, Png, Jpeg, Gif, Bmp };
    enum class Wrapper { None, OleObject, Package };

    Format format = Format::None;
    // The picture file's bytes, whole, ready for an image reader.
    std::string picture;
    Wrapper wrapper = Wrapper::None;
    // From the OLE object header: its class ("Paint.Picture", "Package")
    // and its name ("Bitmap Image"); a package's file name.
    std::string className;
    std::string objectName;
    std::string fileName;

    static BinaryContent read(std::string_view bytes);

    // The format of a picture file by its first bytes; None when it is none.
    static Format pictureFormat(std::string_view bytes);
    // A BMP file made from a bare device-independent bitmap (a
    // BITMAPINFOHEADER or BITMAPCOREHEADER, its colour table, its pixels);
    // empty when the bytes are not one.
    static std::string bmpFromDib(std::string_view dib);
    // "PNG", "JPEG", "GIF", "BMP"; empty for None.
    static const char* formatName(Format format);
};

}  // namespace sheet
